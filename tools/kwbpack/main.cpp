//===- main.cpp - kwbpack command line ------------------------------------===//
//
// Build-time tool making the installer's compressed payload:
//   kwbpack compress IN OUT
//   kwbpack resource OUT IN1 [IN2 ...]
//   kwbpack sums OUT RESOURCE1 [RESOURCE2 ...]
//
//===----------------------------------------------------------------------===//

#include "file_io.h"
#include "payload_resource.h"
#include "payload_sums.h"
#include "szdd_encoder.h"

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

using namespace kwbpack;

namespace {

constexpr int ExitError = 1;
constexpr int ExitUsage = 2;

const char Usage[] =
    "usage: kwbpack compress IN OUT\n"
    "       kwbpack resource OUT IN1 [IN2 ...]\n"
    "       kwbpack sums OUT RESOURCE1 [RESOURCE2 ...]\n"
    "\n"
    "compress  writes IN as an SZDD compressed file (mode 'A') to OUT.\n"
    "resource  writes the installer payload resource to OUT: for each IN in\n"
    "          order, its SZDD form with the 4-byte signature replaced by the\n"
    "          32-bit little-endian length of the rest, then a zero length.\n"
    "sums      writes the checksums of payload resources to OUT: for each\n"
    "          RESOURCE its record count, then per record the CRC-32 of the\n"
    "          record as stored, of the expanded file, and the file's length;\n"
    "          last the CRC-32 of all the bytes before it.\n"
    "\n"
    "Inputs may hold at most 2000000 bytes. OUT is replaced only when\n"
    "everything succeeded.\n";

// Thrown for a command line that cannot be understood.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::vector<uint8_t> compressFile(const std::string &Path,
                                  ParseStrategy Strategy) {
  const std::vector<uint8_t> Input = readWholeFile(Path, MaxInputSize);
  return compressToSzdd(Input.data(), Input.size(), Strategy);
}

int run(std::vector<std::string> Args) {
  // Greedy parsing exists only so the benchmark can show what the optimal
  // parse gains; it is left out of the help on purpose.
  ParseStrategy Strategy = ParseStrategy::Optimal;
  if (!Args.empty() && Args.front() == "--greedy") {
    Strategy = ParseStrategy::Greedy;
    Args.erase(Args.begin());
  }
  if (Args.empty())
    throw UsageError("no command given");

  const std::string Command = Args.front();
  Args.erase(Args.begin());
  if (Command == "--help" || Command == "-h") {
    std::fputs(Usage, stdout);
    return 0;
  }
  if (Command == "compress") {
    if (Args.size() != 2)
      throw UsageError("compress takes exactly IN and OUT");
    writeFileAtomically(Args[1], compressFile(Args[0], Strategy));
    return 0;
  }
  if (Command == "resource") {
    if (Args.empty())
      throw UsageError("resource needs OUT and at least one input");
    if (Args.size() == 1)
      throw std::runtime_error("resource: no input files given");
    std::vector<std::vector<uint8_t>> Files;
    for (size_t I = 1; I < Args.size(); ++I)
      Files.push_back(compressFile(Args[I], Strategy));
    writeFileAtomically(Args[0], buildPayloadResource(Files));
    return 0;
  }
  if (Command == "sums") {
    if (Args.size() < 2)
      throw UsageError("sums needs OUT and at least one resource");
    std::vector<std::vector<uint8_t>> Resources;
    for (size_t I = 1; I < Args.size(); ++I)
      Resources.push_back(readWholeFile(Args[I], SIZE_MAX));
    writeFileAtomically(Args[0], buildPayloadSums(Resources));
    return 0;
  }
  throw UsageError("unknown command '" + Command + "'");
}

} // namespace

int main(int Argc, char **Argv) {
  try {
    return run(std::vector<std::string>(Argv + 1, Argv + Argc));
  } catch (const UsageError &E) {
    std::fprintf(stderr, "kwbpack: %s (try 'kwbpack --help')\n", E.what());
    return ExitUsage;
  } catch (const std::exception &E) {
    std::fprintf(stderr, "kwbpack: %s\n", E.what());
    return ExitError;
  }
}
