#include "mspack_expansion.h"

#include <mspack.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// The LZ library's error codes.
const int32_t LzErrorBadInHandle = -1;
const int32_t LzErrorRead = -3;

// Expands compressed with libmspack through two scratch files; returns the libmspack error.
int Decompress(const std::string &compressed, std::string *expanded) {
  std::string folder = (std::filesystem::temp_directory_path() / "kwb-expand.XXXXXX").string();
  if (!mkdtemp(&folder[0]))
    return MSPACK_ERR_OPEN;
  const std::string in = folder + "/in", out = folder + "/out";
  std::ofstream(in, std::ios::binary) << compressed;
  msszdd_decompressor *decompressor = mspack_create_szdd_decompressor(nullptr);
  int error = decompressor->decompress(decompressor, in.c_str(), out.c_str());
  mspack_destroy_szdd_decompressor(decompressor);
  std::ifstream result(out, std::ios::binary);
  expanded->assign(std::istreambuf_iterator<char>(result), {});
  std::filesystem::remove_all(folder);
  return error;
}

} // namespace

int32_t MspackExpansion::ExpandFile(const char *path, uint8_t *buffer, int32_t size) {
  std::string compressed, expanded;
  bool injected = false;
  uint32_t injectedError = 0;
  uint32_t openError = FileSystem.ReadForExpansion(path, &compressed, &injected, &injectedError);
  int32_t result = 0;
  if (injected) {
    result = -static_cast<int32_t>(injectedError);
  } else if (openError != 0) {
    result = LzErrorBadInHandle;
  } else {
    int error = Decompress(compressed, &expanded);
    // A file not in the compressed format is read as it is, as the platform's library does.
    if (error == MSPACK_ERR_SIGNATURE)
      expanded = compressed;
    else if (error != MSPACK_ERR_OK)
      result = LzErrorRead;
    if (result == 0) {
      result = static_cast<int32_t>(std::min(expanded.size(), static_cast<size_t>(size)));
      memcpy(buffer, expanded.data(), static_cast<size_t>(result));
    }
  }
  FileSystem.Record("expand " + std::string(path) + " -> " + std::to_string(result));
  return result;
}
