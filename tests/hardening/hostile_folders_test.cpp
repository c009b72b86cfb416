// Game folders as users (and accidents) leave them: UserBMP or UserMap an
// ordinary file, symbolic links that loop or lead nowhere, folders named
// like pictures, names with spaces and accents, settings that point
// nowhere. Through start-up, Paint .BMPs, Draw .SHPs, Open and Save, and
// the export functions. Nothing may crash or report success for a failure.
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "core/map_file.h"
#include "export/map_painter.h"
#include "export/shp_conversion.h"
#include "tests/export/painter/painter_fixtures.h"
#include "tests/hardening/command_faults.h"
#include "tests/hardening/fault_support.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

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

enum class Through { Editor, ExportFunction };
std::string ThroughName(Through through) { return through == Through::Editor ? "Editor" : "Export"; }
void PrintTo(Through through, std::ostream* out) { *out << ThroughName(through); }

// ---- Start-up ---------------------------------------------------------------

struct StartupCase {
  const char* name;
  void (*setup)(const fs::path& game);
  Names gameTreeAfter;  // empty: the game folder does not exist
  const char* gameName = "game";
  const char* settingsValue = nullptr;  // below the temporary folder; nullptr: the game folder
};
void PrintTo(const StartupCase& c, std::ostream* out) { *out << c.name; }

class HostileStartup : public EditorFaultTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(HostileStartup, StartsSilentlyAndLeavesWhatIsInTheWayAlone) {
  const StartupCase& c = GetParam();
  gameName = c.gameName;
  if (!c.gameTreeAfter.empty()) fs::create_directories(gamePath());
  c.setup(gamePath());
  const std::string value = c.settingsValue ? root.folder() + c.settingsValue : gameFolder();
  writeSettings(value);
  start();
  EXPECT_EQ(form->GameFolder().toStdString(), value);
  EXPECT_EQ(Joined(dialogs.errors), "");
  EXPECT_TRUE(dialogs.openShown.empty());
  if (c.gameTreeAfter.empty()) {
    EXPECT_FALSE(IsRealFolder(gamePath()));
  } else {
    EXPECT_EQ(Tree(gamePath()), c.gameTreeAfter);
  }
  if (IsRealFile(gamePath())) {
    EXPECT_EQ(ReadBytes(gamePath()), Bytes("keep"));
  }
  const Report state = EditorState(*form);
  EXPECT_EQ(state.at("map shown"), "no");
  EXPECT_EQ(state.at("save enabled"), "no");
  EXPECT_EQ(state.at("paint enabled"), "no");
  EXPECT_EQ(state.at("shps enabled"), "yes");
  EXPECT_EQ(state.at("view"), "yes 0,0 -1,-1 no");
  EXPECT_EQ(form->SaveDialog1.initialFolder, value + "scenario");
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
        StartupCase{"SettingsPointNowhere", [](const fs::path&) {}, {}, "gone/deeper", "gone/deeper/"},
        StartupCase{"SettingsPointIntoAFile", [](const fs::path& g) { File(g); }, {}, "afile", "afile/"}),
    [](const auto& info) { return std::string(info.param.name); });

// A first start in a folder with spaces and accents writes the settings so
// that the next start finds the same folder.
TEST_F(EditorFaultTest, LocatedGameInAnAccentedFolderIsFoundAgain) {
  programName = kAccentedProgram;
  gameName = kAccentedGame;
  fs::create_directories(gamePath());
  choose({gameFolder() + "KORVEX2.EXE"});
  start();
  EXPECT_EQ(form->GameFolder().toStdString(), gameFolder());
  EXPECT_EQ(Text(ReadBytes(programPath() / "KXC2MAP.INI")), "[Locations]\r\nKC2=" + gameFolder() + "\r\n");
  form.reset();
  start();
  EXPECT_EQ(dialogs.openShown.size(), 1u);
  EXPECT_EQ(form->GameFolder().toStdString(), gameFolder());
  EXPECT_EQ(Tree(gamePath()), (Names{"UserBMP/", "UserMap/"}));
}

// ---- Paint .BMPs -------------------------------------------------------------

struct PaintCase {
  const char* name;
  void (*setup)(const fs::path& game, const fs::path& program);
  const char* failsOn;   // piece (below the game folder) or tile set (below the program folder); "" for success
  Names userBmpAfter;    // Tree of UserBMP when it is a folder
  const char* gameName = "game";
  const char* settingsValue = nullptr;
};
void PrintTo(const PaintCase& c, std::ostream* out) { *out << c.name; }

