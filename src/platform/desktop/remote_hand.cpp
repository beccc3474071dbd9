// The desktop tool's hand inside a process: what each request does. Pressing, selecting,
// dragging and typing are real input: Qt mouse and key events delivered to the window the
// way the window system delivers them, so that the window finds the widget under the
// pointer or with the focus, event filters (the input translator, the dialog's own) see
// them, and the dialog answers with the notifications it gives an operator.
#include "platform/desktop/remote_hand.h"

#include <unistd.h>

#include <QAbstractItemView>
#include <QBuffer>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionSlider>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/desktop_session.h"
#include "platform/desktop/dialog_control.h"
#include "platform/desktop/local_dialogs.h"
#include "platform/desktop/remote_hand_keys.h"
#include "platform/quoted_text.h"

namespace velcrum::platform {
namespace {

// The longest control text `controls` shows.
constexpr size_t kMaxControlText = 4096;

struct Answer {
  Result status = kHandDone;
  std::string bytes;
};

Answer Refused(std::string reason) {
  return Answer{kHandRefused, std::move(reason)};
}

std::string HandleText(Hwnd hwnd) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", hwnd);
  return text;
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  for (size_t at = 0; at < text.size();) {
    const size_t end = std::min(text.find(' ', at), text.size());
    if (end > at) words.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return words;
}

std::optional<int> Integer(std::string_view word) {
  int value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::string Behaviour(const Dialog& dialog, int id) {
  return ControlClassBehaviour(dialog.ControlClass(id));
}

bool IsList(const std::string& behaviour) {
  return behaviour == "LISTBOX" || behaviour == "COMBOBOX";
}

// The control's value as `controls` shows it.
int ControlValue(DialogControl& control) {
  const std::string& behaviour = control.Behaviour();
  if (behaviour == "BUTTON" || behaviour == "LATCHBUTTON") return control.CheckState();
  if (behaviour == "SCROLLBAR" || behaviour == "msctls_trackbar32") return control.Position();
  if (IsList(behaviour)) {
    const ItemList* items = control.Items();
    return items ? items->Selection() : -1;
  }
  return 0;
}

// One line per control object, so that controls sharing an identifier each show their own.
Answer Controls(Hwnd hwnd) {
  std::string out;
  const DialogControl* focus = LocalFocusedControl(hwnd);
  for (DialogControl* control : LocalDialogControls(hwnd)) {
    const QWidget* widget = control->Widget();
    const QRect place = widget->geometry();
    std::string state;
    if (widget->isVisible()) state += 'V';
    if (widget->isEnabled()) state += 'E';
    if (control->CheckState() != 0) state += 'C';
    if (control == focus) state += 'F';
    if (state.empty()) state = "-";
    out += std::to_string(control->Id()) + ' ' + control->ClassName() + ' ' +
           std::to_string(place.x()) + ' ' + std::to_string(place.y()) + ' ' +
           std::to_string(place.width()) + ' ' + std::to_string(place.height()) + ' ' + state +
           ' ' + std::to_string(ControlValue(*control)) + ' ' +
           QuotedText(control->Text().substr(0, kMaxControlText)) + '\n';
  }
  return Answer{kHandDone, out};
}

Answer Items(const Dialog& dialog, int id, const std::string& what) {
  const std::string behaviour = Behaviour(dialog, id);
  if (!IsList(behaviour)) return Refused(what + " is not a list box or combo box");
  std::string out;
  const int count = dialog.ItemCount(id);
  const int current = dialog.CurrentSelection(id);
  for (int index = 0; index < count; ++index) {
    const bool selected =
        behaviour == "COMBOBOX" ? index == current : dialog.IsItemSelected(id, index);
    out += std::to_string(index) + (selected ? "* " : " ") +
           QuotedText(dialog.ItemText(id, index)) + '\n';
  }
  return Answer{kHandDone, out};
}

// A place under the pointer: the top-level window that gets the event, and the point in
// the window's and the screen's coordinates. Taken before the first event of a gesture,
// since what the events do may move or destroy the widget.
struct Spot {
  QPointer<QWindow> window;
  QPointF local;
  QPointF global;
};

Spot SpotOf(QWidget* widget, QPoint point) {
  QWidget* top = widget->window();
  return Spot{top->windowHandle(), widget->mapTo(top, QPointF(point)),
              widget->mapToGlobal(QPointF(point))};
}

// One mouse event with a button (the left one unless told), delivered to the window as
// the window system delivers it.
void Mouse(const Spot& spot, QEvent::Type type, Qt::MouseButton pressed = Qt::LeftButton) {
  if (!spot.window) return;
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : pressed;
  const Qt::MouseButtons buttons =
      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(pressed);
  QMouseEvent event(type, spot.local, spot.local, spot.global, button, buttons,
                    QGuiApplication::keyboardModifiers());
  QCoreApplication::sendEvent(spot.window, &event);
}

void Click(const Spot& spot) {
  Mouse(spot, QEvent::MouseButtonPress);
  Mouse(spot, QEvent::MouseButtonRelease);
}

// Why a widget cannot be reached by the pointer or the keyboard, or empty.
std::string Unreachable(QWidget* widget, const std::string& what) {
  if (!widget->window()->isVisible()) return what + " is not shown (its window is hidden)";
  if (!widget->isVisible()) return what + " is hidden";
  if (!widget->window()->windowHandle()) return what + " has no window on the screen";
  return {};
}

template <typename T>
T* Part(QWidget* control) {
  if (auto* itself = qobject_cast<T*>(control)) return itself;
  return control->findChild<T*>();
}

// One key event, to the window: the window gives it to its focused widget, and what that
// widget does not take goes on to its parents.
void Key(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
         const QString& text = {}) {
  QKeyEvent event(type, key, modifiers, text);
  QCoreApplication::sendEvent(window, &event);
}

// Opens the combo box's list with a press, moves down the list to the item and lets go
// there, as an operator picks an item in one gesture.
Answer SelectInCombo(QComboBox* combo, int index, const std::string& what) {
  if (index < 0 || index >= combo->count()) {
    return Refused(what + " has no item " + std::to_string(index) + " (it has " +
                   std::to_string(combo->count()) + ")");
  }
  // An editable combo box opens from its arrow only.
  QStyleOptionComboBox option;
  option.initFrom(combo);
  option.editable = combo->isEditable();
  option.frame = combo->hasFrame();
  option.subControls = QStyle::SC_All;
  const QPoint press = combo->isEditable() ? combo->style()
                                                 ->subControlRect(QStyle::CC_ComboBox, &option,
                                                                  QStyle::SC_ComboBoxArrow, combo)
                                                 .center()
                                           : combo->rect().center();
  const Spot start = SpotOf(combo, press);
  const QPointer<QComboBox> guard = combo;
  Mouse(start, QEvent::MouseButtonPress);
  QAbstractItemView* view = guard ? combo->view() : nullptr;
  if (!view || !view->isVisible()) {
    Mouse(start, QEvent::MouseButtonRelease);
    return Refused(what + " did not open its list");
  }
  const QModelIndex item = view->model()->index(index, combo->modelColumn(), view->rootIndex());
  view->scrollTo(item);
  const QPoint row = view->visualRect(item).center();
  const Spot over = SpotOf(view->viewport(), row);
  // The list takes a release as a choice only once the pointer has moved away from where
  // the press opened it.
  if ((over.global - start.global).manhattanLength() < 10) {
    Mouse(SpotOf(view->viewport(), row + QPoint(0, 12)), QEvent::MouseMove);
  }
  Mouse(over, QEvent::MouseMove);
  Mouse(over, QEvent::MouseButtonRelease);
  // An item the list does not let be chosen leaves it open: Escape closes it, as an
  // operator would.
  if (guard && combo->view()->isVisible()) {
    if (QWindow* popup = combo->view()->window()->windowHandle()) {
      Key(popup, QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, "\x1b");
      Key(popup, QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, "\x1b");
    }
    return Refused("item " + std::to_string(index) + " of " + what + " cannot be chosen");
  }
  return {};
}

Answer SelectInList(QAbstractItemView* view, int index, const std::string& what) {
  QAbstractItemModel* model = view->model();
  const int rows = model ? model->rowCount(view->rootIndex()) : 0;
  if (index < 0 || index >= rows) {
    return Refused(what + " has no item " + std::to_string(index) + " (it has " +
                   std::to_string(rows) + ")");
  }
  const auto* list = qobject_cast<QListView*>(view);
  const QModelIndex item = model->index(index, list ? list->modelColumn() : 0, view->rootIndex());
  // The operator scrolls the list until the item shows, then presses on its row.
  view->scrollTo(item);
  const QRect row = view->visualRect(item);
  if (!row.isValid()) return Refused(what + " does not show item " + std::to_string(index));
  Click(SpotOf(view->viewport(), row.center()));
  return {};
}

// Where a slider's thumb is and how far it travels, as the style lays them out.
struct Track {
  QRect thumb;
  int start = 0;  // the first pixel the thumb's leading edge reaches
  int span = 0;   // the pixels it travels
  bool horizontal = false;
  bool upsideDown = false;
};

std::optional<Track> TrackOf(QAbstractSlider* slider) {
  QStyleOptionSlider option;
  option.initFrom(slider);
  option.orientation = slider->orientation();
  option.minimum = slider->minimum();
  option.maximum = slider->maximum();
  option.sliderPosition = slider->sliderPosition();
  option.sliderValue = slider->value();
  option.singleStep = slider->singleStep();
  option.pageStep = slider->pageStep();
  option.subControls = QStyle::SC_All;
  const bool horizontal = slider->orientation() == Qt::Horizontal;
  if (horizontal) option.state |= QStyle::State_Horizontal;
  QStyle::ComplexControl control;
  QStyle::SubControl handle;
  QStyle::SubControl groove;
  if (qobject_cast<QScrollBar*>(slider)) {
    control = QStyle::CC_ScrollBar;
    handle = QStyle::SC_ScrollBarSlider;
    groove = QStyle::SC_ScrollBarGroove;
    option.upsideDown = slider->invertedAppearance();
  } else if (auto* bar = qobject_cast<QSlider*>(slider)) {
    control = QStyle::CC_Slider;
    handle = QStyle::SC_SliderHandle;
    groove = QStyle::SC_SliderGroove;
    option.tickPosition = bar->tickPosition();
    option.tickInterval = bar->tickInterval();
    option.upsideDown = horizontal
                            ? slider->invertedAppearance() != (option.direction == Qt::RightToLeft)
                            : !slider->invertedAppearance();
  } else {
    return std::nullopt;
  }
  Track track;
  track.horizontal = horizontal;
  track.thumb = slider->style()->subControlRect(control, &option, handle, slider);
  const QRect grooveRect = slider->style()->subControlRect(control, &option, groove, slider);
  track.start = horizontal ? grooveRect.x() : grooveRect.y();
  track.span = horizontal ? grooveRect.width() - track.thumb.width()
                          : grooveRect.height() - track.thumb.height();
  track.upsideDown = option.upsideDown;
  if (control == QStyle::CC_ScrollBar && horizontal && slider->layoutDirection() == Qt::RightToLeft)
    track.upsideDown = !track.upsideDown;
  return track;
}

// Presses the thumb, moves it to where the slider reads the position and lets it go.
Answer Drag(QAbstractSlider* slider, int position, const std::string& what) {
  const int minimum = slider->minimum();
  const int maximum = slider->maximum();
  if (position < minimum || position > maximum) {
    return Refused("position " + std::to_string(position) + " is outside the range of " + what +
                   " (" + std::to_string(minimum) + " to " + std::to_string(maximum) + ")");
  }
  const std::optional<Track> track = TrackOf(slider);
  if (!track) return Refused(what + " has no thumb to drag");
  const auto valueAt = [&](int offset) {
    return QStyle::sliderValueFromPosition(minimum, maximum, offset, track->span,
                                           track->upsideDown);
  };
  // The pixel the style gives for the position, or a neighbour that reads back exactly.
  int offset =
      QStyle::sliderPositionFromValue(minimum, maximum, position, track->span, track->upsideDown);
  for (const int candidate : {offset, offset - 1, offset + 1}) {
    if (candidate >= 0 && candidate <= track->span && valueAt(candidate) == position) {
      offset = candidate;
      break;
    }
  }
  const QPoint grip = track->thumb.center();
  const int shift =
      track->start + offset - (track->horizontal ? track->thumb.x() : track->thumb.y());
  const QPoint target = grip + (track->horizontal ? QPoint(shift, 0) : QPoint(0, shift));
  const Spot pressed = SpotOf(slider, grip);
  const Spot moved = SpotOf(slider, target);
  Mouse(pressed, QEvent::MouseButtonPress);
  Mouse(moved, QEvent::MouseMove);
  Mouse(moved, QEvent::MouseButtonRelease);
  const int reached = valueAt(offset);
  if (reached != position) {
    return Answer{kHandDone, "reached " + std::to_string(reached) +
                                 ", the nearest position the thumb can take\n"};
  }
  return {};
}

Answer Type(QWidget* top, std::string_view keys, const std::string& what) {
  std::string error;
  const std::optional<std::vector<HandKey>> presses = ParseHandKeys(keys, &error);
  if (!presses) return Refused(error);
  if (std::string reason = Unreachable(top, what); !reason.empty()) return Refused(reason);
  const QPointer<QWindow> window = top->windowHandle();
  static constexpr std::pair<Qt::KeyboardModifier, int> kModifierKeys[] = {
      {Qt::ShiftModifier, Qt::Key_Shift},
      {Qt::ControlModifier, Qt::Key_Control},
      {Qt::AltModifier, Qt::Key_Alt}};
  const auto keyOf = [](Qt::KeyboardModifier modifier) {
    for (const auto& [each, key] : kModifierKeys) {
      if (each == modifier) return key;
    }
    return 0;
  };
  for (const HandKey& press : *presses) {
    // Modifiers go down before the key, those written first first, and up after it in the
    // opposite order.
    std::vector<Qt::KeyboardModifier> down = press.order;
    for (const auto& [modifier, key] : kModifierKeys) {
      if ((press.modifiers & modifier) &&
          std::find(down.begin(), down.end(), modifier) == down.end()) {
        down.push_back(modifier);
      }
    }
    Qt::KeyboardModifiers held;
    for (const Qt::KeyboardModifier modifier : down) {
      held |= modifier;
      if (window) Key(window, QEvent::KeyPress, keyOf(modifier), held);
    }
    const QString text = QString::fromUtf8(press.text.data(), qsizetype(press.text.size()));
    if (window) Key(window, QEvent::KeyPress, press.key, held, text);
    if (window) Key(window, QEvent::KeyRelease, press.key, held, text);
    for (auto it = down.rbegin(); it != down.rend(); ++it) {
      held &= ~*it;
      if (window) Key(window, QEvent::KeyRelease, keyOf(*it), held);
    }
  }
  return {};
}

// Presses and releases a button at a point of the window's client area: "press BUTTON X Y".
Answer Press(QWidget* top, const std::vector<std::string_view>& words, const std::string& what) {
  if (words.size() != 4 || (words[1] != "left" && words[1] != "right")) {
    return Refused("bad request");
  }
  const std::optional<int> x = Integer(words[2]);
  const std::optional<int> y = Integer(words[3]);
  if (!x || !y) return Refused("bad request");
  if (std::string reason = Unreachable(top, what); !reason.empty()) return Refused(reason);
  if (!top->rect().contains(*x, *y)) {
    return Refused("point " + std::to_string(*x) + ", " + std::to_string(*y) + " is outside " +
                   what);
  }
  const Spot spot = SpotOf(top, QPoint(*x, *y));
  const Qt::MouseButton button = words[1] == "left" ? Qt::LeftButton : Qt::RightButton;
  Mouse(spot, QEvent::MouseButtonPress, button);
  Mouse(spot, QEvent::MouseButtonRelease, button);
  return {};
}

Answer Picture(QWidget* top, const std::string& what) {
  if (!top->isVisible()) return Refused(what + " is not shown");
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !top->grab().save(&buffer, "PNG")) {
    return Refused("no picture could be made of " + what);
  }
  return Answer{kHandDone, bytes.toStdString()};
}

// A request about one control of a dialog: its identifier, checked.
Answer ControlRequest(Hwnd hwnd, Dialog& dialog, const std::vector<std::string_view>& words) {
  const std::string_view command = words[0];
  const size_t values = command == "select" || command == "drag" ? 3 : 2;
  if (words.size() != values) return Refused("bad request");
  const std::optional<int> id = Integer(words[1]);
  if (!id || !dialog.HasControl(*id)) {
    return Refused("window " + HandleText(hwnd) + " has no control " + std::string(words[1]));
  }
  const std::string what = "control " + std::to_string(*id) + " of window " + HandleText(hwnd);
  if (command == "items") return Items(dialog, *id, what);

  QWidget* control = LocalControlWidget(hwnd, *id);
  if (!control) return Refused(what + " has no widget");
  if (std::string reason = Unreachable(control, what); !reason.empty()) return Refused(reason);
  if (command == "click") {
    Click(SpotOf(control, control->rect().center()));
    return {};
  }
  const std::optional<int> value = Integer(words[2]);
  if (!value) return Refused("bad request");
  if (command == "select") {
    if (!IsList(Behaviour(dialog, *id))) return Refused(what + " is not a list box or combo box");
    if (auto* combo = Part<QComboBox>(control)) return SelectInCombo(combo, *value, what);
    if (auto* view = Part<QAbstractItemView>(control)) return SelectInList(view, *value, what);
    return Refused(what + " shows no list");
  }
  auto* slider = Part<QAbstractSlider>(control);
  if (!slider) return Refused(what + " is not a scroll bar or trackbar");
  return Drag(slider, *value, what);
}

Answer Carry(Hwnd hwnd, std::string_view request) {
  const std::vector<std::string_view> words = Words(request);
  if (words.empty()) return Refused("empty request");
  const std::string_view command = words[0];
  const std::string what = "window " + HandleText(hwnd);
  QWidget* top = DesktopSession::Current()->LocalWidget(hwnd);
  if (command == "shot" || command == "key" || command == "raise" || command == "press") {
    if (!top) return Refused(what + " has no widget: it shows nothing and takes no input");
    if (command == "shot") return Picture(top, what);
    if (command == "press") return Press(top, words, what);
    if (command == "raise") {
      top->raise();
      top->activateWindow();
      return {};
    }
    return Type(top, request.substr(std::min(request.size(), command.size() + 1)), what);
  }
  Dialog* dialog = FindLocalDialog(hwnd);
  if (!dialog) return Refused(what + " is not a dialog");
  if (command == "controls") return words.size() == 1 ? Controls(hwnd) : Refused("bad request");
  if (command == "items" || command == "click" || command == "select" || command == "drag") {
    return ControlRequest(hwnd, *dialog, words);
  }
  return Refused("unknown request \"" + std::string(command) + "\"");
}

}  // namespace

bool RaiseWindow(Hwnd hwnd) {
  DesktopSession* session = DesktopSession::Current();
  if (!session) return false;
  const std::optional<WindowInfo> entry = session->Lookup(hwnd);
  if (!entry) return false;
  if (entry->pid == getpid()) return Carry(hwnd, "raise").status == kHandDone;
  // The answer of a raise is empty, so no window needs to take it.
  const std::optional<Result> result = session->Send(hwnd, Message::Text(kHandRequest, 0, "raise"));
  return result && *result == kHandDone;
}

std::optional<Result> AnswerHandRequest(Hwnd target, const Message& request) {
  DesktopSession* session = DesktopSession::Current();
  if (!session) return std::nullopt;
  const std::optional<WindowInfo> entry = session->Lookup(target);
  if (!entry || entry->pid != getpid()) return std::nullopt;
  const Answer answer = Carry(target, request.data);
  // The answer goes back in pieces that each fit a message.
  const std::string_view bytes = answer.bytes;
  for (size_t at = 0; at < bytes.size(); at += kMaxPayloadBytes) {
    const Message piece =
        Message::CopyData(target, kHandAnswer, bytes.substr(at, kMaxPayloadBytes));
    if (!session->Send(request.wParam, piece)) return kHandUndelivered;
  }
  return answer.status;
}

}  // namespace velcrum::platform
