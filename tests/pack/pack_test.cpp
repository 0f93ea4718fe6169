// The packer. Every decoder ignores the header's length and stops where the data stops,
// so a stream that ends early or runs on shows only when the expanded bytes and their
// length are both compared with the input.
#include "szdd_encoder.h"

#include <gtest/gtest.h>
#include <mspack.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <unordered_map>
#include <utility>

#include <sys/wait.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(const std::string &text) { return Bytes(text.begin(), text.end()); }

template <typename Content = Bytes> Content Read(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return Content(std::istreambuf_iterator<char>(in), {});
}

void Write(const std::string &path, const Bytes &data) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(data.data()), std::streamsize(data.size()));
}

// "" when got is want; otherwise their sizes, without printing megabytes of bytes.
std::string Differs(const Bytes &got, const Bytes &want) {
  return got == want ? "" : std::to_string(got.size()) + " bytes, not " + std::to_string(want.size());
}

// A fresh folder, removed with its contents. Commands run in it, and what they print goes
// to files in a second one, so that the first holds only what the tests put there.
struct Scratch {
  std::string Dir = std::filesystem::temp_directory_path().string() + "/kwbpack-test.XXXXXX";
  std::string Out = Dir;
  Scratch() { ::mkdtemp(&Dir[0]), ::mkdtemp(&Out[0]); }
  ~Scratch() { std::filesystem::remove_all(Dir), std::filesystem::remove_all(Out); }
  std::string operator[](const std::string &name) const { return Dir + "/" + name; }

  struct Ran { int Code; std::string Out, Err; };
  Ran Shell(const std::string &command) const {
    const int status = std::system(("cd " + Dir + " && " + command + " >" + Out + "/1 2>" + Out + "/2").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read<std::string>(Out + "/1"), Read<std::string>(Out + "/2")};
  }

  // What libmspack or msexpand expands an SZDD file to, or a text naming its failure.
  Bytes Expanded(const Bytes &szdd, bool withMsexpand = false) const {
    Write(Out + "/in.z_", szdd);
    if (withMsexpand) {
      const Ran ran = Shell("msexpand <" + Out + "/in.z_");
      return Text(ran.Code == 0 ? ran.Out : "msexpand failed: " + ran.Err);
    }
    msszdd_decompressor *decoder = mspack_create_szdd_decompressor(nullptr);
    const int error = decoder->decompress(decoder, (Out + "/in.z_").c_str(), (Out + "/3").c_str());
    mspack_destroy_szdd_decompressor(decoder);
    return error ? Text("libmspack error " + std::to_string(error)) : Read(Out + "/3");
  }
};

// Size bytes drawn from the alphabet (from all 256 values when it is empty), repeating
// every period bytes when a period is given.
Bytes Drawn(const std::string &alphabet, size_t size, uint32_t seed, size_t period = 0) {
  std::mt19937 rng(seed);
  Bytes data(size);
  for (size_t i = 0; i < size; ++i)
    data[i] = period && i >= period ? data[i - period]
              : uint8_t(alphabet.empty() ? rng() : uint32_t(alphabet[rng() % alphabet.size()]));
  return data;
}

// Real files are better data than anything generated; /proc/self/exe is on every machine.
Bytes MachineFile(const std::string &path) {
  return Read(std::filesystem::exists(path) ? path : "/proc/self/exe");
}

// The length (at most 18) of the match at pos from dist back, the input being preceded
// by the window's 4096 spaces and cut at its end.
size_t MatchLength(const Bytes &input, size_t pos, size_t dist) {
  size_t length = 0;
  while (length < 18 && pos + length < input.size() &&
         (pos + length < dist ? ' ' : input[pos + length - dist]) == input[pos + length])
    ++length;
  return length;
}

