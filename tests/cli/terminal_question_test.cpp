// One rule for every question kxc2tool asks.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/terminal_question.h"
#include "core/map_file.h"
#include "export/bmp_writer.h"
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

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// typed == nullptr: stdin is /dev/null.
ToolRun RunTool(const test::TempDir& dir, const Names& args, const char* typed) {
  const std::string out = dir.file("stdout.txt");
  const std::string err = dir.file("stderr.txt");
  int master = -1;
  std::string terminalName;
  if (typed) {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(master, 0);
    EXPECT_EQ(::grantpt(master), 0);
    EXPECT_EQ(::unlockpt(master), 0);
    terminalName = ::ptsname(master);
  }
  const pid_t child = ::fork();
  if (child == 0) {
    const int in = typed ? (::setsid(), ::open(terminalName.c_str(), O_RDWR)) : ::open("/dev/null", O_RDONLY);
    ::dup2(in, 0);
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    std::vector<char*> argv{const_cast<char*>(KXC2TOOL_PATH)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(KXC2TOOL_PATH, argv.data());
    ::_exit(127);
  }
  if (typed) {
    EXPECT_EQ(::write(master, typed, std::strlen(typed)), static_cast<ssize_t>(std::strlen(typed)));
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (master >= 0) ::close(master);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
}

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
  QImage image(3, 2, QImage::Format_Indexed8);
  image.setColorTable({qRgb(0, 0, 0), qRgb(8, 4, 252)});
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
    const ToolRun run = RunTool(dir, args, answer.typed);
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
  const ToolRun run = RunTool(dir, command.prepare(dir), nullptr);
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
