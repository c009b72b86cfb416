// kxc2tool.exe under Wine against the Linux kxc2tool: the same files, texts
// and exit codes from the same commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "tests/support/child_process.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;

const fs::path kSamples = KXC2_SAMPLES_DIR;

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Console text arrives with CR LF from Windows programs.
std::string WithoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

std::string ReadText(const fs::path& path) {
  const std::vector<std::uint8_t> bytes = fs::exists(path) ? ReadBytes(path) : std::vector<std::uint8_t>{};
  return std::string(bytes.begin(), bytes.end());
}

// Every file under folder, by its path relative to it.
std::map<std::string, std::vector<std::uint8_t>> FilesUnder(const fs::path& folder) {
  std::map<std::string, std::vector<std::uint8_t>> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).string()] = ReadBytes(entry.path());
  return files;
}

std::vector<std::string> NamesOf(const std::map<std::string, std::vector<std::uint8_t>>& files) {
  std::vector<std::string> names;
  for (const auto& entry : files) names.push_back(entry.first);
  return names;
}

class ToolUnderWine : public ::testing::Test {
 protected:
  // One prefix for the suite (a fresh one takes seconds), with a server that
  // stays up, so no Wine process is started under a test's limits.
  static void SetUpTestSuite() {
    prefix_ = new TempDir;
    fs::create_directory(prefix_->path() / "wine");
    // Making the prefix goes on in the background; wait until it is done.
    Run(std::string(KXC2_WINE), {"wineboot", "--init"}, prefix_->path());
    Run(std::string(KXC2_WINESERVER), {"-w"}, prefix_->path());
    Run(std::string(KXC2_WINESERVER), {"-p"}, prefix_->path());
  }
  static void TearDownTestSuite() {
    Run(std::string(KXC2_WINESERVER), {"-k"}, prefix_->path());
    delete prefix_;
    prefix_ = nullptr;
  }

  static std::vector<std::string> Environment() {
    return {"WINEPREFIX=" + (prefix_->path() / "wine").string(), "WINEDEBUG=-all",
            // No Mono or Gecko questions while the prefix is made.
            "WINEDLLOVERRIDES=mscoree,mshtml=", "PATH=/usr/bin:/bin", "LANG=C.UTF-8",
            "HOME=" + prefix_->path().string()};
  }

  // With a limit, no file the program writes may grow beyond it, as on a
  // disk that fills part way.
  static Outcome Run(const std::string& program, const std::vector<std::string>& args, const fs::path& folder,
                     long limit = 0) {
    // Beside the folder, so that listings of it stay the program's own.
    const fs::path out = folder.string() + ".stdout";
    const fs::path err = folder.string() + ".stdout.err";
    ProgramStart start;
    start.arguments = {program};
    start.arguments.insert(start.arguments.end(), args.begin(), args.end());
    start.folder = folder.string();
    start.environment = Environment();
    start.output_file = out.string();
    start.timeout = std::chrono::seconds(60);
    const int exitCode = limit > 0 ? RunWithFileSizeLimit(limit, [&] { return RunProgram(start).exit_code; })
                                   : RunProgram(start).exit_code;
    Outcome outcome{exitCode, WithoutCarriageReturns(ReadText(out)), WithoutCarriageReturns(ReadText(err))};
    fs::remove(out);
    fs::remove(err);
    return outcome;
  }

  static Outcome RunLinux(const std::vector<std::string>& args, const fs::path& folder, long limit = 0) {
    return Run(KXC2TOOL_PATH, args, folder, limit);
  }
  static Outcome RunWindows(const std::vector<std::string>& args, const fs::path& folder, long limit = 0) {
    std::vector<std::string> wineArgs{KXC2_TOOL_EXE};
    wineArgs.insert(wineArgs.end(), args.begin(), args.end());
    return Run(KXC2_WINE, wineArgs, folder, limit);
  }

  // A folder for each build with the samples and a game folder in it.
  void SetUp() override {
    for (const fs::path& folder : {linux_.path(), windows_.path()}) {
      fs::copy(kSamples, folder);
      fs::create_directories(folder / "game" / "UserMap");
      fs::create_directories(folder / "game" / "UserBMP");
    }
  }

  static TempDir* prefix_;
  TempDir linux_;
  TempDir windows_;
};

TempDir* ToolUnderWine::prefix_ = nullptr;

