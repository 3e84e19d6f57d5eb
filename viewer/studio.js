// The PLOF! studio page's script (bundled with three.js into plof-studio.js
// and served by plof-host studio). Everything it shows comes from the
// studio's HTTP interface: the settings table and state (/api/state), the
// positions the module computed (/api/frames, float32), the summary, and the
// options panel picture. A change of a control is sent as it is made
// (PUT /api/items/N/settings) and the answer's positions are shown.
//
// For tests: body[data-state] is "loading", "ready" or "error";
// body[data-revision] the revision shown; body[data-saved] counts files saved.
import * as THREE from 'three';
import { createStage, sampleBox } from './stage.js';
import { createTimeline } from './timeline.js';
import { authorizedFetch } from './studio_token.js';

const EFFECT_COLOUR = 0xff8a3d;
const OTHER_COLOUR = 0x9ecbff;
// Positions sampled to frame the camera.
const MOST_SAMPLES = 300000;

const $ = (id) => document.getElementById(id);
const message = $('message');
let state = null;      // the last answer of /api/state
let positions = null;  // Float32Array of every frame
let edited = 0;        // 0-based item whose settings are shown
const pointsOfItem = [];

const root = new THREE.Group();
// The host's axes are left-handed, three.js's right-handed: mirror z, as the
// glTF export does, so the effect looks the same.
root.scale.set(1, 1, -1);
const timeline = createTimeline({ playButton: $('play'), scrubber: $('scrubber'), frameLabel: $('frame'), show });
const stage = createStage($('view'), (seconds) => timeline.advance(seconds));
stage.scene.add(root);

function setState(name, text) {
  document.body.dataset.state = name;
  message.textContent = text || '';
  message.style.display = text ? '' : 'none';
}

async function call(path, options) {
  const response = await authorizedFetch(path, options);
  if (!response.ok) {
    let reason = response.status + ' ' + response.statusText;
    try {
      reason = (await response.json()).error;
    } catch { /* no JSON answer */ }
    throw new Error(reason);
  }
  return response;
}

function sendJson(method, path, body) {
  return call(path, { method, headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(body) });
}

// ---- the effect in 3D

function perFrame() {
  return state.items.reduce((sum, item) => sum + item.positions, 0);
}

function buildPoints() {
  for (const points of pointsOfItem) root.remove(points);
  pointsOfItem.length = 0;
  for (const item of state.items) {
    const geometry = new THREE.BufferGeometry();
    geometry.setAttribute('position', new THREE.BufferAttribute(new Float32Array(item.positions * 3), 3));
    const material = new THREE.PointsMaterial({ color: item.settings ? EFFECT_COLOUR : OTHER_COLOUR, size: 0.05 });
    const points = new THREE.Points(geometry, material);
    points.frustumCulled = false;
    root.add(points);
    pointsOfItem.push(points);
  }
}

function show(frame) {
  if (!positions) return;
  let at = (Math.floor(frame) - state.frames.first) * perFrame() * 3;
  for (const points of pointsOfItem) {
    const attribute = points.geometry.getAttribute('position');
    attribute.array.set(positions.subarray(at, at + attribute.array.length));
    attribute.needsUpdate = true;
    at += attribute.array.length;
  }
}

function frameCamera() {
  const stride = Math.max(1, Math.ceil(positions.length / 3 / MOST_SAMPLES));
  const samples = [];
  for (let i = 0; i < positions.length; i += 3 * stride) samples.push(positions[i], positions[i + 1], -positions[i + 2]);
  const box = sampleBox(samples);
  const size = stage.frameBox(box);
  for (const points of pointsOfItem) points.material.size = size / 100;
}

async function showPositions(first) {
  const { frames } = state;
  const bytes = await (await call(`/api/frames?from=${frames.first}&to=${frames.last}`)).arrayBuffer();
  positions = new Float32Array(bytes);
  if (first) {
    buildPoints();
    frameCamera();
    $('fps').textContent = state.fps + ' fps';
  }
  timeline.setRange(frames.first, frames.last, state.fps, !first);
  timeline.refresh();
}

