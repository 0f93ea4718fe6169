// The messages that tell the user why an operation stopped: a box with only an OK
// button, in the program's usual form.
#pragma once

class MessageDisplay {
public:
  virtual ~MessageDisplay() {}

  // Shows text and returns once the user has closed the box.
  virtual void Show(const char *text) = 0;
};
