// Save .MAP when the write fails: through the editor's Save with its
// dialogs answered by script, and through the core writer beneath it.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/io_error.h"
#include "core/map_file.h"
#include "tests/hardening/command_faults.h"
#include "tests/hardening/fault_support.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;

struct SaveCase {
  const char* name;
  Fault fault;
  long sizeLimit;
  const char* target;   // below the game folder
  bool writableOldFile; // the old file itself may be written by anyone
  const char* message;  // "" for a save that must succeed
};

void PrintTo(const SaveCase& c, std::ostream* out) { *out << c.name; }

class SaveFaults : public FaultTest, public ::testing::WithParamInterface<SaveCase> {
 protected:
  // New, something painted, and Save of it as scenario/Carte.map with map
  // number 45: the state before the command under test.
  void SetUp() override {
    startWithGame();
    editor->New1Click();
    grid().setTerrain(3, 4, 7);
    grid().setRoadMask(3, 4, 9);
    editor->RedrawView();
    fs::create_directories(gamePath() / "scenario");
    okParameters(45, 44, 39);
    chooseSave(gameFolder() + "scenario/Carte.map");
    editor->SaveAs1Click();
    ASSERT_EQ(Joined(shell.errors), "");
    shell.clear();
  }
};

TEST_P(SaveFaults, OldFileKeptNothingLeftCaptionKeptHeaderTakesTheDialog) {
  const SaveCase& c = GetParam();
  const fs::path old = gamePath() / "scenario" / "Carte.map";
  const auto oldBytes = ReadBytes(old);
  // Edited since: the failed save must not take the edit with it either.
  grid().setTerrain(5, 6, 2);
  editor->RedrawHex(5, 6);

  if (c.fault == Fault::ReadOnlyFolder) {
    OpenForNobody(old);
    if (c.writableOldFile) fs::permissions(old, fs::perms::others_write, fs::perm_options::add);
    MakeReadOnlyFolder(gamePath() / "scenario");
  }
  okParameters(60, 30, 20);
  chooseSave(gameFolder() + c.target);
  const Report after = runFaulty(c.fault, c.sizeLimit, [this] { editor->SaveAs1Click(); });

  ASSERT_EQ(after.at("exit"), "0");
  // The dialog's values stand whatever became of the file.
  EXPECT_EQ(after.at("header"), "60 30 20");
  EXPECT_EQ(after.at("errors"), c.message);
  if (*c.message == '\0') {
    EXPECT_EQ(after.at("caption"), fs::path(c.target).stem().string() + " - 30W x 20H - No. 60");
    EXPECT_EQ(ReadBytes(gamePath() / c.target).size(), kMapFileSize);
  } else {
    EXPECT_EQ(after.at("kept"), "yes");
    EXPECT_EQ(ReadBytes(old), oldBytes);
    EXPECT_EQ(Tree(gamePath()), (Names{"UserBMP/", "UserMap/", "scenario/", "scenario/Carte.map"}));
  }
  EXPECT_EQ(after.at("notices"), "");
  EXPECT_EQ(Temporaries(root()), Names{});
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SaveFaults,
    ::testing::Values(
        SaveCase{"DiskFullAtOnce", Fault::DiskFull, 0, "scenario/Carte.map", false, "Disk full"},
        SaveCase{"DiskFullPartWay", Fault::DiskFull, 4096, "scenario/Carte.map", false, "Disk full"},
        SaveCase{"DiskFullOneByteShort", Fault::DiskFull, 14560, "scenario/Carte.map", false, "Disk full"},
        SaveCase{"DiskFullNewName", Fault::DiskFull, 4096, "scenario/Autre.map", false, "Disk full"},
        SaveCase{"RoomForExactlyTheFile", Fault::DiskFull, 14561, "scenario/Carte.map", false, ""},
        SaveCase{"ReadOnlyFolderOverOldFile", Fault::ReadOnlyFolder, 0, "scenario/Carte.map", false,
                 "File access denied"},
        SaveCase{"ReadOnlyFolderOverWritableOldFile", Fault::ReadOnlyFolder, 0, "scenario/Carte.map", true,
                 "File access denied"},
        SaveCase{"ReadOnlyFolderNewName", Fault::ReadOnlyFolder, 0, "scenario/Autre.map", false,
                 "File access denied"},
        SaveCase{"MissingFolders", Fault::MissingFolder, 0, "missing/deeper/Autre.map", false, "Invalid filename"}),
    [](const auto& info) { return std::string(info.param.name); });

// A failed Save that New's question started stops New: the map stays.
TEST_F(SaveFaults, DiskFullInsideTheSaveFirstQuestionStopsNew) {
  const auto oldBytes = ReadBytes(gamePath() / "scenario" / "Carte.map");
  shell.confirmAnswers.push_back(Answer::Yes);
  okParameters(33, 20, 15);
  chooseSave(gameFolder() + "scenario/Carte.map");
  const Report after = runFaulty(Fault::DiskFull, 4096, [this] { editor->New1Click(); });
  ASSERT_EQ(after.at("exit"), "0");
  EXPECT_EQ(after.at("confirms"), "Do you want to save this map before starting a new one?");
  EXPECT_EQ(after.at("errors"), "Disk full");
  EXPECT_EQ(after.at("header"), "33 20 15");
  EXPECT_EQ(after.at("kept"), "yes");
  EXPECT_EQ(ReadBytes(gamePath() / "scenario" / "Carte.map"), oldBytes);
  EXPECT_EQ(Temporaries(root()), Names{});
}

// The writer beneath Save where a folder on the path is none (disk full and
// read-only folders: SaveFaults above and tests/core/map_file_test.cpp).
TEST(CoreWriterFaults, APathThroughAFileOrALoopIsAnInvalidFilename) {
  TempDir dir;
  const std::string target = dir.file("old.map");
  MapDocument oldDocument;
  oldDocument.header = {50, 20, 15};
  WriteMapFile(target, oldDocument);
  const auto oldBytes = ReadBytes(target);
  const auto codeOf = [](const std::string& path) {
    try {
      WriteMapFile(path, MapDocument{{60, 30, 20}, {}});
    } catch (const IoError& error) {
      return error.code();
    }
    return 0;
  };
  EXPECT_EQ(codeOf(target + "/new.map"), kIoInvalidFilename);
  fs::create_symlink("loop", dir.path() / "loop");
  EXPECT_EQ(codeOf(dir.file("loop/new.map")), kIoInvalidFilename);
  EXPECT_EQ(ReadBytes(target), oldBytes);
  EXPECT_EQ(Tree(dir.path()), (Names{"loop@", "old.map"}));
}

}  // namespace
}  // namespace kxc2::test
