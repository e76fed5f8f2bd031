// The rebuild command of the apply dialog: brings rejected definitions back from ~trash into
// plugins and rewrites every definition in the generated layout.
#pragma once

namespace qzr {

void RebuildBase();

}  // namespace qzr
