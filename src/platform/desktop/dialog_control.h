// A control of a dialog: one child widget of the dialog's widget with its identifier, its
// class and style as the template gave them, the token its notifications carry, and the
// Win32 operations the dialog forwards to it. Each family of classes (buttons, statics,
// edits, lists, ranges) derives its own kind; an operation a kind does not have answers
// as Win32 does for a control of the wrong class (nothing, 0, empty).
//
// Controls are not windows of the desktop: a panel may have hundreds of them, and they
// are reached only through their dialog. Internal to the platform layer.
#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/message.h"
#include "platform/dialog.h"
#include "platform/window_styles.h"

class QPainter;

namespace velcrum::platform {

class DialogControl;

// What a control needs from its dialog.
class ControlHost {
 public:
  virtual ~ControlHost() = default;
  // Sends the message to the dialog's procedure (and its default processing).
  virtual void NotifyDialog(Message message) = 0;
  // An auto radio button has been checked: the other radio buttons of its group are
  // cleared.
  virtual void RadioChecked(DialogControl& radio) = 0;
  // The bytes of a BITMAP or ICON resource of the dialog's resources.
  virtual bool LoadResourceImage(std::string_view name, bool icon, std::string& bytes) = 0;
};

// What the dialog manager's keyboard needs to know of a control.
enum class ControlKind {
  kOther,       // takes its own arrows, Enter goes to the default button
  kPushButton,  // a push button (becomes the default while it has the focus)
  kDefaultPushButton,
  kButton,       // check boxes, radio buttons, group boxes and the broadcast buttons
  kRadio,        // a radio button the program checks
  kAutoRadio,    // checked (with BN_CLICKED) when the arrows bring the focus to it
  kStatic,       // never has the focus
  kWantsReturn,  // a multi-line edit with ES_WANTRETURN
};

// The image bytes of a BMP or ICO resource, decoded; null when they are no image.
QImage DecodeImage(std::string_view bytes);

// The lists of LB_ and CB_ messages (and the item-holding common controls), with Win32's
// answers computed once over the kind's own primitives. Items are kept as the bytes the
// program gave.
class ItemList {
 public:
  virtual ~ItemList() = default;

  int Add(std::string_view text);
  int Insert(int index, std::string_view text);
  int Delete(int index);
  void Reset();
  // Reset, then Add of each item (a sorted list sorts them).
  void Replace(const std::vector<std::string>& items);
  int Count() const { return static_cast<int>(items_.size()); }
  std::string Text(int index) const;
  int Selection() const;
  int SetSelection(int index);
  int SelectString(int after, std::string_view text);
  int Find(int after, std::string_view text, bool exact) const;
  bool IsSelected(int index) const;
  void SetSelected(int index, bool selected);
  void SetTop(int index);
  // LB_SETITEMHEIGHT, LB_SETCOLUMNWIDTH and CB_SHOWDROPDOWN, for the kinds that have them;
  // the others ignore them (false, not dropped down).
  virtual bool SetItemHeight(int /*height*/) { return false; }
  virtual void SetColumnWidth(int /*width*/) {}
  virtual void ShowDropDown(bool /*show*/) {}
  virtual bool IsDroppedDown() const { return false; }

 protected:
  // The widget's side of each operation; indexes are valid when these are called.
  virtual bool SortedList() const = 0;
  virtual bool MultipleSelection() const { return false; }
  // Whether the selection stays on its item while others come and go (and goes with a
  // deleted item), as in list and combo boxes; a tab control always has a current tab.
  virtual bool SelectionFollowsItems() const { return !MultipleSelection(); }
  virtual void ShowInserted(int index) = 0;
  virtual void ShowRemoved(int index) = 0;
  virtual void ShowCleared() = 0;
  // Shows items_ in place of everything shown, with nothing selected.
  virtual void ShowReplaced();
  virtual int ShownCurrent() const = 0;
  virtual void ShowCurrent(int index) = 0;  // -1: none
  virtual bool ShownSelected(int index) const { return ShownCurrent() == index; }
  virtual void ShowSelected(int index, bool selected) {
    if (selected) ShowCurrent(index);
  }
  virtual void ShowTop(int) {}

  // Puts the selection back where Win32 has it after an item at `index` came (+1) or
  // went (-1), when the widget moved it elsewhere.
  void KeepSelection(int before, int index, int change);

