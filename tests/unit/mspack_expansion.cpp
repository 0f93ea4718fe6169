#include "mspack_expansion.h"

#include <mspack.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// The LZ library's error codes.
const int32_t LzErrorBadInHandle = -1;
const int32_t LzErrorRead = -3;

// One end of a libmspack transfer held in memory. libmspack hands "file names" to the
// system's open call untouched, so the names given to it are pointers to these.
struct MemoryStream {
  const std::string *Input = nullptr; // for reading
  size_t Position = 0;
  uint8_t *Output = nullptr; // for writing: at most Capacity bytes are kept
  size_t Capacity = 0;
  size_t Produced = 0;
};

MemoryStream *StreamOf(mspack_file *file) { return reinterpret_cast<MemoryStream *>(file); }

int Read(mspack_file *file, void *buffer, int bytes) {
  MemoryStream *stream = StreamOf(file);
  if (!stream->Input)
    return -1;
  size_t count = std::min(static_cast<size_t>(bytes), stream->Input->size() - stream->Position);
  memcpy(buffer, stream->Input->data() + stream->Position, count);
  stream->Position += count;
  return static_cast<int>(count);
}

int Write(mspack_file *file, void *buffer, int bytes) {
  MemoryStream *stream = StreamOf(file);
  if (stream->Produced < stream->Capacity) {
    size_t count = std::min(static_cast<size_t>(bytes), stream->Capacity - stream->Produced);
    memcpy(stream->Output + stream->Produced, buffer, count);
  }
  stream->Produced += static_cast<size_t>(bytes);
  return bytes;
}

int Seek(mspack_file *file, off_t offset, int mode) {
  MemoryStream *stream = StreamOf(file);
  if (!stream->Input)
    return -1;
  off_t base = mode == MSPACK_SYS_SEEK_START ? 0
               : mode == MSPACK_SYS_SEEK_CUR ? static_cast<off_t>(stream->Position)
                                             : static_cast<off_t>(stream->Input->size());
  off_t target = base + offset;
  if (target < 0 || target > static_cast<off_t>(stream->Input->size()))
    return -1;
  stream->Position = static_cast<size_t>(target);
  return 0;
}

void Message(mspack_file *, const char *, ...) {}

mspack_system MemorySystem = {
    [](mspack_system *, const char *name, int) {
      return reinterpret_cast<mspack_file *>(const_cast<char *>(name));
    },
    [](mspack_file *) {},
    Read,
    Write,
    Seek,
    [](mspack_file *file) { return static_cast<off_t>(StreamOf(file)->Position); },
    Message,
    [](mspack_system *, size_t bytes) { return malloc(bytes); },
    free,
    [](void *source, void *destination, size_t bytes) { memmove(destination, source, bytes); },
    nullptr};

struct DecompressorDeleter {
  void operator()(msszdd_decompressor *decompressor) const {
    mspack_destroy_szdd_decompressor(decompressor);
  }
};

// Expands compressed into output (at most capacity bytes kept). Returns the libmspack
// error and the full expanded length.
int Decompress(const std::string &compressed, uint8_t *output, size_t capacity,
               size_t *produced) {
  std::unique_ptr<msszdd_decompressor, DecompressorDeleter> decompressor(
      mspack_create_szdd_decompressor(&MemorySystem));
  if (!decompressor)
    return MSPACK_ERR_NOMEMORY;
  MemoryStream input;
  input.Input = &compressed;
  MemoryStream outputStream;
  outputStream.Output = output;
  outputStream.Capacity = capacity;
  int error = decompressor->decompress(decompressor.get(), reinterpret_cast<const char *>(&input),
                                       reinterpret_cast<const char *>(&outputStream));
  *produced = outputStream.Produced;
  return error;
}

} // namespace

int32_t MspackExpansion::ExpandFile(const char *path, uint8_t *buffer, int32_t size) {
  std::string compressed;
  bool injected = false;
  uint32_t injectedError = 0;
  uint32_t openError = FileSystem.ReadForExpansion(path, &compressed, &injected, &injectedError);
  int32_t result = 0;
  if (injected) {
    result = -static_cast<int32_t>(injectedError);
  } else if (openError != 0) {
    result = LzErrorBadInHandle;
  } else {
    size_t produced = 0;
    int error = Decompress(compressed, buffer, static_cast<size_t>(size), &produced);
    if (error == MSPACK_ERR_SIGNATURE) {
      // Not compressed: the platform's library reads such a file as it is.
      produced = std::min(compressed.size(), static_cast<size_t>(size));
      memcpy(buffer, compressed.data(), produced);
      result = static_cast<int32_t>(produced);
    } else if (error != MSPACK_ERR_OK) {
      result = LzErrorRead;
    } else {
      result = static_cast<int32_t>(std::min(produced, static_cast<size_t>(size)));
    }
  }
  FileSystem.Record("expand " + std::string(path) + " -> " + std::to_string(result));
  return result;
}
