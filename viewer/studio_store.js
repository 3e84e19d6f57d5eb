// The studio page's state, in one place: the session's state as last shown,
// the positions, looks and poses of all its frames, and which item the form
// edits. Every answer of the session carries the revision it answers, and
// changes in flight may be answered in any order: an answer is shown only
// when it is newer than the one shown, and its frames are asked of its own
// revision, so that one state is never drawn with another's frames.
import * as server from './studio_server.js';

export const store = {
  state: null,      // the last state shown
  positions: null,  // Float32Array: x, y, z per point, items in scene order, frame after frame
  looks: null,      // Uint8Array: a look per point (0 flying, 1 resting, 2 another item's, 3 hidden)
  poses: null,      // Float32Array: 12 per item and frame (pivot, X, Y and Z axes)
  edited: 0,        // 0-based index of the item whose effect the form edits
};

const listeners = [];

// `listener(state, previous)` runs whenever a newer state is shown.
export function onShow(listener) {
  listeners.push(listener);
}

const newer = (answer) => !store.state || answer.revision > store.state.revision;

// Shows `answer` (a state of the session) with its frames when it is newer
// than the state shown; answers whether it did.
export async function show(answer) {
  if (!newer(answer)) return false;
  const { first, last } = answer.frames;
  let data;
  try {
    data = await Promise.all([server.frames(first, last, answer.revision), server.looks(first, last, answer.revision),
                              server.poses(first, last, answer.revision)]);
  } catch (error) {
    // The session moved on before the frames were asked: show what it shows now.
    if (error instanceof server.ServerRefusal && error.status === 409) return show(await server.state());
    throw error;
  }
  if (!newer(answer)) return false;
  const previous = store.state;
  store.state = answer;
  store.positions = new Float32Array(data[0]);
  store.looks = new Uint8Array(data[1]);
  store.poses = new Float32Array(data[2]);
  if (!answer.items[store.edited] || !answer.items[store.edited].settings) {
    store.edited = Math.max(0, answer.items.findIndex((item) => item.settings));
  }
  for (const listener of listeners) listener(answer, previous);
  document.body.dataset.revision = String(answer.revision);
  return true;
}

// Positions per frame, of every item.
export function framePositions(state = store.state) {
  return state.items.reduce((sum, item) => sum + item.positions, 0);
}
