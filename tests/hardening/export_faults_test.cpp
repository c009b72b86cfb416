// Paint .BMPs and Draw .SHPs when their writes fail, through the editor's
// commands (the export functions beneath fail the same way: one code path).
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/hardening/command_faults.h"
#include "tests/hardening/fault_support.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;

const char* const kOldPiecesQuestion =
    "One or more Map45*.bmp files already exist.  DELETE them and create new bitmaps?";
const char* const kOldShpQuestion = "One or more Map45*.shp files already exist.  DELETE them and write new SHPs?";
const char* const kPainted = "Bitmaps painted.  If you haven't already done so, you should save your map now.";

// ---- Paint .BMPs ---------------------------------------------------------

struct PaintCase {
  const char* name;
  Fault fault;
  long sizeLimit;
  const char* message;  // "" for success; "Cannot create file " is followed by the first piece's path
  Names userBmpAfter;
};

void PrintTo(const PaintCase& c, std::ostream* out) { *out << c.name; }

class PaintFaults : public FaultTest, public ::testing::WithParamInterface<PaintCase> {
 protected:
  void SetUp() override {
    startWithGame();
    editor->New1Click();
    grid().setTerrain(2, 3, 9);
    editor->RedrawHex(2, 3);
    WriteBytes(userBmp() / "Map4500.bmp", Bytes("old"));
    WriteBytes(userBmp() / "Map4699.bmp", Bytes("other"));
  }
  fs::path userBmp() const { return gamePath() / "UserBMP"; }
};

TEST_P(PaintFaults, PiecesOnDiskErrorTextAndEditorState) {
  const PaintCase& c = GetParam();
  if (c.fault == Fault::ReadOnlyFolder) {
    OpenForNobody(userBmp() / "Map4500.bmp");
    MakeReadOnlyFolder(userBmp());
  }
  okParameters(45, 16, 11);
  shell.warnAnswers.push_back(true);
  const Report after = runFaulty(c.fault, c.sizeLimit, [this] { editor->PaintBMPs1Click(); });
  ASSERT_EQ(after.at("exit"), "0");

  std::string message = c.message;
  if (message == "Cannot create file ") message += gameFolder() + "UserBMP/Map4500.bmp";
  EXPECT_EQ(after.at("errors"), message);
  EXPECT_EQ(after.at("warnings"), kOldPiecesQuestion);
  EXPECT_EQ(Tree(userBmp()), c.userBmpAfter);
  EXPECT_EQ(ReadBytes(userBmp() / "Map4699.bmp"), Bytes("other")) << "other map numbers stay";
  if (c.fault == Fault::ReadOnlyFolder) {
    EXPECT_EQ(ReadBytes(userBmp() / "Map4500.bmp"), Bytes("old"));
  }
  EXPECT_EQ(Temporaries(root()), Names{});
  EXPECT_EQ(after.at("header"), "45 16 11");  // the dialog's values stand
  EXPECT_EQ(after.at("notices"), message.empty() ? kPainted : "");
  EXPECT_EQ(after.at("kept"), "yes");
}

const Names kAllPieces = {"Map4500.bmp", "Map4501.bmp", "Map4510.bmp", "Map4511.bmp", "Map4699.bmp"};

