// TCFG: a flat file of name=value lines with no sections, read whole into memory, changed
// there and written back whole by Close.
//
// The file: lines end at CR LF, LF or a lone CR; a line with "=" is an entry named by the text
// before its first "=" (nothing trimmed), other lines are kept as they are, in place. Names
// compare without regard to case by the user's locale; the first of equal names counts. A zero
// byte ends the text: it and everything after it are kept aside and written back unchanged.
// Written lines end with CR LF.
//
// Ownership: the caller owns the store for one operation and ends it with Close(), which
// replaces the file (through a temporary file, so a failed write leaves the old file whole)
// and may raise. A store destroyed without Close() (an error cut the operation short) writes
// nothing, and its destructor never raises.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qzr {

// What a missing file means: created at once (what opening a tweak does), or read as empty
// and left missing (what reading a state for the panel does).
enum class CfgMissing { kCreate, kReadAsEmpty };

class TCFG {
 public:
  // Reads the file; a missing file is created at once, empty (0 bytes), unless `missing` says
  // to read it as empty. Raises "Cannot open file "%s". %s" when the file exists but cannot be
  // read and "Cannot create file "%s". %s" when it cannot be created.
  explicit TCFG(std::string fileName, CfgMissing missing = CfgMissing::kCreate);
  ~TCFG() = default;
  TCFG(const TCFG&) = delete;
  TCFG& operator=(const TCFG&) = delete;

  // Writes the lines back when anything was written or deleted (a store that was only read
  // leaves the file untouched); raises "Cannot create file "%s". %s" when that fails.
  void Close();

  // The value of the first entry with that name (the text after its first "="); empty when
  // there is none.
  std::string ReadValue(const std::string& name) const;
  // No entry: appends name=value (also with an empty value). An entry and a value: the line
  // becomes name=value in the caller's spelling. An entry and an empty value: the line goes.
  void WriteValue(const std::string& name, const std::string& value);
  // Removes the first entry with that name, if there is one.
  void DeleteKey(const std::string& name);
  // The value by the system's text-to-integer rule; `fallback` when there is no entry or the
  // value is no such number.
  int32_t ReadInteger(const std::string& name, int32_t fallback) const;
  void WriteInteger(const std::string& name, int32_t value);
  // `fallback` only when no entry has that name; an entry's empty value is returned as it is.
  std::string ReadString(const std::string& name, const std::string& fallback) const;
  void WriteString(const std::string& name, const std::string& value) { WriteValue(name, value); }

  const std::vector<std::string>& Lines() const { return lines_; }
  const std::string FileName;  // path text

 private:
  std::optional<size_t> IndexOfName(const std::string& name) const;

  std::vector<std::string> lines_;
  std::string tail_;  // from a zero byte on, as read
  bool changed_ = false;
};

}  // namespace qzr
