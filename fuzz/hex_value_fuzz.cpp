// Feeds: ParseHexValue, the typed text of a BIN tweak, with a size chosen by the input (near
// half the text's length, or any 32-bit number), into a heap buffer of exactly that many bytes
// (a small one when the size is negative or too large to allocate) so that AddressSanitizer
// sees any write past it.
// Checks: it succeeds exactly for 2 x size hexadecimal digits and then stores each pair; on
// failure no byte of the buffer changes.
#include <cstring>
#include <memory>

#include "apply/apply_save.h"
#include "fuzz_support.h"

namespace {
using qzr::fuzz::Check;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// No longer text can come in (scripts/fuzz: 4096 bytes), so a larger size can only fail; a
// buffer of a mebibyte checked byte by byte made one input take seconds on a busy machine.
constexpr int32_t kLargestBuffer = 1 << 16;
constexpr uint8_t kUntouched = 0xA5;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qzr::fuzz::ByteReader in(data, size);
  const uint8_t mode = in.Byte();
  const int32_t raw = in.Int32();
  const std::string text = in.Rest();
  const int32_t bytesSize =
      mode & 1 ? raw : static_cast<int32_t>(text.size() / 2) + static_cast<int8_t>(raw & 0xFF) % 3;

  const bool allocatable = bytesSize >= 0 && bytesSize <= kLargestBuffer;
  const size_t bufferSize = allocatable ? static_cast<size_t>(bytesSize) : 4;
  auto buffer = std::make_unique<uint8_t[]>(bufferSize);
  std::memset(buffer.get(), kUntouched, bufferSize);

  bool wellFormed = bytesSize >= 0 && text.size() == 2 * static_cast<size_t>(bytesSize);
  for (char c : text) wellFormed = wellFormed && HexDigit(c) >= 0;

  const bool parsed = qzr::ParseHexValue(text, bytesSize, buffer.get());
  Check(parsed == wellFormed, "succeeds exactly for 2 x size hexadecimal digits");
  for (size_t i = 0; i < bufferSize; ++i) {
    uint8_t expected =
        parsed ? static_cast<uint8_t>(HexDigit(text[2 * i]) * 16 + HexDigit(text[2 * i + 1])) : kUntouched;
    Check(buffer[i] == expected, parsed ? "each pair stored" : "a failed parse leaves the bytes untouched");
  }
  return 0;
}
