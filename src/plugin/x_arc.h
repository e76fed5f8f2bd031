// TXARC: the virtual folder's listing. It reads no folder on disk: the first Open builds the
// plugin database once per load, and Names then holds one virtual file name per TweakTable
// entry, in table order, so a name's position is its tweak's index in TweakTable. A search's
// position is a TSearch of its own: a host may run several searches at once (both panels, on
// worker threads), and none moves another.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace qzr {

// One search through the names: where it stands and the entry it found last.
struct TSearch {
  int32_t SearchIndex = -1;  // position of the entry last found; -1 when none
  std::string SearchMask;
  int32_t ItemIndex = -1;  // TweakTable index of the entry last found; -1 when none
  int32_t ItemSize = -1;   // 0 for a found entry; -1 when none
  std::string ItemName;
};

class TXARC {
 public:
  TXARC() = default;
  TXARC(const TXARC&) = delete;
  TXARC& operator=(const TXARC&) = delete;

  std::string About() const;
  std::string TempExt() const;
  void SetTempExt(const std::string& value);

  // Builds the database and the name list the first time; later calls change nothing.
  bool Open(const std::string& archiveName);
  // Refills Names from TweakTable.
  bool LoadNames();
  // Position of the first name equal to `name` without regard to case; failing that, of the
  // first name whose find-record form (FindRecordName) is `name`; or -1.
  int32_t IndexOfName(const std::string& name) const;
  bool FindFirst(const std::string& mask, TSearch& search) const;
  bool FindNext(TSearch& search) const;
  int32_t FindClose(TSearch& search) const;

  bool Opened = false;
  std::vector<std::string> Names;

 private:
  void Found(int32_t position, TSearch& search) const;

  std::string archiveName_;
  std::string tempExt_;
  // Upper-cased name -> first position, so a panel's per-entry lookups cost no scan.
  std::unordered_map<std::string, int32_t> firstByName_;
  // The same for names the host's find record cannot carry whole, by the form it does carry:
  // the host asks for an entry by the name it was shown.
  std::unordered_map<std::string, int32_t> firstByRecordName_;
};

// Virtual file name of a tweak: its name with a full stop appended.
std::string VirtualFileName(const std::string& tweakName);

// The most of a name the host's find record holds (cFileName, before its terminating zero).
inline constexpr size_t kFindRecordNameMax = 259;

// A name as the host's find record shows it: up to a zero byte in it, and at most
// kFindRecordNameMax bytes.
std::string FindRecordName(const std::string& name);

}  // namespace qzr
