// The 3D stage the viewer and the studio pages share: a renderer in a
// container, the scene with its lights, a camera with orbit controls, a
// ground grid through the world origin, and framing of a set of positions
// (from the default view, or from the direction a person chose).
import * as THREE from 'three';
import { OrbitControls } from 'three/addons/controls/OrbitControls.js';

export const BACKGROUND = 0x1d2128;
// The camera frames the points between these quantiles along each axis, so
// a few far-flung points do not shrink the rest to a dot.
const LOW_QUANTILE = 0.02;
const HIGH_QUANTILE = 0.98;

function quantile(sorted, q) {
  return sorted[Math.round(q * (sorted.length - 1))];
}

// 1, 2 or 5 times a power of ten, at least `value`.
function niceStep(value) {
  const power = Math.pow(10, Math.floor(Math.log10(value)));
  return [1, 2, 5, 10].map((m) => m * power).find((step) => step >= value * (1 - 1e-9));
}

// The box of x, y, z triples in `values` without the outer quantiles (by
// default 2% each side); an empty box for no values.
export function sampleBox(values, low = LOW_QUANTILE, high = HIGH_QUANTILE) {
  const box = new THREE.Box3();
  if (values.length === 0) return box;
  const lows = [], highs = [];
  for (let axis = 0; axis < 3; ++axis) {
    const along = values.filter((_, i) => i % 3 === axis).sort((a, b) => a - b);
    lows.push(quantile(along, low));
    highs.push(quantile(along, high));
  }
  return box.set(new THREE.Vector3(...lows), new THREE.Vector3(...highs));
}

// Frees what `root` and everything below it hold in the GPU (geometries,
// materials and their textures), as three.js asks of whatever a page stops
// showing. Shared ones are freed once each; a freed one that is shown again
// is uploaded again.
export function disposeTree(root) {
  const freed = new Set();
  const free = (resource) => {
    if (resource && !freed.has(resource)) {
      freed.add(resource);
      resource.dispose();
    }
  };
  root.traverse((node) => {
    free(node.geometry);
    for (const material of [node.material].flat()) {
      if (!material) continue;
      for (const value of Object.values(material)) {
        if (value && value.isTexture) free(value);
      }
      free(material);
    }
  });
}

// Builds the stage in `container`; `onFrame(seconds since the last frame)`
// runs before every drawing. `memory` counts the geometries and textures in
// the GPU (three.js's renderer.info.memory), for tests; `controls` are the
// orbit controls, for a page that keeps the person's view.
export function createStage(container, onFrame) {
  const renderer = new THREE.WebGLRenderer({ antialias: true });
  renderer.setPixelRatio(window.devicePixelRatio);
  container.appendChild(renderer.domElement);

  const scene = new THREE.Scene();
  scene.background = new THREE.Color(BACKGROUND);
  scene.add(new THREE.HemisphereLight(0xffffff, 0x404050, 2.0));
  const sun = new THREE.DirectionalLight(0xffffff, 1.5);
  sun.position.set(3, 10, 6);
  scene.add(sun);

  const camera = new THREE.PerspectiveCamera(40, 1, 0.01, 1000);
  camera.position.set(4, 3, 6);
  const controls = new OrbitControls(camera, renderer.domElement);
  controls.enableDamping = true;
  let grid = null;

  // The default view: from the front, right and above.
  const FRONT_RIGHT_ABOVE = new THREE.Vector3(0.55, 0.45, 0.7).normalize();

  // Points the camera at `box` from `direction` (a unit vector from the box's
  // centre toward the camera), close enough that its diagonal fits with a
  // margin across the narrower of the view's height and width; near and far
  // follow the distance. Returns the box's diagonal.
  function aim(box, direction = FRONT_RIGHT_ABOVE) {
    if (box.isEmpty()) box.set(new THREE.Vector3(-1, -1, -1), new THREE.Vector3(1, 1, 1));
    const center = box.getCenter(new THREE.Vector3());
    const size = Math.max(box.getSize(new THREE.Vector3()).length(), 1e-3);
    const halfHeight = Math.tan(THREE.MathUtils.degToRad(camera.fov / 2));
    const distance = size / (2 * halfHeight * Math.min(1, camera.aspect)) * 1.1;
    camera.position.copy(center).add(direction.clone().multiplyScalar(distance));
    camera.near = distance / 1000;
    camera.far = distance * 100;
    camera.updateProjectionMatrix();
    controls.target.copy(center);
    controls.update();
    return size;
  }

  // Lays the ground grid through the world origin, `step` apart, reaching
  // `reach` from the origin along X and Z.
  function layGrid(reach, step) {
    if (grid) {
      scene.remove(grid);
      grid.dispose();
    }
    const cells = 2 * Math.max(1, Math.ceil(reach / step));
    grid = new THREE.GridHelper(cells * step, cells, 0x8a93a3, 0x464d5a);
    scene.add(grid);
  }

  // Aims at `box` from the default view and lays the grid past it, at a
  // round spacing.
  function frameBox(box) {
    const size = aim(box);
    const reach = 1.2 * Math.max(Math.abs(box.min.x), Math.abs(box.max.x), Math.abs(box.min.z), Math.abs(box.max.z),
                                 size / 4);
    layGrid(reach, niceStep(reach / 8));
    return size;
  }

  function resize() {
    const width = container.clientWidth, height = container.clientHeight;
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
    onFrame(timer.getDelta());
    controls.update();
    renderer.render(scene, camera);
  });
  return { scene, camera, controls, frameBox, aim, layGrid, memory: renderer.info.memory };
}
