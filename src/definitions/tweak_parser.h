// The line parser of .tweak definitions: each line is searched for keywords anywhere in it, in
// any letter case, and what follows a keyword up to the end of the line is its value.
#pragma once
#include <string_view>

#include "definitions/tweak_record.h"

namespace qzr {

// 1-based position of the first occurrence of `keyword` in `text`, ASCII letters compared
// without regard to case; 0 when absent (and for an empty keyword).
int KeywordPos(std::string_view keyword, std::string_view text);

// Applies one line, comment already cut, to the record. Environment variables in the line are
// expanded first. Bad lines change nothing.
void ParseTweakLine(TTWREC& record, std::string_view line);

// BIN value text to bytes: empty text gives no bytes; otherwise exactly dataSize bytes, byte k
// from the k-th pair of hexadecimal characters (0 for a pair that is not hexadecimal, 0 where
// the text runs out). Pairs beyond dataSize are dropped. A size that is negative or above
// kMaxBinSize gives no bytes.
TRaw HexToRaw(std::string_view text, int32_t dataSize);

}  // namespace qzr
