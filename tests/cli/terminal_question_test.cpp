// One rule for every question kxc2tool asks.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "cli/terminal_question.h"
#include "core/map_file.h"
#include "export/bmp_writer.h"
#include "tests/cli/run_tool.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using Names = std::vector<std::string>;
namespace fs = std::filesystem;

TEST(TerminalQuestion, OnlyYAndYesAreYes) {
  const struct {
    const char* answer;
    bool yes;
  } cases[] = {
      {"y", true},      {"Y", true},     {"yes", true},   {"YES", true},       {"yEs", true},
      {"  yes\t", true}, {"y\r", true},  {" Y ", true},   {"", false},         {" ", false},
      {"yolo", false},  {"ye", false},   {"yess", false}, {"yes please", false}, {"y y", false},
      {"n", false},     {"no", false},   {"1", false},    {"oui", false},      {"\xff", false},
  };
  for (const auto& c : cases) EXPECT_EQ(cli::IsYesAnswer(c.answer), c.yes) << '"' << c.answer << '"';
}

TEST(TerminalQuestion, AsksOneLineAtATime) {
  std::istringstream input("yes\nyolo\n Y");
  std::ostringstream prompt;
  EXPECT_TRUE(cli::AskYesNo("Delete them?", input, prompt));
  EXPECT_FALSE(cli::AskYesNo("Again?", input, prompt));
  EXPECT_TRUE(cli::AskYesNo("Last?", input, prompt));  // a last line without its newline still counts
  EXPECT_EQ(prompt.str(), "Delete them? [y/N] Again? [y/N] Last? [y/N] ");
}

TEST(TerminalQuestion, EndOfInputIsNo) {
  std::istringstream input("");
  std::ostringstream prompt;
  EXPECT_FALSE(cli::AskYesNo("Delete them?", input, prompt));
  EXPECT_EQ(prompt.str(), "Delete them? [y/N] \n");
}

TEST(TerminalQuestion, YesOptionAnswersWithoutAsking) {
  std::istringstream input("n\n");
  std::ostringstream prompt;
  cli::TerminalQuestion question(true, &input, prompt);
  EXPECT_TRUE(question.ask("Q?"));
  EXPECT_TRUE(question.callback()("Q?"));
  EXPECT_EQ(prompt.str(), "");
  EXPECT_FALSE(question.refused());
  EXPECT_NO_THROW(question.throwIfRefused());

  cli::TerminalQuestion noTerminal(true, nullptr, prompt);
  EXPECT_TRUE(noTerminal.ask("Q?"));
  EXPECT_FALSE(noTerminal.refused());
}

TEST(TerminalQuestion, TerminalAnswersAreNotRefusals) {
  std::istringstream input("n\n");
  std::ostringstream prompt;
  cli::TerminalQuestion question(false, &input, prompt);
  EXPECT_FALSE(question.callback()("Replace?"));
  EXPECT_EQ(prompt.str(), "Replace? [y/N] ");
  EXPECT_FALSE(question.refused());
  EXPECT_NO_THROW(question.throwIfRefused());
}

TEST(TerminalQuestion, WithoutTerminalTheQuestionIsRefused) {
  std::ostringstream prompt;
  cli::TerminalQuestion question(false, nullptr, prompt);
  EXPECT_NO_THROW(question.throwIfRefused());
  EXPECT_FALSE(question.callback()("Replace the old files?"));
  EXPECT_EQ(prompt.str(), "");
  EXPECT_TRUE(question.refused());
  try {
    question.throwIfRefused();
    FAIL() << "no refusal";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()),
              "Replace the old files?\n"
              "No terminal to answer on: nothing was changed; run again with --yes to answer Yes.");
  }
}

// kxc2tool itself, with a terminal that types the answer on stdin.

// A command that finds old files of map 45 and asks before replacing them.
struct AskingCommand {
  const char* name;
  std::function<Names(const test::TempDir&)> prepare;  // makes the files, returns the arguments
  std::string oldFolder;                                // relative to the temp folder
  std::string oldFile;
  std::string question;
};

// gtest would print the raw bytes otherwise.
void PrintTo(const AskingCommand& command, std::ostream* out) { *out << command.name; }

Names PreparePaint(const test::TempDir& dir) {
  MapDocument document;
  document.header = {45, 16, 11};
  WriteMapFile(dir.file("m.map"), document);
  fs::create_directories(dir.path() / "game" / "UserBMP");
  test::WriteBytes(dir.path() / "game" / "UserBMP" / "Map4577.bmp", {'o', 'l', 'd'});
  return {"paint", dir.file("m.map"), "--game-folder", dir.file("game"), "--seed", "1"};
}

Names PrepareShp(const test::TempDir& dir) {
  Image image(3, 2, Image::Format_Indexed8);
  image.setColorTable({MakeRgb(0, 0, 0), MakeRgb(8, 4, 252)});
  image.fill(1);
  SaveBmp8(dir.file("Map4500.bmp"), image);
  fs::create_directories(dir.path() / "game" / "UserMap");
  test::WriteBytes(dir.path() / "game" / "UserMap" / "Map4599.shp", {'o', 'l', 'd'});
  return {"shp", dir.file("Map4500.bmp"), "--game-folder", dir.file("game")};
}

const AskingCommand kAskingCommands[] = {
    {"paint", PreparePaint, "game/UserBMP", "Map4577.bmp",
     "One or more Map45*.bmp files already exist.  DELETE them and create new bitmaps?"},
    {"shp", PrepareShp, "game/UserMap", "Map4599.shp",
     "One or more Map45*.shp files already exist.  DELETE them and write new SHPs?"},
};

class AskingCommandTest : public ::testing::TestWithParam<AskingCommand> {};

// Both commands take the same answers the same way.
TEST_P(AskingCommandTest, TerminalAnswers) {
  const AskingCommand& command = GetParam();
  const struct {
    const char* typed;
    bool yes;
  } answers[] = {{"yolo\n", false}, {"no\n", false}, {"\x04", false}, {" YES \n", true}, {"y\n", true}};
  for (const auto& answer : answers) {
    test::TempDir dir;
    const Names args = command.prepare(dir);
    const test::ToolResult run = test::RunToolTyped(dir, args, answer.typed);
    const Names left = test::ListFolder(dir.path() / command.oldFolder);
    EXPECT_EQ(run.err.rfind(command.question + " [y/N] ", 0), 0u) << run.err;
    if (answer.yes) {
      EXPECT_EQ(run.exitCode, 0) << answer.typed << run.err;
      EXPECT_EQ(std::count(left.begin(), left.end(), command.oldFile), 0) << answer.typed;
      EXPECT_FALSE(left.empty());
    } else {
      EXPECT_EQ(run.exitCode, 1) << answer.typed << run.err;
      EXPECT_EQ(left, Names{command.oldFile}) << answer.typed;
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.err.find("--yes"), std::string::npos) << "a terminal was there: " << run.err;
    }
  }
}

TEST_P(AskingCommandTest, WithoutTerminalRefusesTheSameWay) {
  const AskingCommand& command = GetParam();
  test::TempDir dir;
  const test::ToolResult run = test::RunToolTyped(dir, command.prepare(dir));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "kxc2tool: " + command.question +
                         "\nNo terminal to answer on: nothing was changed; run again with --yes to answer Yes.\n");
  EXPECT_EQ(test::ListFolder(dir.path() / command.oldFolder), Names{command.oldFile});
}

INSTANTIATE_TEST_SUITE_P(Commands, AskingCommandTest, ::testing::ValuesIn(kAskingCommands),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kxc2
