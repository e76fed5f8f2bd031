// The commands over the listing's tweaks.
#include "commands/command_run.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "apply/undo_files.h"
#include "base/file_replace.h"
#include "base/path_text.h"
#include "commands/command_grammar.h"
#include "commands/command_summary.h"
#include "platform/platform.h"
#include "qzr_version.h"
#include "texts/command_texts.h"
#include "util/text.h"
#include "util/wildcard.h"

namespace qzr {
namespace {

std::string_view VerbWord(CommandVerb verb) {
  switch (verb) {
    case CommandVerb::kOn: return "on";
    case CommandVerb::kOff: return "off";
    case CommandVerb::kDefault: return "default";
    case CommandVerb::kSet: return "set";
    case CommandVerb::kSave: return "save";
    case CommandVerb::kApply: return "apply";
    case CommandVerb::kReapply: return "reapply";
    case CommandVerb::kHelp: return "help";
    case CommandVerb::kRestartExplorer: return "restart-explorer";
  }
  return "help";
}

std::string Utf8(const std::string& ansi) { return Os().system->AnsiToUtf8(ansi); }

// A name as the panel shows it: the tweak's name, or its file name with the full stop.
bool MaskMatches(const std::string& mask, const TTWREC& tweak) {
  return WildcardMatch(mask, tweak.TweakName, false) || WildcardMatch(mask, tweak.TweakName + ".", false);
}

class CommandRun {
 public:
  CommandRun(const CommandSetting& setting, CommandActions& actions)
      : setting_(setting), actions_(actions), summary_(setting.Language) {}

  CommandOutcome Run(const Command& command);

 private:
  std::string_view Text(const Bilingual& text) const { return text.Pick(setting_.Language); }
  CommandOutcome Message(std::string text) const { return CommandOutcome{std::move(text), false}; }
  CommandOutcome Fault(const Command& command) const;
  CommandOutcome Help(const Command& command) const;
  // The summary under the command's word; when nothing at all was matched, the notes alone.
  CommandOutcome Summed(CommandVerb verb);
  // The changes put off to the command's end: switched, or refused with the reason.
  void SettlePutOff();

  CommandOutcome Switch(const Command& command, bool on);
  CommandOutcome Default(const Command& command);
  CommandOutcome Set(const Command& command);
  CommandOutcome Save(const Command& command);
  CommandOutcome Apply(const Command& command);
  CommandOutcome Reapply(const Command& command);
  CommandOutcome RestartExplorer() const;

  // Every tweak one of `masks` matches (every tweak for none), each once, in the listing's
  // order; a mask that matches nothing is noted.
  std::vector<const TTWREC*> Matching(const std::vector<std::string>& masks);
  // The tweak the listing holds by that name (letter case aside; the file name with its full
  // stop counts too), or null.
  const TTWREC* Named(const std::string& name);
  // A profile's state put on a tweak, as `apply` does it; `line` names the line in notes.
  void PutState(const TTWREC& tweak, const ProfileState& state, int line);
  // Runs one tweak's action: what it raises is a refusal, with the reason the dialog would show.
  template <typename Action>
  void Attempt(const TTWREC& tweak, Action&& action) {
    try {
      action();
    } catch (const PutOffForRights&) {
      // Counted once the command's end has settled it.
    } catch (const std::exception& e) {
      summary_.Refused(tweak.TweakName, e.what());
    }
  }
  void Switched(const TTWREC& tweak, int radioIndex, const std::string& typed) {
    Attempt(tweak, [&] {
      actions_.Save(tweak, radioIndex, typed);
      summary_.Switched();
    });
  }
  void Restored(const TTWREC& tweak) {
    Attempt(tweak, [&] {
      if (actions_.RestoreDefault(tweak))
        summary_.Switched();
      else
        summary_.SkippedNoDefault();
    });
  }
  void LineNote(int line, const Bilingual& text, const std::string& name) {
    lineNotes_.emplace_back(line, Format(Text(text), {std::to_string(line), Utf8(name)}));
  }

