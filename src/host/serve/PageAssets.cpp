#include "host/serve/PageAssets.h"

namespace host {

const char* previewPageHtml() {
  return R"html(<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Tamsa widgets · preview</title>
<link rel="stylesheet" href="/app.css">
<script src="/app.js" defer></script>
</head>
<body>
<header>
  <label>Language <select id="language"></select></label>
  <label>Appearance <select id="appearance"></select></label>
  <label>System <select id="os"></select></label>
  <label>Device <select id="device"></select></label>
  <label>State <select id="scenario"></select></label>
  <label>Widgets <select id="mode"></select></label>
</header>
<section id="clockbar">
  <span>Clock <output id="clock"></output></span>
  <button id="hour">+1 hour</button>
  <button id="day">+1 day</button>
  <input id="clock-input" placeholder="2026-03-14T09:41:00Z" size="24">
  <button id="set-clock">Set</button>
  <button id="reload">Reload timelines</button>
  <span id="status"></span>
</section>
<main id="screen" class="light"></main>
<footer>Opens: <output id="link"></output></footer>
</body>
</html>
)html";
}

const char* previewPageScript() {
  return R"js('use strict';
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

for (const id of ['language', 'appearance', 'os', 'device', 'scenario', 'mode'])
  $(id).onchange = () => change('/api/settings', {[id]: $(id).value});
$('hour').onclick = () => change('/api/clock', {move: 'hour'});
$('day').onclick = () => change('/api/clock', {move: 'day'});
$('set-clock').onclick = () => change('/api/clock', {move: 'set', at: $('clock-input').value});
$('reload').onclick = () => change('/api/reload', {});

call('/api/state').then(showState, (e) => { $('status').textContent = e.message; });
new EventSource('/events').onmessage = refresh;
)js";
}

const char* previewPageStyle() {
  return R"css(body { margin: 0; font: 14px system-ui, sans-serif; background: #222; color: #eee; }
header, #clockbar, footer { display: flex; flex-wrap: wrap; gap: 12px; padding: 8px 16px; align-items: center; }
#screen { display: flex; flex-wrap: wrap; gap: 24px; padding: 32px; min-height: 60vh; align-content: flex-start; }
#screen.light { background: linear-gradient(160deg, #9ad0f5, #f7c9a9 60%, #f3e6b0); }
#screen.dark { background: linear-gradient(160deg, #0b1a3a, #3a1d4a 60%, #101010); }
.tile { margin: 0; cursor: pointer; }
.tile img { display: block; border-radius: 22px; box-shadow: 0 4px 16px rgba(0,0,0,.3); }
.tile.control img { border-radius: 32px; }
figcaption { font-size: 12px; margin-top: 6px; color: #111; text-shadow: 0 0 3px #fff; max-width: 340px; }
#screen.dark figcaption { color: #eee; text-shadow: 0 0 3px #000; }
.error { width: 160px; height: 160px; background: #600; color: #fff; padding: 8px; border-radius: 22px; }
output { font-family: ui-monospace, monospace; }
#status { color: #f88; }
)css";
}

}  // namespace host
