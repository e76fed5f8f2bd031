// Feeds: the CFG store TCFG with a fuzzed file and up to eight reads, writes and deletions
// chosen by the input, then Close() and a second store read back from what it wrote.
// Checks: a value written reads back at once (text and integer); lines without "=" keep their
// text and order; a store that changed nothing leaves the file's bytes alone; what Close() wrote
// reads back as the same lines; the bytes from a zero byte on survive the rewrite unchanged.
#include <algorithm>
#include <vector>

#include "fuzz_support.h"
#include "stores/cfg.h"

namespace {
using namespace qzr;
using fuzz::Check;

// Names and values as the system passes them: one line each, no "=" in a name. Line ends and
// zero bytes become other bytes so that the checks can count on one line per entry.
std::string OneLine(std::string text, bool name) {
  for (char& c : text)
    if (c == '\r' || c == '\n' || c == '\0' || (name && c == '=')) c = '_';
  return text;
}

std::vector<std::string> PlainLines(const std::vector<std::string>& lines) {
  std::vector<std::string> plain;
  for (const std::string& line : lines)
    if (line.find('=') == std::string::npos) plain.push_back(line);
  return plain;
}

std::string FromZero(const std::string& bytes) {
  size_t zero = bytes.find('\0');
  return zero == std::string::npos ? std::string() : bytes.substr(zero);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string file = fuzz::ScratchFolder() + "fuzzed.cfg";
  fuzz::ByteReader in(data, size);
  struct Step {
    uint8_t op;
    std::string name, value;
    int32_t number;
  };
  std::vector<Step> steps(in.Byte() % 9);
  for (Step& s : steps) {
    s.op = in.Byte();
    s.name = OneLine(in.Text(12), true);
    s.value = OneLine(in.Text(24), false);
    s.number = in.Int32();
  }
  const std::string before = in.Rest();
  fuzz::WriteFileBytes(file, before);

  std::vector<std::string> lines;
  {
    TCFG cfg(file);
    const std::vector<std::string> plainBefore = PlainLines(cfg.Lines());
    bool changed = false;
    for (const Step& s : steps) {
      switch (s.op % 6) {
        case 0: (void)cfg.ReadValue(s.name); break;
        case 1: (void)cfg.ReadInteger(s.name, s.number); break;
        case 2: (void)cfg.ReadString(s.name, s.value); break;
        case 3:
          cfg.WriteValue(s.name, s.value);
          if (!s.value.empty()) Check(cfg.ReadValue(s.name) == s.value, "a written value reads back");
          if (!s.value.empty()) Check(cfg.ReadString(s.name, "") == s.value, "a written string reads back");
          changed = true;
          break;
        case 4:
          cfg.WriteInteger(s.name, s.number);
          Check(cfg.ReadInteger(s.name, s.number ^ 1) == s.number, "a written integer reads back");
          changed = true;
          break;
        case 5: {
          size_t count = cfg.Lines().size();
          cfg.DeleteKey(s.name);
          Check(cfg.Lines().size() + 1 >= count, "a deletion removes one line at most");
          changed = changed || cfg.Lines().size() != count;
          break;
        }
      }
    }
    Check(PlainLines(cfg.Lines()) == plainBefore, "lines without = keep their text and order");
    lines = cfg.Lines();
    cfg.Close();
    if (!changed) Check(fuzz::ReadFileBytes(file) == before, "an unchanged store leaves the file alone");
  }

  const std::string after = fuzz::ReadFileBytes(file);
  Check(FromZero(after) == FromZero(before), "bytes from a zero byte on are kept");
  TCFG again(file);
  Check(again.Lines() == lines, "what Close wrote reads back as the same lines");
  return 0;
}
