// When the studio's server has stopped: the page says so plainly, keeps the
// last settings on screen, and offers each effect's settings as a .plf file
// (the text the session gave with its state), so that nothing is lost.

const $ = (id) => document.getElementById(id);

let downloads = [];

// `error` (a ServerGone) may carry its own `advice` for the person.
export function showGone(state, error = null) {
  document.body.classList.add('gone');
  document.body.dataset.state = 'gone';
  $('gone-text').textContent = (error && error.advice) || 'The studio\'s server has stopped: plof-host studio is ' +
    'no longer running, so changes cannot be played or saved. The last settings stay on screen; download them ' +
    'below, and start plof-host studio again to go on.';
  for (const url of downloads) URL.revokeObjectURL(url);
  downloads = [];
  const box = $('gone-downloads');
  box.textContent = '';
  for (const item of state ? state.items.filter((entry) => entry.settings) : []) {
    const url = URL.createObjectURL(new Blob([item.plf], { type: 'text/plain' }));
    downloads.push(url);
    const link = document.createElement('a');
    link.href = url;
    link.download = `${item.name}.plf`;
    link.textContent = `${item.name} (item ${item.item}).plf`;
    box.append(link);
  }
}
