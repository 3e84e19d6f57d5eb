// The timeline the viewer and the studio pages share: a play / pause button,
// a frame scrubber and the frame number, over a range first..last played at
// fps. `show(frame)` is called with the (fractional, while playing) frame to
// show; body[data-frame] holds the whole frame shown, for tests.
export function createTimeline({ playButton, scrubber, frameLabel, show }) {
  let range = null;  // { first, last, fps }
  let frame = 0;
  let playing = false;

  function showFrame(value) {
    frame = value;
    const whole = Math.floor(frame);
    show(frame);
    scrubber.value = String(whole);
    frameLabel.textContent = 'frame ' + whole + ' of ' + range.first + '..' + range.last;
    document.body.dataset.frame = String(whole);
  }

  function setPlaying(on) {
    playing = on;
    playButton.innerHTML = on ? '&#10074;&#10074;' : '&#9654;';
  }

  playButton.addEventListener('click', () => setPlaying(!playing));
  scrubber.addEventListener('input', () => {
    setPlaying(false);
    showFrame(Number(scrubber.value));
  });
  window.addEventListener('keydown', (event) => {
    if (event.code === 'Space' && range && !playButton.disabled && !(event.target instanceof HTMLInputElement)) {
      event.preventDefault();
      setPlaying(!playing);
    }
  });

  return {
    // A new range: shows its first frame (or keeps the frame shown when it
    // is inside) and plays when it has more than one frame.
    setRange(first, last, fps, keepFrame = false) {
      const kept = keepFrame && range && frame >= first && frame <= last ? frame : first;
      range = { first, last, fps };
      scrubber.min = String(first);
      scrubber.max = String(last);
      scrubber.disabled = false;
      playButton.disabled = last <= first;
      showFrame(kept);
      if (!keepFrame) setPlaying(last > first);
    },
    // Moves on by `seconds` while playing, wrapping at the end of the range.
    advance(seconds) {
      if (!range || !playing) return;
      const span = range.last - range.first + 1;
      showFrame(range.first + ((frame - range.first + seconds * range.fps) % span));
    },
    refresh() {
      if (range) showFrame(frame);
    },
    setPlaying,
  };
}
