// A file written by the platform's own compressor. Its header is odd on
// purpose (missing name character 't', expanded length 5237 for 20 bytes of
// data), which every decoder ignores; its LZSS stream is also the unique
// optimal parse of its text, so ours must match it byte for byte.
#include "test_support.h"

#include "szdd_encoder.h"

#include <gtest/gtest.h>

using namespace packtest;

namespace {

const std::string SampleText = "This is a test file.";

Bytes referenceSample() {
  return readFileBytes(std::string(PACK_TEST_DATA_DIR) +
                       "/compress-exe-sample.tx_");
}

TEST(ReferenceSample, LibmspackDecodesIt) {
  const Decoded Result = decodeWithLibmspack(referenceSample());
  ASSERT_TRUE(Result.Ok) << Result.Error;
  EXPECT_TRUE(Result.Data == toBytes(SampleText));
}

TEST(ReferenceSample, MsexpandDecodesIt) {
  const std::string Msexpand = findOnPath("msexpand");
  if (Msexpand.empty())
    GTEST_SKIP() << "msexpand is not installed";
  const Decoded Result = decodeWithMsexpand(Msexpand, referenceSample());
  ASSERT_TRUE(Result.Ok) << Result.Error;
  EXPECT_TRUE(Result.Data == toBytes(SampleText));
}

TEST(ReferenceSample, EncoderWritesTheSameStream) {
  const Bytes Sample = referenceSample();
  ASSERT_GT(Sample.size(), kwbpack::SzddHeaderSize);
  const Bytes Text = toBytes(SampleText);
  const Bytes Ours = kwbpack::compressToSzdd(Text.data(), Text.size());
  EXPECT_TRUE(Bytes(Ours.begin() + kwbpack::SzddHeaderSize, Ours.end()) ==
              Bytes(Sample.begin() + kwbpack::SzddHeaderSize, Sample.end()));
}

} // namespace
