#include "editing/shell.h"

namespace kxc2 {

std::string ErrorBoxText(const std::string& message) {
  // Unsigned: a UTF-8 sequence's last byte sorts after "." as its character does.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + '.';
  return message;
}

}  // namespace kxc2
