// The module is embedded in the page as base64. The loader would fetch its own data: URL, which
// costs Firefox some 50 ms and needs the page's policy to allow it; decoding it in place takes
// about one. The compiled module is kept as Module.compiled, a promise, so that the page's
// workers are handed it rather than compiling their own: a worker that finds it set uses it.
Module['instantiateWasm'] = function (imports, receiveInstance) {
  var compiled = Module['compiled'];
  if (!compiled) {
    var base64 = wasmBinaryFile.slice(dataURIPrefix.length);
    var bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(base64) : intArrayFromBase64(base64);
    compiled = Module['compiled'] = WebAssembly.compile(bytes);
  }
  compiled.then(function (module) {
    return WebAssembly.instantiate(module, imports).then(function (instance) {
      receiveInstance(instance, module);
    });
  }).catch(abort);
  return {};
};
