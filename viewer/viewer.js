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
// scene of the file, for scripts that check what is shown.
import * as THREE from 'three';
import { GLTFLoader } from 'three/addons/loaders/GLTFLoader.js';
import { OrbitControls } from 'three/addons/controls/OrbitControls.js';

const DEFAULT_FPS = 30;
// The camera frames the points between these quantiles along each axis, so
// a few far-flung points do not shrink the rest to a dot.
const LOW_QUANTILE = 0.02;
const HIGH_QUANTILE = 0.98;

const view = document.getElementById('view');
const message = document.getElementById('message');
const playButton = document.getElementById('play');
const scrubber = document.getElementById('scrubber');
const frameLabel = document.getElementById('frame');
const fpsLabel = document.getElementById('fps');
const nameLabel = document.getElementById('name');

const renderer = new THREE.WebGLRenderer({ antialias: true });
renderer.setPixelRatio(window.devicePixelRatio);
view.appendChild(renderer.domElement);

const scene = new THREE.Scene();
scene.background = new THREE.Color(0x1d2128);
scene.add(new THREE.HemisphereLight(0xffffff, 0x404050, 2.0));
const sun = new THREE.DirectionalLight(0xffffff, 1.5);
sun.position.set(3, 10, 6);
scene.add(sun);

const camera = new THREE.PerspectiveCamera(40, 1, 0.01, 1000);
camera.position.set(4, 3, 6);
const controls = new OrbitControls(camera, renderer.domElement);
controls.enableDamping = true;

let grid = null;
let shown = null;  // { root, mixer, action, first, last, fps }
let frame = 0;     // fractional while playing
let playing = false;

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
  } catch (error) {
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
    scene.remove(shown.root);
    shown.mixer.stopAllAction();
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
  scene.add(root);
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
  window.plofViewer = { root };

  frameView(clip ? visibleTranslations(clip) : [], root);
  scrubber.min = String(first);
  scrubber.max = String(last);
  scrubber.disabled = false;
  playButton.disabled = last <= first;
  fpsLabel.textContent = fps + ' fps';
  nameLabel.textContent = name;
  nameLabel.title = name;
  setState('ready');
  showFrame(first);
  setPlaying(last > first);
}

function showFrame(value) {
  frame = value;
  const whole = Math.floor(frame);
  if (shown.action) {
    shown.action.time = (frame - shown.first) / shown.fps;
    shown.mixer.update(0);
  }
  scrubber.value = String(whole);
  frameLabel.textContent = 'frame ' + whole + ' of ' + shown.first + '..' + shown.last;
  document.body.dataset.frame = String(whole);
}

function setPlaying(on) {
  playing = on;
  playButton.innerHTML = on ? '&#10074;&#10074;' : '&#9654;';
}

playButton.addEventListener('click', () => setPlaying(!playing));
scrubber.addEventListener('input', () => {
  setPlaying(false);
  showFrame(Number(scrubber.value));
});
window.addEventListener('keydown', (event) => {
  if (event.code === 'Space' && shown && !playButton.disabled) {
    event.preventDefault();
    setPlaying(!playing);
  }
});

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

function quantile(sorted, q) {
  return sorted[Math.round(q * (sorted.length - 1))];
}

// 1, 2 or 5 times a power of ten, at least `value`.
function niceStep(value) {
  const power = Math.pow(10, Math.floor(Math.log10(value)));
  return [1, 2, 5, 10].map((m) => m * power).find((step) => step >= value * (1 - 1e-9));
}

function frameView(translations, root) {
  const box = new THREE.Box3();
  if (translations.length > 0) {
    const low = [], high = [];
    for (let axis = 0; axis < 3; ++axis) {
      const values = translations.filter((_, i) => i % 3 === axis).sort((a, b) => a - b);
      low.push(quantile(values, LOW_QUANTILE));
      high.push(quantile(values, HIGH_QUANTILE));
    }
    box.set(new THREE.Vector3(...low), new THREE.Vector3(...high));
  } else {
    box.setFromObject(root);
  }
  if (box.isEmpty()) box.set(new THREE.Vector3(-1, -1, -1), new THREE.Vector3(1, 1, 1));
  const center = box.getCenter(new THREE.Vector3());
  const size = Math.max(box.getSize(new THREE.Vector3()).length(), 1e-3);

  // A three-quarter view from the front, right and above, close enough that
  // the box's diagonal fits with a margin around it.
  const distance = size / (2 * Math.tan(THREE.MathUtils.degToRad(camera.fov / 2))) * 1.1;
  camera.position.copy(center).add(new THREE.Vector3(0.55, 0.45, 0.7).normalize().multiplyScalar(distance));
  camera.near = distance / 1000;
  camera.far = distance * 100;
  camera.updateProjectionMatrix();
  controls.target.copy(center);
  controls.update();

  // The ground through the world origin, reaching past the effect.
  if (grid) scene.remove(grid);
  const reach = 1.2 * Math.max(Math.abs(box.min.x), Math.abs(box.max.x), Math.abs(box.min.z), Math.abs(box.max.z),
                               size / 4);
  const step = niceStep(reach / 8);
  const cells = 2 * Math.ceil(reach / step);
  grid = new THREE.GridHelper(cells * step, cells, 0x8a93a3, 0x464d5a);
  scene.add(grid);
}

// ---- drawing

function resize() {
  const width = view.clientWidth, height = view.clientHeight;
  renderer.setSize(width, height);
  camera.aspect = width / Math.max(height, 1);
  camera.updateProjectionMatrix();
}
window.addEventListener('resize', resize);
resize();

const timer = new THREE.Timer();
timer.connect(document);  // no jump after the page was hidden
renderer.setAnimationLoop((timestamp) => {
  timer.update(timestamp);
  const elapsed = timer.getDelta();
  if (shown && playing) {
    const span = shown.last - shown.first + 1;
    showFrame(shown.first + ((frame - shown.first + elapsed * shown.fps) % span));
  }
  controls.update();
  renderer.render(scene, camera);
});

// ---- start

setState('empty', message.textContent);
const requested = new URLSearchParams(location.search).get('file');
if (requested) {
  openUrl(requested);
} else if (window.plofEmbeddedGltf) {
  openData(window.plofEmbeddedGltf, embeddedName());
}
