// TCFG over the file functions of the platform seam.
#include "stores/cfg.h"

#include <algorithm>

#include "base/errors.h"
#include "base/file_replace.h"
#include "base/int_text.h"
#include "platform/platform.h"

namespace qzr {
namespace {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    lines.emplace_back(text.substr(pos, end - pos));
    if (end == text.size()) break;
    pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

}  // namespace

TCFG::TCFG(std::string fileName, CfgMissing missing) : FileName(std::move(fileName)) {
  FileApi& files = *Os().files;
  uint32_t attributes = files.GetAttributes(FileName);
  if (attributes == win::kInvalidAttributes || (attributes & win::kAttrDirectory)) {
    if (missing == CfgMissing::kReadAsEmpty) return;
    if (long rc = files.WriteWhole(FileName, "")) RaiseCannotCreate(FileName, rc);
    return;
  }
  std::string content;
  if (long rc = files.ReadWhole(FileName, &content)) RaiseCannotOpen(FileName, rc);
  size_t zero = content.find('\0');
  if (zero != std::string::npos) {
    tail_ = content.substr(zero);
    content.resize(zero);
  }
  lines_ = SplitLines(content);
}

void TCFG::Close() {
  if (!changed_) return;
  std::string text;
  for (const std::string& line : lines_) text += line + "\r\n";
  text += tail_;
  if (long rc = ReplaceFileContents(FileName, text)) RaiseCannotCreate(FileName, rc);
  changed_ = false;
}

std::optional<size_t> TCFG::IndexOfName(const std::string& name) const {
  SystemApi& system = *Os().system;
  std::string wanted = system.UpperCase(name);
  for (size_t i = 0; i < lines_.size(); ++i) {
    size_t eq = lines_[i].find('=');
    if (eq != std::string::npos && system.UpperCase(lines_[i].substr(0, eq)) == wanted) return i;
  }
  return std::nullopt;
}

std::string TCFG::ReadValue(const std::string& name) const {
  std::optional<size_t> i = IndexOfName(name);
  return i ? lines_[*i].substr(lines_[*i].find('=') + 1) : std::string();
}

void TCFG::WriteValue(const std::string& name, const std::string& value) {
  std::optional<size_t> i = IndexOfName(name);
  if (!i)
    lines_.push_back(name + "=" + value);
  else if (value.empty())
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*i));
  else
    lines_[*i] = name + "=" + value;
  changed_ = true;
}

void TCFG::DeleteKey(const std::string& name) {
  if (std::optional<size_t> i = IndexOfName(name)) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*i));
    changed_ = true;
  }
}

int32_t TCFG::ReadInteger(const std::string& name, int32_t fallback) const {
  return TextToIntDef(ReadValue(name), fallback);
}

void TCFG::WriteInteger(const std::string& name, int32_t value) { WriteValue(name, std::to_string(value)); }

std::string TCFG::ReadString(const std::string& name, const std::string& fallback) const {
  return IndexOfName(name) ? ReadValue(name) : fallback;
}

}  // namespace qzr
