// Raising the shown errors, with file names turned from the ANSI code page into UTF-8.
#include "base/errors.h"

#include "platform/platform.h"

namespace qzr {

void RaiseUnableToWrite(const std::string& fileName) {
  throw ShownError("Unable to write to " + Os().system->AnsiToUtf8(fileName));
}

void RaiseCannotCreate(const std::string& fileName, long code) {
  throw ShownError("Cannot create file \"" + Os().system->AnsiToUtf8(fileName) + "\". " +
                   Os().system->ErrorMessage(code));
}

void RaiseCannotOpen(const std::string& fileName, long code) {
  throw ShownError("Cannot open file \"" + Os().system->AnsiToUtf8(fileName) + "\". " +
                   Os().system->ErrorMessage(code));
}

}  // namespace qzr
