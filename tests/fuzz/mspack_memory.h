// libmspack's SZDD decoder over memory: the name "in" reads the compressed bytes and
// "out" collects the expansion, so that a fuzzer pays for no file system.
#pragma once

#include <mspack.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace mspack_memory {

struct File {
  std::string *Bytes;
  size_t Position;
};

struct System : mspack_system {
  std::string In, Out;
  File InFile{&In, 0}, OutFile{&Out, 0};
};

inline mspack_file *Open(mspack_system *self, const char *name, int) {
  System *system = static_cast<System *>(self);
  File *file = strcmp(name, "in") == 0 ? &system->InFile : &system->OutFile;
  file->Position = 0;
  return reinterpret_cast<mspack_file *>(file);
}
inline File *Of(mspack_file *file) { return reinterpret_cast<File *>(file); }
inline int Read(mspack_file *handle, void *buffer, int bytes) {
  File *file = Of(handle);
  size_t count = std::min(static_cast<size_t>(bytes), file->Bytes->size() - file->Position);
  memcpy(buffer, file->Bytes->data() + file->Position, count);
  file->Position += count;
  return static_cast<int>(count);
}
inline int Write(mspack_file *handle, void *buffer, int bytes) {
  Of(handle)->Bytes->append(static_cast<const char *>(buffer), static_cast<size_t>(bytes));
  return bytes;
}
inline int Seek(mspack_file *handle, off_t offset, int mode) {
  File *file = Of(handle);
  off_t base = mode == MSPACK_SYS_SEEK_START ? 0
               : mode == MSPACK_SYS_SEEK_CUR ? static_cast<off_t>(file->Position)
                                             : static_cast<off_t>(file->Bytes->size());
  if (base + offset < 0 || base + offset > static_cast<off_t>(file->Bytes->size()))
    return 1;
  file->Position = static_cast<size_t>(base + offset);
  return 0;
}
inline off_t Tell(mspack_file *handle) { return static_cast<off_t>(Of(handle)->Position); }
inline void Message(mspack_file *, const char *, ...) {}
inline void *Alloc(mspack_system *, size_t bytes) { return malloc(bytes); }
inline void Copy(void *from, void *to, size_t bytes) { memmove(to, from, bytes); }

// Expands an SZDD file; returns libmspack's error code (MSPACK_ERR_OK on success).
inline int Decompress(const std::string &compressed, std::string *expanded) {
  System system;
  mspack_system &calls = system;
  calls = {Open, [](mspack_file *) {}, Read, Write, Seek, Tell, Message, Alloc, free, Copy,
           nullptr};
  system.In = compressed;
  msszdd_decompressor *decompressor = mspack_create_szdd_decompressor(&system);
  int error = decompressor->decompress(decompressor, "in", "out");
  mspack_destroy_szdd_decompressor(decompressor);
  *expanded = system.Out;
  return error;
}

} // namespace mspack_memory
