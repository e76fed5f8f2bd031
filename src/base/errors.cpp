// Raising the shown errors. File names are path text, UTF-8 as the messages are.
#include "base/errors.h"

#include "platform/platform.h"

namespace qzr {

void RaiseUnableToWrite(const std::string& fileName) {
  throw ShownError("Unable to write to " + fileName);
}

void RaiseCannotCreate(const std::string& fileName, long code) {
  throw ShownError("Cannot create file \"" + fileName + "\". " +
                   Os().system->ErrorMessage(code));
}

void RaiseCannotOpen(const std::string& fileName, long code) {
  throw ShownError("Cannot open file \"" + fileName + "\". " +
                   Os().system->ErrorMessage(code));
}

}  // namespace qzr
