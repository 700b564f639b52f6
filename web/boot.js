// Written into the page's head: what the game waits for is asked for before the rest of the page
// is read. Its code compiles, the font loads, and the single-game lock is asked for
// (web/shell.js starts the game once all three are settled).
'use strict';

const Boot = (() => {
  function compile() {
    const get = () => fetch('sudoku.wasm', {credentials: 'same-origin'});
    const whole = () => get().then((r) => r.arrayBuffer()).then((b) => WebAssembly.compile(b));
    // A server that does not say application/wasm: compiled from the whole file.
    return WebAssembly.compileStreaming ? WebAssembly.compileStreaming(get()).catch(whole) : whole();
  }
  let release = null;
  // True once the lock is held (kept while the game runs), false if another tab holds it;
  // null where the browser has no locks.
  const locked = navigator.locks ? new Promise((resolve) => {
    navigator.locks.request('sudoku-game', {ifAvailable: true}, (lock) => {
      if (!lock) { resolve(false); return undefined; }
      resolve(true);
      return new Promise((r) => { release = r; });
    }).catch(() => resolve(true));
  }) : null;
  const font = Promise.race([document.fonts.load('16px "Sudoku Sans"'),
                             new Promise((r) => setTimeout(r, 2000))]);
  return {compiled: compile(), locked, font, release: () => { if (release) release(); }};
})();
