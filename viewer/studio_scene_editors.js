// The editors of the scene around the effect, for the item edited: its
// object (a built-in shape with its size, or an object file on offer), its
// motion keys (frame, position, heading, pitch, bank; straight lines between
// them, as --motion has them) and the frame range and rate. Each is sent as
// a whole with its "Use" button; the host checks it and a refusal stands
// beside the editor. Keys reached along splines are shown with their spline
// values, and replacing them by straight lines is asked first.

const $ = (id) => document.getElementById(id);

// "builtin:grid:WxH" -> { kind: "grid", sizes: ["W", "H"] }
function shapeOf(form) {
  const [, kind, size] = form.split(':');
  return { kind, sizes: size.split('x') };
}

// "0:1,2,3:0,0,0;..." -> [["0", "1", "2", "3", "0", "0", "0"], ...]
function keyRows(text) {
  if (!text) return [];
  return text.split(';').map((key) => {
    const [frame, position, rotation = '0,0,0'] = key.split(':');
    return [frame, ...position.split(','), ...rotation.split(',')];
  });
}

function input(value, className) {
  const field = document.createElement('input');
  field.type = 'text';
  field.value = value;
  field.spellcheck = false;
  if (className) field.className = className;
  return field;
}

// `send.object(item, name)`, `send.motion(item, keys)`, `send.range(range)`
// each answer a promise that settles once the answer is shown or refused.
export function createSceneEditors(send, currentFrame) {
  let shown = null;  // { state, index, offer }

  // ---- object

  function fillObject(state, index, offer) {
    const item = state.items[index];
    const kind = $('object-kind');
    kind.textContent = '';
    const isShape = item.object.startsWith('builtin:');
    if (!isShape) kind.add(new Option('as it is: ' + item.object, 'current:' + item.object));
    for (const form of offer.shapes) {
      const { kind: shape, sizes } = shapeOf(form);
      kind.add(new Option(`built-in ${shape} (${sizes.join(' \u00d7 ')} points)`, 'shape:' + form));
    }
    for (const file of offer.files) kind.add(new Option(`file: ${file.name}`, 'file:' + file.name));
    if (isShape) {
      kind.value = 'shape:' + offer.shapes.find((form) => shapeOf(form).kind === item.object.split(':')[1]);
    } else {
      kind.value = 'current:' + item.object;
    }
    fillSizes(isShape ? item.object : '');
    $('object-now').textContent = `${item.name} (item ${item.item}) has ${item.object}: ${item.positions} points`;
  }

  // The size fields of the shape chosen, filled from `object` when it is one.
  function fillSizes(object) {
    const box = $('object-size');
    box.textContent = '';
    const chosen = $('object-kind').value;
    if (!chosen.startsWith('shape:')) return;
    const { sizes } = shapeOf(chosen.slice('shape:'.length));
    const now = object.startsWith(chosen.slice('shape:'.length).split(':').slice(0, 2).join(':') + ':')
      ? object.split(':')[2].split('x') : sizes.map(() => (sizes.length === 2 ? '10' : '100'));
    sizes.forEach((name, i) => {
      if (i > 0) box.append(' \u00d7 ');
      const field = input(now[i] || '', 'short');
      field.id = 'object-size-' + i;
      field.setAttribute('aria-label', name);
      box.append(field);
    });
  }

  function chosenObject() {
    const chosen = $('object-kind').value;
    const [type, ...rest] = chosen.split(':');
    const name = rest.join(':');
    if (type !== 'shape') return name;
    const { kind, sizes } = shapeOf(name);
    return `builtin:${kind}:` + sizes.map((_, i) => $('object-size-' + i).value.trim()).join('x');
  }

  $('object-kind').addEventListener('change', () => fillSizes(''));
  $('object-apply').addEventListener('click', () => send.object(shown.index + 1, chosenObject()));

  // ---- motion

  function addKeyRow(values) {
    const row = document.createElement('tr');
    values.forEach((value, i) => {
      const cell = row.insertCell();
      cell.append(input(value, i === 0 ? 'frame' : ''));
    });
    const remove = document.createElement('button');
    remove.type = 'button';
    remove.textContent = '\u00d7';
    remove.title = 'remove this key';
    remove.addEventListener('click', () => row.remove());
    row.insertCell().append(remove);
    $('keys').tBodies[0].append(row);
  }

  function fillMotion(item) {
    $('keys').tBodies[0].textContent = '';
    for (const values of keyRows(item.motion.keys)) addKeyRow(values);
    const splines = item.motion.splines;
    $('splines').textContent = splines.length === 0 ? '' : 'Reached along splines, not straight lines: ' +
      splines.map((s) => `frame ${s.frame} (tension ${s.tension}, continuity ${s.continuity}, bias ${s.bias})`)
        .join(', ') + '. Using edited keys replaces them by straight lines' +
      (item.motion.scaled ? ', and the keys\' scale by 1.' : '.');
  }

  function keysText() {
    return Array.from($('keys').tBodies[0].rows).map((row) => {
      const v = Array.from(row.querySelectorAll('input')).map((field) => field.value.trim());
      return `${v[0]}:${v[1]},${v[2]},${v[3]}:${v[4]},${v[5]},${v[6]}`;
    }).join(';');
  }

  $('key-add').addEventListener('click', () => {
    const rows = $('keys').tBodies[0].rows;
    const last = rows.length ? Array.from(rows[rows.length - 1].querySelectorAll('input')).map((f) => f.value)
      : ['0', '0', '0', '0', '0', '0', '0'];
    const frame = Math.floor(currentFrame());
    last[0] = String(Number(last[0]) === frame || rows.length === 0 ? frame + (rows.length ? 10 : 0) : frame);
    addKeyRow(last);
  });
  $('motion-apply').addEventListener('click', () => {
    const motion = shown.state.items[shown.index].motion;
    if ((motion.splines.length > 0 || motion.scaled) &&
        !window.confirm('These keys are reached along splines. Using the edited keys replaces them by straight ' +
                        'lines between keys (undo brings the splines back). Go on?')) return;
    send.motion(shown.index + 1, keysText());
  });

  // ---- frames

  function fillRange(state) {
    $('range-from').value = String(state.frames.first);
    $('range-to').value = String(state.frames.last);
    $('range-fps').value = String(state.fps);
  }

  const numberOrText = (text) => (text.trim() !== '' && Number.isFinite(Number(text)) ? Number(text) : text);
  $('range-apply').addEventListener('click', () => send.range({
    from: numberOrText($('range-from').value),
    to: numberOrText($('range-to').value),
    fps: numberOrText($('range-fps').value),
  }));

  return {
    // Fills each editor whose part of the scene changed (or all, for
    // another item), so that edits not yet used stay while other changes
    // come back.
    fill(state, index, offer) {
      const before = shown && shown.index === index ? shown : null;
      shown = { state, index, offer };
      const item = state.items[index];
      const was = before && before.state.items[index];
      if (!was || was.object !== item.object || was.positions !== item.positions || before.offer !== offer) {
        fillObject(state, index, offer);
      }
      if (!was || was.motion.keys !== item.motion.keys) fillMotion(item);
      if (!was || before.state.frames.first !== state.frames.first || before.state.frames.last !== state.frames.last ||
          before.state.fps !== state.fps) {
        fillRange(state);
      }
    },
  };
}
