// Executing an entry of the virtual folder: "open" on a tweak shows the apply dialog with the
// setting's live state; "properties" on the root shows the about dialog; anything else does
// nothing. The host is always told it went well.
#pragma once
#include <string>

namespace qzr {

void ExecuteFile(const std::string& remoteName, const std::string& verb);

// Opens the tweak behind a virtual file name: reads its state, shows the apply dialog, and
// saves through it. A name the listing does not hold opens nothing.
void OpenTweak(const std::string& fileName);

}  // namespace qzr
