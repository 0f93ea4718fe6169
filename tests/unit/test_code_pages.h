// Code pages for the tests: one where every character is a single byte, and one with
// the double-byte rules of code page 932, where a trail byte can be 0x5C, the backslash.
#pragma once

#include "platform/code_page.h"

class SingleByteCodePage : public CodePage {
public:
  bool IsLeadByte(unsigned char) const override { return false; }
};

class DoubleByteCodePage : public CodePage {
public:
  bool IsLeadByte(unsigned char byte) const override {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
  }
};
