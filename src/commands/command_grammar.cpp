// The command line cut into words, and the words into a Command.
#include "commands/command_grammar.h"

#include <optional>

#include "util/text.h"

namespace qzr {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Words as a command line has them: blanks between them, double quotes keep blanks (and "=")
// inside one. Nothing when a quote is left open.
std::optional<std::vector<std::string>> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return words;
    std::string word;
    bool quoted = false;
    for (; i < text.size() && (quoted || !IsBlank(text[i])); ++i) {
      if (text[i] == '"')
        quoted = !quoted;
      else
        word += text[i];
    }
    if (quoted) return std::nullopt;
    words.push_back(std::move(word));
  }
}

// The position of the first "=" outside quotes, npos when there is none; nothing when a quote
// before it is left open.
std::optional<size_t> EqualsOutsideQuotes(std::string_view text) {
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    if (text[i] == '=' && !quoted) return i;
  }
  if (quoted) return std::nullopt;
  return std::string_view::npos;
}

// The name of `set`: the text before "=", trimmed, its quotes removed and what they hold kept
// as it is. Blanks between unquoted parts stay: "set Mouse delay = 1" names "Mouse delay".
std::string NameText(std::string_view text) {
  std::string name;
  for (char c : TrimControl(text))
    if (c != '"') name += c;
  return name;
}

void ParseSet(std::string_view rest, Command& command) {
  const std::optional<size_t> equals = EqualsOutsideQuotes(rest);
  if (!equals) {
    command.Fault = CommandFault::kUnclosedQuote;
    return;
  }
  command.Name = NameText(rest.substr(0, *equals));
  if (command.Name.empty()) {
    command.Fault = CommandFault::kMissingName;
    return;
  }
  if (*equals == std::string_view::npos) {
    command.Fault = CommandFault::kMissingValue;
    return;
  }
  // The value is the rest of the line; in quotes (a quote inside doubled) it keeps its blanks.
  std::string_view value = TrimControl(rest.substr(*equals + 1));
  if (value.empty() || value[0] != '"') {
    command.Value = std::string(value);
    return;
  }
  size_t i = 1;
  for (; i < value.size(); ++i) {
    if (value[i] != '"') {
      command.Value += value[i];
    } else if (i + 1 < value.size() && value[i + 1] == '"') {
      command.Value += '"';
      ++i;
    } else {
      break;
    }
  }
  if (i >= value.size())
    command.Fault = CommandFault::kUnclosedQuote;
  else if (i + 1 != value.size())
    command.Fault = CommandFault::kExtraWords;
}

struct VerbWord {
  const char* Text;
  CommandVerb Verb;
};

constexpr VerbWord kVerbs[] = {
    {"on", CommandVerb::kOn},       {"off", CommandVerb::kOff},     {"default", CommandVerb::kDefault},
    {"set", CommandVerb::kSet},     {"save", CommandVerb::kSave},   {"apply", CommandVerb::kApply},
    {"reapply", CommandVerb::kReapply}, {"help", CommandVerb::kHelp},
    {"restart-explorer", CommandVerb::kRestartExplorer},
};

bool AnyEmpty(const std::vector<std::string>& words) {
  for (const std::string& w : words)
    if (w.empty()) return true;
  return false;
}

}  // namespace

Command ParseCommand(std::string_view line) {
  Command command;
  const std::string_view text = TrimControl(line);
  // The command word ends at the first blank; it is never quoted.
  size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  command.Word = std::string(text.substr(0, end));
  const std::string_view rest = text.substr(end);
  if (command.Word.empty()) return command;  // an empty line asks for help

  const VerbWord* verb = nullptr;
  for (const VerbWord& v : kVerbs)
    if (EqualsNoCaseAscii(command.Word, v.Text)) verb = &v;
  if (!verb) {
    command.Fault = CommandFault::kUnknownWord;
    return command;
  }
  command.Verb = verb->Verb;
  if (command.Verb == CommandVerb::kSet) {
    ParseSet(rest, command);
    return command;
  }

  std::optional<std::vector<std::string>> words = SplitWords(rest);
  if (!words) {
    command.Fault = CommandFault::kUnclosedQuote;
    return command;
  }
  switch (command.Verb) {
    case CommandVerb::kOn:
    case CommandVerb::kOff:
    case CommandVerb::kDefault:
      if (words->empty() || AnyEmpty(*words)) command.Fault = CommandFault::kMissingMask;
      command.Masks = std::move(*words);
      break;
    case CommandVerb::kReapply:
      if (AnyEmpty(*words)) command.Fault = CommandFault::kMissingMask;
      command.Masks = std::move(*words);
      break;
    case CommandVerb::kSave:
    case CommandVerb::kApply:
      if (words->empty() || words->front().empty()) {
        command.Fault = CommandFault::kMissingFile;
        break;
      }
      command.File = words->front();
      words->erase(words->begin());
      if (command.Verb == CommandVerb::kApply) {
        if (!words->empty()) command.Fault = CommandFault::kExtraWords;
        break;
      }
      if (AnyEmpty(*words)) command.Fault = CommandFault::kMissingMask;
      command.Masks = std::move(*words);
      break;
    case CommandVerb::kHelp:
    case CommandVerb::kRestartExplorer:
      if (!words->empty()) command.Fault = CommandFault::kExtraWords;
      break;
    case CommandVerb::kSet: break;
  }
  return command;
}

}  // namespace qzr
