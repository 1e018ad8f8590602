'use strict';
const $ = (id) => document.getElementById(id);
const labels = {live: 'follow every change', phone: 'as the phone reloads them'};
let fetching = false, again = false;

async function call(path, body) {
  const init = body === undefined ? {} :
      {method: 'POST', headers: {'Content-Type': 'application/json'}, body: JSON.stringify(body)};
  const res = await fetch(path, init);
  const json = await res.json().catch(() => ({}));
  if (!res.ok) throw new Error(json.error || res.statusText);
  return json;
}

function fill(select, choices, chosen, label) {
  select.replaceChildren(...choices.map((c) => {
    const value = typeof c === 'string' ? c : c.name;
    const option = new Option(label ? label(c) : value, value);
    if (typeof c !== 'string') option.title = c.description;
    return option;
  }));
  select.value = chosen;
}

function showState(s) {
  fill($('language'), s.languages, s.settings.language);
  fill($('appearance'), s.appearances, s.settings.appearance);
  $('tint').value = s.settings.tint.toLowerCase();
  fill($('os'), s.systems, s.settings.os);
  fill($('device'), s.devices, s.settings.device);
  fill($('scenario'), s.scenarios, s.settings.scenario, (c) => c.name || 'live container');
  fill($('mode'), s.modes, s.settings.mode, (m) => labels[m]);
  $('clock').value = s.clock;
}

function tile(t) {
  const box = document.createElement('figure');
  box.className = 'tile ' + t.family;
  box.dataset.kind = t.kind;
  box.dataset.family = t.family;
  if (t.width) box.style.maxWidth = Math.max(t.width, 150) + 'px';
  if (t.picture) {
    const img = new Image();
    img.src = t.picture;
    img.width = t.width;
    img.height = t.height;
    img.alt = t.texts.join(' ');
    img.title = img.alt;
    img.dataset.texts = t.texts.join('\n');
    box.append(img);
  } else {
    box.append(Object.assign(document.createElement('div'), {className: 'error', textContent: t.error}));
  }
  const caption = document.createElement('figcaption');
  caption.textContent = t.kind + ' · ' + t.family;
  if (t.family === 'control') {
    const button = Object.assign(document.createElement('button'), {className: 'perform', textContent: 'Perform'});
    button.onclick = () => call('/api/perform', {}).then((r) => show(r.url), (e) => show('', e.message));
    caption.append(' ', button);
  } else {
    box.onclick = () => show(t.link || '', t.link ? '' : 'opens nothing');
    const info = document.createElement('div');
    info.className = 'timeline';
    info.textContent = 'entry ' + t.entryDate + ' · policy ' + t.policy + ' · next reload ' + (t.nextReload || 'never');
    caption.append(info);
  }
  box.append(caption);
  return box;
}

function show(link, problem) {
  $('link').value = link;
  $('status').textContent = problem || '';
}

async function refresh() {
  if (fetching) { again = true; return; }
  fetching = true;
  try {
    do {
      again = false;
      const screen = await call('/api/screen');
      if (String(screen.version) === $('screen').dataset.version) continue;
      $('screen').className = screen.appearance;
      $('screen').dataset.version = screen.version;
      $('screen').replaceChildren(...screen.tiles.map(tile));
      $('clock').value = screen.clock;
    } while (again);
  } catch (e) {
    $('status').textContent = e.message;
  } finally {
    fetching = false;
  }
}

async function change(path, body) {
  try {
    showState(await call(path, body));
    $('status').textContent = '';
  } catch (e) {
    $('status').textContent = e.message;
  }
  refresh();
}

for (const id of ['language', 'appearance', 'tint', 'os', 'device', 'scenario', 'mode'])
  $(id).onchange = () => change('/api/settings', {[id]: $(id).value});
$('hour').onclick = () => change('/api/clock', {move: 'hour'});
$('day').onclick = () => change('/api/clock', {move: 'day'});
$('set-clock').onclick = () => change('/api/clock', {move: 'set', at: $('clock-input').value});
$('reload').onclick = () => change('/api/reload', {});

call('/api/state').then(showState, (e) => { $('status').textContent = e.message; });
new EventSource('/events').onmessage = refresh;
