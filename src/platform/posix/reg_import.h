// The substitute of reg.exe's import: reads exactly what the undo files' writer writes (the
// registry editor's Unicode form: a byte-order mark, UTF-16 LE, "Windows Registry Editor Version
// 5.00", "[key]", "[-key]", "name"=-, quoted strings, dword:, hex: and hex(N): lists wrapped with
// "\", hex(N) data taken as the bytes the wide calls set) and applies it through a registry's
// wide calls.
#pragma once
#include <string>

#include "platform/registry_api.h"

namespace qzr::posix {

// 0 when every line was understood and applied; 1 (reg.exe's exit code for a failed import) at
// the first line that was not, with what came before it applied, as reg.exe leaves it.
long ImportRegFile(const std::string& bytes, RegistryApi& registry);

}  // namespace qzr::posix
