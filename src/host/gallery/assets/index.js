const pick = id => document.getElementById(id);
function apply() {
  const s = pick('scenario').value, l = pick('language').value, k = pick('kind').value;
  const flagged = pick('flagged').checked;
  let shown = 0;
  for (const sec of document.querySelectorAll('section')) {
    let any = false;
    for (const f of sec.querySelectorAll('figure')) {
      const d = f.dataset;
      const on = (!s || d.scenario === s) && (!l || d.language === l) && (!k || d.kind === k) &&
                 (!flagged || d.flagged === '1');
      f.classList.toggle('hidden', !on);
      if (on) { any = true; shown++; }
    }
    sec.classList.toggle('hidden', !any);
  }
  pick('count').textContent = shown + ' shown';
}
for (const id of ['scenario', 'language', 'kind', 'flagged']) pick(id).onchange = apply;
apply();
