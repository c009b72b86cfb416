#include "editing/settings_location.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace kxc2 {
namespace {

#ifndef _WIN32
using Variable = std::optional<std::string>;

Variable Get(const char* name) { return std::getenv(name) ? Variable(std::getenv(name)) : std::nullopt; }
void Set(const char* name, const Variable& value) { value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name); }

// The folders the Qt editor's AppConfigLocation gave for each environment.
TEST(SettingsLocationTest, UserFolderAsTheToolkitGaveIt) {
  const struct {
    Variable configHome, home;
    std::string folder;
  } cases[] = {
      {"/tmp/x", "/home/u", "/tmp/x/KxC2Map/"},
      {"/tmp/x/", "/home/u", "/tmp/x//KxC2Map/"},
      {"/tmp/a//b/../c", "/home/u", "/tmp/a//b/../c/KxC2Map/"},
      {"", "/home/u/", "/home/u/.config/KxC2Map/"},
      {std::nullopt, "/home/u//a/../b", "/home/u/b/.config/KxC2Map/"},
      {std::nullopt, "", "//.config/KxC2Map/"},
      {std::nullopt, std::nullopt, "//.config/KxC2Map/"},
  };
  const Variable configHome = Get("XDG_CONFIG_HOME"), home = Get("HOME");
  for (const auto& c : cases) {
    Set("XDG_CONFIG_HOME", c.configHome);
    Set("HOME", c.home);
    EXPECT_EQ(UserConfigFolder("KxC2Map"), c.folder) << c.configHome.value_or("-") << " " << c.home.value_or("-");
  }
  Set("XDG_CONFIG_HOME", configHome);
  Set("HOME", home);
}
#endif

}  // namespace
}  // namespace kxc2
