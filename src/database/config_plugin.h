// The generated config plugin: the layout the rebuild command gives a definition file. A banner
// of rule, title and rule on top, the definition's meaningful lines flush left, and a stamp of
// the day and time at the bottom; blank lines and "//" comment lines are dropped. Banner and
// stamp are comments to the tweak parser, so the next rewrite replaces them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace qzr {

// The new contents for a definition whose current bytes are `previous`, in `language` (no title
// and no stamp for a value other than English or Russian). The stamp reads the clock now.
std::string ConfigPluginText(std::string_view previous, uint8_t language);

// Rewrites one definition file (full path) in place, in `language`. A file that
// cannot be read (gone, locked) is left as it is and false comes back; a file that cannot be
// written raises "Cannot create file" and stays whole.
bool MakeConfigPlugin(const std::string& fileName, uint8_t language);

}  // namespace qzr
