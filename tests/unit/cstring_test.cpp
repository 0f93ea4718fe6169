#include "framework/cstring.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(CString, KeepsCountedBytesAndAppendsEvenFromItself) {
  CString text("abc");
  text += text;
  text += text.GetString() + 4;
  EXPECT_EQ(text, "abcabcbc");
  EXPECT_EQ(text.GetLength(), 8);

  CString withNul("a\0b", 3);
  EXPECT_EQ(withNul.GetLength(), 3) << "the length is a byte count, not a search for NUL";
  EXPECT_NE(withNul, "a");

  text = text.GetString() + 6;
  EXPECT_EQ(text, "bc") << "assigning a piece of itself";
}

TEST(CString, LeftMidAndTruncateStayInsideTheText) {
  CString text("C:\\Dir");
  EXPECT_EQ(text.Left(2), "C:");
  EXPECT_EQ(text.Left(99), "C:\\Dir");
  EXPECT_EQ(text.Left(-1), "");
  EXPECT_EQ(text.Mid(3), "Dir");
  EXPECT_EQ(text.Mid(99), "");
  text.Truncate(99);
  EXPECT_EQ(text, "C:\\Dir");
  text.Truncate(1);
  EXPECT_EQ(text, "C");
}

TEST(CString, UpperCasesOnlyAsciiLetters) {
  CString text("d:\xe4z");
  text.MakeUpperAscii();
  EXPECT_EQ(text, "D:\xe4Z");
}

TEST(CString, BufferFilledWithoutNulEndsWhereTheCallerStopped) {
  CString grown("some earlier, longer text that leaves room behind it");
  grown.Truncate(0);
  char *buffer = grown.GetBuffer(4);
  for (int i = 0; i < 4; ++i)
    buffer[i] = 'x';
  grown.ReleaseBuffer();
  EXPECT_EQ(grown, "xxxx");

  CString counted;
  std::strcpy(counted.GetBuffer(10), "abc");
  counted.ReleaseBuffer(2);
  EXPECT_EQ(counted, "ab");
}

TEST(CString, MovedFromStringIsEmptyAndUsable) {
  CString source("moved");
  CString target(static_cast<CString &&>(source));
  EXPECT_EQ(target, "moved");
  EXPECT_TRUE(source.IsEmpty());
  source += "again";
  EXPECT_EQ(source, "again");
}

} // namespace
