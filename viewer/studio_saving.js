// The save buttons: each save goes into the studio's folder under the name
// typed, and its result (what was written, or why not) stands right below
// the buttons that were clicked. A file that exists is not replaced
// unasked: the session answers 409 naming it, the page asks, and only a
// confirmed save is sent again, with "replace": true.
import * as server from './studio_server.js';

const $ = (id) => document.getElementById(id);

function spins(id) {
  return $(id).value.split(',').map(Number);
}

// `editedItem()` is the 1-based item whose settings a .plf or bake saves;
// `onGone(error)` hears of a server that stopped.
export function createSaving(editedItem, onGone) {
  function request(kind) {
    const request = { kind, name: $('name').value, item: editedItem() };
    if (kind === 'bake') {
      Object.assign(request, {
        frames: Number($('bake-frames').value), step: Number($('bake-step').value),
        hpbMin: spins('bake-hpb-min'), hpbMax: spins('bake-hpb-max'),
        alignH: $('bake-align-h').checked, scale: $('bake-scale').checked, dissolve: $('bake-dissolve').checked,
      });
    }
    return request;
  }

  function saveOnce(asked) {
    return server.save(asked).catch((error) => {
      if (!(error instanceof server.ServerRefusal) || error.status !== 409 || !error.exists) throw error;
      if (!window.confirm(`${error.exists} exists in the studio's folder. Replace it?`)) return null;
      return server.save({ ...asked, replace: true });
    });
  }

  async function save(kind, result) {
    result.classList.remove('failed');
    result.textContent = 'saving ...';
    try {
      const answer = await saveOnce(request(kind));
      if (!answer) {
        result.textContent = 'not saved: the file there was kept';
        return;
      }
      result.textContent = 'wrote ' + answer.written +
        (answer.warnings.length ? ' \u2014 warnings: ' + answer.warnings.join('; ') : '');
      document.body.dataset.saved = String(Number(document.body.dataset.saved || 0) + 1);
    } catch (error) {
      result.classList.add('failed');
      result.textContent = 'not saved: ' + error.message;
      if (error instanceof server.ServerGone) onGone(error);
    }
  }

  for (const button of document.querySelectorAll('button[data-kind]')) {
    const result = document.querySelector(`[data-result-of~="${button.dataset.kind}"]`);
    button.addEventListener('click', () => save(button.dataset.kind, result));
  }
}
