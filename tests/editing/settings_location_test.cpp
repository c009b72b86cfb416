#include "editing/settings_location.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace kxc2 {
namespace {

#ifndef _WIN32
// The folders the Qt editor's AppConfigLocation gave for each environment.
TEST(SettingsLocationTest, UserFolderAsTheToolkitGaveIt) {
  const struct {
    std::optional<std::string> configHome, home;
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
  const auto set = [](const char* name, const std::optional<std::string>& value) {
    value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
  };
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const std::optional<std::string> savedConfig = oldConfig ? std::optional<std::string>(oldConfig) : std::nullopt;
  const std::optional<std::string> savedHome = std::getenv("HOME") ? std::optional<std::string>(std::getenv("HOME")) : std::nullopt;
  for (const auto& c : cases) {
    set("XDG_CONFIG_HOME", c.configHome);
    set("HOME", c.home);
    EXPECT_EQ(UserConfigFolder("KxC2Map"), c.folder) << c.configHome.value_or("unset") << " " << c.home.value_or("unset");
  }
  set("XDG_CONFIG_HOME", savedConfig);
  set("HOME", savedHome);
}
#endif

}  // namespace
}  // namespace kxc2
