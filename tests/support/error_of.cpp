#include "tests/support/error_of.h"

#include <stdexcept>

namespace kxc2::test {

std::string ErrorOf(const std::function<void()>& body, const std::string& noError) {
  try {
    body();
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return noError;
}

}  // namespace kxc2::test