// ---- settings

function editedSettings() {
  return state.items[edited].settings;
}

function controlFor(entry) {
  let input;
  if (entry.control === 'item') {
    input = document.createElement('select');
  } else {
    input = document.createElement('input');
    input.type = { slider: 'range', check: 'checkbox' }[entry.control] || 'number';
    if (entry.min !== null) input.min = String(entry.min);
    if (entry.max !== null) input.max = String(entry.max);
    input.step = entry.step > 0 ? String(entry.step) : 'any';
  }
  input.id = 'setting-' + entry.keyword;
  input.dataset.keyword = entry.keyword;
  if (entry.control === 'slider') {
    input.addEventListener('input', () => {
      showValue(entry, input);
      slide(entry, input);
    });
    input.addEventListener('change', () => slide(entry, input));
  } else {
    input.addEventListener('change', () => change(entry, input));
  }
  return input;
}

// A slider plays while it is dragged: its newest position is sent once the
// answer to the one before is shown (one request at a time, the last
// position wins), and a position the effect already holds is not sent again
// (the release after a drag).
let slidTo = null;
let sliding = false;
async function slide(entry, input) {
  slidTo = { entry, input };
  if (sliding) return;
  sliding = true;
  while (slidTo) {
    const next = slidTo;
    slidTo = null;
    if (Number(next.input.value) !== editedSettings()[next.entry.keyword]) await change(next.entry, next.input);
  }
  sliding = false;
}

function buildControls() {
  const box = $('settings');
  box.textContent = '';
  for (const entry of state.settingsTable) {
    const row = document.createElement('div');
    row.className = 'setting';
    const label = document.createElement('label');
    label.htmlFor = 'setting-' + entry.keyword;
    label.innerHTML = `${entry.label} <span class="unit">${entry.unit}</span>`;
    label.title = `${entry.keyword}: ${entry.label} (${entry.unit || 'name'})`;
    const value = document.createElement('span');
    value.className = 'value';
    value.id = 'value-' + entry.keyword;
    row.append(label, controlFor(entry), value);
    box.append(row);
  }
}

function showValue(entry, input) {
  $('value-' + entry.keyword).textContent = entry.control === 'slider' ? input.value : '';
}

function fillControls() {
  const settings = editedSettings();
  for (const entry of state.settingsTable) {
    const input = $('setting-' + entry.keyword);
    const value = settings[entry.keyword];
    if (entry.control === 'item') {
      input.textContent = '';
      const names = ['', ...state.items.filter((_, i) => i !== edited).map((item) => item.name)];
      if (!names.includes(value)) names.push(value);
      for (const name of names) input.add(new Option(name === '' ? '(none)' : name, name));
      input.value = value;
    } else if (entry.control === 'check') {
      input.checked = value === 1;
      input.indeterminate = value !== 0 && value !== 1;
    } else {
      input.value = String(value);
    }
    showValue(entry, input);
  }
}

async function change(entry, input) {
  let value;
  if (entry.control === 'item') value = input.value;
  else if (entry.control === 'check') value = input.checked ? 1 : 0;
  else value = input.value === '' ? NaN : Number(input.value);
  document.body.dataset.busy = '1';
  try {
    state = await (await sendJson('PUT', `/api/items/${edited + 1}/settings`, { [entry.keyword]: value })).json();
    $('problem').textContent = '';
    await showEverything(false);
  } catch (error) {
    $('problem').textContent = error.message;
    fillControls();
  } finally {
    delete document.body.dataset.busy;
  }
}

// ---- summary and panel

function number(value) {
  return Number.isInteger(value) ? String(value) : value.toPrecision(4).replace(/\.?0+$/, '');
}

function stat(value, unit = '') {
  return value ? `min ${number(value.min)} / mean ${number(value.mean)} / max ${number(value.max)}${unit}` : 'none';
}

