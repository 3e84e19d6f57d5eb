// The studio's scene in 3D, drawn as plof-host render draws it, from what
// the session observed (studio_store.js): each item with the effect in its
// own colour while its points fly, every point at rest dim, other items'
// points light blue and hidden while wholly dissolved; each emitter's pivot
// and axes, its motion path over the range, and optional trails over the
// last N frames (following flights only); a legend of the items. The ground
// grid lies 1 unit apart (10, 100, ... for vast effects), labelled, so that
// sizes compare across changes.
//
// The view follows the effect: "Frame all" frames every frame of the range,
// and a change that moves the effect's extent past a margin frames it again,
// never while the person orbits (then once they let go). The direction the
// person orbited to is kept across framings and, in localStorage, reloads.
import * as THREE from 'three';
import { disposeTree, sampleBox } from './stage.js';
import { framePositions, store } from './studio_store.js';

// Positions sampled to frame the camera, and the share of them left out at
// each end of each axis: "frame all" shows every point but a stray few.
const MOST_SAMPLES = 300000;
const STRAY_SHARE = 0.001;
// A change reframes when the effect reaches past the framed box by this
// share of its diagonal, or shrinks below this share of it.
const REACH_MARGIN = 0.15;
const SHRINK_MARGIN = 0.35;
const AXIS_COLOURS = [0xf24d4d, 0x59e659, 0x6699ff];
const BACKGROUND = new THREE.Color(0x1d2128);
const VIEW_KEY = 'plof_studio_view';
const MOST_GRID_CELLS = 200;
const LOOK = { flying: 0, resting: 1, other: 2, hidden: 3 };

function storedDirection() {
  try {
    const { x, y, z } = JSON.parse(localStorage.getItem(VIEW_KEY));
    const direction = new THREE.Vector3(x, y, z);
    if (direction.lengthSq() > 0) return direction.normalize();
  } catch { /* none kept yet */ }
  return new THREE.Vector3(0.55, 0.45, 0.7).normalize();
}

// A round dot, for every point the page draws (kept for the page's life).
const DOT = (() => {
  const canvas = document.createElement('canvas');
  canvas.width = canvas.height = 32;
  const context = canvas.getContext('2d');
  context.beginPath();
  context.arc(16, 16, 15, 0, 2 * Math.PI);
  context.fillStyle = '#fff';
  context.fill();
  return new THREE.CanvasTexture(canvas);
})();

function pointsOf(count, colour, size) {
  const geometry = new THREE.BufferGeometry();
  geometry.setAttribute('position', new THREE.BufferAttribute(new Float32Array(count * 3), 3));
  geometry.setDrawRange(0, 0);
  const material = new THREE.PointsMaterial({ color: colour, size, sizeAttenuation: false, map: DOT, alphaTest: 0.5 });
  const points = new THREE.Points(geometry, material);
  points.frustumCulled = false;
  return points;
}

function linesOf(vertices, Kind = THREE.LineSegments, material = new THREE.LineBasicMaterial({ vertexColors: true })) {
  const geometry = new THREE.BufferGeometry();
  geometry.setAttribute('position', new THREE.BufferAttribute(new Float32Array(vertices * 3), 3));
  if (material.vertexColors) {
    geometry.setAttribute('color', new THREE.BufferAttribute(new Float32Array(vertices * 3), 3));
  }
  geometry.setDrawRange(0, 0);
  const lines = new Kind(geometry, material);
  lines.frustumCulled = false;
  return lines;
}