// Every output has the format's header, expands to exactly its input in both decoders,
// and is as small as the format allows.
TEST(Packer, FindsTheLongestMatchesAndWritesTheSmallestFileTheFormatAllows) {
  std::vector<std::pair<std::string, Bytes>> inputs = {
      {"empty", {}}, {"one byte", Text("x")}, {"all spaces", Bytes(20000, ' ')},
      {"leading spaces", Text("       two words   and spaces")},
      {"a text", MachineFile("/usr/share/common-licenses/GPL-3")},
      {"an executable, across the finder's blocks", MachineFile("/usr/bin/ls")},
      // A block of noise three times: its only matches lie exactly a window back.
      {"noise a window apart", Drawn("", 3 * 4096, 11, 4096)},
      // Zero is what lies past the end in the match finder's buffer.
      {"trailing zeros", Text("zeros follow" + std::string(100, '\0'))},
      {"every match as far back as it may reach", Drawn("", 36 * 4078, 12, 4078)},
      {"every match one byte too far back", Drawn("", 36 * 4079, 12, 4079)}};
  // Few letters give many overlapping matches and many equally good parses; a space
  // reaches into the window's initial spaces, and a zero must not end the data.
  std::mt19937 rng(1);
  const std::string alphabets[] = {"ab", std::string("abc\0", 4), "a b", "abcdefgh"};
  for (const std::string &alphabet : alphabets)
    for (int round = 0; round < 50; ++round)
      inputs.push_back({alphabet, Drawn(alphabet, rng() % (round < 45 ? 27 : 4000), rng())});
  Scratch scratch;
  for (const auto &[name, input] : inputs) {
    SCOPED_TRACE("\"" + name + "\", " + std::to_string(input.size()) + " bytes");
    const auto found = kwbpack::findLongestMatches(input.data(), input.size());
    // Best[p][u]: the fewest bytes for the data from p on when u tokens of the current flag
    // byte are taken, over every parse of the plain search's longest matches; it relies
    // neither on the encoder's bit costs nor on its match finder.
    // A match has at least 3 bytes, so only the places where the same 3 bytes stood are
    // worth trying: earlier[p] is the one before p, in the window's spaces and the input.
    Bytes all(4078, ' ');
    all.insert(all.end(), input.begin(), input.end());
    std::vector<size_t> earlier(all.size(), SIZE_MAX);
    std::unordered_map<uint32_t, size_t> last;
    for (size_t p = 0; p + 3 <= all.size(); ++p) {
      const auto [at, added] = last.try_emplace(all[p] << 16 | all[p + 1] << 8 | all[p + 2], p);
      if (!added) earlier[p] = std::exchange(at->second, p);
    }
    std::vector<std::array<size_t, 8>> best(input.size() + 1, std::array<size_t, 8>{});
    for (size_t pos = input.size(); pos-- > 0;) {
      size_t longest = 0;
      for (size_t p = 4078 + pos, q = earlier[p]; q != SIZE_MAX && p - q <= 4078 && longest < 18; q = earlier[q])
        longest = std::max(longest, MatchLength(input, pos, p - q));
      longest = longest >= 3 ? longest : 0;
      ASSERT_EQ(found[pos].Length, longest) << "at " << pos;
      ASSERT_TRUE(!longest || (found[pos].Distance >= 1 && found[pos].Distance <= 4078 &&
                               MatchLength(input, pos, found[pos].Distance) == longest))
          << "distance " << found[pos].Distance << " at " << pos;
      for (size_t used = 0; used < 8; ++used) {
        const size_t flag = used == 0 ? 1 : 0, next = (used + 1) % 8;
        best[pos][used] = flag + 1 + best[pos + 1][next];
        for (size_t length = 3; length <= longest; ++length)
          best[pos][used] = std::min(best[pos][used], flag + 2 + best[pos + length][next]);
      }
    }
    const Bytes szdd = kwbpack::compressToSzdd(input.data(), input.size());
    EXPECT_EQ(szdd.size(), 14 + best[0][0]);
    // Signature, mode 'A', no missing name character, the input's length.
    const size_t n = input.size();
    EXPECT_EQ(Differs(Bytes(szdd.begin(), szdd.begin() + 14), {0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33, 'A', 0,
                                                             uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}),
              "");
    EXPECT_EQ(Differs(scratch.Expanded(szdd), input), "");
    EXPECT_EQ(Differs(scratch.Expanded(szdd, true), input), "");
  }
}

