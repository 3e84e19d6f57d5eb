// All the studio page's talk with its session, and nothing else: every
// request is one of the HTTP interface's (docs/http-interface.md: a
// method, a path, a query and a JSON body in; a status and JSON or bytes
// out), made by send() alone. A page that runs the session itself swaps this
// module for one with the same exports.
//
// A refusal is thrown as a ServerRefusal (its status, the answer's "error",
// and "field" or "exists" where the answer names one); a server that cannot
// be reached as a ServerGone.
import { studioRequests } from './studio_requests.js';
import { authorizedFetch } from './studio_token.js';

export class ServerRefusal extends Error {
  constructor(status, answer) {
    super(answer.error || `the studio answered ${status}`);
    this.status = status;
    this.field = answer.field || null;
    this.exists = answer.exists || null;
  }
}

export class ServerGone extends Error {
  constructor() {
    super('The studio\'s server has stopped (plof-host studio is no longer running).');
  }
}

// One request: `query` an object of parameters, `body` any JSON value (none
// for undefined), `as` "json", "bytes" (an ArrayBuffer) or "blob". Answers
// the decoded body of a 2xx answer.
async function send(method, path, { query, body, as = 'json' } = {}) {
  const address = query ? path + '?' + new URLSearchParams(query) : path;
  const options = { method };
  if (body !== undefined) {
    options.headers = { 'Content-Type': 'application/json' };
    options.body = JSON.stringify(body);
  }
  let response;
  try {
    response = await authorizedFetch(address, options);
  } catch {
    throw new ServerGone();
  }
  if (!response.ok) {
    let answer = {};
    try {
      answer = await response.json();
    } catch { /* no JSON answer */ }
    throw new ServerRefusal(response.status, answer);
  }
  if (as === 'bytes') return response.arrayBuffer();
  if (as === 'blob') return response.blob();
  return response.json();
}

// The options panel's picture is drawn by the host (panelPicture).
export const drawsPanel = true;
// Files come from the folder plof-host studio was started with (--dir), not from the page.
export const putFiles = null;
// plof-host studio shows a long play's progress on its terminal, not here.
export function onProgress() {}

export const {
  state, objects, changeSettings, loadSettingsFile, changeObject, changeMotion, changeRange,
  undo, redo, revert, frames, looks, poses, panelPicture, save,
} = studioRequests(send);