export function createEffectView(stage, { legend, scale, trailsInput, pathsInput }) {
  const root = new THREE.Group();
  // The host's axes are left-handed, three.js's right-handed: mirror z, as
  // the glTF export does, so the effect looks the same.
  root.scale.set(1, 1, -1);
  stage.scene.add(root);
  let parts = [];        // per item: what draws it
  let framed = null;     // the box framed last, in the page's axes
  let orbiting = false;
  let reframeWanted = false;
  let aimed = false;      // the camera was aimed once: it looks from where the person left it
  let frameShown = null;

  // Where the camera looks from: the direction kept (before the first
  // framing), else the one it has now, orbited and settled or not.
  function direction() {
    return aimed ? stage.camera.position.clone().sub(stage.controls.target).normalize() : storedDirection();
  }
  // The direction is kept for reloads once the orbit (and its damping) comes to rest.
  let keeping = null;
  stage.controls.addEventListener('change', () => {
    if (!aimed) return;
    clearTimeout(keeping);
    keeping = setTimeout(() => {
      const { x, y, z } = direction();
      localStorage.setItem(VIEW_KEY, JSON.stringify({ x, y, z }));
    }, 300);
  });
  stage.controls.addEventListener('start', () => { orbiting = true; });
  stage.controls.addEventListener('end', () => {
    orbiting = false;
    if (reframeWanted) frameAll();
  });

  const trailFrames = () => Math.max(0, Math.min(60, Math.floor(Number(trailsInput.value) || 0)));

  // ---- building what draws each item

  // Many points: smaller dots, so that they do not merge into one blot.
  function pointSize(total) {
    return total <= 2000 ? 5 : total <= 50000 ? 4 : 3;
  }

  function build(state) {
    for (const part of parts) {
      root.remove(part.group);
      disposeTree(part.group);
    }
    const size = pointSize(framePositions(state));
    const colours = state.colours;
    parts = state.items.map((item) => {
      const group = new THREE.Group();
      const effect = item.settings !== null;
      const bright = pointsOf(item.positions, effect ? item.colour : colours.other, size);
      const dim = pointsOf(item.positions, colours.resting, Math.max(1, size - 1));
      group.add(bright, dim);
      const part = { item, group, bright, dim, colour: new THREE.Color(item.colour) };
      if (effect) {
        part.pivot = pointsOf(1, colours.pivot, 9);
        part.axes = linesOf(6);
        part.path = linesOf(state.frames.last - state.frames.first + 1, THREE.Line,
                            new THREE.LineBasicMaterial({ color: item.colour, transparent: true, opacity: 0.55 }));
        group.add(part.pivot, part.axes, part.path);
      }
      root.add(group);
      return part;
    });
    buildTrails();
    drawPaths(state);
  }

  function buildTrails() {
    const frames = trailFrames();
    for (const part of parts) {
      if (part.trails) {
        part.group.remove(part.trails);
        disposeTree(part.trails);
        part.trails = null;
      }
      if (frames > 0) {
        part.trails = linesOf(part.item.positions * frames * 2);
        part.group.add(part.trails);
      }
    }
  }

  function drawPaths(state) {
    const items = state.items.length;
    const frames = state.frames.last - state.frames.first + 1;
    parts.forEach((part, i) => {
      if (!part.path) return;
      const array = part.path.geometry.getAttribute('position').array;
      let moves = false;
      for (let f = 0; f < frames; ++f) {
        const at = (f * items + i) * 12;
        for (let c = 0; c < 3; ++c) {
          array[f * 3 + c] = store.poses[at + c];
          moves = moves || store.poses[at + c] !== store.poses[i * 12 + c];
        }
      }
      part.path.geometry.getAttribute('position').needsUpdate = true;
      part.path.geometry.setDrawRange(0, frames);
      part.path.visible = moves && pathsInput.checked;
    });
  }

  // ---- one frame

  // Where item i's points start in the positions of frame index f.
  function firstPoint(f, i) {
    let at = f * framePositions();
    for (let j = 0; j < i; ++j) at += store.state.items[j].positions;
    return at;
  }

  function drawPoints(part, start) {
    const { bright, dim } = part;
    const brightArray = bright.geometry.getAttribute('position').array;
    const dimArray = dim.geometry.getAttribute('position').array;
    let brightCount = 0, dimCount = 0;
    for (let p = 0; p < part.item.positions; ++p) {
      const look = store.looks[start + p];
      if (look === LOOK.hidden) continue;
      const target = look === LOOK.resting ? dimArray : brightArray;
      const at = 3 * (look === LOOK.resting ? dimCount++ : brightCount++);
      target.set(store.positions.subarray(3 * (start + p), 3 * (start + p) + 3), at);
    }
    bright.geometry.setDrawRange(0, brightCount);
    dim.geometry.setDrawRange(0, dimCount);
    bright.geometry.getAttribute('position').needsUpdate = true;
    dim.geometry.getAttribute('position').needsUpdate = true;
  }

  // Segments from each point's place a frame before to its place, over the
  // last N frames, where the point kept one look that is not rest; fading
  // toward the past as render's do.
  function drawTrails(part, f, i) {
    const frames = trailFrames();
    if (!part.trails) return;
    const positions = part.trails.geometry.getAttribute('position');
    const colours = part.trails.geometry.getAttribute('color');
    const colour = part.item.settings ? part.colour : new THREE.Color(store.state.colours.other);
    const faded = new THREE.Color();
    let vertex = 0;
    for (let age = 0; age < frames && f - age - 1 >= 0; ++age) {
      faded.copy(colour).lerp(BACKGROUND, 0.2 + 0.75 * (age / frames));
      const to = firstPoint(f - age, i), from = firstPoint(f - age - 1, i);
      for (let p = 0; p < part.item.positions; ++p) {
        const look = store.looks[to + p];
        if (look !== store.looks[from + p] || look === LOOK.resting || look === LOOK.hidden) continue;
        positions.array.set(store.positions.subarray(3 * (from + p), 3 * (from + p) + 3), 3 * vertex);
        positions.array.set(store.positions.subarray(3 * (to + p), 3 * (to + p) + 3), 3 * vertex + 3);
        faded.toArray(colours.array, 3 * vertex);
        faded.toArray(colours.array, 3 * vertex + 3);
        vertex += 2;
      }
    }
    part.trails.geometry.setDrawRange(0, vertex);
    positions.needsUpdate = true;
    colours.needsUpdate = true;
  }

  function drawPivot(part, f, i, axisLength) {
    const at = (f * store.state.items.length + i) * 12;
    const pose = store.poses;
    const pivot = part.pivot.geometry.getAttribute('position');
    pivot.array.set(pose.subarray(at, at + 3));
    pivot.needsUpdate = true;
    part.pivot.geometry.setDrawRange(0, 1);
    const axes = part.axes.geometry.getAttribute('position');
    const colours = part.axes.geometry.getAttribute('color');
    for (let a = 0; a < 3; ++a) {
      for (let c = 0; c < 3; ++c) {
        axes.array[6 * a + c] = pose[at + c];
        axes.array[6 * a + 3 + c] = pose[at + c] + axisLength * pose[at + 3 * (a + 1) + c];
      }
      new THREE.Color(AXIS_COLOURS[a]).toArray(colours.array, 6 * a);
      new THREE.Color(AXIS_COLOURS[a]).toArray(colours.array, 6 * a + 3);
    }
    axes.needsUpdate = true;
    colours.needsUpdate = true;
    part.axes.geometry.setDrawRange(0, 6);
  }

  function showFrame(frame) {
    if (!store.state || parts.length === 0) return;
    const f = Math.max(0, Math.min(Math.floor(frame) - store.state.frames.first,
                                   store.state.frames.last - store.state.frames.first));
    frameShown = f;
    const axisLength = framed ? 0.08 * framed.getSize(new THREE.Vector3()).length() : 0.5;
    parts.forEach((part, i) => {
      const start = firstPoint(f, i);
      drawPoints(part, start);
      drawTrails(part, f, i);
      if (part.pivot) drawPivot(part, f, i, axisLength);
    });
  }

  // ---- framing

  // The box of every shown position of the range, in the page's axes.
  function effectBox() {
    const count = store.positions.length / 3;
    const stride = Math.max(1, Math.ceil(count / MOST_SAMPLES));
    const samples = [];
    for (let i = 0; i < count; i += stride) {
      if (store.looks[i] === LOOK.hidden) continue;
      samples.push(store.positions[3 * i], store.positions[3 * i + 1], -store.positions[3 * i + 2]);
    }
    return sampleBox(samples, STRAY_SHARE, 1 - STRAY_SHARE);
  }

  // 1 unit, or 10, 100, ... so that the grid has at most MOST_GRID_CELLS.
  function gridStep(reach) {
    let step = 1;
    while (2 * reach / step > MOST_GRID_CELLS) step *= 10;
    return step;
  }

  function frameAll() {
    reframeWanted = false;
    const box = effectBox();
    const size = stage.aim(box, direction());
    aimed = true;
    framed = box.isEmpty() ? null : box.clone();
    const reach = 1.2 * Math.max(Math.abs(box.min.x), Math.abs(box.max.x), Math.abs(box.min.z), Math.abs(box.max.z),
                                 size / 4, 1);
    const step = gridStep(reach);
    stage.layGrid(reach, step);
    scale.textContent = `grid squares ${step} unit${step === 1 ? '' : 's'} across; the effect spans about ` +
                        `${size.toPrecision(2)} units`;
    if (frameShown !== null) showFrame(frameShown + store.state.frames.first);
  }

  // Whether the effect's new extent leaves the framed box by the margin, or
  // shrinks well inside it.
  function outgrown() {
    if (!framed) return true;
    const box = effectBox();
    if (box.isEmpty()) return false;
    const diagonal = framed.getSize(new THREE.Vector3()).length();
    const grown = framed.clone().expandByScalar(REACH_MARGIN * diagonal);
    return !grown.containsBox(box) || box.getSize(new THREE.Vector3()).length() < SHRINK_MARGIN * diagonal;
  }

  function showLegend(state) {
    legend.textContent = '';
    const row = (colour, text) => {
      const line = document.createElement('div');
      const swatch = document.createElement('span');
      swatch.className = 'swatch';
      swatch.style.background = colour;
      line.append(swatch, document.createTextNode(text));
      legend.append(line);
    };
    for (const item of state.items) if (item.settings) row(item.colour, `${item.name} (item ${item.item})`);
    row(state.colours.resting, 'at rest');
    if (state.items.some((item) => !item.settings)) row(state.colours.other, 'other items');
    row(state.colours.pivot, 'pivot, axes X Y Z red green blue');
  }

  trailsInput.addEventListener('change', () => {
    buildTrails();
    if (frameShown !== null) showFrame(frameShown + store.state.frames.first);
  });
  pathsInput.addEventListener('change', () => { if (store.state) drawPaths(store.state); });

  return {
    // A newer state is shown: draw it, and frame it again when it has
    // outgrown the view (at once, or when the person stops orbiting).
    update(state) {
      build(state);
      showLegend(state);
      if (outgrown()) {
        if (orbiting) reframeWanted = true;
        else frameAll();
      }
    },
    showFrame,
    frameAll,
    // For tests and scripts: the points drawn now ([x, y, z] in the host's
    // axes, items in order, bright before dim), where they fall on the
    // canvas (-1..1 each way) and the orbit's angles.
    drawnPoints() {
      const drawn = [];
      for (const part of parts) {
        for (const points of [part.bright, part.dim]) {
          const array = points.geometry.getAttribute('position').array;
          for (let i = 0; i < points.geometry.drawRange.count; ++i) drawn.push(Array.from(array.subarray(3 * i, 3 * i + 3)));
        }
      }
      return drawn;
    },
    projectedBox() {
      const box = { minX: Infinity, maxX: -Infinity, minY: Infinity, maxY: -Infinity };
      stage.camera.updateMatrixWorld();
      const v = new THREE.Vector3();
      for (const [x, y, z] of this.drawnPoints()) {
        v.set(x, y, -z).project(stage.camera);
        box.minX = Math.min(box.minX, v.x);
        box.maxX = Math.max(box.maxX, v.x);
        box.minY = Math.min(box.minY, v.y);
        box.maxY = Math.max(box.maxY, v.y);
      }
      return box;
    },
    orbit() {
      return { azimuth: stage.controls.getAzimuthalAngle(), polar: stage.controls.getPolarAngle() };
    },
  };
}
