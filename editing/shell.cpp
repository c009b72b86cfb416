#include "editing/shell.h"

namespace kxc2 {

std::string ErrorBoxText(const std::string& message) {
  if (!message.empty() && message.back() > '.') return message + '.';
  return message;
}

}  // namespace kxc2
