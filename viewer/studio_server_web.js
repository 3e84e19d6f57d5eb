// All the talk of the page that runs the studio without a server
// (build/web/index.html) with its session, and nothing else: the same
// exports as studio_server.js, answered by the studio's session compiled to
// WebAssembly in a worker (studio_worker.js, built into this script as
// text, since a page opened from disk may not load a worker's file).
//
// The session opens the example scene, or what the page opened before: the
// scene's command line, the user's files and the session's documents are
// kept in localStorage, so that a reload shows the work where it was.
// A save's file is downloaded.
import { studioRequests } from './studio_requests.js';
import workerSource from 'plof-studio-worker-source';

export class ServerRefusal extends Error {
  constructor(status, answer) {
    super(answer.error || `the studio answered ${status}`);
    this.status = status;
    this.field = answer.field || null;
    this.exists = answer.exists || null;
  }
}

// The worker stopped (it cannot answer any more); a reload starts it again
// with the work kept.
export class ServerGone extends Error {
  constructor(reason) {
    super(`The page's worker has stopped (${reason}).`);
    this.advice = `The page's worker has stopped (${reason}), so changes cannot be played or saved. ` +
                  'Reload the page: it keeps your work. The last settings can also be downloaded below.';
  }
}

// The options panel's picture is drawn with cairo, which this build lacks.
export const drawsPanel = false;

const EXAMPLE = { positional: ['/studio/fountain.lws'], values: {} };
const KEPT = 'plof-studio-web';  // localStorage: {arguments, text, files: [names]}
const KEPT_FILE = 'plof-studio-web-file:';  // + name: the file's bytes, base64

const worker = new Worker(URL.createObjectURL(new Blob([workerSource], { type: 'text/javascript' })));
const waiting = new Map();
const progressListeners = [];
let nextId = 1;
let kept = { arguments: EXAMPLE, text: '', files: [] };

worker.onmessage = ({ data }) => {
  if (data.progress !== undefined) {
    for (const listener of progressListeners) listener(data.progress);
    return;
  }
  if (data.text !== undefined) {
    kept.text = data.text;
    keep();
  }
  const { done } = waiting.get(data.id);
  waiting.delete(data.id);
  done(data);
};
worker.onerror = (event) => {
  for (const { failed } of waiting.values()) failed(new ServerGone(event.message || 'an error'));
  waiting.clear();
};

function post(message, transfer = []) {
  const id = nextId++;
  return new Promise((done, failed) => {
    waiting.set(id, { done, failed });
    worker.postMessage({ id, ...message }, transfer);
  });
}

function keep() {
  try {
    localStorage.setItem(KEPT, JSON.stringify(kept));
  } catch (error) {
    console.warn(`the page cannot keep its work across reloads: ${error.message}`);
  }
}

const base64Of = (bytes) => btoa(Array.from(bytes, (byte) => String.fromCharCode(byte)).join(''));
const bytesOf = (text) => Uint8Array.from(atob(text), (character) => character.charCodeAt(0));

async function putFile(name, bytes) {
  await post({ file: { name, bytes: bytes.buffer.slice(0) } });
  try {
    localStorage.setItem(KEPT_FILE + name, base64Of(bytes));
  } catch (error) {
    console.warn(`${name} is not kept across reloads (the browser's storage is full): ${error.message}`);
  }
  if (!kept.files.includes(name)) kept.files.push(name);
}

// Opens what the page opened before (its files first), else the example.
async function openKept() {
  try {
    const stored = JSON.parse(localStorage.getItem(KEPT));
    if (stored && stored.arguments) kept = stored;
  } catch { /* nothing kept, or not readable: the example */ }
  for (const name of kept.files) {
    const text = localStorage.getItem(KEPT_FILE + name);
    if (text !== null) await post({ file: { name, bytes: bytesOf(text).buffer } });
  }
  let opened = await post({ open: { arguments: kept.arguments, text: kept.text } });
  if (opened.status !== 200 && kept.text) {
    console.warn(`the work kept from before cannot be opened again: ${errorOf(opened).error}`);
    opened = await post({ open: { arguments: kept.arguments, text: '' } });
  }
  if (opened.status !== 200 && kept.arguments !== EXAMPLE) {
    kept = { arguments: EXAMPLE, text: '', files: kept.files };
    opened = await post({ open: { arguments: EXAMPLE, text: '' } });
  }
  if (opened.status !== 200) throw new ServerRefusal(opened.status, errorOf(opened));
}
const ready = openKept();

function errorOf(reply) {
  try {
    return JSON.parse(new TextDecoder().decode(reply.body));
  } catch {
    return {};
  }
}

function download({ name, bytes }) {
  const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

// One request, as studio_server.js sends it.
async function send(method, path, { query, body, as = 'json' } = {}) {
  await ready;
  const reply = await post({ request: { method, path, query: query || {},
                                        body: body === undefined ? undefined : JSON.stringify(body) } });
  if (reply.status < 200 || reply.status > 299) throw new ServerRefusal(reply.status, errorOf(reply));
  if (reply.download) download(reply.download);
  if (as === 'bytes') return reply.body;
  if (as === 'blob') return new Blob([reply.body], { type: reply.type });
  return JSON.parse(new TextDecoder().decode(reply.body));
}

const requests = studioRequests(send);
export const {
  state, objects, changeSettings, loadSettingsFile, changeObject, changeMotion, changeRange,
  undo, redo, revert, frames, looks, poses,
} = requests;
export const panelPicture = () => Promise.reject(new Error('no picture of the options panel in this build'));
// Saves into the session's folder, and downloads what was written: the
// answer names the download.
export async function save(request) {
  const answer = await requests.save(request);
  answer.written = `${answer.written.slice(answer.written.lastIndexOf('/') + 1)} (downloaded)`;
  return answer;
}

// `listener(line)` hears the host's progress on a long play.
export function onProgress(listener) {
  progressListeners.push(listener);
}

// Puts the user's files into the studio's folder (each offered as the
// studio offers --dir's files; a .plf is loaded by loadSettingsFile); a
// .lws among them is opened as the scene, its objects from the files given
// with it (beside it). Answers whether a scene was opened: the page then
// loads again, to show it from its start.
export async function putFiles(files) {
  await ready;
  for (const file of files) await putFile(file.name, new Uint8Array(await file.arrayBuffer()));
  const scene = files.find((file) => /\.lws$/i.test(file.name));
  if (!scene) return false;
  const commandLine = { positional: [`/studio/${scene.name}`], values: {} };
  const opened = await post({ open: { arguments: commandLine, text: '' } });
  if (opened.status !== 200) throw new ServerRefusal(opened.status, errorOf(opened));
  kept.arguments = commandLine;
  keep();
  return true;
}