  std::vector<std::string> items_;
  // Set while an operation of the program changes the widget, so that only the user's
  // changes notify.
  bool programmatic_ = false;
};

class DialogControl {
 public:
  DialogControl(ControlHost& host, const ControlTemplate& controlTemplate, std::string behaviour);
  virtual ~DialogControl();
  DialogControl(const DialogControl&) = delete;
  DialogControl& operator=(const DialogControl&) = delete;

  QWidget* Widget() const { return widget_.get(); }
  int Id() const { return id_; }
  void SetId(int id) { id_ = id & 0xFFFF; }
  uint32_t Token() const { return token_; }
  const std::string& ClassName() const { return className_; }
  const std::string& Behaviour() const { return behaviour_; }
  // The template's style with the visible and disabled bits as the control is now.
  uint32_t Style() const;
  uint32_t TemplateStyle() const { return style_; }
  virtual ControlKind Kind() const { return ControlKind::kOther; }

  virtual std::string Text() const { return text_; }
  virtual void SetText(std::string_view text);
  virtual int CheckState() const { return 0; }
  virtual void SetCheckState(int) {}
  virtual void SetRange(int, int) {}
  virtual void SetPosition(int) {}
  virtual int Position() const { return 0; }
  virtual ItemList* Items() { return nullptr; }

  // PaintImage: into the control while it is being owner-drawn, else over it until the
  // program next changes it.
  bool PaintImage(int x, int y, int width, int height, std::string_view bytes);
  // Forgets the images drawn over the control (it has changed).
  void DropOverlays();
  bool HasOverlays() const { return !overlays_.empty(); }
  void PaintOverlays(QPainter& painter) const;

 protected:
  // Takes the widget: places it, shows it per WS_VISIBLE and WS_DISABLED, and watches its
  // presses (WM_PARENTNOTIFY) and paintings (the images drawn over it).
  void Adopt(std::unique_ptr<QWidget> widget, const QRect& rect);
  // WM_COMMAND with this control's identifier and handle.
  void Command(uint16_t code);
  // WM_VSCROLL or WM_HSCROLL with the request and position.
  void Scroll(bool vertical, uint16_t request, int position);
  // WM_NOTIFY with this control's identifier and the notification code (docs/CONTROLS.md).
  void NotifyCode(int32_t code);
  // WM_DRAWITEM for an owner-drawn control, painting on `painter` while the procedure runs.
  void OwnerDraw(QPainter& painter, uint32_t ctlType, uint32_t state);
  ControlHost& host_;
  std::string text_;  // the bytes of the caption, as last set
  // The connections of the widget's signals: they end with the control, also when the
  // dialog is destroyed from inside one of them and the widget outlives it.
  QObject context_;

 private:
  struct Overlay {
    QPoint at;
    QImage image;
  };
  std::unique_ptr<QWidget> widget_;
  std::unique_ptr<QObject> watcher_;
  int id_ = 0;
  uint32_t token_ = 0;
  uint32_t style_ = 0;
  uint32_t exStyle_ = 0;
  std::string className_;
  std::string behaviour_;
  QPainter* drawing_ = nullptr;  // while WM_DRAWITEM is being handled
  uint32_t lastDrawState_ = 0;
  bool drawnOnce_ = false;
  std::vector<Overlay> overlays_;
};

// What a control is made from.
struct ControlBlueprint {
  const ControlTemplate& controlTemplate;
  std::string behaviour;  // the standard class or broadcast control it behaves as
  QRect rect;             // pixels of the dialog's client area
  QWidget* parent;        // the dialog's widget
  int itemHeight;         // list items: the dialog's base height
};

// The makers, one per family, each in its own file; MakeControl chooses among them by the
// behaviour.
std::unique_ptr<DialogControl> MakeButton(ControlHost& host, const ControlBlueprint& blueprint);
std::unique_ptr<DialogControl> MakeStatic(ControlHost& host, const ControlBlueprint& blueprint);
std::unique_ptr<DialogControl> MakeEdit(ControlHost& host, const ControlBlueprint& blueprint);
std::unique_ptr<DialogControl> MakeList(ControlHost& host, const ControlBlueprint& blueprint);
std::unique_ptr<DialogControl> MakeRange(ControlHost& host, const ControlBlueprint& blueprint);
std::unique_ptr<DialogControl> MakeControl(ControlHost& host, const ControlBlueprint& blueprint);

}  // namespace velcrum::platform
