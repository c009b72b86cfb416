// Game folders as users (and accidents) leave them: UserBMP or UserMap an
// ordinary file, symbolic links that loop or lead nowhere, folders named
// like pictures, names with spaces and accents, settings that point
// nowhere. Through start-up, Paint .BMPs, Draw .SHPs, Open and Save.
// Nothing may crash or report success for a failure.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/map_file.h"
#include "export/bmp_reader.h"
#include "export/bmp_writer.h"
#include "tests/hardening/command_faults.h"
#include "tests/hardening/fault_support.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;

const char* const kPainted = "Bitmaps painted.  If you haven't already done so, you should save your map now.";
const char* const kAccentedGame = "Mes Jeux/Korvex \xC3\x84";             // "Korvex Ä"
const char* const kAccentedProgram = "Program Files/\xC3\x89" "diteur";  // "Éditeur"
const char* const kAccentedMap = "Carte \xC3\xA9t\xC3\xA9";               // "Carte été"

void File(const fs::path& path, const std::string& text = "keep") { WriteBytes(path, Bytes(text)); }
// Without following links, which may loop.
bool IsRealFolder(const fs::path& path) {
  std::error_code error;
  return fs::symlink_status(path, error).type() == fs::file_type::directory;
}
bool IsRealFile(const fs::path& path) {
  std::error_code error;
  return fs::symlink_status(path, error).type() == fs::file_type::regular;
}
void Link(const fs::path& path, const std::string& target) { fs::create_symlink(target, path); }

// ---- Start-up ---------------------------------------------------------------

struct StartupCase {
  const char* name;
  void (*setup)(const fs::path& game);
  Names gameTreeAfter;  // empty: the game folder does not exist
  const char* gameName = "game";
  const char* settingsValue = nullptr;  // below the temporary folder; nullptr: the game folder
};
void PrintTo(const StartupCase& c, std::ostream* out) { *out << c.name; }

class HostileStartup : public FaultTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(HostileStartup, StartsSilentlyAndLeavesWhatIsInTheWayAlone) {
  const StartupCase& c = GetParam();
  gameName = c.gameName;
  if (!c.gameTreeAfter.empty()) fs::create_directories(gamePath());
  c.setup(gamePath());
  const std::string value = c.settingsValue ? root().string() + "/" + c.settingsValue : gameFolder();
  writeGameSetting(value);
  start();
  EXPECT_EQ(editor->gameFolder(), value);
  EXPECT_EQ(Joined(shell.errors), "");
  EXPECT_TRUE(shell.openShown.empty());
  if (c.gameTreeAfter.empty()) {
    EXPECT_FALSE(IsRealFolder(gamePath()));
  } else {
    EXPECT_EQ(Tree(gamePath()), c.gameTreeAfter);
  }
  if (IsRealFile(gamePath())) {
    EXPECT_EQ(ReadBytes(gamePath()), Bytes("keep"));
  }
  EXPECT_FALSE(shot().mapShown);
  EXPECT_EQ(editor->SaveDialog1.initialFolder, value + "scenario");
}

INSTANTIATE_TEST_SUITE_P(
    Folders, HostileStartup,
    ::testing::Values(
        StartupCase{"UserBMPIsAFile", [](const fs::path& g) { File(g / "UserBMP"); }, {"UserBMP", "UserMap/"}},
        StartupCase{"UserMapIsAFile", [](const fs::path& g) { File(g / "UserMap"); }, {"UserBMP/", "UserMap"}},
        StartupCase{"UserBMPLinksToItself", [](const fs::path& g) { Link(g / "UserBMP", "UserBMP"); },
                    {"UserBMP@", "UserMap/"}},
        StartupCase{"UserMapLinksToItself", [](const fs::path& g) { Link(g / "UserMap", "UserMap"); },
                    {"UserBMP/", "UserMap@"}},
        StartupCase{"UserMapLoopOfTwoLinks",
                    [](const fs::path& g) {
                      Link(g / "UserMap", "Other");
                      Link(g / "Other", "UserMap");
                    },
                    {"Other@", "UserBMP/", "UserMap@"}},
        StartupCase{"UserMapLinksNowhere", [](const fs::path& g) { Link(g / "UserMap", "gone"); },
                    {"UserBMP/", "UserMap@"}},
        StartupCase{"SpacesAndAccents", [](const fs::path&) {}, {"UserBMP/", "UserMap/"}, kAccentedGame},
        StartupCase{"SettingsPointIntoAFile", [](const fs::path& g) { File(g); }, {}, "afile", "afile/"}),
    [](const auto& info) { return std::string(info.param.name); });