function showSummary() {
  const summary = state.summary.items.find((item) => item.item === edited + 1);
  const box = $('summary');
  box.textContent = '';
  if (!summary) return;
  const bounds = summary.boundingBox;
  const rows = [
    ['points', summary.points],
    ['birth rate', summary.birthRate + ' per second'],
    ['recycle period', summary.periodFrames === null ? 'none' : summary.periodFrames + ' frames'],
    ['launches', summary.firstLaunchFrame === null ? 'none in the range'
                 : `first at frame ${summary.firstLaunchFrame}, last at frame ${summary.lastLaunchFrame}`],
    ['flights', summary.flights],
    ['flight length', stat(summary.flightFrames, ' frames')],
    ['points in flight', stat(summary.pointsInFlightPerFrame, ' per frame')],
    ['bounding box', bounds ? [0, 1, 2].map((a) => 'xyz'[a] + ' ' + number(bounds.min[a]) + ' .. '
                                                     + number(bounds.max[a])).join(', ') : 'none'],
    ['highest above pivot', number(summary.highestAbovePivot)],
    ['farthest from pivot', number(summary.farthestFromPivot)],
  ];
  const table = document.createElement('table');
  for (const [name, value] of rows) {
    const row = table.insertRow();
    row.insertCell().textContent = name;
    row.insertCell().textContent = String(value);
  }
  box.append(table);
  for (const warning of summary.warnings) {
    const line = document.createElement('div');
    line.className = 'warning';
    line.textContent = 'warning: ' + warning;
    box.append(line);
  }
}

// The picture comes with the token's header, so as a blob, shown from its
// object URL (the one before it released).
let panelUrl = null;
async function showPanel() {
  const shown = { item: edited, revision: state.revision };
  try {
    const picture = await (await call(`/api/items/${shown.item + 1}/panel.png`)).blob();
    if (shown.item !== edited || shown.revision !== state.revision) return;
    if (panelUrl) URL.revokeObjectURL(panelUrl);
    panelUrl = URL.createObjectURL(picture);
    $('panel').src = panelUrl;
  } catch (error) {
    $('problem').textContent = error.message;
  }
}

async function showEverything(first) {
  await showPositions(first);
  fillControls();
  showSummary();
  showPanel();
  document.body.dataset.revision = String(state.revision);
}

// ---- items and saving

function buildItemChoice() {
  const choice = $('item');
  choice.textContent = '';
  state.items.forEach((item, i) => {
    if (item.settings) choice.add(new Option(`${item.item}: ${item.name}`, String(i)));
  });
  edited = Number(choice.value);
  choice.addEventListener('change', () => {
    edited = Number(choice.value);
    fillControls();
    showSummary();
    showPanel();
  });
}

function spins(id) {
  return $(id).value.split(',').map(Number);
}

async function save(kind) {
  const request = { kind, name: $('name').value, item: edited + 1 };
  if (kind === 'bake') {
    Object.assign(request, {
      frames: Number($('bake-frames').value), step: Number($('bake-step').value),
      hpbMin: spins('bake-hpb-min'), hpbMax: spins('bake-hpb-max'),
      alignH: $('bake-align-h').checked, scale: $('bake-scale').checked, dissolve: $('bake-dissolve').checked,
    });
  }
  $('saved').textContent = 'saving ...';
  try {
    const answer = await (await sendJson('POST', '/api/save', request)).json();
    $('saved').textContent = 'wrote ' + answer.written;
    document.body.dataset.saved = String(Number(document.body.dataset.saved || 0) + 1);
  } catch (error) {
    $('saved').textContent = 'not saved: ' + error.message;
  }
}

for (const button of document.querySelectorAll('button[data-kind]')) {
  button.addEventListener('click', () => save(button.dataset.kind));
}

// ---- start

async function start() {
  setState('loading', 'Loading the effect ...');
  try {
    state = await (await call('/api/state')).json();
    if (!state.items.some((item) => item.settings)) throw new Error('no item of the scene carries the effect');
    buildItemChoice();
    buildControls();
    await showEverything(true);
    setState('ready');
  } catch (error) {
    setState('error', 'The studio cannot show the effect: ' + error.message);
    console.error(error);
  }
}
start();
