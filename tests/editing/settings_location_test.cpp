#include "editing/settings_location.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "core/os_files.h"
#include "tests/support/temp_dir.h"

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

// Beside the program when the file is there or the folder takes files, and
// the check leaves nothing behind; else in the user's folder.
TEST(SettingsLocationTest, PortableBesideTheProgramElseTheUsersFolder) {
  test::TempDir dir;
  const std::string program = dir.folder(), user = dir.file("user") + kPathSeparator;
  const std::string missing = dir.file("gone") + kPathSeparator;
  EXPECT_EQ(SettingsFilePath(program, user), program + "KXC2MAP.INI");
  EXPECT_TRUE(test::ListFolder(dir.path()).empty());
  EXPECT_EQ(SettingsFilePath(missing, user), user + "KXC2MAP.INI");
  EXPECT_EQ(SettingsFilePath(missing, ""), missing + "KXC2MAP.INI");
  test::WriteBytes(dir.file("KxC2Map.ini"), {});
  EXPECT_EQ(SettingsFilePath(program, user), program + "KxC2Map.ini");
}

}  // namespace
}  // namespace kxc2
