// Preloaded into the 32-bit Wine processes that qemu-i386 emulates (never into a 64-bit one).
//
// At start-up Wine's 32-bit loader reserves the address space with
// mmap(MAP_FIXED_NOREPLACE), halving every range it does not get, down to 64 KB. qemu 7.2's
// user mode takes the flag for a mere hint and maps elsewhere, so nearly every attempt
// fails and is undone: some 130,000 calls, a minute and a half before the program's first
// instruction. Here the flag gets its meaning back: the range is mapped where asked when
// the emulated process's /proc/self/maps shows it free, and refused with EEXIST otherwise.
//
// Built freestanding for i386 (no 32-bit C library headers on the host): the few libc
// functions it calls are declared here and bound in the process at load time.
typedef unsigned int size_t;
typedef long long off64_t;

#define MAP_FIXED 0x10
#define MAP_FIXED_NOREPLACE 0x100000
#define MAP_FAILED ((void *)-1)
#define RTLD_NEXT ((void *)-1)
#define EEXIST 17

extern void *dlsym(void *handle, const char *name);
extern int *__errno_location(void);
extern int open(const char *path, int flags, ...);
extern int read(int fd, void *buffer, size_t size);
extern int close(int fd);
extern int unsetenv(const char *name);

// Processes this one starts (the 64-bit ones included) do not inherit the preload: qemu
// sets it again for each emulated process.
__attribute__((constructor)) static void Forget(void) { unsetenv("LD_PRELOAD"); }

// Whether no mapping of the process meets [start, end). Read line by line ("lo-hi ...", in
// hexadecimal) through a small buffer: calls may come from several threads.
static int Free(unsigned long long start, unsigned long long end) {
  char buffer[4096];
  int fd = open("/proc/self/maps", 0), used = 0, got, busy = 0;
  if (fd < 0) return 0;
  while (!busy && (got = read(fd, buffer + used, sizeof buffer - used)) > 0) {
    used += got;
    int line = 0;
    for (int i = 0; i < used && !busy; ++i) {
      if (buffer[i] != '\n') continue;
      unsigned long long lo = 0, hi = 0, *field = &lo;
      for (int j = line; j < i; ++j) {
        const char c = buffer[j];
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit >= 0) *field = *field * 16 + digit;
        else if (c == '-' && field == &lo) field = &hi;
        else break;
      }
      busy = lo < end && start < hi;
      line = i + 1;
    }
    // A line longer than the buffer cannot be read: the range counts as taken.
    busy |= line == 0 && used == (int)sizeof buffer;
    for (int i = line; i < used; ++i) buffer[i - line] = buffer[i];
    used -= line;
  }
  close(fd);
  return !busy;
}

void *mmap64(void *addr, size_t size, int prot, int flags, int fd, off64_t offset) {
  static void *(*next)(void *, size_t, int, int, int, off64_t);
  if (!next) next = (void *(*)(void *, size_t, int, int, int, off64_t))dlsym(RTLD_NEXT, "mmap64");
  if (flags & MAP_FIXED_NOREPLACE) {
    const unsigned long start = (unsigned long)addr;
    if (!Free(start, (unsigned long long)start + size)) {
      *__errno_location() = EEXIST;
      return MAP_FAILED;
    }
    flags = (flags & ~MAP_FIXED_NOREPLACE) | MAP_FIXED;
  }
  return next(addr, size, prot, flags, fd, offset);
}

void *mmap(void *addr, size_t size, int prot, int flags, int fd, long offset) {
  return mmap64(addr, size, prot, flags, fd, (unsigned long)offset);
}