// A first start in a folder with spaces and accents writes the settings so
// that the next start finds the same folder.
TEST_F(FaultTest, LocatedGameInAnAccentedFolderIsFoundAgain) {
  programName = kAccentedProgram;
  gameName = kAccentedGame;
  fs::create_directories(gamePath());
  choose({gameFolder() + "KORVEX2.EXE"});
  start();
  EXPECT_EQ(editor->gameFolder(), gameFolder());
  EXPECT_EQ(Text(ReadBytes(programPath() / "KXC2MAP.INI")), "[Locations]\r\nKC2=" + gameFolder() + "\r\n");
  start();
  EXPECT_EQ(shell.openShown.size(), 1u);
  EXPECT_EQ(editor->gameFolder(), gameFolder());
  EXPECT_EQ(Tree(gamePath()), (Names{"UserBMP/", "UserMap/"}));
}

// ---- Paint .BMPs -------------------------------------------------------------

struct PaintCase {
  const char* name;
  void (*setup)(const fs::path& game, const fs::path& program);
  const char* failsOn;   // piece (below the game folder) or tile set (below the program folder); "" for success
  Names userBmpAfter;    // Tree of UserBMP when it is a folder
  const char* gameName = "game";
};
void PrintTo(const PaintCase& c, std::ostream* out) { *out << c.name; }

class HostilePaint : public FaultTest, public ::testing::WithParamInterface<PaintCase> {};

TEST_P(HostilePaint, ErrorTextOrPiecesAndNothingElseTouched) {
  const PaintCase& c = GetParam();
  gameName = c.gameName;
  programName = c.gameName == std::string(kAccentedGame) ? kAccentedProgram : "program";
  fs::create_directories(gamePath());
  fs::create_directories(programPath());
  c.setup(gamePath(), programPath());
  writeGameSetting(gameFolder());
  start();
  editor->New1Click();
  const Names gameBefore = Tree(gamePath());

  okParameters(45, 16, 11);
  editor->PaintBMPs1Click();
  EXPECT_EQ(editor->document().header, (MapHeader{45, 16, 11}));
  EXPECT_EQ(Joined(shell.notices), *c.failsOn ? "" : kPainted);
  std::string expected;
  if (std::string(c.failsOn).starts_with("UserBMP"))
    expected = "Cannot create file " + gameFolder() + c.failsOn;
  else if (*c.failsOn)
    expected = "Cannot open file " + programFolder() + c.failsOn;
  EXPECT_EQ(Joined(shell.errors), expected);
  EXPECT_EQ(Joined(shell.warnQuestions), "");
  if (IsRealFolder(gamePath() / "UserBMP")) {
    EXPECT_EQ(Tree(gamePath() / "UserBMP"), c.userBmpAfter);
  } else {
    EXPECT_EQ(Tree(gamePath()), gameBefore);
  }
  if (IsRealFile(gamePath() / "UserBMP")) {
    EXPECT_EQ(ReadBytes(gamePath() / "UserBMP"), Bytes("keep"));
  }
  EXPECT_EQ(Temporaries(root()), Names{});
}

const Names kPieces = {"Map4500.bmp", "Map4501.bmp", "Map4510.bmp", "Map4511.bmp"};

Names With(Names names, const std::string& extra) {
  names.push_back(extra);
  std::sort(names.begin(), names.end());
  return names;
}

