// The host's find record.
#include "interface/find_record.h"

#include <cstring>

#include "plugin/x_arc.h"

namespace qzr {
namespace {

// Lookups find a cut name by the form this record gives it.
static_assert(sizeof(host::FindData::cFileName) - 1 == kFindRecordNameMax);

void CopyName(char* field, size_t fieldSize, const std::string& name, bool cutToFit) {
  std::memset(field, 0, fieldSize);
  if (name.size() < fieldSize)
    std::memcpy(field, name.data(), name.size());
  else if (cutToFit)
    std::memcpy(field, name.data(), fieldSize - 1);
}

}  // namespace

void FillFindData(host::FindData* data, const ListedEntry& entry) {
  data->dwFileAttributes = 0x80;
  data->ftCreationTime = data->ftLastAccessTime = data->ftLastWriteTime = host::FileTime{0xFFFFFFFFu, 0xFFFFFFFFu};
  int64_t size = entry.Size;
  data->nFileSizeHigh = static_cast<uint32_t>(static_cast<uint64_t>(size) >> 32);
  data->nFileSizeLow = static_cast<uint32_t>(size);
  CopyName(data->cFileName, sizeof data->cFileName, entry.Name, true);
  CopyName(data->cAlternateFileName, sizeof data->cAlternateFileName, entry.Name, false);
}

}  // namespace qzr
