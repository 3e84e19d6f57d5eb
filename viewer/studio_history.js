// Nothing lost: undo, redo and revert of every change the session keeps
// (settings, object, motion, range), as buttons and as Ctrl+Z and
// Ctrl+Shift+Z (Cmd on a Mac) outside text fields, where those keys stay the
// field's own; and the browser asks before a tab with changes not saved
// closes. The session keeps the history; the page shows what it can do.

const $ = (id) => document.getElementById(id);

// `send.undo()`, `send.redo()`, `send.revert()` answer promises that settle
// once the answer is shown or refused.
export function createHistory(send) {
  let shown = null;

  $('undo').addEventListener('click', () => send.undo());
  $('redo').addEventListener('click', () => send.redo());
  $('revert').addEventListener('click', () => send.revert());

  window.addEventListener('keydown', (event) => {
    if (!(event.ctrlKey || event.metaKey) || event.altKey || event.key.toLowerCase() !== 'z') return;
    const target = event.target;
    const typing = target instanceof HTMLTextAreaElement || target.isContentEditable ||
                   (target instanceof HTMLInputElement && !['range', 'checkbox', 'radio', 'button'].includes(target.type));
    if (typing) return;
    event.preventDefault();
    if (event.shiftKey) {
      if (shown && shown.redo > 0) send.redo();
    } else if (shown && shown.undo > 0) {
      send.undo();
    }
  });

  window.addEventListener('beforeunload', (event) => {
    if (shown && shown.unsaved) {
      event.preventDefault();
      event.returnValue = '';
    }
  });

  return {
    update(state) {
      shown = state.history;
      $('undo').disabled = shown.undo === 0;
      $('redo').disabled = shown.redo === 0;
      $('history-note').textContent = (shown.unsaved ? 'changes not saved' : 'saved') +
        (shown.undo ? ` \u00b7 ${shown.undo} step${shown.undo === 1 ? '' : 's'} to undo` : '');
      document.body.dataset.unsaved = shown.unsaved ? '1' : '0';
    },
  };
}