void OneColourTiles(const fs::path& path) {
  Image tiles(765, 50, Image::Format_Indexed8);
  std::vector<Rgb> palette(256, MakeRgb(0, 0, 0));
  palette[3] = MakeRgb(1, 2, 3);
  tiles.setColorTable(palette);
  tiles.fill(3);
  SaveBmp8(path.string(), tiles);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, HostilePaint,
    ::testing::Values(
        PaintCase{"UserBMPIsAFile",
                  [](const fs::path& g, const fs::path&) {
                    fs::remove(g / "UserBMP");
                    File(g / "UserBMP");
                  },
                  "UserBMP/Map4500.bmp", {}},
        PaintCase{"UserBMPLinksToItself",
                  [](const fs::path& g, const fs::path&) {
                    fs::remove(g / "UserBMP");
                    Link(g / "UserBMP", "UserBMP");
                  },
                  "UserBMP/Map4500.bmp", {}},
        PaintCase{"UserBMPLinksNowhere",
                  [](const fs::path& g, const fs::path&) {
                    fs::remove(g / "UserBMP");
                    Link(g / "UserBMP", "gone");
                  },
                  "UserBMP/Map4500.bmp", {}},
        PaintCase{"FolderNamedLikeAnOldPiece",
                  [](const fs::path& g, const fs::path&) { fs::create_directories(g / "UserBMP" / "Map4599.bmp"); },
                  "", With(kPieces, "Map4599.bmp/")},
        PaintCase{"FolderNamedLikeTheSecondPiece",
                  [](const fs::path& g, const fs::path&) { fs::create_directories(g / "UserBMP" / "Map4501.bmp"); },
                  "UserBMP/Map4501.bmp", {"Map4500.bmp", "Map4501.bmp/"}},
        PaintCase{"PieceLinksToItself",
                  [](const fs::path& g, const fs::path&) {
                    fs::create_directories(g / "UserBMP");
                    Link(g / "UserBMP" / "Map4500.bmp", "Map4500.bmp");
                  },
                  "", kPieces},
        PaintCase{"TileSetIsAFolder",
                  [](const fs::path&, const fs::path& p) { fs::create_directory(p / "ST50x45.bmp"); }, "ST50x45.bmp",
                  {}},
        PaintCase{"SpacesAndAccents", [](const fs::path&, const fs::path& p) { OneColourTiles(p / "ST50x45.bmp"); },
                  "", kPieces, kAccentedGame}),
    [](const auto& info) { return std::string(info.param.name); });

// The tile set beside a program in an accented folder is the one painted.
TEST_F(FaultTest, TileSetBesideAnAccentedProgramIsUsed) {
  programName = kAccentedProgram;
  gameName = kAccentedGame;
  fs::create_directories(programPath());
  OneColourTiles(programPath() / "ST50x45.bmp");
  startWithGame();
  editor->New1Click();
  okParameters(45, 16, 11);
  editor->PaintBMPs1Click();
  ASSERT_EQ(Joined(shell.notices), kPainted);
  const Image piece = ReadIndexedBmp(ReadBytes(gamePath() / "UserBMP" / "Map4511.bmp"), "Map4511.bmp");
  ASSERT_EQ(piece.size(), Size(6, 45));
  EXPECT_EQ(piece.pixelIndex(5, 44), 3);
  EXPECT_EQ(piece.color(3), MakeRgb(1, 2, 3));
}

// ---- Draw .SHPs ----------------------------------------------------------------

struct ShpCase {
  const char* name;
  void (*setup)(const fs::path& game, const fs::path& pictures);
  Names inputs;           // below the pictures folder
  const char* message;    // "Cannot open file " is followed by the failing input's path; "" for success
  Names userMapAfter;     // Tree of UserMap when it is a folder
  const char* gameName = "game";
};
void PrintTo(const ShpCase& c, std::ostream* out) { *out << c.name; }

class HostileShp : public FaultTest, public ::testing::WithParamInterface<ShpCase> {};

TEST_P(HostileShp, ErrorTextOrFilesAndNothingElseTouched) {
  const ShpCase& c = GetParam();
  gameName = c.gameName;
  fs::create_directories(gamePath());
  const fs::path pictures = root() / (c.gameName == std::string(kAccentedGame) ? "Images \xC3\xA0 moi" : "pictures");
  fs::create_directories(pictures);
  for (const char* name : {"Map4500.bmp", "Map4501.bmp", "Map4500 \xC3\xA9t\xC3\xA9.bmp"})
    writeBitmap(pictures / name, 8, 4);
  c.setup(gamePath(), pictures);
  writeGameSetting(gameFolder());
  start();
  const Names gameBefore = Tree(gamePath());
  std::vector<std::string> inputs;
  for (const std::string& name : c.inputs) inputs.push_back((pictures / name).string());

  choose(inputs);
  editor->WriteSHPs1Click();
  EXPECT_EQ(Joined(shell.notices), *c.message ? "" : "SHP files drawn.");
  std::string expected = c.message;
  if (expected == "Cannot open file ") expected += (pictures / c.inputs.back()).string();
  EXPECT_EQ(Joined(shell.errors), expected);
  EXPECT_EQ(Joined(shell.warnQuestions), "");
  if (IsRealFolder(gamePath() / "UserMap")) {
    EXPECT_EQ(Tree(gamePath() / "UserMap"), c.userMapAfter);
  } else {
    EXPECT_EQ(Tree(gamePath()), gameBefore);
  }
  if (IsRealFile(gamePath() / "UserMap")) {
    EXPECT_EQ(ReadBytes(gamePath() / "UserMap"), Bytes("keep"));
  }
  EXPECT_EQ(Temporaries(root()), Names{});
}

