// What the fuzz targets share: a reader that takes numbers and strings off the front of an
// input, a scratch folder for the process, and an abort that names the broken invariant.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qzr::fuzz {

// A broken invariant: says which one on stderr and aborts, so libFuzzer (or the replay) stops
// on this input.
[[noreturn]] void Fail(const char* what);
inline void Check(bool ok, const char* what) {
  if (!ok) Fail(what);
}

// Consumes an input from the front; reads past the end give zeros and empty strings.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}
  bool Empty() const { return rest_.empty(); }
  uint8_t Byte();
  int32_t Int32();  // four bytes, little-endian
  // A string of up to `maxLength` bytes, its length taken from one byte.
  std::string Text(size_t maxLength);
  std::string Rest();

 private:
  std::string_view rest_;
};

// A folder of this process's own (in /dev/shm, else the temporary folder), with a trailing '/',
// removed with everything in it when the process exits normally.
const std::string& ScratchFolder();

// Bytes of a file, or "" when it cannot be read; a file written whole.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace qzr::fuzz
