// The host's find records.
#include "interface/find_record.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "interface/host_chars.h"
#include "interface/text_buffer.h"
#include "plugin/x_arc.h"

namespace qzr {
namespace {

// Lookups find a cut name by the form this record gives it.
static_assert(sizeof(host::FindData::cFileName) - 1 == kFindRecordNameMax);

template <typename Ch, size_t N>
void CopyName(Ch (&field)[N], const std::basic_string<Ch>& name, bool cutToFit) {
  std::fill(std::begin(field), std::end(field), Ch{});
  if (name.size() < N || cutToFit) FillText(field, static_cast<int>(N), name);
}

template <typename Ch>
void Fill(host::FindRecord<Ch>* data, const ListedEntry& entry) {
  data->dwFileAttributes = 0x80;
  data->ftCreationTime = data->ftLastAccessTime = data->ftLastWriteTime = host::FileTime{0xFFFFFFFFu, 0xFFFFFFFFu};
  const auto size = static_cast<uint64_t>(int64_t{entry.Size});
  data->nFileSizeHigh = static_cast<uint32_t>(size >> 32);
  data->nFileSizeLow = static_cast<uint32_t>(size);
  const std::basic_string<Ch> name = HostChars<Ch>::NameOut(entry.Name);
  CopyName(data->cFileName, name, true);
  CopyName(data->cAlternateFileName, name, false);
}

}  // namespace

void FillFindData(host::FindData* data, const ListedEntry& entry) { Fill(data, entry); }
void FillFindData(host::FindDataW* data, const ListedEntry& entry) { Fill(data, entry); }

}  // namespace qzr