INSTANTIATE_TEST_SUITE_P(
    Folders, HostileShp,
    ::testing::Values(
        ShpCase{"UserMapIsAFile", [](const fs::path& g, const fs::path&) { File(g / "UserMap"); }, {"Map4500.bmp"},
                "Invalid filename", {}},
        ShpCase{"UserMapLinksToItself", [](const fs::path& g, const fs::path&) { Link(g / "UserMap", "UserMap"); },
                {"Map4500.bmp"}, "Invalid filename", {}},
        ShpCase{"UserMapLoopOfTwoLinks",
                [](const fs::path& g, const fs::path&) {
                  Link(g / "UserMap", "Other");
                  Link(g / "Other", "UserMap");
                },
                {"Map4500.bmp"}, "Invalid filename", {}},
        ShpCase{"UserMapLinksNowhere", [](const fs::path& g, const fs::path&) { Link(g / "UserMap", "gone"); },
                {"Map4500.bmp"}, "Invalid filename", {}},
        ShpCase{"InputIsAFolder", [](const fs::path&, const fs::path& p) { fs::create_directory(p / "Map4502.bmp"); },
                {"Map4500.bmp", "Map4502.bmp"}, "Cannot open file ", {"Map4500.shp"}},
        ShpCase{"InputLinksToItself", [](const fs::path&, const fs::path& p) { Link(p / "Map4502.bmp", "Map4502.bmp"); },
                {"Map4500.bmp", "Map4502.bmp"}, "Cannot open file ", {"Map4500.shp"}},
        ShpCase{"OutputLinksToItself",
                [](const fs::path& g, const fs::path&) {
                  fs::create_directories(g / "UserMap");
                  Link(g / "UserMap" / "Map4500.shp", "Map4500.shp");
                },
                {"Map4500.bmp", "Map4501.bmp"}, "", {"Map4500.shp", "Map4501.shp"}},
        ShpCase{"FolderNamedLikeAnOldShp",
                [](const fs::path& g, const fs::path&) { fs::create_directories(g / "UserMap" / "Map4599.shp"); },
                {"Map4500.bmp"}, "", {"Map4500.shp", "Map4599.shp/"}},
        ShpCase{"FolderNamedLikeTheOutput",
                [](const fs::path& g, const fs::path&) { fs::create_directories(g / "UserMap" / "Map4501.shp"); },
                {"Map4500.bmp", "Map4501.bmp"}, "Invalid filename", {"Map4500.shp", "Map4501.shp/"}},
        ShpCase{"SpacesAndAccents", [](const fs::path&, const fs::path&) {},
                {"Map4500 \xC3\xA9t\xC3\xA9.bmp", "Map4501.bmp"}, "", {"Map4500 \xC3\xA9t\xC3\xA9.shp", "Map4501.shp"},
                kAccentedGame}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Open and Save -------------------------------------------------------------

class HostileDocument : public FaultTest {
 protected:
  void SetUp() override {
    gameName = kAccentedGame;
    startWithGame();
    fs::create_directories(scenario());
  }
  fs::path scenario() const { return gamePath() / "scenario"; }
  std::string inScenario(const std::string& name) const { return (scenario() / name).string(); }

  // Open of path must fail with message and change nothing.
  void expectOpenFails(const std::string& path, const std::string& message) {
    const MapHeader header = editor->document().header;
    choose({path});
    const Report after = runFaulty(Fault::None, 0, [this] { editor->Open1Click(); });
    EXPECT_EQ(after.at("errors"), message) << path;
    EXPECT_EQ(after.at("kept"), "yes") << path;
    EXPECT_EQ(after.at("header"), std::to_string(header.mapNumber) + " " + std::to_string(header.columns) + " " +
                                      std::to_string(header.rows))
        << path;
    shell.openChoices.clear();
  }
};

TEST_F(HostileDocument, OpenOfWhatIsNoMapFileFailsAndChangesNothing) {
  fs::create_directory(scenario() / "Dossier.map");
  Link(scenario() / "Boucle.map", "Boucle.map");
  Link(scenario() / "Nulle part.map", "gone.map");
  File(gamePath() / "afile");
  for (const bool mapFirst : {false, true}) {
    SCOPED_TRACE(mapFirst ? "over a map" : "at start");
    if (mapFirst) editor->New1Click(), shell.confirmAnswers.assign(4, Answer::No);
    expectOpenFails(inScenario("Dossier.map"), "Invalid filename");
    expectOpenFails(inScenario("Boucle.map"), "Invalid filename");
    expectOpenFails(inScenario("Nulle part.map"), "File not found");
    expectOpenFails(gameFolder() + "afile/x.map", "Invalid filename");
  }
  EXPECT_EQ(Tree(scenario()), (Names{"Boucle.map@", "Dossier.map/", "Nulle part.map@"}));
}

// A link that loops is replaced by the saved file, as any old file is; the
// loop is not followed.
TEST_F(HostileDocument, SaveOverALinkThatLoopsWritesTheFile) {
  editor->New1Click();
  Link(scenario() / "Boucle.map", "Boucle.map");
  okParameters(45, 20, 15);
  chooseSave(inScenario("Boucle.map"));
  editor->SaveAs1Click();
  EXPECT_EQ(Joined(shell.errors), "");
  EXPECT_EQ(shot().header[0], "Boucle - 20W x 15H - No. 45");
  EXPECT_EQ(Tree(scenario()), Names{"Boucle.map"});
  EXPECT_EQ(ReadBytes(scenario() / "Boucle.map").size(), kMapFileSize);
}

TEST_F(HostileDocument, AccentedNamesRoundTrip) {
  editor->New1Click();
  grid().setTerrain(7, 8, 12);
  const std::string path = inScenario(std::string(kAccentedMap) + ".map");
  okParameters(45, 20, 15);
  chooseSave(path);
  editor->SaveAs1Click();
  ASSERT_EQ(Joined(shell.errors), "");
  const std::string caption = std::string(kAccentedMap) + " - 20W x 15H - No. 45";
  EXPECT_EQ(shot().header[0], caption);
  grid().setTerrain(7, 8, 0);
  shell.confirmAnswers.push_back(Answer::No);
  choose({path});
  editor->Open1Click();
  EXPECT_EQ(Joined(shell.errors), "");
  EXPECT_EQ(shot().header[0], caption);
  EXPECT_EQ(grid().terrain(7, 8), 12);
  EXPECT_EQ(shell.openShown.back().initialFolder, gameFolder() + "scenario");
}

TEST_F(FaultTest, SettingsPointingNowhereStillOpenAndSaveElsewhere) {
  writeGameSetting(root().string() + "/gone/");
  start();
  editor->New1Click();
  okParameters(45, 20, 15);
  chooseSave(root().string() + "/saved.map");
  editor->SaveAs1Click();
  EXPECT_EQ(Joined(shell.errors), "");
  shell.confirmAnswers.push_back(Answer::No);
  choose({root().string() + "/saved.map"});
  editor->Open1Click();
  EXPECT_EQ(Joined(shell.errors), "");
  EXPECT_EQ(shell.openShown.back().initialFolder, root().string() + "/gone/scenario");
  EXPECT_EQ(shot().header[0], "saved - 20W x 15H - No. 45");
  EXPECT_FALSE(fs::exists(root() / "gone"));
}

// ---- Named pipes under the names of files ---------------------------------------
// Opening a pipe waits for a writer that never comes; the program must
// refuse it at once rather than hang.

TEST_F(HostileDocument, OpenOfAPipeFailsAtOnce) {
  const PipeWithWatchdog pipe(scenario() / "Tube.map");
  expectOpenFails(inScenario("Tube.map"), "Invalid filename");
  EXPECT_FALSE(pipe.hung());
}

TEST_F(FaultTest, PipeChosenForConversionFailsAtOnce) {
  startWithGame();
  writeBitmap(root() / "Map4500.bmp", 8, 4);
  const PipeWithWatchdog pipe(root() / "Map4501.bmp");
  choose({(root() / "Map4500.bmp").string(), (root() / "Map4501.bmp").string()});
  editor->WriteSHPs1Click();
  EXPECT_EQ(Joined(shell.errors), "Cannot open file " + (root() / "Map4501.bmp").string());
  EXPECT_EQ(Tree(gamePath() / "UserMap"), Names{"Map4500.shp"});
  EXPECT_FALSE(pipe.hung());
}

TEST_F(FaultTest, PipeInPlaceOfTheTileSetFailsAtOnce) {
  startWithGame();
  const PipeWithWatchdog pipe(programPath() / "ST50x45.bmp");
  editor->New1Click();
  okParameters(45, 16, 11);
  editor->PaintBMPs1Click();
  EXPECT_EQ(Joined(shell.errors), "Cannot open file " + programFolder() + "ST50x45.bmp");
  EXPECT_EQ(Tree(gamePath() / "UserBMP"), Names{});
  EXPECT_FALSE(pipe.hung());
}

}  // namespace
}  // namespace kxc2::test
