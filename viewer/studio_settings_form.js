// The settings form: a control per setting of the item edited, built from
// the session's table (labels, units, ranges, steps, OrgEmit's choices and
// a word on each), filled from the state shown, with each warning of the
// state beside the field it is about and each refusal beside the field it
// refused. Number fields send the text typed, which the host reads (and
// refuses "4,5" with a word on the decimal point); sliders send their
// position while they move, one request at a time, the newest last.
// Settings that the chosen emission ignores are shown as unused.

const $ = (id) => document.getElementById(id);

function element(tag, className, text) {
  const made = document.createElement(tag);
  if (className) made.className = className;
  if (text !== undefined) made.textContent = text;
  return made;
}

// `send(values)` sends {keyword: value} and answers a promise that settles
// once the answer is shown (or refused).
export function createSettingsForm(box, send) {
  let table = [];
  let shown = null;  // { state, index }

  function valueOf(entry, input) {
    if (entry.control === 'item') return input.value;
    if (entry.control === 'check') return input.checked ? 1 : 0;
    if (entry.control === 'slider') return Number(input.value);
    return input.value.trim();
  }

  // A slider plays while it is dragged: its newest position is sent once the
  // answer to the one before is shown, and a position the effect already
  // holds is not sent again (the release after a drag).
  let slidTo = null;
  let sliding = false;
  async function slide(entry, input) {
    slidTo = { entry, input };
    if (sliding) return;
    sliding = true;
    while (slidTo) {
      const next = slidTo;
      slidTo = null;
      const held = shown.state.items[shown.index].settings[next.entry.keyword];
      if (Number(next.input.value) !== held) await send({ [next.entry.keyword]: Number(next.input.value) });
    }
    sliding = false;
  }

  function controlFor(entry) {
    if (entry.control === 'choice') {
      const group = element('div', 'choices');
      for (const choice of entry.choices) {
        const label = element('label', 'choice');
        const radio = document.createElement('input');
        radio.type = 'radio';
        radio.name = 'setting-' + entry.keyword;
        radio.value = String(choice.value);
        radio.id = `setting-${entry.keyword}-${choice.value}`;
        radio.addEventListener('change', () => send({ [entry.keyword]: choice.value }));
        label.append(radio, document.createTextNode(' ' + choice.label), element('span', 'hint', choice.description));
        group.append(label);
      }
      return group;
    }
    let input;
    if (entry.control === 'item') {
      input = document.createElement('select');
    } else if (entry.control === 'slider' || entry.control === 'check') {
      input = document.createElement('input');
      input.type = entry.control === 'slider' ? 'range' : 'checkbox';
      if (entry.control === 'slider') {
        input.min = String(entry.min);
        input.max = String(entry.max);
        input.step = String(entry.step);
      }
    } else {
      input = document.createElement('input');
      input.type = 'text';
      input.inputMode = entry.control === 'whole' ? 'numeric' : 'decimal';
      input.spellcheck = false;
    }
    input.id = 'setting-' + entry.keyword;
    input.dataset.keyword = entry.keyword;
    if (entry.control === 'slider') {
      input.addEventListener('input', () => {
        $('value-' + entry.keyword).textContent = input.value;
        slide(entry, input);
      });
      input.addEventListener('change', () => slide(entry, input));
    } else {
      input.addEventListener('change', () => send({ [entry.keyword]: valueOf(entry, input) }));
    }
    return input;
  }

  function build(settingsTable) {
    table = settingsTable;
    box.textContent = '';
    for (const entry of table) {
      const row = element('div', 'setting');
      row.id = 'row-' + entry.keyword;
      const line = element('div', 'line');
      const label = element('label', 'name', entry.label);
      label.htmlFor = 'setting-' + entry.keyword;
      label.title = `${entry.label} (keyword ${entry.keyword} in .plf files and scenes)`;
      const value = element('span', 'value');
      value.id = 'value-' + entry.keyword;
      line.append(label, controlFor(entry), value);
      row.append(line, element('div', 'hint', [entry.unit, entry.note].filter(Boolean).join(' \u2014 ')));
      const unused = element('div', 'hint unused-note');
      unused.id = 'unused-' + entry.keyword;
      const warnings = element('div', 'warnings');
      warnings.id = 'warnings-' + entry.keyword;
      const refusal = element('div', 'refusal');
      refusal.id = 'refusal-' + entry.keyword;
      row.append(unused, warnings, refusal);
      box.append(row);
    }
  }

  function fillControl(entry, value, state, index) {
    if (entry.control === 'choice') {
      // A file's OrgEmit above 2 emits as 2 does.
      const chosen = entry.choices.reduce((found, choice) => (value >= choice.value ? choice : found), entry.choices[0]);
      for (const choice of entry.choices) $(`setting-${entry.keyword}-${choice.value}`).checked = choice === chosen;
      $('value-' + entry.keyword).textContent = value === chosen.value ? '' : String(value);
      return chosen;
    }
    const input = $('setting-' + entry.keyword);
    if (entry.control === 'item') {
      input.textContent = '';
      const names = [entry.none, ...state.items.filter((_, i) => i !== index).map((item) => item.name)];
      if (!names.includes(value)) names.push(value);
      for (const name of names) input.add(new Option(name, name));
      input.value = value;
    } else if (entry.control === 'check') {
      input.checked = value === 1;
      input.indeterminate = value !== 0 && value !== 1;
    } else if (document.activeElement !== input) {
      // A field being typed in keeps what is typed.
      input.value = String(value);
    }
    $('value-' + entry.keyword).textContent =
      entry.control === 'slider' || (entry.control === 'check' && input.indeterminate) ? String(value) : '';
    return null;
  }

  function fill(state, index) {
    shown = { state, index };
    const item = state.items[index];
    let unused = [];
    let emission = null;
    for (const entry of table) {
      const chosen = fillControl(entry, item.settings[entry.keyword], state, index);
      if (chosen) {
        unused = chosen.unused;
        emission = chosen.label;
      }
      const warnings = $('warnings-' + entry.keyword);
      warnings.textContent = '';
      for (const warning of item.warnings.filter((w) => w.keyword === entry.keyword)) {
        warnings.append(element('div', 'warning', warning.message));
      }
    }
    for (const entry of table) {
      const ignored = unused.includes(entry.keyword);
      $('row-' + entry.keyword).classList.toggle('unused', ignored);
      $('unused-' + entry.keyword).textContent = ignored ? `not used: "${emission}" ignores the spread` : '';
    }
  }

  return {
    build,
    fill,
    // A refusal beside its field ("" clears them all).
    showRefusal(field, message) {
      for (const entry of table) $('refusal-' + entry.keyword).textContent = '';
      const place = field && $('refusal-' + field);
      if (place) place.textContent = message;
      return Boolean(place);
    },
  };
}
