// The PLOF! studio page's script (bundled with three.js into plof-studio.js
// and served by plof-host studio): the wiring of its parts. Everything it
// shows comes from the studio's session (studio_server.js): the scene's
// state, the positions the module computed and how the host shows each one,
// the summary and the options panel picture. A change is sent as it is made
// and its answer shown when it is newer than what is shown
// (studio_store.js); the page computes nothing the host can tell it.
//
// For tests: body[data-state] is "loading", "ready", "error" or "gone";
// body[data-revision] the revision shown; body[data-busy] is there while a
// change is in flight; body[data-saved] counts files saved;
// window.plofStudio gives the points drawn, the positions of every frame
// shown, where the points fall on the canvas and the orbit's angles.
import { createStage } from './stage.js';
import { createTimeline } from './timeline.js';
import * as server from './studio_server.js';
import { onShow, show, store } from './studio_store.js';
import { createEffectView } from './studio_view.js';
import { createSettingsForm } from './studio_settings_form.js';
import { createSummary } from './studio_summary.js';
import { createSceneEditors } from './studio_scene_editors.js';
import { createHistory } from './studio_history.js';
import { createSaving } from './studio_saving.js';
import { showGone } from './studio_gone.js';

const $ = (id) => document.getElementById(id);
let offer = { shapes: [], files: [] };  // the objects on offer

function setPageState(name, text) {
  document.body.dataset.state = name;
  $('message').textContent = text || '';
  $('message').style.display = text ? '' : 'none';
}

// The timeline shows frames through the view; the frame shown is kept for
// the motion editor's new keys.
let view = null;
let frameShown = 0;
function showTimelineFrame(frame) {
  frameShown = frame;
  view.showFrame(frame);
}
const timeline = createTimeline({ playButton: $('play'), scrubber: $('scrubber'), frameLabel: $('frame'),
                                  show: showTimelineFrame });
const stage = createStage($('view'), (seconds) => timeline.advance(seconds));
view = createEffectView(stage, { legend: $('legend'), scale: $('scale'), trailsInput: $('trails'),
                                 pathsInput: $('paths') });

// ---- changes: each is sent, its answer shown if newer, its refusal shown
// where the change was made.

let inFlight = 0;
function failed(error, where) {
  if (error instanceof server.ServerGone) {
    showGone(store.state, error);
    return;
  }
  where(error);
}

async function change(request, where) {
  ++inFlight;
  document.body.dataset.busy = '1';
  try {
    const answer = await request();
    where(null);
    await show(answer);
  } catch (error) {
    failed(error, where);
  } finally {
    if (--inFlight === 0) {
      delete document.body.dataset.busy;
      $('progress').textContent = '';
    }
  }
}

// Where a refusal of each part goes.
const besideResult = (id) => (error) => { $(id).textContent = error ? error.message : ''; };
const form = createSettingsForm($('settings'),
                                (values) => change(() => server.changeSettings(store.edited + 1, values), besideField));
// A settings refusal beside the field refused, and the field back to what
// the effect holds.
function besideField(error) {
  if (!error) {
    form.showRefusal('', '');
    $('settings-result').textContent = '';
  } else if (!form.showRefusal(error.field, error.message)) {
    $('settings-result').textContent = error.message;
  }
  if (error && store.state) form.fill(store.state, store.edited);
}
const summary = createSummary({ summaryBox: $('summary'), panel: $('panel'), panelNote: $('panel-note'),
                                onFailure: (error) => failed(error, besideResult('settings-result')) });
const editors = createSceneEditors({
  object: (item, name) => change(() => server.changeObject(item, name), besideResult('object-result')),
  motion: (item, keys) => change(() => server.changeMotion(item, keys), besideResult('motion-result')),
  range: (range) => change(() => server.changeRange(range), besideResult('range-result')),
}, () => frameShown);
const history = createHistory({
  undo: () => change(server.undo, besideResult('history-result')),
  redo: () => change(server.redo, besideResult('history-result')),
  revert: () => change(server.revert, besideResult('history-result')),
});
createSaving(() => store.edited + 1, (error) => showGone(store.state, error));
server.onProgress((line) => { $('progress').textContent = document.body.dataset.busy ? line : ''; });

// ---- files the person picks or drops (where the session takes them from
// the page): objects are offered, a .plf is loaded into the item edited, a
// scene is opened (the page loads again to show it from its start).

async function openFiles(files) {
  const result = $('files-result');
  result.textContent = '';
  try {
    if (await server.putFiles(files)) {
      window.location.reload();
      return;
    }
    offer = await server.objects();
    editors.fill(store.state, store.edited, offer);
  } catch (error) {
    result.textContent = error.message;
    return;
  }
  const settings = files.find((file) => /\.plf$/i.test(file.name));
  if (settings) await change(() => server.loadSettingsFile(store.edited + 1, settings.name), besideResult('files-result'));
}

if (server.putFiles) {
  $('files').hidden = false;
  $('save-heading').textContent = 'Save (downloads)';
  $('open-files').addEventListener('change', () => openFiles([...$('open-files').files]));
  window.addEventListener('dragover', (event) => event.preventDefault());
  window.addEventListener('drop', (event) => {
    event.preventDefault();
    openFiles([...event.dataTransfer.files]);
  });
}

// ---- showing a state

function showEdited(state) {
  form.fill(state, store.edited);
  summary.show(state, store.edited);
  editors.fill(state, store.edited, offer);
}

function buildItemChoice(state) {
  const choice = $('item');
  choice.textContent = '';
  state.items.forEach((item, i) => {
    if (item.settings) choice.add(new Option(`${item.name} (item ${item.item})`, String(i)));
  });
  choice.value = String(store.edited);
}

onShow((state, previous) => {
  view.update(state);
  const sameRange = previous && previous.frames.first === state.frames.first &&
                    previous.frames.last === state.frames.last && previous.fps === state.fps;
  timeline.setRange(state.frames.first, state.frames.last, state.fps, sameRange);
  $('fps').textContent = state.fps + ' fps';
  buildItemChoice(state);
  showEdited(state);
  history.update(state);
});

$('item').addEventListener('change', () => {
  store.edited = Number($('item').value);
  form.showRefusal('', '');
  showEdited(store.state);
});
$('frame-all').addEventListener('click', () => view.frameAll());
window.addEventListener('keydown', (event) => {
  if (event.key === 'f' && !(event.target instanceof HTMLInputElement) && !event.ctrlKey && !event.metaKey) {
    view.frameAll();
  }
});

// ---- start

async function start() {
  setPageState('loading', 'Loading the effect ...');
  try {
    const [state, objects] = await Promise.all([server.state(), server.objects()]);
    if (!state.items.some((item) => item.settings)) throw new Error('no item of the scene carries the effect');
    offer = objects;
    form.build(state.settingsTable);
    await show(state);
    setPageState('ready');
  } catch (error) {
    if (error instanceof server.ServerGone) {
      showGone(null, error);
      setPageState('gone', error.message);
    } else {
      setPageState('error', 'The studio cannot show the effect: ' + error.message);
    }
    console.error(error);
  }
}

window.plofStudio = {
  drawnPoints: () => view.drawnPoints(),
  positions: () => Array.from(store.positions || []),
  projectedBox: () => view.projectedBox(),
  orbit: () => view.orbit(),
  memory: stage.memory,
};
start();
