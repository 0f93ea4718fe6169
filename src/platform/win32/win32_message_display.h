// Messages of a run without a window: one line each on the standard error stream when
// the process was given one (a redirected stream), and nowhere otherwise; the log gets
// each of them too.
#pragma once

#include "base/cstring.h"
#include "platform/log.h"
#include "platform/message_display.h"

class StandardErrorDisplay : public MessageDisplay {
public:
  explicit StandardErrorDisplay(Log &log) : Record(log) {}
  void Show(const char *text) override;

private:
  Log &Record;
};

// Writes the text as it is and a line end to the standard error stream, when there is
// one.
void WriteLineToStandardError(const char *text);
