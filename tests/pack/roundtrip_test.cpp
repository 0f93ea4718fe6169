// Every sample input must come back bit for bit, and to the exact length,
// from each decoder the installer may meet. Decoders ignore the header's
// length and stop where the data stops, so a stream that ends early or runs
// on would show here as a length mismatch.
#include "sample_inputs.h"
#include "test_support.h"

#include "szdd_encoder.h"

#include <gtest/gtest.h>

using namespace packtest;

namespace {

class RoundTrip : public testing::TestWithParam<std::string> {
protected:
  void SetUp() override {
    Input = makeSampleInput(GetParam());
    Szdd = kwbpack::compressToSzdd(Input.data(), Input.size());
  }

  void expectRestored(const Decoded &Result) {
    ASSERT_TRUE(Result.Ok) << Result.Error;
    ASSERT_EQ(Result.Data.size(), Input.size());
    EXPECT_TRUE(Result.Data == Input) << "decoded bytes differ";
  }

  Bytes Input;
  Bytes Szdd;
};

TEST_P(RoundTrip, LibmspackRestoresInputFromADeterministicModeAFile) {
  ASSERT_GE(Szdd.size(), kwbpack::SzddHeaderSize);
  // Signature, mode 'A', no missing name character, the input's length.
  const Bytes Size = {uint8_t(Input.size()), uint8_t(Input.size() >> 8),
                      uint8_t(Input.size() >> 16), uint8_t(Input.size() >> 24)};
  Bytes Header = {0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33, 'A', 0};
  Header.insert(Header.end(), Size.begin(), Size.end());
  EXPECT_TRUE(Bytes(Szdd.begin(), Szdd.begin() + 14) == Header);
  expectRestored(decodeWithLibmspack(Szdd));
  EXPECT_TRUE(kwbpack::compressToSzdd(Input.data(), Input.size()) == Szdd);
}

TEST_P(RoundTrip, MsexpandRestoresInput) {
  if (!haveMsexpand())
    GTEST_SKIP() << "msexpand is not installed";
  expectRestored(decodeWithMsexpand(Szdd));
}

INSTANTIATE_TEST_SUITE_P(Samples, RoundTrip,
                         testing::ValuesIn(sampleInputNames()),
                         [](const auto &Info) { return Info.param; });

// The far edge of the window: a block seen exactly 4096 bytes earlier must
// be found, or the repeat costs as much as the random block itself.
TEST(WindowReach, RepeatAtFullWindowDistanceIsCheap) {
  const Bytes Block = randomBytes(4096, 21);
  Bytes Twice = Block;
  Twice.insert(Twice.end(), Block.begin(), Block.end());
  const size_t Once = kwbpack::compressToSzdd(Block.data(), Block.size()).size();
  const size_t Both = kwbpack::compressToSzdd(Twice.data(), Twice.size()).size();
  // Matches of 18 bytes cost 17 bits: the repeat needs about 4096 * 17 / 144
  // bytes, far below half the block.
  EXPECT_LT(Both - Once, 4096u / 2);
}

TEST(InputLimit, LibraryRefusesOversizedInput) {
  const Bytes TooLarge(kwbpack::MaxInputSize + 1, 'a');
  EXPECT_THROW(kwbpack::compressToSzdd(TooLarge.data(), TooLarge.size()),
               std::length_error);
}

} // namespace
