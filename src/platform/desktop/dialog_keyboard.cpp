// The dialog manager's keyboard, as an event filter that sees each key before the control.
#include "platform/desktop/dialog_keyboard.h"

#include <QKeyEvent>
#include <QWidget>

namespace velcrum::platform {
namespace {

bool CanTakeFocus(const DialogControl& control) {
  const QWidget* widget = control.Widget();
  return widget && widget->isVisibleTo(widget->parentWidget()) && widget->isEnabled() &&
         control.Kind() != ControlKind::kStatic;
}

// Alt held, or Alt itself: the keys of shortcuts such as Alt+Shift+D.
bool IsSystemKey(const QKeyEvent& key) {
  return (key.modifiers() & Qt::AltModifier) || key.key() == Qt::Key_Alt;
}

bool IsButton(ControlKind kind) {
  return kind == ControlKind::kPushButton || kind == ControlKind::kDefaultPushButton ||
         kind == ControlKind::kButton || kind == ControlKind::kRadio ||
         kind == ControlKind::kAutoRadio;
}

class DialogKeyboard final : public QObject {
 public:
  DialogKeyboard(DialogNavigation& dialog, QWidget* dialogWidget)
      : dialog_(dialog), dialogWidget_(dialogWidget) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    DialogControl* current =
        widget == dialogWidget_ ? dialog_.FocusedControlObject() : dialog_.ControlOfWidget(widget);
    if (type == QEvent::KeyPress && Take(*static_cast<QKeyEvent*>(event), current)) return true;
    // A key a control did not want stops there, so that the dialog's own window never
    // sees it; but for the system keys, which go on to the dialog's procedure as
    // WM_SYSKEYDOWN and WM_SYSKEYUP.
    return widget == dialogWidget_ && current != nullptr &&
           !IsSystemKey(*static_cast<QKeyEvent*>(event));
  }

 private:
  bool Take(const QKeyEvent& key, DialogControl* current) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const bool plain = (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier;
    switch (key.key()) {
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
        if (!plain) return false;
        MoveTab(current, key.key() == Qt::Key_Backtab || (modifiers & Qt::ShiftModifier));
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (current && current->Kind() == ControlKind::kWantsReturn) return false;
        PressDefault(current);
        return true;
      case Qt::Key_Escape:
        dialog_.DialogCommand(static_cast<uint32_t>(IDCANCEL));
        return true;
      case Qt::Key_Up:
      case Qt::Key_Left:
      case Qt::Key_Down:
      case Qt::Key_Right:
        if (!plain || !current || !IsButton(current->Kind())) return false;
        MoveInGroup(*current, key.key() == Qt::Key_Down || key.key() == Qt::Key_Right);
        return true;
      default:
        return false;
    }
  }

  size_t IndexOf(const DialogControl* control) const {
    const auto& controls = dialog_.Controls();
    for (size_t i = 0; i < controls.size(); ++i) {
      if (controls[i].get() == control) return i;
    }
    return controls.size();
  }

  void MoveTab(DialogControl* current, bool backwards) {
    const auto& controls = dialog_.Controls();
    const size_t count = controls.size();
    if (count == 0) return;
    const size_t at = IndexOf(current);
    for (size_t step = 1; step <= count; ++step) {
      size_t index = 0;
      if (at == count) {
        index = backwards ? count - step : step - 1;
      } else {
        index = backwards ? (at + count - step) % count : (at + step) % count;
      }
      DialogControl& candidate = *controls[index];
      if ((candidate.TemplateStyle() & WS_TABSTOP) && CanTakeFocus(candidate)) {
        candidate.Widget()->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        return;
      }
    }
  }

  void MoveInGroup(DialogControl& current, bool forwards) {
    const auto& controls = dialog_.Controls();
    const size_t at = IndexOf(&current);
    if (at == controls.size()) return;
    const auto [first, last] = GroupOf(controls, at);
    const size_t size = last - first;
    for (size_t step = 1; step < size; ++step) {
      const size_t offset =
          forwards ? (at - first + step) % size : (at - first + size - step) % size;
      DialogControl& candidate = *controls[first + offset];
      if (!CanTakeFocus(candidate)) continue;
      candidate.Widget()->setFocus(Qt::OtherFocusReason);
      if (candidate.Kind() == ControlKind::kAutoRadio) dialog_.ClickRadio(candidate);
      return;
    }
  }

  void PressDefault(DialogControl* current) {
    int id = IDOK;
    const DialogControl* button = nullptr;
    if (current && (current->Kind() == ControlKind::kPushButton ||
                    current->Kind() == ControlKind::kDefaultPushButton)) {
      button = current;
    } else {
      for (const auto& control : dialog_.Controls()) {
        if (control->Kind() == ControlKind::kDefaultPushButton) {
          button = control.get();
          break;
        }
      }
    }
    if (button) {
      // A disabled default button takes Enter and does nothing.
      if (!button->Widget()->isEnabled()) return;
      id = button->Id();
    }
    dialog_.DialogCommand((static_cast<uint32_t>(BN_CLICKED) << 16) | static_cast<uint32_t>(id));
  }

  DialogNavigation& dialog_;
  QWidget* dialogWidget_;
};

}  // namespace

std::pair<size_t, size_t> GroupOf(const std::vector<std::unique_ptr<DialogControl>>& controls,
                                  size_t index) {
  size_t first = index;
  while (first > 0 && !(controls[first]->TemplateStyle() & WS_GROUP)) --first;
  size_t last = index + 1;
  while (last < controls.size() && !(controls[last]->TemplateStyle() & WS_GROUP)) ++last;
  return {first, last};
}

std::unique_ptr<QObject> MakeDialogKeyboard(DialogNavigation& dialog, QWidget* dialogWidget) {
  return std::make_unique<DialogKeyboard>(dialog, dialogWidget);
}

}  // namespace velcrum::platform
