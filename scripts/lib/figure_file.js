// What the scripts that measure the project's figures share
// (scripts/measure-benchmarks, scripts/time-test-run): the machine and the
// commit a figure was measured on, how busy the machine was meanwhile, the
// figures file written safely, and durations in words.
'use strict';
const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const sourceDir = path.resolve(__dirname, '..', '..');

// Share of the machine's processor time that other work may take while a
// figure is measured, before the figure is called provisional.
const kIdleOthersShare = 0.05;
const kLoadSampleMs = 5000;

// The comment at the top of a script or source file (after a #! line), without its comment marks.
function headerComment(file) {
  const lines = [];
  for (const line of fs.readFileSync(file, 'utf8').split('\n').filter((text) => !text.startsWith('#!'))) {
    if (!line.startsWith('//')) break;
    lines.push(line.replace(/^\/\/ ?/, ''));
  }
  return lines;
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

// "7 min 6 s", "35 s".
function duration(seconds) {
  const whole = Math.round(seconds);
  return whole < 60 ? `${whole} s` : `${Math.floor(whole / 60)} min ${whole % 60} s`;
}

function commandOutput(command, args, options = {}) {
  return childProcess.execFileSync(command, args, { encoding: 'utf8', cwd: sourceDir, ...options }).trim();
}

// "d0432b9", or "d0432b9 with changes not committed".
function commit() {
  const id = commandOutput('git', ['rev-parse', '--short', 'HEAD']);
  const changed = commandOutput('git', ['status', '--porcelain', '--untracked-files=no']) !== '';
  return changed ? `${id} with changes not committed` : id;
}

function operatingSystem() {
  try {
    const release = fs.readFileSync('/etc/os-release', 'utf8').match(/^PRETTY_NAME="?([^"\n]*)"?$/m);
    if (release) return `${release[1]}, Linux ${os.release()}`;
  } catch {
    // No /etc/os-release: name the kernel alone.
  }
  return `${os.type()} ${os.release()}`;
}

// One line: processor, cores, memory, system.
function machine() {
  const cpus = os.cpus();
  const memory = (os.totalmem() / 2 ** 30).toFixed(1);
  return `${cpus[0].model.replace(/\s+/g, ' ')}, ${cpus.length} cores, ${memory} GiB of memory; ${operatingSystem()}`;
}

function timestamp(date) {
  return `${date.toISOString().slice(0, 16).replace('T', ' ')} UTC`;
}

// Busy processor time of the whole machine (/proc/stat) and of this
// process's waited-for children (/proc/self/stat), in seconds.
function processorTimes() {
  const tick = 100; // USER_HZ, the unit of both files on Linux
  const cpu = fs.readFileSync('/proc/stat', 'utf8').split('\n')[0].trim().split(/\s+/).slice(1).map(Number);
  const [user, nice, system, , , irq, softirq, steal] = cpu;
  const self = fs.readFileSync('/proc/self/stat', 'utf8');
  const fields = self.slice(self.lastIndexOf(')') + 2).split(' ').map(Number);
  // cutime and cstime are the 16th and 17th fields, the 14th and 15th after the name.
  const children = fields[13] + fields[14];
  return { machine: (user + nice + system + irq + softirq + steal) / tick, children: children / tick };
}

// Watches how busy the machine is while children of this process do the
// measured work: the load average every few seconds, and the processor
// time that other work took.
class MachineWatch {
  constructor() {
    this.started = Date.now();
    this.before = processorTimes();
    this.loads = [os.loadavg()[0]];
    this.timer = setInterval(() => this.loads.push(os.loadavg()[0]), kLoadSampleMs);
  }

  // { seconds, othersShare (of every core's time), loads: { low, median, high } }
  stop() {
    clearInterval(this.timer);
    const after = processorTimes();
    const seconds = (Date.now() - this.started) / 1000;
    const others = after.machine - this.before.machine - (after.children - this.before.children);
    const capacity = seconds * os.cpus().length;
    return {
      seconds,
      othersShare: capacity > 0 ? Math.max(0, others) / capacity : 0,
      loads: { low: Math.min(...this.loads), median: median(this.loads), high: Math.max(...this.loads) },
    };
  }
}

function busyWords(watch) {
  const percent = Math.round(100 * watch.othersShare);
  const { low, median: middle, high } = watch.loads;
  return `other work took ${percent} % of the machine's processor time; load average ${low.toFixed(1)} to ` +
    `${high.toFixed(1)} (median ${middle.toFixed(1)}) on ${os.cpus().length} cores`;
}

// A sentence on how busy the machine was, and whether that makes the
// figures provisional.
function busyVerdict(watches) {
  const worst = Math.max(...watches.map((watch) => watch.othersShare));
  return worst > kIdleOthersShare
    ? `**Provisional**: the machine was busy with other work (up to ${Math.round(100 * worst)} % of its ` +
      'processor time); measure again on an idle machine.'
    : 'The machine was otherwise idle.';
}

// Writes `text` to `file` through a temporary file beside it, renamed over
// it once complete, so that a failure leaves the old figures as they were.
function writeFigures(file, text) {
  fs.mkdirSync(path.dirname(file), { recursive: true });
  const temporary = path.join(path.dirname(file), `.${path.basename(file)}.tmp-${process.pid}`);
  try {
    fs.writeFileSync(temporary, text);
    fs.renameSync(temporary, file);
  } catch (error) {
    fs.rmSync(temporary, { force: true });
    throw error;
  }
}

module.exports = {
  sourceDir, headerComment, median, duration, commandOutput, commit, machine, timestamp, MachineWatch, busyWords, busyVerdict,
  writeFigures,
};
