// Paint .BMPs and Draw .SHPs when their writes fail: through the editor's
// handlers and through the export functions they call.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "export/map_painter.h"
#include "export/shp_conversion.h"
#include "tests/hardening/command_faults.h"
#include "tests/hardening/fault_support.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const char* const kOldPiecesQuestion =
    "One or more Map45*.bmp files already exist.  DELETE them and create new bitmaps?";
const char* const kOldShpQuestion = "One or more Map45*.shp files already exist.  DELETE them and write new SHPs?";
const char* const kPainted = "Bitmaps painted.  If you haven't already done so, you should save your map now.";

enum class Through { Editor, ExportFunction };

std::string ThroughName(Through through) { return through == Through::Editor ? "Editor" : "Export"; }

// ---- Paint .BMPs ---------------------------------------------------------

struct PaintCase {
  const char* name;
  Fault fault;
  long sizeLimit;
  const char* message;  // "" for success; "Cannot create file " is followed by the first piece's path
  Names userBmpAfter;   // empty with MissingFolder: UserBMP is gone
};

void PrintTo(const PaintCase& c, std::ostream* out) { *out << c.name; }
void PrintTo(Through through, std::ostream* out) { *out << ThroughName(through); }

const Names kAllPieces = {"Map4500.bmp", "Map4501.bmp", "Map4510.bmp", "Map4511.bmp", "Map4699.bmp"};

class PaintFaults : public EditorFaultTest, public ::testing::WithParamInterface<std::tuple<PaintCase, Through>> {
 protected:
  void SetUp() override {
    startWithGame();
    form->New1Click();
    form->document().grid.setTerrain(2, 3, 9);
    form->RedrawHex(2, 3);
    WriteBytes(userBmp() / "Map4500.bmp", Bytes("old"));
    WriteBytes(userBmp() / "Map4699.bmp", Bytes("other"));
  }
  fs::path userBmp() const { return gamePath() / "UserBMP"; }

  Report paintThroughExport() {
    PaintRequest request;
    request.mapNumber = 45;
    request.columns = 16;
    request.rows = 11;
    request.programFolder = programFolder();
    request.gameFolder = gameFolder();
    QStringList asked;
    Report report{{"error", ErrorOf([&] {
      PaintMapBitmaps(form->document(), request, [&](const std::string& question) {
        asked << QString::fromStdString(question);
        return true;
      });
    }, "none")}};
    report["warnings"] = Joined(asked);
    return report;
  }
};

TEST_P(PaintFaults, PiecesOnDiskErrorTextAndEditorState) {
  const auto& [c, through] = GetParam();
  const Report before = EditorState(*form);
  if (c.fault == Fault::ReadOnlyFolder) {
    OpenForNobody(userBmp() / "Map4500.bmp");
    MakeReadOnlyFolder(userBmp());
  }
  if (c.fault == Fault::MissingFolder) fs::remove_all(userBmp());
  answerParameters(true, 45, 16, 11);
  dialogs.warnAnswers.push_back(true);
  const Report after =
      through == Through::Editor
          ? RunFaultyCommand(c.fault, c.sizeLimit, *form, dialogs, [this] { form->PaintBMPs1Click(); })
          : RunWithFault(c.fault, c.sizeLimit, [this] { return paintThroughExport(); });
  ASSERT_EQ(after.at("exit"), "0");

  std::string message = c.message;
  if (message == "Cannot create file ") message += gameFolder() + "UserBMP/Map4500.bmp";
  EXPECT_EQ(after.at(through == Through::Editor ? "errors" : "error"),
            message.empty() ? (through == Through::Editor ? "" : "none") : message);
  EXPECT_EQ(after.at("warnings"), c.fault == Fault::MissingFolder ? "" : kOldPiecesQuestion);
  if (c.fault == Fault::MissingFolder) {
    EXPECT_FALSE(fs::exists(userBmp()));
  } else {
    EXPECT_EQ(Tree(userBmp()), c.userBmpAfter);
    EXPECT_EQ(ReadBytes(userBmp() / "Map4699.bmp"), Bytes("other")) << "other map numbers stay";
  }
  if (c.fault == Fault::ReadOnlyFolder) {
    EXPECT_EQ(ReadBytes(userBmp() / "Map4500.bmp"), Bytes("old"));
  }
  EXPECT_EQ(Temporaries(root.path()), Names{});

  if (through == Through::ExportFunction) return;
  EXPECT_EQ(after.at("header"), "45 16 11");  // the dialog's values stand
  EXPECT_EQ(after.at("notices"), message.empty() ? kPainted : "");
  if (!message.empty()) {
    EXPECT_EQ(after.at("error boxes"), message + ".");
  }
  for (const char* key : kUntouchedByFailures) EXPECT_EQ(after.at(key), before.at(key)) << key;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PaintFaults,
    ::testing::Combine(
        ::testing::Values(
            PaintCase{"DiskFull", Fault::DiskFull, 100000, "Disk full", {"Map4699.bmp"}},
            // The first piece is 1078 + 640 x 480 bytes.
            PaintCase{"DiskFullOneByteShort", Fault::DiskFull, 308277, "Disk full", {"Map4699.bmp"}},
            PaintCase{"RoomForEveryPiece", Fault::DiskFull, 308278, "", kAllPieces},
            PaintCase{"ReadOnlyUserBMP", Fault::ReadOnlyFolder, 0, "Cannot create file ",
                      {"Map4500.bmp", "Map4699.bmp"}},
            PaintCase{"MissingUserBMP", Fault::MissingFolder, 0, "Cannot create file ", {}}),
        ::testing::Values(Through::Editor, Through::ExportFunction)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + ThroughName(std::get<1>(info.param));
    });

