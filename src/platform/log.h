// The installation log that /LOG= asks for: one line for each step as it happens, so
// that an administrator can tell what a run did on a machine where it failed.
#pragma once

class Log {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~Log() = default;

public:
  // Adds one line, made from format as printf makes it (%s, %u and %X, with widths and
  // leading zeros, no more), without its line break; the log stamps it with the time.
  // A line is cut at 1,024 characters.
  virtual void Write(const char *format, ...) __attribute__((format(printf, 2, 3))) = 0;
};
