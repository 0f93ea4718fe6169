//===- lzss_parse.h - Choosing literals and matches -------------*- C++ -*-===//
#ifndef KWBPACK_LZSS_PARSE_H
#define KWBPACK_LZSS_PARSE_H

#include "match_finder.h"

#include <vector>

namespace kwbpack {

/// One step of a parse: a literal byte when Length is 1, otherwise a copy of
/// Length bytes starting Distance bytes back.
struct Token {
  uint16_t Length = 1;
  uint16_t Distance = 0;
};

/// Exact sizes in the SZDD stream: a literal is its byte plus one flag bit,
/// a match two bytes plus one flag bit.
constexpr unsigned LiteralBits = 9;
constexpr unsigned MatchBits = 17;

/// The parse of least total size, given the longest match at each position.
///
/// Minimising bits is the same as minimising bytes: the stream is 8 bits per
/// data byte plus 1 bit per token, rounded up to whole flag bytes, so its byte
/// size is ceil(bits / 8), which never decreases as bits grow.
std::vector<Token> parseOptimal(const std::vector<Match> &Matches);

/// Longest match whenever there is one. Only for comparison in benchmarks.
std::vector<Token> parseGreedy(const std::vector<Match> &Matches);

} // namespace kwbpack

#endif
