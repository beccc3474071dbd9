// Dialogs: modeless dialog windows made from a template, with their child controls
// addressed by identifier, and the Win32 operations that panels perform on them.
//
// This interface needs no display; the desktop's front end supplies the dialog builder
// (InstallDialogBuilder) when it opens. Without a builder every creation fails, so a
// program without a desktop has no dialogs, and code that addresses them reports them
// missing.
//
// Messages a dialog's procedure receives (exactly as shared Win32 code expects them):
// - WM_INITDIALOG once its controls exist, before it is shown;
// - WM_COMMAND from its controls: wParam low word the control's identifier, high word
//   the notification code (BN_CLICKED 0, LBN_SELCHANGE/CBN_SELCHANGE 1, LBN_DBLCLK/
//   CBN_DBLCLK 2, EN_CHANGE 0x300 also when the program sets an edit's text), lParam the
//   control's handle (ControlHandle, never 13); from the dialog manager: Enter gives the
//   default push button's identifier (IDOK when there is none) and Escape or a close
//   request IDCANCEL (2), with lParam 0; a WM_COMMAND posted to the dialog arrives as
//   posted;
// - WM_VSCROLL / WM_HSCROLL from scroll bars and trackbars: wParam low word the request
//   (SB_THUMBTRACK 5 while dragging, with the position in the high word), lParam the
//   control's handle; a scroll bar does not move its own thumb;
// - WM_DRAWITEM when an owner-drawn control is to be painted: wParam the identifier,
//   lParam the DrawItem fields packed (PackDrawItem); the procedure paints with
//   PaintImage while it handles the message;
// - WM_PAINT after the dialog has been painted; WM_LBUTTONDOWN and WM_RBUTTONDOWN on
//   its own area (not on a control) with the client position; WM_PARENTNOTIFY with
//   wParam WM_LBUTTONDOWN (or WM_RBUTTONDOWN) in the low word and the control's identifier
//   in the high word, lParam the position in the dialog's client area, when a control is
//   pressed, before the control sees the press;
// - WM_NOTIFY from the tab, list-view and tree-view controls: wParam the identifier,
//   lParam the notification code itself (TCN_SELCHANGE, LVN_ITEMCHANGED, TVN_SELCHANGED,
//   NM_DBLCLK), since no NMHDR pointer can travel;
// - WM_SIZE (wParam 0, lParam the client width in the low word and the height in the high
//   word) each time a dialog with a sizing frame (WS_THICKFRAME) changes its size, from
//   the script or the operator's hand;
// - WM_SYSKEYDOWN and WM_SYSKEYUP for the keys pressed and released while Alt is held (and
//   Alt itself) that the focused control does not take, and every key while no control
//   has the focus (WM_KEYDOWN, WM_CHAR, ...), as the main window gets them;
// - WM_TIMER and anything else sent or posted to its handle.
// After each message the procedure's answer decides as Win32 does: non-zero means it
// handled the message, 0 lets the dialog manager do its default processing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/message.h"
#include "platform/desktop/screen.h"
#include "platform/dialog_template.h"

