// The icons of the virtual folder's entries: "SOMEICON" for registry tweaks, "XICON" for INI
// and CFG tweaks, the host's default icon for ".", ".." and names the listing does not hold.
#pragma once
#include <string>

namespace qzr {

// The icon resource for a remote name, or null for the host's default icon.
const char* IconResourceFor(const std::string& remoteName);

// The module's icon resource as a shared icon (the same handle on every call, never to be
// destroyed); null where the module carries no icons (the Linux build).
void* LoadSharedIcon(const char* resourceName);

}  // namespace qzr
