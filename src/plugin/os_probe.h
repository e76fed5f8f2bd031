// Which family of Windows the module runs on.
#pragma once

namespace qzr {

// True on the 9x family: the "OS" value of the system environment in the registry is not
// exactly "Windows_NT"; without that value, the code segment decides.
bool IsWin9x();
// The fallback probe: a code segment selector of 0x100 or above means the 9x family.
bool CodeSegmentIs9x();

}  // namespace qzr
