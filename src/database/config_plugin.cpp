// Rewriting a definition into the generated layout.
#include "database/config_plugin.h"

#include "base/errors.h"
#include "base/file_replace.h"
#include "base/text_lines.h"
#include "platform/platform.h"
#include "texts/rebuild_texts.h"
#include "util/text.h"

namespace qzr {
namespace {

constexpr char kEndOfText = '\x1A';

class LineList {
 public:
  void Add(std::string_view line) {
    text_ += line;
    text_ += "\r\n";
  }
  void AddEmpty(int count) {
    for (int i = 0; i < count; ++i) Add({});
  }
  std::string& Text() { return text_; }

 private:
  std::string text_;
};

std::string Stamp(uint8_t language) {
  std::string_view prefix = texts::kConfigPluginStamp.Pick(language);
  if (prefix.empty()) return {};
  SystemApi& system = *Os().system;
  LocalTime now = system.Now();
  return Utf8ToCp1251(prefix) + system.FormatShortDate(now) + " / " + system.FormatLongTime(now);
}

}  // namespace

std::string ConfigPluginText(std::string_view previous, uint8_t language) {
  LineList list;
  const std::string title = texts::kConfigPluginTitle.PickCp1251(language);
  list.Add(texts::kConfigPluginRule);
  list.AddEmpty(1);
  if (!title.empty()) list.Add(title);
  list.AddEmpty(1);
  list.Add(texts::kConfigPluginRule);
  list.AddEmpty(3);

  // Lines are read as the database build reads them (a lone CR stays inside its line), so the
  // build finds the same settings in the rewritten file.
  TextLines lines(previous);
  std::string_view line;
  while (lines.Next(line)) {
    line = TrimControl(line);
    if (line.empty() || line.starts_with("//")) continue;
    list.Add(line);
  }

  list.AddEmpty(3);
  const std::string stamp = Stamp(language);
  if (!stamp.empty()) list.Add(stamp);

  // The build reads nothing after a Ctrl-Z. Whatever the user put there is kept byte for byte
  // behind the stamp, still after a Ctrl-Z, so it is neither lost nor turned into settings.
  if (size_t end = previous.find(kEndOfText); end != std::string_view::npos) list.Text() += previous.substr(end);
  return std::move(list.Text());
}

bool MakeConfigPlugin(const std::string& fileName, uint8_t language) {
  FileApi& files = *Os().files;
  std::string previous;
  // Gone or locked since it was found: writing now could only lose what it holds.
  if (files.ReadWhole(fileName, &previous) != win::kSuccess) return false;
  if (long rc = ReplaceFileContents(fileName, ConfigPluginText(previous, language)))
    RaiseCannotCreate(fileName, rc);
  return true;
}

}  // namespace qzr
