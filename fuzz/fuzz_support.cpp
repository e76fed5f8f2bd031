// Shared helpers of the fuzz targets.
#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace qzr::fuzz {

void Fail(const char* what) {
  std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

uint8_t ByteReader::Byte() {
  if (rest_.empty()) return 0;
  auto b = static_cast<uint8_t>(rest_.front());
  rest_.remove_prefix(1);
  return b;
}

int32_t ByteReader::Int32() {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(Byte()) << (8 * i);
  return static_cast<int32_t>(value);
}

std::string ByteReader::Text(size_t maxLength) {
  size_t length = Byte() % (maxLength + 1);
  std::string text(rest_.substr(0, length));
  rest_.remove_prefix(text.size());
  return text;
}

std::string ByteReader::Rest() {
  std::string text(rest_);
  rest_ = {};
  return text;
}

namespace {

// Never freed: the clean-up at exit runs after static objects are gone.
const std::string* MakeScratchFolder() {
  // Memory-backed when the system has it: the targets make and remove files on every input.
  std::string pattern = "/dev/shm/qzr_fuzz_XXXXXX";
  if (!mkdtemp(pattern.data())) {
    pattern = (std::filesystem::temp_directory_path() / "qzr_fuzz_XXXXXX").string();
    if (!mkdtemp(pattern.data())) Fail("cannot make a scratch folder");
  }
  const auto* folder = new std::string(pattern + "/");
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(ScratchFolder(), ignored);
  });
  return folder;
}

}  // namespace

const std::string& ScratchFolder() {
  static const std::string* folder = MakeScratchFolder();
  return *folder;
}

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
    std::fclose(f);
  }
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) Fail("cannot write a scratch file");
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok) Fail("cannot write a scratch file");
}

}  // namespace qzr::fuzz