// ---- Draw .SHPs ------------------------------------------------------------

struct ShpCase {
  const char* name;
  Fault fault;
  long sizeLimit;
  const char* message;  // "" for success
  Names userMapAfter;
};

void PrintTo(const ShpCase& c, std::ostream* out) { *out << c.name; }

class ShpFaults : public EditorFaultTest, public ::testing::WithParamInterface<std::tuple<ShpCase, Through>> {
 protected:
  void SetUp() override {
    startWithGame();
    form->New1Click();
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

  Report convertThroughExport() {
    QStringList asked;
    Report report{{"error", ErrorOf([&] {
      ConvertBitmapsToShp(inputs(), gameFolder(), [&](const std::string& question) {
        asked << QString::fromStdString(question);
        return true;
      });
    }, "none")}};
    report["warnings"] = Joined(asked);
    return report;
  }
};

TEST_P(ShpFaults, FilesOnDiskErrorTextAndEditorState) {
  const auto& [c, through] = GetParam();
  const Report before = EditorState(*form);
  if (c.fault == Fault::ReadOnlyFolder) {
    for (const std::string& input : inputs()) OpenForNobody(input);
    OpenForNobody(userMap() / "Map4599.shp");
    MakeReadOnlyFolder(userMap());
  }
  if (c.fault == Fault::MissingFolder) fs::remove_all(userMap());
  choose(inputs());
  dialogs.warnAnswers.push_back(true);
  const Report after =
      through == Through::Editor
          ? RunFaultyCommand(c.fault, c.sizeLimit, *form, dialogs, [this] { form->WriteSHPs1Click(); })
          : RunWithFault(c.fault, c.sizeLimit, [this] { return convertThroughExport(); });
  ASSERT_EQ(after.at("exit"), "0");

  const std::string message = c.message;
  EXPECT_EQ(after.at(through == Through::Editor ? "errors" : "error"),
            message.empty() ? (through == Through::Editor ? "" : "none") : message);
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
  EXPECT_EQ(Temporaries(root.path()), Names{});

  if (through == Through::ExportFunction) return;
  EXPECT_EQ(after.at("notices"), message.empty() ? "SHP files drawn." : "");
  if (!message.empty()) {
    EXPECT_EQ(after.at("error boxes"), message + ".");
  }
  // The command reads nothing of the map and gives the open dialog back.
  EXPECT_EQ(after.at("header"), before.at("header"));
  for (const char* key : kUntouchedByFailures) EXPECT_EQ(after.at(key), before.at(key)) << key;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ShpFaults,
    ::testing::Combine(
        ::testing::Values(
            ShpCase{"DiskFullOnTheSecondFile", Fault::DiskFull, 4096, "Disk full", {"Map4500.shp", "Map4600.shp"}},
            ShpCase{"RoomForEveryFile", Fault::DiskFull, 1 << 22, "",
                    {"Map4500.shp", "Map4501.shp", "Map4502.shp", "Map4600.shp"}},
            ShpCase{"ReadOnlyUserMap", Fault::ReadOnlyFolder, 0, "File access denied",
                    {"Map4599.shp", "Map4600.shp"}},
            ShpCase{"MissingUserMap", Fault::MissingFolder, 0, "Invalid filename", {}}),
        ::testing::Values(Through::Editor, Through::ExportFunction)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + ThroughName(std::get<1>(info.param));
    });

}  // namespace
}  // namespace kxc2::test
