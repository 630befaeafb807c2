// Compiles the program while it downloads, from the page's head: page.js runs
// only once the whole page is parsed, and the browser compiles nothing of a
// file it has merely preloaded. page.js instantiates the compiled module;
// where this failed (a broken download, a browser without streaming
// compilation) page.js fetches tuvrel.wasm itself, again if need be.
'use strict';
// The promise is kept on this script's element, not on window.
if (typeof WebAssembly === 'object' && typeof WebAssembly.compileStreaming === 'function' && document.currentScript) {
  const compiling = WebAssembly.compileStreaming(fetch('tuvrel.wasm', {credentials: 'same-origin'}));
  compiling.catch(() => {});  // page.js fetches it again
  document.currentScript.compiling = compiling;
}
