// Feeds: the first byte picks what the rest is: a line typed into the file manager's command
// line (ParseCommand) or a profile file (ParseProfile).
// Checks: a command that parsed without a fault has what its verb needs (on, off and default a
// mask, none of them empty; set a name). A profile's entries come with their line numbers in file
// order; written out again (FormatProfile) they parse back as the same entries, without a
// fault, less only those the writer says no line can hold; and written once more give the same
// bytes.
#include <vector>

#include "commands/command_grammar.h"
#include "commands/profile_file.h"
#include "fuzz_support.h"

namespace {
using namespace qzr;
using fuzz::Check;

void CheckCommand(const std::string& line) {
  const Command command = ParseCommand(line);
  if (command.Fault != CommandFault::kNone) return;
  if (command.Verb == CommandVerb::kOn || command.Verb == CommandVerb::kOff || command.Verb == CommandVerb::kDefault) {
    Check(!command.Masks.empty(), "on, off and default have a mask");
    for (const std::string& mask : command.Masks) Check(!mask.empty(), "no mask is empty");
  }
  if (command.Verb == CommandVerb::kSet) Check(!command.Name.empty(), "set has a name");
}

// Whether `part` is `whole` with some entries taken out, the rest in the same order.
bool IsSubsequence(const std::vector<ProfileEntry>& part, const std::vector<ProfileEntry>& whole) {
  size_t at = 0;
  for (const ProfileEntry& entry : whole)
    if (at < part.size() && part[at] == entry) ++at;
  return at == part.size();
}

void CheckProfile(const std::string& bytes) {
  const ParsedProfile parsed = ParseProfile(bytes);
  Check(parsed.EntryLines.size() == parsed.Entries.size(), "every entry has its line number");
  for (size_t i = 1; i < parsed.EntryLines.size(); ++i)
    Check(parsed.EntryLines[i - 1] < parsed.EntryLines[i], "entries come in file order");
  for (const ProfileLineFault& fault : parsed.Faults) Check(fault.LineNumber >= 1, "fault lines count from 1");

  const std::vector<std::string> header = {"QZR_TC profile", "written by the fuzzer"};
  std::vector<std::string> leftOut;
  const std::string written = FormatProfile(header, parsed.Entries, &leftOut);
  const ParsedProfile again = ParseProfile(written);
  Check(again.Faults.empty(), "what FormatProfile writes parses without a fault");
  Check(again.Entries.size() + leftOut.size() == parsed.Entries.size(), "only what was left out is missing");
  Check(IsSubsequence(again.Entries, parsed.Entries), "the entries read back as they were, in order");
  Check(FormatProfile(header, again.Entries) == written, "writing again gives the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ByteReader in(data, size);
  const bool profile = in.Byte() % 2 == 1;
  const std::string rest = in.Rest();
  if (profile)
    CheckProfile(rest);
  else
    CheckCommand(rest);
  return 0;
}
