#pragma once

#include <functional>
#include <string>

namespace kxc2::test {

// The message of the std::runtime_error that body throws, or noError when it
// returns normally.
std::string ErrorOf(const std::function<void()>& body, const std::string& noError = "no error");

}  // namespace kxc2::test
