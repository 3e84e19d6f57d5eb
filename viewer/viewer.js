// The PLOF! viewer page's script: opens a glTF file, plays its first
// animation frame by frame with a timeline, and lets the user orbit around it
// above a ground grid. Bundled with three.js into one classic script
// (plof-viewer.js), because browsers run no module scripts in a page opened
// from disk.
//
// The frame rate and range come from the asset's extras as plof-host export
// writes them ({framesPerSecond, firstFrame, lastFrame}); other files play at
// 30 frames per second over their keys' times. body[data-state] tells tests
// (and people) where the page is: "empty", "loading", "ready" or "error";
// body[data-frame] the frame shown; window.plofViewer.root the three.js
// scene of the file and window.plofViewer.memory what the GPU holds, for
// scripts that check what is shown.
import * as THREE from 'three';
import { GLTFLoader } from 'three/addons/loaders/GLTFLoader.js';
import { createStage, disposeTree, sampleBox } from './stage.js';
import { createTimeline } from './timeline.js';

const DEFAULT_FPS = 30;

const view = document.getElementById('view');
const message = document.getElementById('message');
const playButton = document.getElementById('play');
const scrubber = document.getElementById('scrubber');
const frameLabel = document.getElementById('frame');
const fpsLabel = document.getElementById('fps');
const nameLabel = document.getElementById('name');

let shown = null;  // { root, mixer, action, first, last, fps }
const timeline = createTimeline({
  playButton, scrubber, frameLabel,
  show(frame) {
    if (shown.action) {
      shown.action.time = (frame - shown.first) / shown.fps;
      shown.mixer.update(0);
    }
  },
});
const stage = createStage(view, (seconds) => timeline.advance(seconds));

function setState(state, text) {
  document.body.dataset.state = state;
  message.textContent = text || '';
  message.style.display = text ? '' : 'none';
}

function fail(text, error) {
  setState('error', text);
  console.error(text, error || '');
}

// ---- opening files

const loader = new GLTFLoader();

function openData(data, name) {
  setState('loading', 'Opening ' + name + ' ...');
  loader.parse(data, '', (gltf) => show(gltf, name), (error) => fail('Cannot open ' + name + ': ' + error.message, error));
}

// The file name a URL ends in. A name whose bytes are not UTF-8 (written in
// another code page) keeps its escapes instead of stopping the page.
function nameInUrl(url) {
  const last = url.split('/').pop();
  try {
    return decodeURIComponent(last);
  } catch {
    return last;
  }
}

function openUrl(url) {
  const name = nameInUrl(url);
  if (location.protocol === 'file:') {
    // Browsers do not let a page opened from disk read other files.
    fail('A page opened from disk cannot read ' + name + ': drop the file on the page, or serve the folder ' +
         '(for example: python3 -m http.server) and open the page from there.');
    return;
  }
  setState('loading', 'Opening ' + name + ' ...');
  loader.load(url, (gltf) => show(gltf, name), undefined,
              (error) => fail('Cannot open ' + name + ': ' + (error.message || error), error));
}

function embeddedName() {
  const script = document.getElementById('plof-embedded');
  return nameInUrl(script.getAttribute('src')).replace(/\.js$/, '');
}

window.addEventListener('dragover', (event) => {
  event.preventDefault();
  document.body.classList.add('dragging');
});
window.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
window.addEventListener('drop', (event) => {
  event.preventDefault();
  document.body.classList.remove('dragging');
  const file = event.dataTransfer.files[0];
  if (file) file.arrayBuffer().then((bytes) => openData(bytes, file.name));
});

// ---- showing a file

function show(gltf, name) {
  if (shown) {
    // The file shown before goes, and with it what it holds in the GPU.
    stage.scene.remove(shown.root);
    shown.mixer.stopAllAction();
    shown.mixer.uncacheRoot(shown.root);
    disposeTree(shown.root);
  }
  const extras = (gltf.asset && gltf.asset.extras) || {};
  const fps = extras.framesPerSecond > 0 ? extras.framesPerSecond : DEFAULT_FPS;
  const clip = gltf.animations[0];
  let start = Infinity, end = -Infinity;
  for (const track of clip ? clip.tracks : []) {
    start = Math.min(start, track.times[0]);
    end = Math.max(end, track.times[track.times.length - 1]);
  }
  if (!(start <= end)) start = end = 0;
  const first = Number.isInteger(extras.firstFrame) ? extras.firstFrame : Math.round(start * fps);
  const last = Number.isInteger(extras.lastFrame) ? Math.max(extras.lastFrame, first) : Math.round(end * fps);

  const root = gltf.scene;
  stage.scene.add(root);
  const mixer = new THREE.AnimationMixer(root);
  let action = null;
  if (clip) {
    // An action's time runs from 0 and wraps past the clip's duration: the
    // keys move so that the first frame is at 0, and one more frame of
    // duration keeps the last frame on its own keys.
    // Tracks share the times of one accessor: each array moves once.
    const moved = new Set();
    for (const { times } of clip.tracks) {
      if (moved.has(times)) continue;
      moved.add(times);
      for (let i = 0; i < times.length; ++i) times[i] -= first / fps;
    }
    clip.duration = (last - first + 1) / fps;
    action = mixer.clipAction(clip);
    action.play();
  }
  shown = { root, mixer, action, first, last, fps };
  window.plofViewer = { root, memory: stage.memory };

  const box = sampleBox(clip ? visibleTranslations(clip) : []);
  stage.frameBox(box.isEmpty() ? box.setFromObject(root) : box);
  fpsLabel.textContent = fps + ' fps';
  nameLabel.textContent = name;
  nameLabel.title = name;
  setState('ready');
  timeline.setRange(first, last, fps);
}

// ---- framing

// x, y, z of the translation keys at which their node is shown (scale not
// 0): all of them, or an even sample of about MOST_SAMPLES.
const MOST_SAMPLES = 300000;
function visibleTranslations(clip) {
  const byNode = new Map();
  for (const track of clip.tracks) {
    const dot = track.name.lastIndexOf('.');
    const node = track.name.slice(0, dot);
    if (!byNode.has(node)) byNode.set(node, {});
    byNode.get(node)[track.name.slice(dot + 1)] = track;
  }
  let keys = 0;
  for (const { position } of byNode.values()) keys += position ? position.times.length : 0;
  const stride = Math.max(1, Math.ceil(keys / MOST_SAMPLES));
  const values = [];
  let counter = 0;
  for (const { position, scale } of byNode.values()) {
    if (!position) continue;
    let key = 0;
    for (let i = 0; i < position.times.length; ++i) {
      if (counter++ % stride !== 0) continue;
      if (scale) {
        while (key + 1 < scale.times.length && scale.times[key + 1] <= position.times[i]) ++key;
        if (scale.values[key * 3] === 0 && scale.values[key * 3 + 1] === 0 && scale.values[key * 3 + 2] === 0) continue;
      }
      values.push(position.values[i * 3], position.values[i * 3 + 1], position.values[i * 3 + 2]);
    }
  }
  return values;
}

// ---- start

setState('empty', message.textContent);
const requested = new URLSearchParams(location.search).get('file');
if (requested) {
  openUrl(requested);
} else if (window.plofEmbeddedGltf) {
  openData(window.plofEmbeddedGltf, embeddedName());
}
