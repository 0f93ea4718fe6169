/*
 * lz32_expand IN OUT - expands IN with the Windows LZ expansion library and
 * writes the result to OUT.
 *
 * The tests run this under Wine to check kwbpack's files against the
 * decoder the installer itself uses. IN is opened with CreateFileA and handed
 * to LZInit, as the installer does, rather than through LZOpenFileA, whose
 * OFSTRUCT cannot hold paths of 128 characters or more.
 *
 * Build: x86_64-w64-mingw32-gcc-posix -static -O2 lz32_expand.c -llz32
 */
#include <windows.h>
#include <lzexpand.h>
#include <stdio.h>

static int fail(const char *what, const char *path, long code) {
  fprintf(stderr, "lz32_expand: %s '%s' (error %ld)\n", what, path, code);
  return 1;
}

int main(int argc, char **argv) {
  static char buffer[65536];
  HANDLE in, out;
  INT lz;
  DWORD written;

  if (argc != 3) {
    fprintf(stderr, "usage: lz32_expand IN OUT\n");
    return 2;
  }

  in = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, NULL,
                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (in == INVALID_HANDLE_VALUE)
    return fail("cannot open", argv[1], (long)GetLastError());
  /* LZ handles are HFILEs; on Win32 an HFILE is the file handle's value. */
  lz = LZInit((HFILE)(INT_PTR)in);
  if (lz < 0) {
    CloseHandle(in);
    return fail("LZInit failed for", argv[1], lz);
  }

  out = CreateFileA(argv[2], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, NULL);
  if (out == INVALID_HANDLE_VALUE) {
    LZClose(lz);
    return fail("cannot create", argv[2], (long)GetLastError());
  }

  /* The header's length is not trusted: read until the data runs out. */
  for (;;) {
    INT got = LZRead(lz, buffer, sizeof buffer);
    if (got < 0) {
      LZClose(lz);
      CloseHandle(out);
      DeleteFileA(argv[2]);
      return fail("LZRead failed for", argv[1], got);
    }
    if (got == 0)
      break;
    if (!WriteFile(out, buffer, (DWORD)got, &written, NULL) ||
        written != (DWORD)got) {
      LZClose(lz);
      CloseHandle(out);
      DeleteFileA(argv[2]);
      return fail("cannot write", argv[2], (long)GetLastError());
    }
  }

  LZClose(lz); /* Closes the file handle as well. */
  if (!CloseHandle(out)) {
    DeleteFileA(argv[2]);
    return fail("cannot write", argv[2], (long)GetLastError());
  }
  return 0;
}
