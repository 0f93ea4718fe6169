// Inputs that stress different parts of the encoder: empty and tiny files,
// long matches, the window's initial spaces and its far edge, incompressible
// data, real files, and the largest input the installer allows.
#ifndef KWBPACK_TESTS_SAMPLE_INPUTS_H
#define KWBPACK_TESTS_SAMPLE_INPUTS_H

#include "test_support.h"

#include <string>
#include <vector>

namespace packtest {

std::vector<std::string> sampleInputNames();
Bytes makeSampleInput(const std::string &Name);

Bytes randomBytes(size_t Size, uint32_t Seed);
// A mix of runs, copies of earlier data near and beyond the window's reach,
// and random stretches, so every kind of token shows up many times.
Bytes mixedBytes(size_t Size, uint32_t Seed);
// Size bytes drawn from Alphabet.
Bytes bytesFrom(const std::string &Alphabet, size_t Size, uint32_t Seed);

// The plain search the encoder is checked against. matchLength: the length
// (at most 18) of the match at Pos from Dist back, the stream being preceded
// by the window's 4096 spaces and cut at the end of Input. longestMatches:
// the longest over every distance from 1 to 4096, at each position.
size_t matchLength(const Bytes &Input, size_t Pos, size_t Dist);
std::vector<size_t> longestMatches(const Bytes &Input);

} // namespace packtest

#endif