class HostilePaint : public EditorFaultTest, public ::testing::WithParamInterface<std::tuple<PaintCase, Through>> {};

TEST_P(HostilePaint, ErrorTextOrPiecesAndNothingElseTouched) {
  const auto& [c, through] = GetParam();
  gameName = c.gameName;
  programName = c.gameName == std::string(kAccentedGame) ? kAccentedProgram : "program";
  fs::create_directories(gamePath());
  fs::create_directories(programPath());
  c.setup(gamePath(), programPath());
  const std::string value = c.settingsValue ? root.folder() + c.settingsValue : gameFolder();
  writeSettings(value);
  start();
  form->New1Click();
  const Names gameBefore = Tree(gamePath());

  std::string error;
  QStringList warnings;
  if (through == Through::Editor) {
    answerParameters(true, 45, 16, 11);
    form->PaintBMPs1Click();
    error = Joined(dialogs.errors);
    warnings = dialogs.warnQuestions;
    EXPECT_EQ(form->document().header, (MapHeader{45, 16, 11}));
    EXPECT_EQ(Joined(dialogs.notices), *c.failsOn ? "" : kPainted);
  } else {
    PaintRequest request;
    request.mapNumber = 45;
    request.columns = 16;
    request.rows = 11;
    request.programFolder = programFolder();
    request.gameFolder = value;
    error = ErrorOf([&] {
      PaintMapBitmaps(form->document(), request, [&](const std::string& q) {
        warnings << QString::fromStdString(q);
        return true;
      });
    }, "");
  }

  std::string expected;
  if (std::string(c.failsOn).starts_with("UserBMP"))
    expected = "Cannot create file " + value + c.failsOn;
  else if (*c.failsOn)
    expected = "Cannot open file " + programFolder() + c.failsOn;
  EXPECT_EQ(error, expected);
  EXPECT_TRUE(warnings.isEmpty()) << Joined(warnings);
  if (IsRealFolder(gamePath() / "UserBMP")) {
    EXPECT_EQ(Tree(gamePath() / "UserBMP"), c.userBmpAfter);
  } else {
    EXPECT_EQ(Tree(gamePath()), gameBefore);
  }
  if (IsRealFile(gamePath() / "UserBMP")) {
    EXPECT_EQ(ReadBytes(gamePath() / "UserBMP"), Bytes("keep"));
  }
  EXPECT_EQ(Temporaries(root.path()), Names{});
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
  WriteBmpFile(path, tiles);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, HostilePaint,
    ::testing::Combine(
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
                      [](const fs::path& g, const fs::path&) {
                        fs::create_directories(g / "UserBMP" / "Map4599.bmp");
                      },
                      "", With(kPieces, "Map4599.bmp/")},
            PaintCase{"FolderNamedLikeTheSecondPiece",
                      [](const fs::path& g, const fs::path&) {
                        fs::create_directories(g / "UserBMP" / "Map4501.bmp");
                      },
                      "UserBMP/Map4501.bmp", {"Map4500.bmp", "Map4501.bmp/"}},
            PaintCase{"PieceLinksToItself",
                      [](const fs::path& g, const fs::path&) {
                        fs::create_directories(g / "UserBMP");
                        Link(g / "UserBMP" / "Map4500.bmp", "Map4500.bmp");
                      },
                      "", kPieces},
            PaintCase{"TileSetIsAFolder",
                      [](const fs::path&, const fs::path& p) { fs::create_directory(p / "ST50x45.bmp"); },
                      "ST50x45.bmp", {}},
            PaintCase{"SpacesAndAccents",
                      [](const fs::path&, const fs::path& p) { OneColourTiles(p / "ST50x45.bmp"); }, "", kPieces,
                      kAccentedGame},
            PaintCase{"SettingsPointNowhere", [](const fs::path&, const fs::path&) {}, "UserBMP/Map4500.bmp", {},
                      "game", "gone/"}),
        ::testing::Values(Through::Editor, Through::ExportFunction)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + ThroughName(std::get<1>(info.param));
    });

// The tile set beside a program in an accented folder is the one painted.
TEST_F(EditorFaultTest, TileSetBesideAnAccentedProgramIsUsed) {
  programName = kAccentedProgram;
  gameName = kAccentedGame;
  fs::create_directories(programPath());
  OneColourTiles(programPath() / "ST50x45.bmp");
  startWithGame();
  form->New1Click();
  answerParameters(true, 45, 16, 11);
  form->PaintBMPs1Click();
  ASSERT_EQ(Joined(dialogs.notices), kPainted);
  const QImage piece(QString::fromStdString((gamePath() / "UserBMP" / "Map4511.bmp").string()));
  ASSERT_EQ(piece.size(), QSize(6, 45));
  EXPECT_EQ(piece.pixelIndex(5, 44), 3);
  EXPECT_EQ(piece.color(3), qRgb(1, 2, 3));
}

