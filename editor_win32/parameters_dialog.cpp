// "Set map parameters": the Qt dialog's layout, yellow, at the monitor's DPI.
#include "editor_win32/parameters_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "export/piece_layout.h"
#include "editor_win32/dialog_style.h"
#include "editor_win32/wide_text.h"

namespace kxc2::win32 {
namespace {

constexpr COLORREF kYellow = 0x0000FFFF;
constexpr int kWidth = 233;
constexpr int kHeight = 324;

enum Control : int {
  kColumns = 101,
  kRows,
  kMapNumber,
  kColumnsArrows = 111,
  kRowsArrows,
  kMapNumberArrows,
  kTerrtype = 121,
  kSummerTerrain,
  kWinterTerrain,
};

struct SpinEdit {
  int id;
  RECT bounds;  // x, y, width, height at 96 DPI
  int minimum;
  int maximum;
};

constexpr std::array<SpinEdit, 3> kSpinEdits = {{
    {kColumns, {167, 71, 50, 22}, kMinMapColumns, kMaxMapColumns},
    {kRows, {167, 110, 50, 22}, kMinMapRows, kMaxMapRows},
    {kMapNumber, {167, 181, 50, 22}, kMinMapNumber, kMaxMapNumber},
}};

// What the Qt dialog's widgets hold between uses.
struct Remembered {
  int mapNumber = kMinMapNumber;
  bool winter = false;
} remembered;

struct DialogState {
  Shell::MapParameters* parameters = nullptr;
  UINT dpi = 96;
  GdiObject<HFONT> font;
  GdiObject<HBRUSH> yellow;
  std::array<int, 3> values{};  // the spin edits' last good values
};

int Px(const DialogState& state, int pixelsAt96) { return Scaled(pixelsAt96, state.dpi); }

HWND AddControl(HWND dialog, DialogState& state, const wchar_t* className, const wchar_t* text, DWORD style,
                RECT bounds, int id, DWORD exStyle = 0) {
  HWND control = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, Px(state, bounds.left),
                                 Px(state, bounds.top), Px(state, bounds.right), Px(state, bounds.bottom), dialog,
                                 HMENU(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, WPARAM(state.font.get()), FALSE);
  return control;
}

// A label sized to its text, as the Qt one's adjustSize() sizes it.
void AddFittedLabel(HWND dialog, DialogState& state, const wchar_t* text, int x, int y) {
  const SIZE extent = TextExtent(dialog, state.font, text);
  HWND label = AddControl(dialog, state, L"STATIC", text, SS_LEFTNOWORDWRAP | SS_NOPREFIX, {x, y, 0, 0}, -1);
  SetWindowPos(label, nullptr, 0, 0, extent.cx, extent.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AddWrappedLabel(HWND dialog, DialogState& state, const wchar_t* text, RECT bounds) {
  AddControl(dialog, state, L"STATIC", text, SS_LEFT | SS_NOPREFIX, bounds, -1);
}

std::size_t SpinIndex(int id) { return std::size_t(id - kColumns); }

void SetSpinValue(HWND dialog, DialogState& state, int id, int value) {
  const SpinEdit& spin = kSpinEdits[SpinIndex(id)];
  value = std::clamp(value, spin.minimum, spin.maximum);
  state.values[SpinIndex(id)] = value;
  SetDlgItemInt(dialog, id, UINT(value), FALSE);
}

// A number still being typed counts, brought into range; nothing typed
// keeps the last value.
int InterpretSpin(HWND dialog, DialogState& state, int id) {
  BOOL read = FALSE;
  const UINT typed = GetDlgItemInt(dialog, id, &read, FALSE);
  SetSpinValue(dialog, state, id, read ? int(std::min<UINT>(typed, 1000)) : state.values[SpinIndex(id)]);
  return state.values[SpinIndex(id)];
}

// The keys and the wheel a Qt spin box takes besides the arrows: Page Up
// and Page Down step ten, a wheel notch one.
LRESULT CALLBACK SpinEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  int steps = 0;
  if (message == WM_KEYDOWN && (wParam == VK_PRIOR || wParam == VK_NEXT))
    steps = wParam == VK_PRIOR ? 10 : -10;
  else if (message == WM_MOUSEWHEEL)
    steps = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
  else if (message == WM_NCDESTROY)
    RemoveWindowSubclass(edit, SpinEditProc, 0);
  if (steps == 0) return DefSubclassProc(edit, message, wParam, lParam);
  HWND dialog = GetParent(edit);
  auto& state = *reinterpret_cast<DialogState*>(data);
  const int id = GetDlgCtrlID(edit);
  SetSpinValue(dialog, state, id, InterpretSpin(dialog, state, id) + steps);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  return 0;
}

void AddSpinEdit(HWND dialog, DialogState& state, const SpinEdit& spin) {
  HWND edit = AddControl(dialog, state, L"EDIT", L"", WS_TABSTOP | ES_NUMBER | ES_LEFT | ES_AUTOHSCROLL,
                         spin.bounds, spin.id, WS_EX_CLIENTEDGE);
  SendMessageW(edit, EM_LIMITTEXT, 2, 0);
  // Attached at the edit's right, inside its bounds, like a spin box's arrows.
  HWND arrows = CreateWindowExW(0, UPDOWN_CLASSW, L"",
                                WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS |
                                    UDS_NOTHOUSANDS,
                                0, 0, 0, 0, dialog, HMENU(INT_PTR(spin.id + 10)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(arrows, UDM_SETBUDDY, WPARAM(edit), 0);
  SendMessageW(arrows, UDM_SETRANGE32, WPARAM(spin.minimum), LPARAM(spin.maximum));
  // After the arrows' own hook on the edit, so this one sees the wheel first.
  SetWindowSubclass(edit, SpinEditProc, 0, DWORD_PTR(&state));
}

void CreateControls(HWND dialog, DialogState& state) {
  AddWrappedLabel(dialog, state,
                  L"The column and row counts include an unplayable column/row at each side of the map; add 2 to "
                  L"the coordinates of the hex at the bottom right of the playable area",
                  {14, 12, 206, 58});
  AddFittedLabel(dialog, state, L"Columns (16 - 44)", 30, 77);
  AddSpinEdit(dialog, state, kSpinEdits[0]);
  AddFittedLabel(dialog, state, L"Rows (11 - 39)", 29, 115);
  AddSpinEdit(dialog, state, kSpinEdits[1]);
  AddWrappedLabel(dialog, state, L"The map number links the map to its .BMP and .SHP files", {14, 147, 202, 26});
  AddFittedLabel(dialog, state, L"Map number (32 - 99)", 29, 186);
  AddSpinEdit(dialog, state, kSpinEdits[2]);
  AddControl(dialog, state, L"BUTTON", L"Paint bitmaps using...", BS_GROUPBOX, {57, 216, 119, 56}, kTerrtype);
  AddControl(dialog, state, L"BUTTON", L"Summer terrain", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP,
             {57 + 8, 216 + 19, 105, 16}, kSummerTerrain);
  AddControl(dialog, state, L"BUTTON", L"Winter terrain", BS_AUTORADIOBUTTON, {57 + 8, 216 + 36, 105, 16},
             kWinterTerrain);
  AddControl(dialog, state, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, {17, 285, 75, 25}, IDOK);
  AddControl(dialog, state, L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, {141, 285, 75, 25}, IDCANCEL);
}

void InitDialog(HWND dialog, DialogState& state) {
  state.dpi = DpiOf(dialog);
  state.font.reset(CreateSansSerifFont(11, state.dpi));
  state.yellow.reset(CreateSolidBrush(kYellow));
  SetWindowTextW(dialog, L"Set map parameters");
  CreateControls(dialog, state);
  const Shell::MapParameters& parameters = *state.parameters;
  SetSpinValue(dialog, state, kColumns, parameters.columns);
  SetSpinValue(dialog, state, kRows, parameters.rows);
  SetSpinValue(dialog, state, kMapNumber, remembered.mapNumber);
  CheckRadioButton(dialog, kSummerTerrain, kWinterTerrain, remembered.winter ? kWinterTerrain : kSummerTerrain);
  for (int id : {kTerrtype, kSummerTerrain, kWinterTerrain})
    EnableWindow(GetDlgItem(dialog, id), parameters.seasonEnabled);
  SizeAndCentre(dialog, Px(state, kWidth), Px(state, kHeight));
  HWND columns = GetDlgItem(dialog, kColumns);
  SetFocus(columns);
  SendMessageW(columns, EM_SETSEL, 0, -1);
}

void Finish(HWND dialog, DialogState& state, int result) {
  Shell::MapParameters& parameters = *state.parameters;
  parameters.columns = InterpretSpin(dialog, state, kColumns);
  parameters.rows = InterpretSpin(dialog, state, kRows);
  remembered.mapNumber = parameters.mapNumber = InterpretSpin(dialog, state, kMapNumber);
  remembered.winter = parameters.winter = IsDlgButtonChecked(dialog, kWinterTerrain) == BST_CHECKED;
  EndDialog(dialog, result);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      InitDialog(dialog, *reinterpret_cast<DialogState*>(lParam));
      return FALSE;  // the focus is set
    case WM_CTLCOLORDLG:
      return INT_PTR(state->yellow.get());
    case WM_CTLCOLORSTATIC: {
      // Labels, the group box and the radio buttons stand on the yellow.
      HDC dc = HDC(wParam);
      SetBkColor(dc, kYellow);
      SetBkMode(dc, TRANSPARENT);
      return INT_PTR(state->yellow.get());
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDOK || id == IDCANCEL) {
        Finish(dialog, *state, id);
        return TRUE;
      }
      if (HIWORD(wParam) == EN_KILLFOCUS && id >= kColumns && id <= kMapNumber) {
        InterpretSpin(dialog, *state, id);
        return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE:
      return TRUE;  // only OK, Cancel, Enter and Escape close it
    default:
      return FALSE;
  }
}

// An empty dialog: the controls are made in pixels, at the monitor's DPI.
struct alignas(DWORD) EmptyTemplate {
  DLGTEMPLATE header;
  WORD menu = 0;
  WORD windowClass = 0;
  WORD title = 0;
};

// The Qt dialog is application-modal: the Artwork Preview and About wait
// too, not only the owner the dialog box disables.
class OtherWindowsDisabled {
 public:
  explicit OtherWindowsDisabled(HWND owner) : owner_(owner) {
    EnumThreadWindows(GetCurrentThreadId(), &OtherWindowsDisabled::Disable, LPARAM(this));
  }
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;
  ~OtherWindowsDisabled() {
    for (HWND window : disabled_)
      if (IsWindow(window)) EnableWindow(window, TRUE);
  }

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM self) {
    auto& that = *reinterpret_cast<OtherWindowsDisabled*>(self);
    if (window != that.owner_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      that.disabled_.push_back(window);
    }
    return TRUE;
  }

  HWND owner_;
  std::vector<HWND> disabled_;
};

}  // namespace

bool RunParametersDialog(HWND owner, Shell::MapParameters& parameters) {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof classes;
  classes.dwICC = ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&classes);
  EmptyTemplate empty{};
  empty.header.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
  DialogState state;
  state.parameters = &parameters;
  const OtherWindowsDisabled waiting(owner);
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &empty.header, owner, DialogProc, LPARAM(&state)) == IDOK;
}

int ParametersDialogMapNumber() { return remembered.mapNumber; }

}  // namespace kxc2::win32