namespace velcrum::platform {

// Dialog and control messages, notification codes and draw-item values.
inline constexpr uint32_t WM_SIZE = 0x0005;
inline constexpr uint32_t WM_SETFOCUS = 0x0007;
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_DRAWITEM = 0x002B;
inline constexpr uint32_t WM_NOTIFY = 0x004E;
inline constexpr uint32_t WM_INITDIALOG = 0x0110;
inline constexpr uint32_t WM_HSCROLL = 0x0114;
inline constexpr uint32_t WM_VSCROLL = 0x0115;
inline constexpr uint32_t WM_PARENTNOTIFY = 0x0210;
inline constexpr uint16_t BN_CLICKED = 0;
inline constexpr uint16_t LBN_SELCHANGE = 1;
inline constexpr uint16_t CBN_SELCHANGE = 1;
inline constexpr uint16_t LBN_DBLCLK = 2;
inline constexpr uint16_t CBN_DBLCLK = 2;
inline constexpr uint16_t EN_CHANGE = 0x0300;
inline constexpr int32_t NM_DBLCLK = -3;
inline constexpr int32_t LVN_ITEMCHANGED = -101;
inline constexpr int32_t TVN_SELCHANGED = -402;
inline constexpr int32_t TCN_SELCHANGE = -551;
inline constexpr uint16_t SB_LINEUP = 0;
inline constexpr uint16_t SB_LINEDOWN = 1;
inline constexpr uint16_t SB_PAGEUP = 2;
inline constexpr uint16_t SB_PAGEDOWN = 3;
inline constexpr uint16_t SB_THUMBTRACK = 5;
inline constexpr uint16_t SB_THUMBPOSITION = 4;
inline constexpr uint16_t SB_ENDSCROLL = 8;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr uint32_t ODT_LISTBOX = 2;
inline constexpr uint32_t ODT_COMBOBOX = 3;
inline constexpr uint32_t ODT_BUTTON = 4;
inline constexpr uint32_t ODT_STATIC = 5;
inline constexpr uint32_t ODA_DRAWENTIRE = 1;
inline constexpr uint32_t ODA_SELECT = 2;
inline constexpr uint32_t ODA_FOCUS = 4;
inline constexpr uint32_t ODS_SELECTED = 0x0001;
inline constexpr uint32_t ODS_DISABLED = 0x0004;
inline constexpr uint32_t ODS_FOCUS = 0x0010;

// Win32 error codes of a failed creation, as GetLastError gives them.
inline constexpr uint32_t kErrorClassNotFound = 1407;     // ERROR_CANNOT_FIND_WND_CLASS
inline constexpr uint32_t kErrorResourceNotFound = 1814;  // ERROR_RESOURCE_NAME_NOT_FOUND
inline constexpr uint32_t kErrorNoDesktop = 1459;  // ERROR_REQUIRES_INTERACTIVE_WINDOWSTATION

// The DRAWITEMSTRUCT fields a WM_DRAWITEM carries in its lParam: control type in bits 0
// to 7, item action in bits 8 to 15, item state in bits 16 to 31. The rectangle is the
// control's whole client area.
struct DrawItem {
  uint32_t ctlType = 0;
  uint32_t itemAction = 0;
  uint32_t itemState = 0;
};
constexpr int32_t PackDrawItem(const DrawItem& item) {
  return static_cast<int32_t>((item.ctlType & 0xFF) | ((item.itemAction & 0xFF) << 8) |
                              ((item.itemState & 0xFFFF) << 16));
}
constexpr DrawItem UnpackDrawItem(int32_t lParam) {
  const auto bits = static_cast<uint32_t>(lParam);
  return DrawItem{bits & 0xFF, (bits >> 8) & 0xFF, bits >> 16};
}

// ShowWindow's commands as panels use them.
enum class ShowCommand { kHide, kShow, kRestore, kMinimiseNoActivate };

// A control's place and size in pixels of its dialog's client area.
struct ControlRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The resources a dialog's pictures come from (bitmap and icon statics, ICON statements):
// the bytes of the BITMAP or ICON resource of that name (a number as "#101"), false when
// there is none.
struct DialogResources {
  std::function<bool(std::string_view name, std::string& bytes)> bitmap;
  std::function<bool(std::string_view name, std::string& bytes)> icon;
};

// A dialog window on the desktop: a top-level window (listed with its caption as title)
// owned by another window. Destroying the object destroys the window and its controls.
// Every control operation on an identifier the dialog does not have does nothing and
// answers as Win32 does for a missing control (false, 0, empty, -1 for indexes).
class Dialog {
 public:
  virtual ~Dialog() = default;

  virtual Hwnd Handle() const = 0;
  // The window that owns the dialog (GetParent of an owned pop-up window), as created.
  virtual Hwnd Owner() const = 0;
  // PostMessage to the dialog: the procedure receives it from the message loop, in order.
  virtual bool Post(const Message& message) = 0;