// ---- Draw .SHPs ----------------------------------------------------------------

struct ShpCase {
  const char* name;
  void (*setup)(const fs::path& game, const fs::path& pictures);
  Names inputs;           // below the pictures folder
  const char* message;    // "Cannot open file " is followed by the failing input's path; "" for success
  Names userMapAfter;     // Tree of UserMap when it is a folder
  const char* gameName = "game";
  const char* settingsValue = nullptr;
};
void PrintTo(const ShpCase& c, std::ostream* out) { *out << c.name; }

class HostileShp : public EditorFaultTest, public ::testing::WithParamInterface<std::tuple<ShpCase, Through>> {};

TEST_P(HostileShp, ErrorTextOrFilesAndNothingElseTouched) {
  const auto& [c, through] = GetParam();
  gameName = c.gameName;
  fs::create_directories(gamePath());
  const fs::path pictures = root.path() / (c.gameName == std::string(kAccentedGame) ? "Images \xC3\xA0 moi" : "pictures");
  fs::create_directories(pictures);
  for (const char* name : {"Map4500.bmp", "Map4501.bmp", "Map4500 \xC3\xA9t\xC3\xA9.bmp"})
    writeBitmap(pictures / name, 8, 4);
  c.setup(gamePath(), pictures);
  const std::string value = c.settingsValue ? root.folder() + c.settingsValue : gameFolder();
  writeSettings(value);
  start();
  const Names gameBefore = Tree(gamePath());
  std::vector<std::string> inputs;
  for (const std::string& name : c.inputs) inputs.push_back((pictures / name).string());

  std::string error;
  QStringList warnings;
  if (through == Through::Editor) {
    choose(inputs);
    form->WriteSHPs1Click();
    error = Joined(dialogs.errors);
    warnings = dialogs.warnQuestions;
    EXPECT_EQ(Joined(dialogs.notices), *c.message ? "" : "SHP files drawn.");
    EXPECT_FALSE(form->OpenDialog1.multiSelect);
    EXPECT_EQ(form->OpenDialog1.filterIndex, 1);
  } else {
    error = ErrorOf([&] {
      ConvertBitmapsToShp(inputs, value, [&](const std::string& q) {
        warnings << QString::fromStdString(q);
        return true;
      });
    }, "");
  }

  std::string expected = c.message;
  if (expected == "Cannot open file ") expected += (pictures / c.inputs.back()).string();
  EXPECT_EQ(error, expected);
  EXPECT_TRUE(warnings.isEmpty()) << Joined(warnings);
  if (IsRealFolder(gamePath() / "UserMap")) {
    EXPECT_EQ(Tree(gamePath() / "UserMap"), c.userMapAfter);
  } else {
    EXPECT_EQ(Tree(gamePath()), gameBefore);
  }
  if (IsRealFile(gamePath() / "UserMap")) {
    EXPECT_EQ(ReadBytes(gamePath() / "UserMap"), Bytes("keep"));
  }
  EXPECT_EQ(Temporaries(root.path()), Names{});
}

