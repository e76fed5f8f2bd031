// Feeds: HexToRaw, both the form with a size and the form that takes the size of the record
// being filled (the input picks the size, negative and huge ones included, and whether a record
// is being filled at all), and TextToInt, the system's text-to-integer rule.
// Checks: HexToRaw gives no bytes for empty text or an unusable size, else exactly the size,
// each byte from its pair of the text; the record form agrees with the sized form; a number
// TextToInt reads is read back from its decimal and "$" hexadecimal forms.
#include <cstdio>

#include "base/int_text.h"
#include "plugin/state_calls.h"
#include "definitions/tweak_parser.h"
#include "fuzz_support.h"

namespace {
using namespace qzr;
using fuzz::Check;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Byte k of a BIN text: its pair (or last single character) as hexadecimal, 0 when not that.
uint8_t PairValue(std::string_view text, size_t k) {
  if (2 * k >= text.size()) return 0;
  std::string_view pair = text.substr(2 * k, 2);
  int value = 0;
  for (char c : pair) {
    if (HexDigit(c) < 0) return 0;
    value = value * 16 + HexDigit(c);
  }
  return static_cast<uint8_t>(value);
}

void CheckHexToRaw(const std::string& text, int32_t size) {
  TRaw bytes = HexToRaw(text, size);
  if (text.empty() || size < 0 || size > kMaxBinSize) {
    Check(bytes.empty(), "no bytes for empty text or an unusable size");
    return;
  }
  Check(bytes.size() == static_cast<size_t>(size), "exactly DataSize bytes");
  for (size_t k = 0; k < bytes.size(); ++k) Check(bytes[k] == PairValue(text, k), "byte k from pair k");
}

void CheckRecordForm(const std::string& text, int32_t size, uint8_t filling) {
  ResetState();
  State().TweakTable.resize(2);
  State().TweakTable[0].DataSize = size;
  State().TweakTable[1].DataSize = size / 2;
  // 0: no record is being filled; 1, 2: the first or second; 3: a position past the table.
  State().TweakPos = filling % 4;
  int32_t expectedSize = State().TweakPos == 1 ? size : State().TweakPos == 2 ? size / 2 : 0;
  Check(HexToRaw(text) == HexToRaw(text, expectedSize), "the record form reads the record's DataSize");
}

void CheckTextToInt(const std::string& text, int32_t number) {
  if (std::optional<int32_t> value = TextToInt(text)) {
    Check(TextToInt(std::to_string(*value)) == value, "a number read is read back from its decimal form");
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "$%X", static_cast<unsigned>(number));
  Check(TextToInt(std::to_string(number)) == number, "decimal text of any 32-bit number");
  Check(TextToInt(hex) == number, "hexadecimal text of any 32-bit pattern");
  Check(TextToIntDef(text + "z", 7) == 7, "a trailing character makes no number");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ByteReader in(data, size);
  const uint8_t mode = in.Byte();
  const int32_t raw = in.Int32();
  const std::string text = in.Rest();
  // Mostly a size near the text's own pair count, so that both short and long texts are met;
  // sometimes the four bytes as they are (negative, huge).
  const int32_t dataSize =
      mode & 1 ? raw : static_cast<int32_t>(text.size() / 2) + static_cast<int8_t>(raw & 0xFF) % 5;
  CheckHexToRaw(text, dataSize);
  CheckRecordForm(text, dataSize, static_cast<uint8_t>(mode >> 1));
  CheckTextToInt(text, raw);
  return 0;
}
