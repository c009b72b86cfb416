#pragma once

#include <functional>
#include <map>
#include <string>

#include "tests/hardening/editor_fixture.h"
#include "tests/support/error_of.h"

namespace kxc2::test {

// How a command's writes are made to fail.
enum class Fault {
  None,            // the control: the same run without a fault
  DiskFull,        // files may not grow past a limit (RLIMIT_FSIZE)
  ReadOnlyFolder,  // the target folder takes no new entries (run as nobody)
  MissingFolder,   // the target folder does not exist
};

using Report = std::map<std::string, std::string>;

// Runs body in a forked child, with the file size limit or as nobody as
// fault asks, and returns what body reported plus "exit", the child's exit
// code. The child cannot fail a test itself, hence the report.
Report RunWithFault(Fault fault, long sizeLimit, const std::function<Report()>& body);

// The same for an editor command: the child inherits the window as the test
// set it up, runs command (never returning to the event loop) and reports
// EditorState and DialogLog as it left them.
Report RunFaultyCommand(Fault fault, long sizeLimit, const TForm1& form, const ScriptedDialogs& dialogs,
                        const std::function<void()>& command);

// Keys of EditorState that a failed command must leave as they were.
inline const char* const kUntouchedByFailures[] = {"section0",     "section1", "section2", "map shown",
                                                   "save enabled", "paint enabled", "shps enabled", "view",
                                                   "scroll",       "picture",  "grid",     "open dialog"};

}  // namespace kxc2::test