  // The window.
  virtual void Show(ShowCommand command) = 0;
  virtual bool IsVisible() const = 0;
  virtual bool IsMinimised() const = 0;
  virtual void Update() = 0;                       // paints what is pending now (UpdateWindow)
  virtual void BringToTop() = 0;                   // raised above the other windows and activated
  virtual void SendToBottom() = 0;                 // lowered below the other windows, not activated
  virtual void Move(int x, int y) = 0;             // screen pixels; size, z-order, activation kept
  virtual void Resize(int width, int height) = 0;  // place, z-order, activation kept
  virtual void SetTitle(std::string_view title) = 0;
  virtual std::string Title() const = 0;
  // GetWindowRect: the window's place and size on the screen, its frame included.
  virtual Rect WindowRect() const = 0;
  // Draws an image (BMP or ICO bytes) at x, y of the client area, over what is there.
  virtual bool DrawImage(int x, int y, std::string_view imageBytes) = 0;
  // SetTimer / KillTimer on the dialog: WM_TIMER (wParam id) to its procedure every
  // intervalMs milliseconds, as window.h's timers.
  virtual bool SetTimer(uint32_t id, uint32_t intervalMs) = 0;
  virtual bool KillTimer(uint32_t id) = 0;
  // Writes a PNG picture of the window as it is on screen.
  virtual bool SavePicture(const std::string& hostPath) = 0;

  // Controls, by identifier. Identifiers are 16 bits, as GWL_ID reads back.
  virtual bool HasControl(int id) const = 0;
  virtual std::vector<int> ControlIds() const = 0;  // creation order
  // A token for the control (what lParam of its notifications holds): non-zero, never 13,
  // unique within the process while the control exists. 0 for a missing control.
  virtual uint32_t ControlHandle(int id) const = 0;
  virtual std::string ControlClass(int id) const = 0;  // as the template named it
  virtual uint32_t ControlStyle(int id) const = 0;
  virtual ControlRect ControlGeometry(int id) const = 0;
  // GetDlgItemText: at most maxChars characters.
  virtual std::string ControlText(int id, size_t maxChars) const = 0;
  virtual void SetControlText(int id, std::string_view text) = 0;
  virtual int CheckState(int id) const = 0;  // 0, 1 or 2 (indeterminate)
  virtual void SetCheckState(int id, int state) = 0;
  virtual bool IsControlEnabled(int id) const = 0;
  virtual void EnableControl(int id, bool enable) = 0;
  virtual bool IsControlVisible(int id) const = 0;
  virtual void ShowControl(int id, bool show) = 0;
  virtual void UpdateControl(int id) = 0;
  virtual void MoveControl(int id, int x, int y) = 0;
  virtual void ResizeControl(int id, int width, int height) = 0;
  virtual void FocusControl(int id) = 0;
  virtual int FocusedControl() const = 0;  // identifier, 0 when none has the focus
  // SetWindowLong(GWL_ID): gives the control a new identifier; answers the identifier
  // read back afterwards (GetWindowLong), 0 for a missing control.
  virtual int ChangeControlId(int id, int newId) = 0;

  // Scroll bars and trackbars (SetScrollRange, SetScrollPos, GetScrollPos with SB_CTL).
  virtual void SetScrollRange(int id, int minimum, int maximum, bool redraw) = 0;
  virtual void SetScrollPos(int id, int position, bool redraw) = 0;
  virtual int ScrollPos(int id) const = 0;

