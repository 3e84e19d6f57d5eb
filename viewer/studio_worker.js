// The worker of the page that runs the studio without a server
// (studio_server_web.js starts it): it passes each request of the studio's
// interface to the studio's session compiled to WebAssembly
// (tools/web/studio_worker.cpp) and passes the answer back; it computes
// nothing itself.
//
// The module built into the program can be loaded once per instance, and
// every play must start from a freshly loaded module, as plof-host studio's
// plays do. So the program is compiled once, and every request that plays
// (a change, undo, redo, revert, a save) is answered by a new instance: it
// opens the scene, restores the session's documents from their text,
// answers and hands back the new text. A request for what the shown
// document's play holds (the state, frames, looks, poses) is answered by the
// instance that played it.
//
// Messages in: {id, open: {arguments, text}} opens a scene (text: documents
// kept from before, "" for none); {id, file: {name, bytes}} puts a file into
// the studio's folder; {id, request: {method, path, query, body}}. Out:
// {id, status, type, body (ArrayBuffer), text (the documents, but for a
// file), download
// ({name, bytes}: a save's file)}, and {progress: line} during long plays.
import createPlofStudio from 'plof-studio-program';
import programBytes from 'plof-studio-program-wasm';

const FOLDER = '/studio';  // the studio's folder: the examples, the user's files, the saves
const compiled = WebAssembly.compile(programBytes);

// What every instance is made with: the scene's command line, the user's
// files, the session's documents.
const opened = { arguments: null, files: new Map(), text: '' };
let current = null;  // { program, fresh: no request answered yet }

// Standard error, character by character: a line ending in a carriage
// return is the host's progress on a long play, and goes to the page.
function standardError() {
  let line = '';
  return (code) => {
    if (code === null || code === 10 || code === 13) {
      if (code === 13 && line) postMessage({ progress: line });
      else if (line) console.info(line);
      line = '';
    } else {
      line += String.fromCharCode(code);
    }
  };
}

async function newProgram() {
  const module = await compiled;
  const program = await createPlofStudio({
    instantiateWasm(imports, receive) {
      WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module));
      return {};
    },
    print: (line) => console.info(line),
    preRun: [(program) => program.FS.init(null, null, standardError())],
  });
  for (const [name, bytes] of opened.files) program.FS.writeFile(`${FOLDER}/${name}`, bytes);
  return program;
}

// Calls `name` with `strings` as C strings, then `numbers`.
function call(program, name, strings, numbers = []) {
  const pointers = strings.map((text) => {
    const size = program.lengthBytesUTF8(text) + 1;
    const pointer = program._malloc(size);
    program.stringToUTF8(text, pointer, size);
    return pointer;
  });
  const status = program[name](...pointers, ...numbers);
  pointers.forEach((pointer) => program._free(pointer));
  return status;
}

function answerOf(program, status) {
  const at = program._plof_studio_answer_body();
  return {
    status,
    type: program.UTF8ToString(program._plof_studio_answer_type()),
    body: program.HEAPU8.slice(at, at + program._plof_studio_answer_size()).buffer,
  };
}

// A new instance with the session open, its documents restored.
async function openedProgram() {
  const program = await newProgram();
  const status = call(program, '_plof_studio_open', [JSON.stringify(opened.arguments), FOLDER, opened.text]);
  return { program, status };
}

// Opens another scene; one that cannot be opened changes nothing.
async function open({ arguments: commandLine, text }) {
  const before = { arguments: opened.arguments, text: opened.text };
  Object.assign(opened, { arguments: commandLine, text });
  const { program, status } = await openedProgram();
  const answer = answerOf(program, status);
  if (status === 200) {
    current = { program, fresh: true };
    opened.text = program.UTF8ToString(program._plof_studio_text());
  } else {
    Object.assign(opened, before);
  }
  return answer;
}

// The save's file, as the session wrote it into the folder, for the page to download.
function savedFile(program, request, answer) {
  if (request.path !== '/api/save' || answer.status !== 200) return undefined;
  const written = JSON.parse(new TextDecoder().decode(answer.body)).written;
  return { name: written.slice(written.lastIndexOf('/') + 1), bytes: program.FS.readFile(written).buffer };
}

async function answer(request) {
  const query = JSON.stringify(request.query || {});
  const body = request.body === undefined ? '' : request.body;
  let handler = current;
  // What the shown document's play holds is asked of the instance that played
  // it (or will, as its one load); anything else gets a new instance.
  const played = current && (current.fresh || current.program._plof_studio_played());
  if (request.method !== 'GET' || !played) {
    const made = await openedProgram();
    if (made.status !== 200) return answerOf(made.program, made.status);
    handler = { program: made.program, fresh: false };
  }
  const { program } = handler;
  handler.fresh = false;
  const asked = call(program, '_plof_studio_answer', [request.method, request.path, query, body],
                     [program.lengthBytesUTF8(body)]);
  const answer = answerOf(program, asked);
  // A refused change played nothing and changed nothing: the instance
  // that shows the document's play stays.
  if (handler !== current && answer.status < 400) current = handler;
  opened.text = program.UTF8ToString(program._plof_studio_text());
  answer.download = savedFile(program, request, answer);
  return answer;
}

async function handle(data) {
  let reply;
  try {
    if (data.open) reply = await open(data.open);
    else if (data.file) {
      opened.files.set(data.file.name, new Uint8Array(data.file.bytes));
      reply = { status: 200, type: 'application/json', body: new TextEncoder().encode('{}').buffer };
    } else reply = await answer(data.request);
  } catch (error) {
    // An instance that failed outside the session's answers (out of memory)
    // answers no more: the next request restores the documents afresh.
    current = null;
    reply = { status: 500, type: 'application/json',
              body: new TextEncoder().encode(JSON.stringify({ error: String(error) })).buffer };
  }
  reply.id = data.id;
  if (!data.file) reply.text = opened.text;
  const transfer = [reply.body, ...(reply.download ? [reply.download.bytes] : [])];
  postMessage(reply, transfer);
}

// One message at a time, as plof-host studio's module thread takes one
// request at a time: a change is restored from the documents the one
// before it left.
let queue = Promise.resolve();
onmessage = ({ data }) => {
  queue = queue.then(() => handle(data));
};
