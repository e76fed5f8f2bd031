// The platform seam: everything the plugin asks of the operating system goes through here.
// The Win32 backend calls the real API; the POSIX backend is a substitute with Windows results.
// Tests swap single parts (a recording message box, a faulty file system) with Override.
#pragma once
#include "platform/file_api.h"
#include "platform/profile_api.h"
#include "platform/registry_api.h"
#include "platform/system_api.h"
#include "platform/ui_api.h"
#include "platform/win_codes.h"

namespace qzr {

#ifdef _WIN32
inline constexpr char kPathDelim = '\\';
#else
inline constexpr char kPathDelim = '/';
#endif

struct Platform {
  RegistryApi* registry = nullptr;
  ProfileApi* profile = nullptr;
  FileApi* files = nullptr;
  SystemApi* system = nullptr;
  UiApi* ui = nullptr;
};

// The backend this build was made with; implemented once per backend.
Platform NativePlatform();
// The module is unloading: the build's backend frees what it keeps in memory (the substitute
// registry's tree), so that nothing is left behind in the host; a later call simply loads it again.
void ReleaseNativePlatform();

// The seam in force for this process.
Platform& Os();

// Puts another implementation in place of one part of the seam for a scope.
template <typename T>
class Override {
 public:
  Override(T*& slot, T* replacement) : slot_(slot), saved_(slot) { slot_ = replacement; }
  ~Override() { slot_ = saved_; }
  Override(const Override&) = delete;
  Override& operator=(const Override&) = delete;

 private:
  T*& slot_;
  T* saved_;
};

}  // namespace qzr
