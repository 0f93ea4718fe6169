// The messages that tell the user why an operation stopped: a box with only an OK
// button, in the program's usual form.
#pragma once

class MessageDisplay {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~MessageDisplay() = default;

public:
  // Shows text and returns once the user has closed the box.
  virtual void Show(const char *text) = 0;
};
