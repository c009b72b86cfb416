// The files kxc2tool reads, and how their failures name them.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "cli/input_files.h"
#include "core/map_file.h"
#include "tests/support/error_of.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using test::ErrorOf;

TEST(InputFiles, BytesComeBackExactly) {
  test::TempDir dir;
  std::vector<std::uint8_t> big(200001);  // several reads' worth
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 31 + i / 256);
  test::WriteBytes(dir.path() / "big", big);
  EXPECT_EQ(cli::ReadInputBytes(dir.file("big")), big);
  test::WriteBytes(dir.path() / "empty", {});
  EXPECT_EQ(cli::ReadInputBytes(dir.file("empty")), std::vector<std::uint8_t>{});
}

TEST(InputFiles, FailuresNameThePath) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.path() / "folder.shp");
  test::WriteBytes(dir.path() / "short.map", {1, 2, 3});
  const struct {
    std::string path;
    std::string bytesError;
    std::string mapError;
  } cases[] = {
      {dir.file("none"), dir.file("none") + ": File not found", dir.file("none") + ": File not found"},
      {dir.file("no/such"), dir.file("no/such") + ": Invalid filename", dir.file("no/such") + ": Invalid filename"},
      {dir.file("folder.shp"), dir.file("folder.shp") + ": Invalid filename",
       dir.file("folder.shp") + ": Invalid filename"},
      {dir.file("short.map"), "(read)", dir.file("short.map") + ": Read beyond end of file"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf([&] { cli::ReadInputBytes(c.path); }, "(read)"), c.bytesError);
    EXPECT_EQ(ErrorOf([&] { cli::ReadMapInput(c.path); }, "(read)"), c.mapError);
  }
}

// A pipe would wait for a writer for ever, a device might never end.
TEST(InputFiles, OnlyOrdinaryFilesAreRead) {
  test::TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("pipe.shp").c_str(), 0600), 0);
  EXPECT_EQ(ErrorOf([&] { cli::ReadInputBytes(dir.file("pipe.shp")); }), dir.file("pipe.shp") + ": Invalid filename");
  EXPECT_EQ(ErrorOf([&] { cli::ReadInputBytes("/dev/zero"); }), "/dev/zero: Invalid filename");
}

TEST(InputFiles, MapIsRead) {
  test::TempDir dir;
  MapDocument document;
  document.header = {51, 20, 12};
  document.grid.setTerrain(3, 4, 9);
  WriteMapFile(dir.file("a.map"), document);
  const MapDocument back = cli::ReadMapInput(dir.file("a.map"));
  EXPECT_EQ(back.header.mapNumber, 51);
  EXPECT_EQ(back.header.columns, 20);
  EXPECT_EQ(back.grid.terrain(3, 4), 9);
  EXPECT_EQ(back.grid.terrain(4, 3), 0);
}

}  // namespace
}  // namespace kxc2
