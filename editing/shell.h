#pragma once

#include <string>
#include <vector>

#include "draw/image.h"
#include "editing/window_thread.h"

namespace kxc2 {

enum class Answer { Yes, No, Cancel };

// What the editing core asks of a window system. Texts and paths are UTF-8.
class Shell {
 public:
  // An open or save dialog's settings, kept between uses.
  struct FileDialogState {
    std::string title;
    std::string filter;  // "KC2 Maps|*.map|KC2 Bitmaps|Map*.bmp|..."
    int filterIndex = 1;  // 1-based entry of filter
    std::string initialFolder;
    std::string fileName;  // proposed on show; the chosen file afterwards
    std::string defaultExtension;
    bool multiSelect = false;
    bool overwritePrompt = false;
    std::vector<std::string> files;  // chosen by the last successful show
  };

  // The map-parameters dialog. The dialog keeps its map number and season
  // between uses, so only columns, rows and seasonEnabled go in; all come out.
  struct MapParameters {
    int columns = 0;
    int rows = 0;
    int mapNumber = 0;
    bool winter = false;
    bool seasonEnabled = true;
  };

  virtual ~Shell() = default;

  // Yes/No/Cancel; Escape is Cancel.
  virtual Answer confirm(const std::string& question) = 0;
  // Yes/No; true on Yes.
  virtual bool warn(const std::string& question) = 0;
  virtual void notify(const std::string& text) = 0;
  virtual void showError(const std::string& message) = 0;
  // True when the user chose; state then holds the choice.
  virtual bool runOpenDialog(FileDialogState& state) = 0;
  virtual bool runSaveDialog(FileDialogState& state) = 0;
  // True for OK.
  virtual bool runParameters(MapParameters& parameters) = 0;
  virtual WindowThread& windowThread() = 0;

  // This rectangle of the view's picture changed and wants showing.
  virtual void pictureChanged(Rect area) = 0;
  // The window's state changed: the shell reads one snapshot and shows it.
  virtual void stateChanged() = 0;
};

// An error box's text: "." appended when the last character sorts after ".".
std::string ErrorBoxText(const std::string& message);

}  // namespace kxc2