INSTANTIATE_TEST_SUITE_P(
    Folders, HostileShp,
    ::testing::Combine(
        ::testing::Values(
            ShpCase{"UserMapIsAFile",
                    [](const fs::path& g, const fs::path&) { File(g / "UserMap"); },
                    {"Map4500.bmp"}, "Invalid filename", {}},
            ShpCase{"UserMapLinksToItself",
                    [](const fs::path& g, const fs::path&) { Link(g / "UserMap", "UserMap"); },
                    {"Map4500.bmp"}, "Invalid filename", {}},
            ShpCase{"UserMapLoopOfTwoLinks",
                    [](const fs::path& g, const fs::path&) {
                      Link(g / "UserMap", "Other");
                      Link(g / "Other", "UserMap");
                    },
                    {"Map4500.bmp"}, "Invalid filename", {}},
            ShpCase{"UserMapLinksNowhere",
                    [](const fs::path& g, const fs::path&) { Link(g / "UserMap", "gone"); },
                    {"Map4500.bmp"}, "Invalid filename", {}},
            ShpCase{"InputIsAFolder",
                    [](const fs::path&, const fs::path& p) { fs::create_directory(p / "Map4502.bmp"); },
                    {"Map4500.bmp", "Map4502.bmp"}, "Cannot open file ", {"Map4500.shp"}},
            ShpCase{"InputLinksToItself",
                    [](const fs::path&, const fs::path& p) { Link(p / "Map4502.bmp", "Map4502.bmp"); },
                    {"Map4500.bmp", "Map4502.bmp"}, "Cannot open file ", {"Map4500.shp"}},
            ShpCase{"OutputLinksToItself",
                    [](const fs::path& g, const fs::path&) {
                      fs::create_directories(g / "UserMap");
                      Link(g / "UserMap" / "Map4500.shp", "Map4500.shp");
                    },
                    {"Map4500.bmp", "Map4501.bmp"}, "", {"Map4500.shp", "Map4501.shp"}},
            ShpCase{"FolderNamedLikeAnOldShp",
                    [](const fs::path& g, const fs::path&) {
                      fs::create_directories(g / "UserMap" / "Map4599.shp");
                    },
                    {"Map4500.bmp"}, "", {"Map4500.shp", "Map4599.shp/"}},
            ShpCase{"FolderNamedLikeTheOutput",
                    [](const fs::path& g, const fs::path&) {
                      fs::create_directories(g / "UserMap" / "Map4501.shp");
                    },
                    {"Map4500.bmp", "Map4501.bmp"}, "Invalid filename", {"Map4500.shp", "Map4501.shp/"}},
            ShpCase{"SpacesAndAccents", [](const fs::path&, const fs::path&) {},
                    {"Map4500 \xC3\xA9t\xC3\xA9.bmp", "Map4501.bmp"}, "",
                    {"Map4500 \xC3\xA9t\xC3\xA9.shp", "Map4501.shp"}, kAccentedGame},
            ShpCase{"SettingsPointNowhere", [](const fs::path&, const fs::path&) {}, {"Map4500.bmp"},
                    "Invalid filename", {}, "game", "gone/"}),
        ::testing::Values(Through::Editor, Through::ExportFunction)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + ThroughName(std::get<1>(info.param));
    });

// ---- Open and Save -------------------------------------------------------------

class HostileDocument : public EditorFaultTest {
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
    const Report before = EditorState(*form);
    dialogs.errors.clear();
    choose({path});
    form->Open1Click();
    EXPECT_EQ(Joined(dialogs.errors), message) << path;
    const Report after = EditorState(*form);
    for (const char* key : kUntouchedByFailures) EXPECT_EQ(after.at(key), before.at(key)) << key;
    EXPECT_EQ(after.at("header"), before.at("header"));
  }
};

TEST_F(HostileDocument, OpenOfWhatIsNoMapFileFailsAndChangesNothing) {
  fs::create_directory(scenario() / "Dossier.map");
  Link(scenario() / "Boucle.map", "Boucle.map");
  Link(scenario() / "Nulle part.map", "gone.map");
  File(gamePath() / "afile");
  expectOpenFails(inScenario("Dossier.map"), "Invalid filename");
  expectOpenFails(inScenario("Boucle.map"), "Invalid filename");
  expectOpenFails(inScenario("Nulle part.map"), "File not found");
  expectOpenFails(gameFolder() + "afile/x.map", "Invalid filename");
  // The same once a map is present.
  form->New1Click();
  dialogs.confirmAnswers.assign(4, Answer::No);
  expectOpenFails(inScenario("Dossier.map"), "Invalid filename");
  expectOpenFails(inScenario("Boucle.map"), "Invalid filename");
  EXPECT_EQ(Tree(scenario()), (Names{"Boucle.map@", "Dossier.map/", "Nulle part.map@"}));
}

TEST_F(HostileDocument, SaveThroughAFileFailsAndKeepsTheCaption) {
  form->New1Click();
  File(gamePath() / "afile");
  answerParameters(true, 45, 20, 15);
  chooseSave(gameFolder() + "afile/x.map");
  form->SaveAs1Click();
  EXPECT_EQ(Joined(dialogs.errors), "Invalid filename");
  EXPECT_EQ(form->headerSection(0), "Untitled - 44W x 39H - No. ??");
  EXPECT_EQ(form->document().header, (MapHeader{45, 20, 15}));
  EXPECT_EQ(ReadBytes(gamePath() / "afile"), Bytes("keep"));
}

