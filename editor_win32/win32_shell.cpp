#include "editor_win32/win32_shell.h"

#include <commdlg.h>

#include <vector>

#include "editing/menu_table.h"
#include "editor_win32/main_window.h"
#include "editor_win32/parameters_dialog.h"
#include "editor_win32/wide_text.h"

namespace kxc2::win32 {
namespace {

constexpr UINT kRunPosted = WM_APP + 1;
const wchar_t* const kThreadClass = L"KxC2MapWindowThread";

class Win32WindowTimer final : public WindowTimer {
 public:
  Win32WindowTimer(Win32WindowThread& thread, std::function<void()> fire)
      : thread_(thread), id_(thread.addTimer([this, fire = std::move(fire)] {
          active_ = false;
          fire();
        })) {}
  ~Win32WindowTimer() override { thread_.removeTimer(id_); }
  void start(std::chrono::milliseconds delay) override {
    active_ = true;
    thread_.startTimer(id_, UINT(delay.count()));
  }
  void stop() override {
    active_ = false;
    thread_.stopTimer(id_);
  }
  bool isActive() const override { return active_; }

 private:
  Win32WindowThread& thread_;
  UINT_PTR id_;
  bool active_ = false;
};

// "KC2 Maps|*.map|KC2 Bitmaps|Map*.bmp" as the dialog's pairs of NUL-ended strings.
std::wstring FilterPairs(const std::string& filter) {
  std::wstring pairs = Widen(filter);
  for (wchar_t& c : pairs)
    if (c == L'|') c = L'\0';
  return pairs.append(2, L'\0');
}

// One path, or the folder and then each name after a multiple choice.
std::vector<std::string> ChosenFiles(const wchar_t* buffer) {
  std::vector<std::wstring> parts;
  for (const wchar_t* part = buffer; *part != L'\0'; part += parts.back().size() + 1) parts.emplace_back(part);
  if (parts.size() == 1) return {Narrow(parts.front())};
  std::vector<std::string> files;
  for (std::size_t i = 1; i < parts.size(); ++i) files.push_back(Narrow(parts[0] + L'\\' + parts[i]));
  return files;
}

}  // namespace

// ---- The window thread -----------------------------------------------------

Win32WindowThread::Win32WindowThread() {
  WNDCLASSEXW windowClass{sizeof windowClass};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kThreadClass;
  RegisterClassExW(&windowClass);
  window_ = CreateWindowExW(0, kThreadClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, this);
}

Win32WindowThread::~Win32WindowThread() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

std::unique_ptr<WindowTimer> Win32WindowThread::makeTimer(std::function<void()> fire) {
  return std::make_unique<Win32WindowTimer>(*this, std::move(fire));
}

void Win32WindowThread::post(std::function<void()> task) {
  {
    const std::lock_guard lock(mutex_);
    posted_.push_back(std::move(task));
  }
  PostMessageW(window_, kRunPosted, 0, 0);
}

void Win32WindowThread::runPosted() {
  for (;;) {
    std::function<void()> task;
    {
      const std::lock_guard lock(mutex_);
      if (posted_.empty()) return;
      task = std::move(posted_.front());
      posted_.pop_front();
    }
    task();
  }
}

UINT_PTR Win32WindowThread::addTimer(std::function<void()> fire) {
  timers_[nextTimer_] = std::move(fire);
  return nextTimer_++;
}

void Win32WindowThread::removeTimer(UINT_PTR id) {
  KillTimer(window_, id);
  timers_.erase(id);
}

void Win32WindowThread::startTimer(UINT_PTR id, UINT milliseconds) { SetTimer(window_, id, milliseconds, nullptr); }
void Win32WindowThread::stopTimer(UINT_PTR id) { KillTimer(window_, id); }

LRESULT CALLBACK Win32WindowThread::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* thread = WindowObject<Win32WindowThread>(window, message, lParam);
  if (thread != nullptr && message == kRunPosted) {
    thread->runPosted();
    return 0;
  }
  if (thread != nullptr && message == WM_TIMER) {
    // Single shots: stopped before firing, so the task may start it again.
    KillTimer(window, wParam);
    const auto timer = thread->timers_.find(wParam);
    // A copy: the task may end its own timer.
    if (timer != thread->timers_.end()) std::function<void()>(timer->second)();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// ---- Questions and notices -------------------------------------------------

int Win32Shell::box(const std::string& text, const char* title, UINT style) {
  return MessageBoxW(window_.handle(), Widen(text).c_str(), Widen(title).c_str(), style);
}

Answer Win32Shell::confirm(const std::string& question) {
  switch (box(question, "Confirm", MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1)) {
    case IDYES: return Answer::Yes;
    case IDNO: return Answer::No;
    default: return Answer::Cancel;
  }
}

bool Win32Shell::warn(const std::string& question) {
  return box(question, "Warning", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON1) == IDYES;
}

void Win32Shell::notify(const std::string& text) { box(text, kApplicationTitle, MB_OK); }

void Win32Shell::showError(const std::string& message) {
  box(ErrorBoxText(message), kApplicationTitle, MB_OK | MB_ICONERROR);
}

// ---- File dialogs ------------------------------------------------------------

bool Win32Shell::runFileDialog(FileDialogState& state, bool forSaving) {
  // Room for many names of a multiple choice.
  std::vector<wchar_t> buffer(32768, L'\0');
  const std::wstring proposed = Widen(state.fileName);
  proposed.copy(buffer.data(), std::min(proposed.size(), buffer.size() - 1));
  const std::wstring filter = FilterPairs(state.filter), title = Widen(state.title);
  const std::wstring folder = Widen(state.initialFolder), extension = Widen(state.defaultExtension);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_.handle();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = DWORD(state.filterIndex);
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = DWORD(buffer.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (forSaving && state.overwritePrompt) dialog.Flags |= OFN_OVERWRITEPROMPT;
  if (!forSaving) dialog.Flags |= OFN_FILEMUSTEXIST;
  if (!forSaving && state.multiSelect) dialog.Flags |= OFN_ALLOWMULTISELECT;

  if (!(forSaving ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return false;
  state.files = ChosenFiles(buffer.data());
  state.fileName = state.files.front();
  state.filterIndex = int(dialog.nFilterIndex);
  return true;
}

bool Win32Shell::runOpenDialog(FileDialogState& state) { return runFileDialog(state, false); }
bool Win32Shell::runSaveDialog(FileDialogState& state) { return runFileDialog(state, true); }

bool Win32Shell::runParameters(MapParameters& parameters) {
  return RunParametersDialog(window_.handle(), parameters);
}

void Win32Shell::pictureChanged(Rect area) { window_.showPictureChange(area); }
void Win32Shell::stateChanged() { window_.applySnapshot(); }

}  // namespace kxc2::win32