  const CommandSetting& setting_;
  CommandActions& actions_;
  CommandSummary summary_;
  std::unordered_map<std::string, const TTWREC*> byName_;  // upper-cased name -> first tweak
  std::vector<std::pair<int, std::string>> lineNotes_;     // notes on a profile's lines
};

CommandOutcome CommandRun::Run(const Command& command) {
  if (command.Fault != CommandFault::kNone) return Fault(command);
  if (command.Verb == CommandVerb::kRestartExplorer) return RestartExplorer();  // needs no tweaks
  // Before the host has named the settings folder there is no listing, and no folder for a file.
  if (command.Verb != CommandVerb::kHelp && setting_.Tweaks.empty()) return Message(std::string(Text(texts::kNoTweaks)));
  switch (command.Verb) {
    case CommandVerb::kOn: return Switch(command, true);
    case CommandVerb::kOff: return Switch(command, false);
    case CommandVerb::kDefault: return Default(command);
    case CommandVerb::kSet: return Set(command);
    case CommandVerb::kSave: return Save(command);
    case CommandVerb::kApply: return Apply(command);
    case CommandVerb::kReapply: return Reapply(command);
    case CommandVerb::kHelp:
    case CommandVerb::kRestartExplorer: break;
  }
  return Help(command);
}

// Explorer's windows close and the taskbar goes for a moment: only when the user says so.
CommandOutcome CommandRun::RestartExplorer() const {
  UiApi& ui = *Os().ui;
  if (!ui.AskYesNo(std::string(Text(texts::kRestartExplorerQuestion)), std::string(texts::kCaption)))
    return Message(std::string(Text(texts::kExplorerNotRestarted)));
  if (const long code = ui.RestartExplorer())
    return Message(Format(Text(texts::kExplorerNotRestartable), {Os().system->ErrorMessage(code)}));
  return Message(std::string(Text(texts::kExplorerRestarted)));
}

CommandOutcome CommandRun::Fault(const Command& command) const {
  const std::string word(VerbWord(command.Verb));
  switch (command.Fault) {
    case CommandFault::kNone:
    case CommandFault::kUnknownWord: return Help(command);
    case CommandFault::kMissingMask: return Message(Format(Text(texts::kMissingMask), {word}));
    case CommandFault::kMissingName: return Message(std::string(Text(texts::kMissingName)));
    case CommandFault::kMissingValue: return Message(std::string(Text(texts::kMissingValue)));
    case CommandFault::kMissingFile: return Message(Format(Text(texts::kMissingFile), {word}));
    case CommandFault::kExtraWords: return Message(Format(Text(texts::kExtraWords), {word}));
    case CommandFault::kUnclosedQuote: return Message(std::string(Text(texts::kUnclosedQuote)));
  }
  return Help(command);
}

CommandOutcome CommandRun::Help(const Command& command) const {
  std::string text(Text(texts::kHelp));
  if (command.Fault == CommandFault::kUnknownWord && !command.Word.empty())
    text = Format(Text(texts::kUnknownCommand), {command.Word}) + "\n\n" + text;
  return Message(std::move(text));
}

void CommandRun::SettlePutOff() {
  for (const ImportOutcome& outcome : actions_.FinishPutOff()) {
    if (outcome.Applied) {
      summary_.Switched();
      summary_.AsAdministrator(outcome.Tweak->TweakName);
    } else {
      summary_.Refused(outcome.Tweak->TweakName, outcome.Reason);
    }
  }
}

CommandOutcome CommandRun::Summed(CommandVerb verb) {
  SettlePutOff();
  if (summary_.Handled() == 0 && !summary_.NotesText().empty()) return Message(summary_.NotesText());
  return CommandOutcome{summary_.Text(VerbWord(verb)), summary_.SwitchedCount() > 0};
}

std::vector<const TTWREC*> CommandRun::Matching(const std::vector<std::string>& masks) {
  const std::span<const TTWREC> tweaks = setting_.Tweaks;
  std::vector<char> hit(tweaks.size(), masks.empty() ? 1 : 0);
  for (const std::string& mask : masks) {
    // The names are ANSI: a mask the code page cannot spell matches none of them.
    const std::optional<std::string> ansi = ExactAnsi(mask);
    bool any = false;
    for (size_t i = 0; ansi && i < tweaks.size(); ++i)
      if (MaskMatches(*ansi, tweaks[i])) hit[i] = 1, any = true;
    if (!any) summary_.Note(Format(Text(texts::kNoMatch), {mask}));
  }
  std::vector<const TTWREC*> found;
  for (size_t i = 0; i < tweaks.size(); ++i)
    if (hit[i]) found.push_back(&tweaks[i]);
  return found;
}

const TTWREC* CommandRun::Named(const std::string& name) {
  SystemApi& sys = *Os().system;
  if (byName_.empty())
    for (const TTWREC& tweak : setting_.Tweaks) byName_.emplace(sys.UpperCase(tweak.TweakName), &tweak);
  const std::string upper = sys.UpperCase(name);
  if (auto it = byName_.find(upper); it != byName_.end()) return it->second;
  if (upper.ends_with('.'))
    if (auto it = byName_.find(upper.substr(0, upper.size() - 1)); it != byName_.end()) return it->second;
  return nullptr;
}

CommandOutcome CommandRun::Switch(const Command& command, bool on) {
  for (const TTWREC* tweak : Matching(command.Masks)) {
    if (tweak->ByHands)
      summary_.SkippedTyped();
    else
      Switched(*tweak, on ? 0 : 1, std::string());
  }
  return Summed(command.Verb);
}

CommandOutcome CommandRun::Default(const Command& command) {
  for (const TTWREC* tweak : Matching(command.Masks)) Restored(*tweak);
  return Summed(command.Verb);
}

CommandOutcome CommandRun::Set(const Command& command) {
  const std::optional<std::string> ansiName = ExactAnsi(command.Name);
  const TTWREC* tweak = ansiName ? Named(*ansiName) : nullptr;
  if (!tweak) return Message(Format(Text(texts::kNoSuchTweak), {command.Name}));
  if (!tweak->ByHands) {
    const std::string name = Utf8(tweak->TweakName);
    return Message(Format(Text(texts::kSetOnSwitch), {name, name}));
  }
  // Written as "?" it would be another value than the one typed.
  if (const std::optional<std::string> value = ExactAnsi(command.Value))
    Switched(*tweak, 0, *value);
  else
    summary_.Refused(tweak->TweakName, std::string(Text(texts::kValueNotInCodePage)));
  return Summed(command.Verb);
}

CommandOutcome CommandRun::Save(const Command& command) {
  const std::vector<const TTWREC*> tweaks = Matching(command.Masks);
  if (tweaks.empty()) return Message(summary_.NotesText());
  std::vector<ProfileEntry> entries;
  for (const TTWREC* tweak : tweaks) {
    try {
      entries.push_back(ProfileEntry{tweak->TweakName, ProfileStateOf(*tweak, actions_.Read(*tweak))});
    } catch (const std::exception&) {
      summary_.Note(Format(Text(texts::kUnreadable), {Utf8(tweak->TweakName)}));
    }
  }
  const std::vector<std::string> header = {
      std::string(texts::kProfileTitle),
      Format(texts::kProfileVersion, {QZR_VERSION_TEXT, UndoTimeText(Os().system->Now())}),
      std::string(texts::kProfileFormat)};
  std::vector<std::string> leftOut;
  const std::string bytes = FormatProfile(header, entries, &leftOut);
  for (const std::string& name : leftOut) summary_.Note(Format(Text(texts::kLeftOut), {Utf8(name)}));
  const std::string path = ProfilePath(command.File, setting_.IniDir);
  if (long rc = ReplaceFileContents(path, bytes); rc != win::kSuccess)
    return Message(Format(Text(texts::kProfileNotWritten), {path, Os().system->ErrorMessage(rc)}));
  std::string text = Format(Text(texts::kProfileWritten), {path, std::to_string(entries.size() - leftOut.size())});
  if (std::string notes = summary_.NotesText(); !notes.empty()) text += "\n" + notes;
  return Message(std::move(text));
}

void CommandRun::PutState(const TTWREC& tweak, const ProfileState& state, int line) {
  switch (state.Kind) {
    case ProfileStateKind::kOn:
    case ProfileStateKind::kOff:
      if (tweak.ByHands)
        LineNote(line, texts::kSwitchForTyped, tweak.TweakName);
      else
        Switched(tweak, state.Kind == ProfileStateKind::kOn ? 0 : 1, std::string());
      return;
    case ProfileStateKind::kValue:
      if (tweak.ByHands)
        Switched(tweak, 0, state.Value);
      else
        LineNote(line, texts::kValueForSwitch, tweak.TweakName);
      return;
    case ProfileStateKind::kDefault: Restored(tweak); return;
  }
}

CommandOutcome CommandRun::Apply(const Command& command) {
  const std::string path = ProfilePath(command.File, setting_.IniDir);
  std::string bytes;
  long rc = win::kSuccess;
  {
    std::shared_lock replacing(FileReplaceLock());  // a Save may be replacing it (the choices file is a profile)
    rc = Os().files->ReadWhole(path, &bytes);
  }
  if (rc != win::kSuccess)
    return Message(Format(Text(texts::kProfileNotRead), {path, Os().system->ErrorMessage(rc)}));
  const ParsedProfile profile = ParseProfile(bytes);
  for (const ProfileLineFault& fault : profile.Faults)
    lineNotes_.emplace_back(fault.LineNumber,
                            Format(Text(texts::kBadLine), {std::to_string(fault.LineNumber), Utf8(fault.Line)}));
  for (size_t i = 0; i < profile.Entries.size(); ++i) {
    const ProfileEntry& entry = profile.Entries[i];
    const int line = i < profile.EntryLines.size() ? profile.EntryLines[i] : 0;
    if (const TTWREC* tweak = Named(entry.Name))
      PutState(*tweak, entry.State, line);
    else
      LineNote(line, texts::kNotListed, entry.Name);
  }
  // The notes in the order of the lines they are about, whatever found them.
  std::stable_sort(lineNotes_.begin(), lineNotes_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [line, note] : lineNotes_) summary_.Note(std::move(note));
  SettlePutOff();
  return CommandOutcome{summary_.Text(VerbWord(command.Verb)), summary_.SwitchedCount() > 0};
}

CommandOutcome CommandRun::Reapply(const Command& command) {
  const std::vector<const TTWREC*> found = Matching(command.Masks);
  const std::unordered_set<const TTWREC*> matching(found.begin(), found.end());
  const std::vector<ProfileEntry> choices = actions_.Choices();
  for (size_t i = 0; i < choices.size(); ++i) {
    const TTWREC* tweak = Named(choices[i].Name);
    if (!tweak || !matching.contains(tweak)) continue;
    try {
      if (ShowsState(*tweak, choices[i].State, ProfileStateOf(*tweak, actions_.Read(*tweak)))) {
        summary_.AlreadyChosen();
        continue;
      }
    } catch (const std::exception&) {
      // A state that cannot be read shows nothing: the choice is applied again.
    }
    PutState(*tweak, choices[i].State, static_cast<int>(i) + 1);
  }
  for (auto& [line, note] : lineNotes_) summary_.Note(std::move(note));
  SettlePutOff();
  if (summary_.Handled() == summary_.AlreadyChosenCount()) {
    std::string text(Text(texts::kNothingToReapply));
    if (std::string notes = summary_.NotesText(); !notes.empty()) text += "\n" + notes;
    return Message(std::move(text));
  }
  return Summed(command.Verb);
}

}  // namespace

CommandOutcome RunCommandLine(std::string_view line, const CommandSetting& setting, CommandActions& actions) {
  return CommandRun(setting, actions).Run(ParseCommand(line));
}

std::string ProfilePath(const std::string& file, const std::string& iniDir) {
  return IsRootedPath(file) ? file : JoinPath(iniDir, file);
}

}  // namespace qzr
