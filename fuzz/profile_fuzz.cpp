// Feeds: the POSIX substitute of the profile API with a fuzzed INI file: key and section lists
// and single values read with and without section and key into small buffers, then writes of a
// fuzzed section, key and value (and deletions), each followed by reading back.
// Checks: an answer always fits its buffer with the final zero;
// a written value reads back as the profile API gives values (leading and trailing blanks gone,
// one pair of enclosing quotes taken off); a value under another section or key is untouched by
// the write.
#include <optional>

#include "fuzz_support.h"
#include "platform/platform.h"
#include "util/text.h"

namespace {
using namespace qzr;
using fuzz::Check;
using Name = std::optional<std::string>;

// Names and values on one line each; a key is no section header and has no "=".
std::string OneLine(std::string text, bool key) {
  for (char& c : text)
    if (c == '\r' || c == '\n' || c == '\0' || (key && c == '=')) c = '_';
  if (key && !text.empty() && TrimControl(text).substr(0, 1) == "[") text = "k" + text;
  return text;
}

// What reading gives for a value written.
std::string AsRead(const std::string& written) {
  std::string v(TrimControl(written));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  return v;
}

bool SameName(const std::string& a, const std::string& b) { return EqualsNoCaseAscii(TrimControl(a), TrimControl(b)); }

std::string Get(const Name& section, const Name& key, const std::string& fallback, uint32_t bufferSize,
                const std::string& file) {
  std::string answer = Os().profile->GetString(section, key, fallback, bufferSize, file);
  // A list's last name is followed by its own zero, which is part of the answer.
  Check(bufferSize == 0 ? answer.empty() : answer.size() < bufferSize, "the answer fits its buffer");
  return answer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string file = fuzz::ScratchFolder() + "fuzzed.ini";
  fuzz::ByteReader in(data, size);
  struct Step {
    uint8_t op;
    std::string section, key, value;
    uint32_t bufferSize;
  };
  std::vector<Step> steps(in.Byte() % 7);
  for (Step& s : steps) {
    s.op = in.Byte();
    s.section = OneLine(in.Text(10), false);
    s.key = OneLine(in.Text(10), true);
    s.value = OneLine(in.Text(20), false);
    uint8_t b = in.Byte();
    s.bufferSize = b < 200 ? b % 24 : 2048;
  }
  fuzz::WriteFileBytes(file, in.Rest());

  const std::string otherSection = steps.empty() ? "" : steps.front().section;
  const std::string otherKey = steps.empty() ? "" : steps.front().key;
  for (const Step& s : steps) {
    const bool withSection = s.op & 8, withKey = s.op & 16;
    switch (s.op % 4) {
      case 0:
      case 1:
        (void)Get(withSection ? Name(s.section) : std::nullopt, withKey ? Name(s.key) : std::nullopt, s.value,
                  s.bufferSize, file);
        break;
      case 2: {
        // The value of another name before and after the write.
        const bool other = !SameName(s.section, otherSection) || !SameName(s.key, otherKey);
        std::string kept = Get(otherSection, otherKey, "\x01", 2048, file);
        Check(Os().profile->WriteString(s.section, s.key, s.value, file), "a write succeeds");
        Check(Get(s.section, s.key, "\x01", 2048, file) == AsRead(s.value).substr(0, 2047),
              "a written value reads back");
        if (other) Check(Get(otherSection, otherKey, "\x01", 2048, file) == kept, "a write touches no other value");
        break;
      }
      case 3:
        (void)Os().profile->WriteString(s.section, withKey ? Name(s.key) : std::nullopt, std::nullopt, file);
        break;
    }
  }
  return 0;
}
