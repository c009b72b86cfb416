#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "editor/user_dialogs.h"

namespace kxc2::test {

// Answers every question and dialog from queues and records what was asked.
// An empty queue answers Cancel / false, as a user closing the box would.
class ScriptedDialogs : public UserDialogs {
 public:
  // Fills the dialog state as the user would and returns true to choose.
  using FileChoice = std::function<bool(FileDialogState&)>;
  // Sets the dialog's fields and returns true for OK.
  using ModalChoice = std::function<bool(QDialog&)>;

  std::deque<Answer> confirmAnswers;
  std::deque<bool> warnAnswers;
  std::deque<FileChoice> openChoices;
  std::deque<FileChoice> saveChoices;
  std::deque<ModalChoice> modalChoices;

  QStringList confirmQuestions;
  QStringList warnQuestions;
  QStringList notices;
  QStringList errors;
  // The state each file dialog was shown with, before the choice.
  std::vector<FileDialogState> openShown;
  std::vector<FileDialogState> saveShown;
  int modalRuns = 0;

  Answer confirm(QWidget*, const QString& question) override {
    confirmQuestions << question;
    return pop(confirmAnswers, Answer::Cancel);
  }
  bool warn(QWidget*, const QString& question) override {
    warnQuestions << question;
    return pop(warnAnswers, false);
  }
  void notify(QWidget*, const QString& text) override { notices << text; }
  void showError(QWidget*, const QString& message) override { errors << message; }

  bool runOpenDialog(QWidget*, FileDialogState& state) override {
    openShown.push_back(state);
    return choose(openChoices, state);
  }
  bool runSaveDialog(QWidget*, FileDialogState& state) override {
    saveShown.push_back(state);
    return choose(saveChoices, state);
  }
  bool runModal(QDialog& dialog) override {
    ++modalRuns;
    if (modalChoices.empty()) return false;
    const ModalChoice choice = std::move(modalChoices.front());
    modalChoices.pop_front();
    return choice(dialog);
  }

 private:
  template <typename T>
  static T pop(std::deque<T>& queue, T whenEmpty) {
    if (queue.empty()) return whenEmpty;
    T value = queue.front();
    queue.pop_front();
    return value;
  }
  static bool choose(std::deque<FileChoice>& queue, FileDialogState& state) {
    if (queue.empty()) return false;
    const FileChoice choice = std::move(queue.front());
    queue.pop_front();
    return choice(state);
  }
};

}  // namespace kxc2::test
