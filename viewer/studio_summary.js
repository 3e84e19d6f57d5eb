// The summary of the item edited, as `plof-host summary` gives it (numbers
// and the warnings that concern no single field; the others stand beside
// their fields), and the options panel as the module draws it, with a word
// on how its Registance slider shows the value.
import * as server from './studio_server.js';

function number(value) {
  return Number.isInteger(value) ? String(value) : value.toPrecision(4).replace(/\.?0+$/, '');
}

function stat(value, unit = '') {
  return value ? `min ${number(value.min)} / mean ${number(value.mean)} / max ${number(value.max)}${unit}` : 'none';
}

function rowsOf(summary) {
  const bounds = summary.boundingBox;
  return [
    ['points', summary.points],
    ['birth rate', summary.birthRate + ' per second'],
    ['recycle period', summary.periodFrames === null ? 'none' : summary.periodFrames + ' frames'],
    ['launches', summary.firstLaunchFrame === null ? 'none in the range'
                 : `first at frame ${summary.firstLaunchFrame}, last at frame ${summary.lastLaunchFrame}`],
    ['flights', summary.flights],
    ['flight length', stat(summary.flightFrames, ' frames')],
    ['points in flight', stat(summary.pointsInFlightPerFrame, ' per frame')],
    ['bounding box', bounds ? [0, 1, 2].map((a) => 'xyz'[a] + ' ' + number(bounds.min[a]) + ' .. '
                                                     + number(bounds.max[a])).join(', ') : 'none'],
    ['highest above pivot', number(summary.highestAbovePivot)],
    ['farthest from pivot', number(summary.farthestFromPivot)],
  ];
}

export function createSummary({ summaryBox, panel, panelNote, onFailure }) {
  let panelUrl = null;

  async function showPanel(state, index) {
    if (!server.drawsPanel) {
      panel.hidden = true;
      panelNote.textContent += ' The picture of the options panel is not drawn here: the host draws it with cairo, ' +
                               'which this build lacks (plof-host studio shows it).';
      return;
    }
    try {
      const picture = await server.panelPicture(index + 1, state.revision);
      if (panelUrl) URL.revokeObjectURL(panelUrl);
      panelUrl = URL.createObjectURL(picture);
      panel.src = panelUrl;
    } catch (error) {
      // A newer state is shown by now, and its picture asked for.
      if (!(error instanceof server.ServerRefusal && error.status === 409)) onFailure(error);
    }
  }

  return {
    show(state, index) {
      const item = state.items[index];
      const summary = state.summary.items.find((entry) => entry.item === index + 1);
      summaryBox.textContent = '';
      if (summary) {
        const table = document.createElement('table');
        for (const [name, value] of rowsOf(summary)) {
          const row = table.insertRow();
          row.insertCell().textContent = name;
          row.insertCell().textContent = String(value);
        }
        summaryBox.append(table);
      }
      for (const warning of item.warnings.filter((entry) => entry.keyword === null)) {
        const line = document.createElement('div');
        line.className = 'warning';
        line.textContent = 'warning: ' + warning.message;
        summaryBox.append(line);
      }
      const registance = state.settingsTable.find((entry) => entry.keyword === 'Regist');
      panelNote.textContent = `${registance.label} is ${item.settings.Regist} ${registance.unit} here; ` +
                              `${registance.note}.`;
      showPanel(state, index);
    },
  };
}
