const pick = id => document.getElementById(id);
// Whether a space-separated list of words (" a b ") holds the word chosen; no choice holds all.
const holds = (list, word) => !word || (word === 'any' ? list.trim() !== '' : list.includes(' ' + word + ' '));
function apply() {
  const s = pick('scenario').value, l = pick('language').value, k = pick('kind').value;
  const a = pick('appearance').value;
  const sev = pick('severity').value, st = pick('status').value;
  let shown = 0;
  for (const sec of document.querySelectorAll('section')) {
    let any = false;
    for (const f of sec.querySelectorAll('figure')) {
      const d = f.dataset;
      const on = (!s || d.scenario === s) && (!l || d.language === l) && (!k || d.kind === k) &&
                 (!a || d.appearance === a) && holds(d.severities, sev) && holds(d.statuses, st);
      f.classList.toggle('hidden', !on);
      if (on) { any = true; shown++; }
    }
    sec.classList.toggle('hidden', !any);
  }
  let rows = 0;
  for (const r of document.querySelectorAll('tr.finding')) {
    const d = r.dataset;
    const on = holds(d.scenarios, s) && holds(d.languages, l) && holds(d.kinds, k) &&
               holds(d.appearances, a) &&
               (!sev || sev === 'any' || d.severity === sev) && (!st || d.status === st);
    r.classList.toggle('hidden', !on);
    if (on) rows++;
  }
  pick('count').textContent = rows + ' findings, ' + shown + ' pictures shown';
}
for (const id of ['scenario', 'language', 'kind', 'appearance', 'severity', 'status']) pick(id).onchange = apply;
apply();
