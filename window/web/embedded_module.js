// The module is embedded in the page as base64. The loader would fetch its own data: URL, which
// costs Firefox some 50 ms and needs the page's policy to allow it; decoding it in place takes
// about one.
Module['instantiateWasm'] = function (imports, receiveInstance) {
  var base64 = wasmBinaryFile.slice(dataURIPrefix.length);
  var bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(base64) : intArrayFromBase64(base64);
  WebAssembly.instantiate(bytes, imports).then(function (result) {
    receiveInstance(result.instance, result.module);
  }, abort);
  return {};
};