  // List boxes and combo boxes (the LB_ and CB_ messages). Indexes from 0; -1 (LB_ERR)
  // for none or failure.
  virtual int AddItem(int id, std::string_view text) = 0;  // sorted place with LBS_SORT
  virtual int InsertItem(int id, int index, std::string_view text) = 0;  // -1: at the end
  virtual int DeleteItem(int id, int index) = 0;                         // the count left, or -1
  virtual void ResetItems(int id) = 0;
  // LB_RESETCONTENT and then LB_ADDSTRING for each item, done at once: a long list is
  // shown anew without an update for each item.
  virtual void ReplaceItems(int id, const std::vector<std::string>& items) = 0;
  virtual int ItemCount(int id) const = 0;
  virtual std::string ItemText(int id, int index) const = 0;
  virtual int CurrentSelection(int id) const = 0;
  virtual int SetCurrentSelection(int id, int index) = 0;  // -1 clears; answers the index
  // LB_SELECTSTRING: the first item after `after` (-1: from the start), wrapping, that
  // begins with the text without regard to case, selected; its index or -1.
  virtual int SelectString(int id, int after, std::string_view text) = 0;
  // LB_FINDSTRINGEXACT / LB_FINDSTRING (prefix when not exact).
  virtual int FindString(int id, int after, std::string_view text, bool exact) const = 0;
  virtual bool IsItemSelected(int id, int index) const = 0;  // multiple-selection lists too
  virtual void SetItemSelected(int id, int index, bool selected) = 0;
  virtual void SetTopIndex(int id, int index) = 0;
  // LB_SETITEMHEIGHT: every item of a list box `height` pixels high. Win32 refuses a
  // height outside 1 to 255, and so does this (false), as it does for other controls.
  virtual bool SetItemHeight(int id, int height) = 0;
  // LB_SETCOLUMNWIDTH: the width in pixels of each column of a multi-column list box.
  virtual void SetColumnWidth(int id, int width) = 0;
  // CB_SHOWDROPDOWN: opens (true) or closes a combo box's list.
  virtual void ShowDropDown(int id, bool show) = 0;
  virtual bool IsDroppedDown(int id) const = 0;  // CB_GETDROPPEDSTATE

  // Owner-draw: while the procedure handles WM_DRAWITEM for this control, paints the image
  // (BMP or ICO bytes) into the control at x, y, scaled to width by height (0: the image's
  // own size); at any other time draws it over the control until the control is next
  // painted. False when the bytes are no image or the control is missing.
  virtual bool PaintImage(int id, int x, int y, int width, int height,
                          std::string_view imageBytes) = 0;
};

using DialogProc = std::function<Result(const Message& message)>;

struct DialogCreation {
  std::unique_ptr<Dialog> dialog;  // null on failure
  uint32_t error = 0;              // the Win32 error code on failure
  std::string detail;              // what failed, for the debug output (a class name ...)
};

// CreateDialogParam: makes the dialog, hidden unless its template has WS_VISIBLE, owned by
// the window `owner`, its messages answered by `proc` (the procedure receives the messages
// its controls send while they are created, then WM_INITDIALOG). Fails with
// kErrorClassNotFound when a control names a class that is neither standard nor
// registered, kErrorNoDesktop without a dialog builder.
DialogCreation CreateDialog(const DialogTemplate& dialogTemplate, Hwnd owner, DialogProc proc,
                            const DialogResources& resources);

// The dialog builder the front end supplies; InstallDialogBuilder(nullptr) removes it.
using DialogBuilder = DialogCreation (*)(const DialogTemplate& dialogTemplate, Hwnd owner,
                                         DialogProc proc, const DialogResources& resources);
void InstallDialogBuilder(DialogBuilder builder);

// GetWindowRect of the desktop window: the screen as the front end knows it, which it
// supplies (InstallScreenSource) with the dialog builder; empty without a front end.
Rect DesktopWindowRect();
using ScreenSource = Rect (*)();
void InstallScreenSource(ScreenSource source);

// Control classes beyond the standard ones (the custom-control libraries' classes): a
// class name as templates write it (compared without regard to case), and the class
// whose behaviour it takes, either a standard class ("BUTTON", "STATIC", "EDIT",
// "LISTBOX", "COMBOBOX", "SCROLLBAR", "msctls_trackbar32", ...) or one of the platform's
// broadcast controls (docs/CONTROLS.md). A class may also fix style bits: the bits of
// styleMask in a template's style are replaced by those of `style` (BorCheck is always an
// auto check box whatever button style its template gives). False when the behaviour is
// unknown.
bool RegisterControlClass(std::string_view name, std::string_view behaviour, uint32_t style = 0,
                          uint32_t styleMask = 0);
// The behaviour a class name stands for: itself for a standard class, the registered
// behaviour for a custom one, empty when neither.
std::string ControlClassBehaviour(std::string_view name);
// The style a control of that class has when its template gives templateStyle.
uint32_t ControlClassStyle(std::string_view name, uint32_t templateStyle);
// Forgets every registered class (for tests).
void UnregisterControlClasses();

}  // namespace velcrum::platform
