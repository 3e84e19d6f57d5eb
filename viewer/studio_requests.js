// The studio's interface as calls (docs/http-interface.md), made over
// `send(method, path, { query, body, as })` of whichever module talks to the
// session: the server over HTTP, or the in-page session in a worker.
export function studioRequests(send) {
  const frameQuery = (first, last, revision) => ({ from: String(first), to: String(last), revision: String(revision) });
  return {
    state: () => send('GET', '/api/state'),
    objects: () => send('GET', '/api/objects'),
    changeSettings: (item, values) => send('PUT', `/api/items/${item}/settings`, { body: values }),
    loadSettingsFile: (item, file) => send('PUT', `/api/items/${item}/settings-file`, { body: { file } }),
    changeObject: (item, object) => send('PUT', `/api/items/${item}/object`, { body: { object } }),
    changeMotion: (item, keys) => send('PUT', `/api/items/${item}/motion`, { body: { keys } }),
    changeRange: (range) => send('PUT', '/api/range', { body: range }),
    undo: () => send('POST', '/api/undo'),
    redo: () => send('POST', '/api/redo'),
    revert: () => send('POST', '/api/revert'),
    frames: (first, last, revision) =>
      send('GET', '/api/frames', { query: frameQuery(first, last, revision), as: 'bytes' }),
    looks: (first, last, revision) =>
      send('GET', '/api/looks', { query: frameQuery(first, last, revision), as: 'bytes' }),
    poses: (first, last, revision) =>
      send('GET', '/api/poses', { query: frameQuery(first, last, revision), as: 'bytes' }),
    panelPicture: (item, revision) =>
      send('GET', `/api/items/${item}/panel.png`, { query: { revision: String(revision) }, as: 'blob' }),
    save: (request) => send('POST', '/api/save', { body: request }),
  };
}