// A link that loops is replaced by the saved file, as any old file is; the
// loop is not followed.
TEST_F(HostileDocument, SaveOverALinkThatLoopsWritesTheFile) {
  form->New1Click();
  Link(scenario() / "Boucle.map", "Boucle.map");
  answerParameters(true, 45, 20, 15);
  chooseSave(inScenario("Boucle.map"));
  form->SaveAs1Click();
  EXPECT_EQ(Joined(dialogs.errors), "");
  EXPECT_EQ(form->headerSection(0), "Boucle - 20W x 15H - No. 45");
  EXPECT_EQ(Tree(scenario()), Names{"Boucle.map"});
  EXPECT_EQ(ReadBytes(scenario() / "Boucle.map").size(), kMapFileSize);
}

TEST_F(HostileDocument, AccentedNamesRoundTrip) {
  form->New1Click();
  form->document().grid.setTerrain(7, 8, 12);
  const std::string path = inScenario(std::string(kAccentedMap) + ".map");
  answerParameters(true, 45, 20, 15);
  chooseSave(path);
  form->SaveAs1Click();
  ASSERT_EQ(Joined(dialogs.errors), "");
  const std::string caption = std::string(kAccentedMap) + " - 20W x 15H - No. 45";
  EXPECT_EQ(form->headerSection(0).toStdString(), caption);
  form->document().grid.setTerrain(7, 8, 0);
  dialogs.confirmAnswers.push_back(Answer::No);
  choose({path});
  form->Open1Click();
  EXPECT_EQ(Joined(dialogs.errors), "");
  EXPECT_EQ(form->headerSection(0).toStdString(), caption);
  EXPECT_EQ(form->document().grid.terrain(7, 8), 12);
  EXPECT_EQ(dialogs.openShown.back().initialFolder.toStdString(), gameFolder() + "scenario");
}

TEST_F(EditorFaultTest, SettingsPointingNowhereStillOpenAndSaveElsewhere) {
  writeSettings(root.folder() + "gone/");
  start();
  form->New1Click();
  EXPECT_EQ(form->SaveDialog1.initialFolder, root.folder() + "gone/scenario");
  answerParameters(true, 45, 20, 15);
  chooseSave(root.folder() + "saved.map");
  form->SaveAs1Click();
  EXPECT_EQ(Joined(dialogs.errors), "");
  dialogs.confirmAnswers.push_back(Answer::No);
  choose({root.folder() + "saved.map"});
  form->Open1Click();
  EXPECT_EQ(Joined(dialogs.errors), "");
  EXPECT_EQ(dialogs.openShown.back().initialFolder.toStdString(), root.folder() + "gone/scenario");
  EXPECT_EQ(form->headerSection(0), "saved - 20W x 15H - No. 45");
  EXPECT_FALSE(fs::exists(root.path() / "gone"));
}

// ---- Named pipes under the names of files ---------------------------------------
// Opening a pipe waits for a writer that never comes; the program must
// refuse it at once rather than hang.

TEST_F(HostileDocument, OpenOfAPipeFailsAtOnce) {
  const PipeWithWatchdog pipe(scenario() / "Tube.map");
  expectOpenFails(inScenario("Tube.map"), "Invalid filename");
  EXPECT_FALSE(pipe.hung());
}

TEST_F(EditorFaultTest, PipeChosenForConversionFailsAtOnce) {
  startWithGame();
  writeBitmap(root.path() / "Map4500.bmp", 8, 4);
  const PipeWithWatchdog pipe(root.path() / "Map4501.bmp");
  choose({root.file("Map4500.bmp"), root.file("Map4501.bmp")});
  form->WriteSHPs1Click();
  EXPECT_EQ(Joined(dialogs.errors), "Cannot open file " + root.file("Map4501.bmp"));
  EXPECT_EQ(Tree(gamePath() / "UserMap"), Names{"Map4500.shp"});
  EXPECT_FALSE(pipe.hung());
}

TEST_F(EditorFaultTest, PipeInPlaceOfTheTileSetFailsAtOnce) {
  startWithGame();
  const PipeWithWatchdog pipe(programPath() / "ST50x45.bmp");
  form->New1Click();
  answerParameters(true, 45, 16, 11);
  form->PaintBMPs1Click();
  EXPECT_EQ(Joined(dialogs.errors), "Cannot open file " + programFolder() + "ST50x45.bmp");
  EXPECT_EQ(Tree(gamePath() / "UserBMP"), Names{});
  EXPECT_FALSE(pipe.hung());
}

}  // namespace
}  // namespace kxc2::test
