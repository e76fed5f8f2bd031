// The errors that travel up to a dialog, which shows them in a message box and stays open.
// Messages are UTF-8 and carry the framework's wording; the file names given are path text.
#pragma once
#include <stdexcept>
#include <string>

namespace qzr {

class ShownError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "Unable to write to %s"
[[noreturn]] void RaiseUnableToWrite(const std::string& fileName);
// "Cannot create file "%s". %s" with the system's text for `code`.
[[noreturn]] void RaiseCannotCreate(const std::string& fileName, long code);
// "Cannot open file "%s". %s"
[[noreturn]] void RaiseCannotOpen(const std::string& fileName, long code);

}  // namespace qzr