INSTANTIATE_TEST_SUITE_P(
    Kinds, PaintFaults,
    ::testing::Values(PaintCase{"DiskFull", Fault::DiskFull, 100000, "Disk full", {"Map4699.bmp"}},
                      // The first piece is 1078 + 640 x 480 bytes.
                      PaintCase{"DiskFullOneByteShort", Fault::DiskFull, 308277, "Disk full", {"Map4699.bmp"}},
                      PaintCase{"RoomForEveryPiece", Fault::DiskFull, 308278, "", kAllPieces},
                      PaintCase{"ReadOnlyUserBMP", Fault::ReadOnlyFolder, 0, "Cannot create file ",
                                {"Map4500.bmp", "Map4699.bmp"}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Draw .SHPs ------------------------------------------------------------

struct ShpCase {
  const char* name;
  Fault fault;
  long sizeLimit;
  const char* message;  // "" for success
  Names userMapAfter;
};

void PrintTo(const ShpCase& c, std::ostream* out) { *out << c.name; }

class ShpFaults : public FaultTest, public ::testing::WithParamInterface<ShpCase> {
 protected:
  void SetUp() override {
    startWithGame();
    editor->New1Click();
    // The second file is noise: its ShpFile cannot fit a small limit.
    writeBitmap(userBmp() / "Map4500.bmp", 8, 4);
    writeBitmap(userBmp() / "Map4501.bmp", 640, 480, /*noisy=*/true);
    writeBitmap(userBmp() / "Map4502.bmp", 8, 4);
    WriteBytes(userMap() / "Map4599.shp", Bytes("old"));
    WriteBytes(userMap() / "Map4600.shp", Bytes("other"));
  }
  fs::path userBmp() const { return gamePath() / "UserBMP"; }
  fs::path userMap() const { return gamePath() / "UserMap"; }
  std::vector<std::string> inputs() const {
    return {(userBmp() / "Map4500.bmp").string(), (userBmp() / "Map4501.bmp").string(),
            (userBmp() / "Map4502.bmp").string()};
  }
};

TEST_P(ShpFaults, FilesOnDiskErrorTextAndEditorState) {
  const ShpCase& c = GetParam();
  if (c.fault == Fault::ReadOnlyFolder) {
    for (const std::string& input : inputs()) OpenForNobody(input);
    OpenForNobody(userMap() / "Map4599.shp");
    MakeReadOnlyFolder(userMap());
  }
  if (c.fault == Fault::MissingFolder) fs::remove_all(userMap());
  const MapHeader header = editor->document().header;
  choose(inputs());
  shell.warnAnswers.push_back(true);
  const Report after = runFaulty(c.fault, c.sizeLimit, [this] { editor->WriteSHPs1Click(); });
  ASSERT_EQ(after.at("exit"), "0");

  const std::string message = c.message;
  EXPECT_EQ(after.at("errors"), message);
  EXPECT_EQ(after.at("warnings"), c.fault == Fault::MissingFolder ? "" : kOldShpQuestion);
  if (c.fault == Fault::MissingFolder) {
    EXPECT_FALSE(fs::exists(userMap()));
  } else {
    EXPECT_EQ(Tree(userMap()), c.userMapAfter);
  }
  if (c.fault == Fault::DiskFull && !message.empty()) {
    // Finished before the failure: whole, 4 rows of "10 05 00" and the palette.
    EXPECT_EQ(ReadBytes(userMap() / "Map4500.shp").size(), 40u + 4u * 3u + 1024u);
  }
  if (c.fault == Fault::ReadOnlyFolder) {
    EXPECT_EQ(ReadBytes(userMap() / "Map4599.shp"), Bytes("old"));
  }
  EXPECT_EQ(Temporaries(root()), Names{});
  EXPECT_EQ(after.at("notices"), message.empty() ? "SHP files drawn." : "");
  // The command reads nothing of the map and gives the open dialog back.
  EXPECT_EQ(after.at("header"), std::to_string(header.mapNumber) + " 44 39");
  EXPECT_EQ(after.at("kept"), "yes");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ShpFaults,
    ::testing::Values(
        ShpCase{"DiskFullOnTheSecondFile", Fault::DiskFull, 4096, "Disk full", {"Map4500.shp", "Map4600.shp"}},
        ShpCase{"RoomForEveryFile", Fault::DiskFull, 1 << 22, "",
                {"Map4500.shp", "Map4501.shp", "Map4502.shp", "Map4600.shp"}},
        ShpCase{"ReadOnlyUserMap", Fault::ReadOnlyFolder, 0, "File access denied", {"Map4599.shp", "Map4600.shp"}},
        ShpCase{"MissingUserMap", Fault::MissingFolder, 0, "Invalid filename", {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kxc2::test