TEST_F(ToolUnderWine, CommandsGiveTheLinuxBuildsFilesAndTexts) {
  // Each step works on what the steps before it left, as a user would go on.
  struct Step {
    std::vector<std::string> args;
    int exitCode;
  };
  const std::vector<Step> steps = {
      {{"--version"}, 0},
      {{"info", "coast44x39.map"}, 0},
      {{"info", "valley20x15.map"}, 0},
      {{"paint", "coast44x39.map", "--game-folder", "game", "--seed", "1", "--yes"}, 0},
      {{"paint", "valley20x15.map", "--game-folder", "game", "--map-number", "41", "--winter", "--seed", "1"}, 0},
      {{"preview", "coast44x39.map", "coast.png", "--seed", "1"}, 0},
      {{"preview", "valley20x15.map", "valley.png", "--winter", "--seed", "7"}, 0},
      // Over an existing file.
      {{"preview", "valley20x15.map", "coast.png", "--seed", "2"}, 0},
      {{"shp", "game/UserBMP/Map4000.bmp", "game/UserBMP/Map4024.bmp", "--game-folder", "game", "--yes"}, 0},
      {{"unshp", "game/UserMap/Map4000.shp", "back.bmp"}, 0},
      {{"info", "missing.map"}, 1},
      {{"info", "nowhere/missing.map"}, 1},
      {{"info", "game"}, 1},
      {{"unshp", "coast44x39.map", "out.bmp"}, 1},
      {{"unshp", "game/UserMap/Map4000.shp", "nowhere/out.bmp"}, 1},
      {{"shp", "game/UserBMP/Map4000.bmp", "--game-folder", "nowhere"}, 1},
      // No terminal to answer the overwrite questions on.
      {{"shp", "game/UserBMP/Map4000.bmp", "--game-folder", "game"}, 1},
      {{"paint", "coast44x39.map", "--game-folder", "game", "--seed", "1"}, 1},
      {{"preview", "coast44x39.map"}, 2},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(testing::PrintToString(step.args));
    const Outcome expected = RunLinux(step.args, linux_.path());
    ASSERT_EQ(expected.exitCode, step.exitCode) << expected.err;
    const Outcome got = RunWindows(step.args, windows_.path());
    EXPECT_EQ(got.exitCode, expected.exitCode);
    EXPECT_EQ(got.err, expected.err);
    // paint and shp list the files they wrote, with the system's separators.
    std::string out = got.out;
    std::replace(out.begin(), out.end(), '\\', '/');
    EXPECT_EQ(out, expected.out);
  }
  const auto written = FilesUnder(windows_.path());
  const auto expected = FilesUnder(linux_.path());
  ASSERT_EQ(NamesOf(written), NamesOf(expected));
  for (const auto& [name, bytes] : expected) EXPECT_TRUE(written.at(name) == bytes) << name << " differs";
}

// Names in other scripts reach the files, the folder listing and the output.
TEST_F(ToolUnderWine, NamesInAnyLanguage) {
  const fs::path root = windows_.path();
  const std::string map = "Карта-Ζ-地図.map";
  const std::string game = "Spielordner-ä";
  fs::copy_file(root / "valley20x15.map", root / fs::u8path(map));
  fs::create_directories(root / fs::u8path(game) / "UserMap");
  fs::create_directories(root / fs::u8path(game) / "UserBMP");

  Outcome run = RunWindows({"info", map}, root);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, RunLinux({"info", "valley20x15.map"}, root).out);

  run = RunWindows({"paint", map, "--game-folder", game, "--map-number", "40", "--seed", "1"}, root);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const fs::path pieces = root / fs::u8path(game) / "UserBMP";
  ASSERT_TRUE(fs::exists(pieces / "Map4000.bmp"));
  fs::rename(pieces / "Map4000.bmp", pieces / fs::u8path("Map4000-ñ.bmp"));

  run = RunWindows({"shp", game + "/UserBMP/Map4000-ñ.bmp", "--game-folder", game}, root);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, game + "\\UserMap\\Map4000-ñ.shp\n");
  const fs::path shp = root / fs::u8path(game) / "UserMap" / fs::u8path("Map4000-ñ.shp");
  ASSERT_TRUE(fs::exists(shp));

  run = RunWindows({"unshp", game + "\\UserMap\\Map4000-ñ.shp", "Bild-ß.bmp"}, root);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(fs::exists(root / fs::u8path("Bild-ß.bmp")));

  run = RunWindows({"info", "Карта-не-там.map"}, root);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "kxc2tool: Карта-не-там.map: File not found\n");
}

// The command prompt leaves wildcards to the program, as every Windows
// program expands them.
TEST_F(ToolUnderWine, WildcardsAreExpanded) {
  const fs::path root = windows_.path();
  ASSERT_EQ(RunLinux({"paint", "valley20x15.map", "--game-folder", "game", "--map-number", "41", "--seed", "1"}, root)
                .exitCode,
            0);
  const Outcome run = RunWindows({"shp", "game\\UserBMP\\Map41??.bmp", "--game-folder", "game"}, root);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // In the order the folder lists them, which need not be sorted.
  std::vector<std::string> written;
  for (std::size_t start = 0, end; (end = run.out.find('\n', start)) != std::string::npos; start = end + 1)
    written.push_back(run.out.substr(start, end - start));
  std::sort(written.begin(), written.end());
  std::vector<std::string> expected;
  for (const std::string& name : ListFolder(root / "game" / "UserBMP"))
    expected.push_back("game\\UserMap\\" + name.substr(0, name.find('.')) + ".shp");
  EXPECT_EQ(written, expected);
  EXPECT_EQ(ListFolder(root / "game" / "UserMap").size(), ListFolder(root / "game" / "UserBMP").size());
}

// A disk that fills part way through: the old file stays whole and no
// temporary is left. Wine reports a write beyond the size limit as a
// general failure, not as a full disk, so only the reason may differ.
TEST_F(ToolUnderWine, AFailedWriteLeavesTheOldFileWhole) {
  const std::vector<std::uint8_t> old{'o', 'l', 'd'};
  const std::vector<std::string> preview{"preview", "coast44x39.map", "picture.png", "--seed", "1"};
  for (const fs::path& folder : {linux_.path(), windows_.path()}) WriteBytes(folder / "picture.png", old);
  const auto before = ListFolder(windows_.path());
  const Outcome expected = RunLinux(preview, linux_.path(), 4096);
  const Outcome got = RunWindows(preview, windows_.path(), 4096);
  EXPECT_EQ(got.exitCode, 1);
  EXPECT_EQ(got.exitCode, expected.exitCode);
  EXPECT_EQ(got.err.substr(0, got.err.rfind(": ")), expected.err.substr(0, expected.err.rfind(": ")));
  EXPECT_EQ(ReadBytes(windows_.path() / "picture.png"), old);
  EXPECT_EQ(ListFolder(windows_.path()), before);
}

}  // namespace
}  // namespace kxc2::test
