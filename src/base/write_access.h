// The write test of a folder: create and delete a probe file in it.
#pragma once
#include <string>

namespace qzr {

bool HasWriteAccess(const std::string& directory);

}  // namespace qzr
