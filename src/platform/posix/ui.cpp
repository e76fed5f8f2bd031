// POSIX substitute for the message box and the shell: a Linux host gives a plain library no
// window system, so messages go to standard error and web addresses to xdg-open.
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>

#include "platform/posix/backends.h"

extern char** environ;

namespace qzr::posix {

void Ui::ShowMessage(const std::string& text, const std::string& caption) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

void Ui::ShellOpen(const std::string& target, void*) {
  pid_t pid = 0;
  const char* argv[] = {"xdg-open", target.c_str(), nullptr};
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
  }
}

}  // namespace qzr::posix
