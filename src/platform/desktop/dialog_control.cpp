// The part every control shares: identity, placement, notifications, owner-draw and the
// images drawn over it; the Win32 answers of the item lists; the choice of a maker.
#include "platform/desktop/dialog_control.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <atomic>

#include "platform/ascii_case.h"

namespace velcrum::platform {
namespace {

// Tokens are above every window handle, so that no token is ever taken for one (or for
// the 13 of a return-key notification).
std::atomic<uint32_t> g_nextToken{0x10000};

int32_t PackPoint(QPoint point) {
  const auto x = static_cast<uint16_t>(static_cast<int16_t>(point.x()));
  const auto y = static_cast<uint16_t>(static_cast<int16_t>(point.y()));
  return static_cast<int32_t>(static_cast<uint32_t>(x) | (static_cast<uint32_t>(y) << 16));
}

// Watches a control's widget (and its parts): tells the dialog of a press before the
// control sees it (WM_PARENTNOTIFY, wParam the button message and the identifier, lParam
// the point in the dialog's client area), and paints the images drawn over the control
// after the control has painted itself.
class ControlWatcher final : public QObject {
 public:
  ControlWatcher(ControlHost& host, const DialogControl& control)
      : host_(host), control_(control) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) return PaintOver(watched, event);
    if (event->type() != QEvent::MouseButtonPress || !notifyPresses_) return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    uint32_t button = 0;
    switch (mouse->button()) {
      case Qt::LeftButton:
        button = WM_LBUTTONDOWN;
        break;
      case Qt::RightButton:
        button = WM_RBUTTONDOWN;
        break;
      case Qt::MiddleButton:
        button = WM_MBUTTONDOWN;
        break;
      default:
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    QWidget* dialog = control_.Widget()->parentWidget();
    if (!widget || !dialog) return false;
    const QPoint at = widget->mapTo(dialog, mouse->position().toPoint());
    host_.NotifyDialog(Message::Plain(
        WM_PARENTNOTIFY, button | (static_cast<uint32_t>(control_.Id()) << 16), PackPoint(at)));
    return false;
  }

 public:
  bool notifyPresses_ = true;

 private:
  bool PaintOver(QObject* watched, QEvent* event) {
    if (painting_ || watched != control_.Widget() || !control_.HasOverlays()) return false;
    // The widget paints itself first (the event again, past this filter), then the images
    // go over it, still within its paint event.
    painting_ = true;
    QCoreApplication::sendEvent(watched, event);
    painting_ = false;
    QPainter painter(control_.Widget());
    control_.PaintOverlays(painter);
    return true;
  }

