// A file written by the platform's own compressor. Its header is odd on
// purpose (missing name character 't', expanded length 5237 for 20 bytes of
// data), which every decoder ignores; its LZSS stream is also the unique
// optimal parse of its text, so ours must match it byte for byte.
#include "test_support.h"

#include "szdd_encoder.h"

#include <gtest/gtest.h>

using namespace packtest;

namespace {

const Bytes SampleText = toBytes("This is a test file.");
Bytes sample() { return readFileBytes(std::string(PACK_TEST_DATA_DIR) + "/compress-exe-sample.tx_"); }

TEST(ReferenceSample, DecodersReadIt) {
  const Bytes Sample = sample();
  const Decoded Result = decodeWithLibmspack(Sample);
  ASSERT_TRUE(Result.Ok) << Result.Error;
  EXPECT_TRUE(Result.Data == SampleText);
  if (haveMsexpand()) {
    const Decoded Expanded = decodeWithMsexpand(Sample);
    ASSERT_TRUE(Expanded.Ok) << Expanded.Error;
    EXPECT_TRUE(Expanded.Data == SampleText);
  }
}

TEST(ReferenceSample, EncoderWritesTheSameStream) {
  const Bytes Sample = sample();
  ASSERT_GT(Sample.size(), kwbpack::SzddHeaderSize);
  const Bytes Ours = kwbpack::compressToSzdd(SampleText.data(), SampleText.size());
  EXPECT_TRUE(Bytes(Ours.begin() + kwbpack::SzddHeaderSize, Ours.end()) ==
              Bytes(Sample.begin() + kwbpack::SzddHeaderSize, Sample.end()));
}

} // namespace