// A file written by the platform's own compressor. Its header is odd (missing name
// character 't', expanded length 5237 for 20 bytes), which decoders ignore; its stream is
// the only optimal parse of its text, so ours must be the same bytes.
TEST(Packer, WritesTheStreamOfThePlatformsOwnCompressor) {
  const Bytes sample = Read(PACK_TEST_DATA_DIR "/compress-exe-sample.tx_");
  const Bytes text = Text("This is a test file."), ours = kwbpack::compressToSzdd(text.data(), 20);
  EXPECT_TRUE(sample.size() > 14 &&
              std::equal(ours.begin() + 14, ours.end(), sample.begin() + 14, sample.end()));
}

// Every failure exits non-zero with one line on stderr, and leaves the folder as it was:
// no output, not even a partial or temporary one, and an earlier output untouched.
TEST(Packer, CommandLineWritesTheResourceAndItsErrorsLeaveNothingBehind) {
  Scratch scratch;
  const Bytes tooLarge(kwbpack::MaxInputSize + 1, 'z');
  Write(scratch["in"], Text("some data to pack"));
  Write(scratch["out"], Text("previous build"));
  Write(scratch["big"], tooLarge);
  std::filesystem::create_directory(scratch["taken"]);
  EXPECT_THROW(kwbpack::compressToSzdd(tooLarge.data(), tooLarge.size()), std::length_error);
  const std::pair<const char *, const char *> rows[] = {
      {"", "no command"}, {"squash in out", "unknown command"}, {"compress in", "IN and OUT"},
      {"resource", "OUT"}, {"resource new", "no input"}, {"compress . new", "'.'"},
      {"compress absent out", "'absent'"}, {"resource out in absent", "'absent'"},
      {"compress big new", "2000000"}, {"resource new big", "2000000"},
      {"compress in taken", "'taken'"}, {"resource taken in", "'taken'"},
      {"compress in no/such/dir/out", "no/such/dir/out"}};
  for (const auto &[args, says] : rows) {
    SCOPED_TRACE(args);
    const Scratch::Ran ran = scratch.Shell(KWBPACK_EXE " " + std::string(args));
    EXPECT_TRUE((ran.Code == 1 || ran.Code == 2) && ran.Err.rfind("kwbpack: ", 0) == 0 &&
                ran.Err.find('\n') == ran.Err.size() - 1 && ran.Err.find(says) != std::string::npos)
        << ran.Code << " " << ran.Err;
    EXPECT_EQ(ran.Out + scratch.Shell("find | sort | xargs").Out, ". ./big ./in ./out ./taken\n");
    EXPECT_EQ(Text("previous build"), Read(scratch["out"]));
  }
  // The largest input allowed, every byte value in it, packed as the library packs it.
  const Bytes largest = Drawn(std::string("ab c\n\0\x1a\xff", 8), kwbpack::MaxInputSize, 13);
  Write(scratch["largest"], largest);
  EXPECT_EQ(scratch.Shell(KWBPACK_EXE " compress largest out").Code, 0);
  EXPECT_EQ(Differs(Read(scratch["out"]), kwbpack::compressToSzdd(largest.data(), largest.size())), "");
  EXPECT_EQ(Differs(scratch.Expanded(Read(scratch["out"]), true), largest), "");
  const Scratch::Ran help = scratch.Shell(KWBPACK_EXE " --help");
  EXPECT_TRUE(help.Code == 0 && help.Out.find("compress IN OUT") != std::string::npos &&
              help.Out.find("resource OUT IN1") != std::string::npos) << help.Out;
}

} // namespace