  ControlHost& host_;
  const DialogControl& control_;
  bool painting_ = false;
};

bool BeginsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

QImage DecodeImage(std::string_view bytes) {
  return QImage::fromData(
      QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// --- ItemList ---------------------------------------------------------------------------

int ItemList::Add(std::string_view text) {
  int index = Count();
  if (SortedList()) {
    // Case does not count in a sorted list; an item goes after those equal to it.
    const std::string key = LowerAsciiText(text);
    const auto place = std::upper_bound(
        items_.begin(), items_.end(), key,
        [](const std::string& k, const std::string& item) { return k < LowerAsciiText(item); });
    index = static_cast<int>(place - items_.begin());
  }
  return Insert(index, text);
}

int ItemList::Insert(int index, std::string_view text) {
  if (index == -1) index = Count();
  if (index < 0 || index > Count()) return -1;
  const int before = Selection();
  items_.insert(items_.begin() + index, std::string(text));
  programmatic_ = true;
  ShowInserted(index);
  KeepSelection(before, index, +1);
  programmatic_ = false;
  return index;
}

int ItemList::Delete(int index) {
  if (index < 0 || index >= Count()) return -1;
  const int before = Selection();
  items_.erase(items_.begin() + index);
  programmatic_ = true;
  ShowRemoved(index);
  KeepSelection(before, index, -1);
  programmatic_ = false;
  return Count();
}

void ItemList::KeepSelection(int before, int index, int change) {
  if (!SelectionFollowsItems()) return;
  int expected = before;
  if (before >= 0 && change > 0 && before >= index) expected = before + 1;
  if (before >= 0 && change < 0)
    expected = before == index ? -1 : before > index ? before - 1 : before;
  if (ShownCurrent() != expected) ShowCurrent(expected);
}

void ItemList::Reset() {
  items_.clear();
  programmatic_ = true;
  ShowCleared();
  programmatic_ = false;
}

void ItemList::Replace(const std::vector<std::string>& items) {
  items_ = items;
  if (SortedList()) {
    // As one Add after another: case does not count, equal items keep their order.
    std::stable_sort(items_.begin(), items_.end(), [](const std::string& a, const std::string& b) {
      return LowerAsciiText(a) < LowerAsciiText(b);
    });
  }
  programmatic_ = true;
  ShowReplaced();
  programmatic_ = false;
}

void ItemList::ShowReplaced() {
  ShowCleared();
  for (int index = 0; index < Count(); ++index) ShowInserted(index);
  if (SelectionFollowsItems() && ShownCurrent() != -1) ShowCurrent(-1);
}

std::string ItemList::Text(int index) const {
  if (index < 0 || index >= Count()) return {};
  return items_[static_cast<size_t>(index)];
}

int ItemList::Selection() const {
  const int current = ShownCurrent();
  return current >= 0 && current < Count() ? current : -1;
}

int ItemList::SetSelection(int index) {
  // As LB_SETCURSEL and CB_SETCURSEL: -1 or an index out of range clears the selection
  // and answers LB_ERR. A multiple-selection list has no current selection to set.
  if (MultipleSelection()) return -1;
  const bool valid = index >= 0 && index < Count();
  programmatic_ = true;
  ShowCurrent(valid ? index : -1);
  programmatic_ = false;
  return valid ? index : -1;
}

int ItemList::Find(int after, std::string_view text, bool exact) const {
  const int count = Count();
  if (count == 0) return -1;
  const int start = after < -1 || after >= count ? 0 : after + 1;
  for (int step = 0; step < count; ++step) {
    const int index = (start + step) % count;
    const std::string& item = items_[static_cast<size_t>(index)];
    if (exact ? EqualNoCase(item, text) : BeginsWithNoCase(item, text)) return index;
  }
  return -1;
}

int ItemList::SelectString(int after, std::string_view text) {
  const int found = Find(after, text, false);
  if (found < 0) return -1;
  programmatic_ = true;
  if (MultipleSelection()) {
    ShowSelected(found, true);
  } else {
    ShowCurrent(found);
  }
  programmatic_ = false;
  return found;
}

bool ItemList::IsSelected(int index) const {
  return index >= 0 && index < Count() && ShownSelected(index);
}

void ItemList::SetSelected(int index, bool selected) {
  if (index < -1 || index >= Count()) return;
  programmatic_ = true;
  if (index == -1) {  // LB_SETSEL with -1: every item
    for (int i = 0; i < Count(); ++i) ShowSelected(i, selected);
  } else {
    ShowSelected(index, selected);
  }
  programmatic_ = false;
}

void ItemList::SetTop(int index) {
  if (index >= 0 && index < Count()) ShowTop(index);
}

// --- DialogControl ----------------------------------------------------------------------

DialogControl::DialogControl(ControlHost& host, const ControlTemplate& controlTemplate,
                             std::string behaviour)
    : host_(host),
      text_(controlTemplate.text),
      id_(controlTemplate.id & 0xFFFF),
      token_(g_nextToken++),
      style_(controlTemplate.style),
      exStyle_(controlTemplate.exStyle),
      className_(controlTemplate.className),
      behaviour_(std::move(behaviour)) {}

DialogControl::~DialogControl() {
  // The widget may be on the stack (the dialog destroyed from one of its signals): it goes
  // later, with its dialog's widget, and hears nothing more from this control.
  if (widget_ && watcher_) {
    widget_->removeEventFilter(watcher_.get());
    for (QWidget* part : widget_->findChildren<QWidget*>()) part->removeEventFilter(watcher_.get());
  }
  if (widget_) {
    widget_->hide();
    widget_.release()->deleteLater();
  }
  // The watcher may be on the stack as well (a press whose WM_PARENTNOTIFY closed the panel).
  if (watcher_) watcher_.release()->deleteLater();
}

uint32_t DialogControl::Style() const {
  uint32_t style = style_ & ~(WS_VISIBLE | WS_DISABLED);
  if (widget_ && !widget_->isHidden()) style |= WS_VISIBLE;
  if (widget_ && !widget_->isEnabled()) style |= WS_DISABLED;
  return style;
}

void DialogControl::SetText(std::string_view text) {
  text_.assign(text);
  DropOverlays();
}

void DialogControl::Adopt(std::unique_ptr<QWidget> widget, const QRect& rect) {
  widget_ = std::move(widget);
  widget_->setGeometry(rect);
  if (!(style_ & WS_VISIBLE)) widget_->hide();
  if (style_ & WS_DISABLED) widget_->setEnabled(false);
  auto watcher = std::make_unique<ControlWatcher>(host_, *this);
  watcher->notifyPresses_ = !(exStyle_ & WS_EX_NOPARENTNOTIFY);
  widget_->installEventFilter(watcher.get());
  for (QWidget* part : widget_->findChildren<QWidget*>()) part->installEventFilter(watcher.get());
  watcher_ = std::move(watcher);
}

void DialogControl::Command(uint16_t code) {
  host_.NotifyDialog(
      Message::Plain(WM_COMMAND, (static_cast<uint32_t>(code) << 16) | static_cast<uint32_t>(id_),
                     static_cast<int32_t>(token_)));
}

void DialogControl::Scroll(bool vertical, uint16_t request, int position) {
  host_.NotifyDialog(
      Message::Plain(vertical ? WM_VSCROLL : WM_HSCROLL,
                     request | (static_cast<uint32_t>(static_cast<uint16_t>(position)) << 16),
                     static_cast<int32_t>(token_)));
}

void DialogControl::NotifyCode(int32_t code) {
  host_.NotifyDialog(Message::Plain(WM_NOTIFY, static_cast<uint32_t>(id_), code));
}

void DialogControl::OwnerDraw(QPainter& painter, uint32_t ctlType, uint32_t state) {
  // The action is what changed since the last drawing: the pressed state, else the focus,
  // else (and the first time) the whole control.
  uint32_t action = ODA_DRAWENTIRE;
  if (drawnOnce_ && ((state ^ lastDrawState_) & ODS_SELECTED)) {
    action = ODA_SELECT;
  } else if (drawnOnce_ && ((state ^ lastDrawState_) & ODS_FOCUS)) {
    action = ODA_FOCUS;
  }
  drawnOnce_ = true;
  lastDrawState_ = state;
  drawing_ = &painter;
  host_.NotifyDialog(Message::Plain(WM_DRAWITEM, static_cast<uint32_t>(id_),
                                    PackDrawItem(DrawItem{ctlType, action, state})));
  drawing_ = nullptr;
}

bool DialogControl::PaintImage(int x, int y, int width, int height, std::string_view bytes) {
  QImage image = DecodeImage(bytes);
  if (image.isNull()) return false;
  if (width > 0 && height > 0) image = image.scaled(width, height);
  if (drawing_) {
    drawing_->drawImage(QPoint(x, y), image);
    return true;
  }
  overlays_.push_back(Overlay{QPoint(x, y), std::move(image)});
  if (widget_) widget_->update();
  return true;
}

void DialogControl::DropOverlays() {
  if (overlays_.empty()) return;
  overlays_.clear();
  if (widget_) widget_->update();
}

void DialogControl::PaintOverlays(QPainter& painter) const {
  for (const Overlay& overlay : overlays_) painter.drawImage(overlay.at, overlay.image);
}

std::unique_ptr<DialogControl> MakeControl(ControlHost& host, const ControlBlueprint& blueprint) {
  const std::string& behaviour = blueprint.behaviour;
  if (behaviour == "BUTTON" || behaviour == "LATCHBUTTON" || behaviour == "TALLYLAMP") {
    return MakeButton(host, blueprint);
  }
  if (behaviour == "STATIC") return MakeStatic(host, blueprint);
  if (behaviour == "EDIT") return MakeEdit(host, blueprint);
  if (behaviour == "LISTBOX" || behaviour == "COMBOBOX" || behaviour == "SysTabControl32" ||
      behaviour == "SysListView32" || behaviour == "SysTreeView32") {
    return MakeList(host, blueprint);
  }
  return MakeRange(host, blueprint);  // scroll bars, trackbars, up-down and progress controls
}

}  // namespace velcrum::platform
