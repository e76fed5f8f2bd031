// The dialogs' message handling: an error raised by a button's action becomes a message.
#include "ui/dialogs.h"

#include <exception>

namespace qzr {

std::optional<std::string> RunDialogAction(const std::function<void()>& action) {
  try {
    action();
    return std::nullopt;
  } catch (const std::exception& e) {  // ShownError and the library's own errors alike
    return std::string(e.what());
  } catch (...) {
    return std::string("Unknown error.");
  }
}

}  // namespace qzr
