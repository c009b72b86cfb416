#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace kxc2::cli {

// "y" or "yes" in any case, with blanks around it; everything else is No.
bool IsYesAnswer(std::string_view answer);

// Prints "QUESTION [y/N] " on prompt and reads one line of input; the end of
// input is No.
bool AskYesNo(const std::string& question, std::istream& input, std::ostream& prompt);

// Answers a command's questions: all Yes with --yes, else asked on the
// terminal. With no terminal on stdin nobody can answer, so the question is
// refused: it counts as No, which changes nothing, and the command then
// reports the refusal through throwIfRefused.
class TerminalQuestion {
 public:
  // stdin and stderr; stdin counts only when it is a terminal.
  explicit TerminalQuestion(bool yesGiven);
  // terminal is null when there is none.
  TerminalQuestion(bool yesGiven, std::istream* terminal, std::ostream& prompt);
  // The callbacks below point at this object, which keeps the refusal.
  TerminalQuestion(const TerminalQuestion&) = delete;
  TerminalQuestion& operator=(const TerminalQuestion&) = delete;

  bool ask(const std::string& question);
  std::function<bool(const std::string&)> callback() {
    return [this](const std::string& question) { return ask(question); };
  }

  bool refused() const { return !refusedQuestion_.empty(); }
  // std::runtime_error "QUESTION\n...--yes..." after a refusal.
  void throwIfRefused() const;

 private:
  bool yesGiven_;
  std::istream* terminal_;
  std::ostream& prompt_;
  std::string refusedQuestion_;
};

}  // namespace kxc2::cli
