// The ANSI code page's character boundaries. In a double-byte code page a lead byte
// starts a two-byte character whose trail byte may have any value from 0x40 up, a
// backslash (0x5C) included; such a byte is part of the character, not a separator.
#pragma once

class CodePage {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~CodePage() = default;

public:
  virtual bool IsLeadByte(unsigned char byte) const = 0;
};
