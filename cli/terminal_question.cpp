#include "cli/terminal_question.h"

#include <cctype>
#include <iostream>
#include <stdexcept>

#include "core/os_files.h"

namespace kxc2::cli {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

}  // namespace

bool IsYesAnswer(std::string_view answer) {
  const std::string word = AsciiLower(Trimmed(answer));
  return word == "y" || word == "yes";
}

bool AskYesNo(const std::string& question, std::istream& input, std::ostream& prompt) {
  prompt << question << " [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(input, answer)) {
    prompt << '\n' << std::flush;  // what follows starts on its own line
    return false;
  }
  return IsYesAnswer(answer);
}

TerminalQuestion::TerminalQuestion(bool yesGiven)
    : TerminalQuestion(yesGiven, StandardInputIsTerminal() ? &std::cin : nullptr, std::cerr) {}

TerminalQuestion::TerminalQuestion(bool yesGiven, std::istream* terminal, std::ostream& prompt)
    : yesGiven_(yesGiven), terminal_(terminal), prompt_(prompt) {}

bool TerminalQuestion::ask(const std::string& question) {
  if (yesGiven_) return true;
  if (terminal_ == nullptr) {
    refusedQuestion_ = question;
    return false;
  }
  return AskYesNo(question, *terminal_, prompt_);
}

void TerminalQuestion::throwIfRefused() const {
  if (!refused()) return;
  throw std::runtime_error(refusedQuestion_ +
                           "\nNo terminal to answer on: nothing was changed; run again with --yes to answer Yes.");
}

}  // namespace kxc2::cli
