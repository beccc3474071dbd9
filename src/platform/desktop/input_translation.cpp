// Translating Qt input events into window messages.
#include "platform/desktop/input_translation.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <bitset>

#include "platform/desktop/desktop_session.h"
#include "platform/windows_1252.h"

namespace velcrum::platform {
namespace {

constexpr uint32_t kVkShift = 0x10;
constexpr uint32_t kVkControl = 0x11;
constexpr uint32_t kVkMenu = 0x12;  // Alt
constexpr uint32_t kVkCapital = 0x14;
constexpr uint32_t kVkF10 = 0x79;
constexpr uint32_t kVkNumLock = 0x90;
constexpr uint32_t kVkScroll = 0x91;

// Keys seen down, and the lock toggles, as this process's windows have seen them.
std::bitset<256> g_down;
std::bitset<256> g_toggled;

bool IsExtended(int key, bool keypad) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return !keypad;
    case Qt::Key_Enter:
    case Qt::Key_AltGr:
    case Qt::Key_NumLock:
    case Qt::Key_Print:
      return true;
    case Qt::Key_Slash:
      return keypad;
    default:
      return false;
  }
}

int32_t PackPoint(QPointF point) {
  const auto x = static_cast<uint16_t>(static_cast<int16_t>(point.x()));
  const auto y = static_cast<uint16_t>(static_cast<int16_t>(point.y()));
  return static_cast<int32_t>(static_cast<uint32_t>(x) | (static_cast<uint32_t>(y) << 16));
}

uint32_t MouseKeys(const QMouseEvent& event) {
  uint32_t keys = 0;
  if (event.buttons() & Qt::LeftButton) keys |= MK_LBUTTON;
  if (event.buttons() & Qt::RightButton) keys |= MK_RBUTTON;
  if (event.buttons() & Qt::MiddleButton) keys |= MK_MBUTTON;
  if (event.modifiers() & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (event.modifiers() & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

std::vector<Message> TranslateKey(const QKeyEvent& event, bool press) {
  const bool keypad = event.modifiers() & Qt::KeypadModifier;
  const uint32_t vk = VirtualKeyOf(event.key(), keypad);
  const bool alt = (event.modifiers() & Qt::AltModifier) || vk == kVkMenu;
  const bool system = alt || vk == kVkF10;
  if (!press && event.isAutoRepeat()) return {};  // Windows repeats presses only

  uint32_t lParam = 1 | ((event.nativeScanCode() & 0xFF) << 16);
  if (IsExtended(event.key(), keypad)) lParam |= 1u << 24;
  if (alt) lParam |= 1u << 29;
  if (!press || event.isAutoRepeat()) lParam |= 1u << 30;
  if (!press) lParam |= 1u << 31;

  if (vk) {
    if (press && !g_down[vk] && (vk == kVkCapital || vk == kVkNumLock || vk == kVkScroll)) {
      g_toggled.flip(vk);
    }
    g_down[vk] = press;
  }

  std::vector<Message> messages;
  const auto keyLParam = static_cast<int32_t>(lParam);
  if (vk) {
    messages.push_back(Message::Plain(
        press ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP), vk,
        keyLParam));
  }
  if (press) {
    const QString text = event.text();
    const bool control = (event.modifiers() & Qt::ControlModifier) && !alt;
    for (const QChar c : text) {
      uint32_t code = AnsiCodeOf(c.unicode());
      // Control and a letter is the control character, whatever text the platform gave.
      if (control && ((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z'))) code &= 0x1F;
      messages.push_back(Message::Plain(system ? WM_SYSCHAR : WM_CHAR, code, keyLParam));
    }
  }
  return messages;
}

std::vector<Message> TranslateMouse(const QMouseEvent& event) {
  uint32_t message = 0;
  const bool down = event.type() == QEvent::MouseButtonPress;
  const bool doubleClick = event.type() == QEvent::MouseButtonDblClick;
  switch (event.type()) {
    case QEvent::MouseMove:
      message = WM_MOUSEMOVE;
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      switch (event.button()) {
        case Qt::LeftButton:
          message = doubleClick ? WM_LBUTTONDBLCLK : down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
          break;
        case Qt::RightButton:
          message = doubleClick ? WM_RBUTTONDBLCLK : down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
          break;
        case Qt::MiddleButton:
          message = doubleClick || down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
          break;
        default:
          return {};
      }
      break;
    default:
      return {};
  }
  return {Message::Plain(message, MouseKeys(event), PackPoint(event.position()))};
}

class InputTranslator final : public QObject {
 public:
  explicit InputTranslator(const std::shared_ptr<WindowState>& window) : window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const std::shared_ptr<WindowState> window = window_.lock();
    DesktopSession* session = DesktopSession::Current();
    if (!window || !window->attached || !session || watched != window->widget) return false;
    if (event->type() == QEvent::Close) {
      // The procedure decides what a close request does (WM_CLOSE); without one, Qt's own
      // handling closes the widget.
      if (!window->proc) return false;
      event->ignore();
      session->DispatchLocal(window, Message::Plain(WM_CLOSE));
      return true;
    }
    for (Message& message : TranslateInput(*event)) {
      if (!window->attached) break;
      session->DispatchLocal(window, std::move(message));
    }
    return false;
  }

 private:
  std::weak_ptr<WindowState> window_;
};

}  // namespace

uint32_t VirtualKeyOf(int key, bool keypad) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<uint32_t>('A' + key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    return static_cast<uint32_t>((keypad ? 0x60 : '0') + key - Qt::Key_0);
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return static_cast<uint32_t>(0x70 + key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace:
      return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 0x09;
    case Qt::Key_Clear:
      return 0x0C;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 0x0D;
    case Qt::Key_Shift:
      return kVkShift;
    case Qt::Key_Control:
      return kVkControl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
      return kVkMenu;
    case Qt::Key_Pause:
      return 0x13;
    case Qt::Key_CapsLock:
      return kVkCapital;
    case Qt::Key_Escape:
      return 0x1B;
    case Qt::Key_Space:
      return 0x20;
    case Qt::Key_PageUp:
      return 0x21;
    case Qt::Key_PageDown:
      return 0x22;
    case Qt::Key_End:
      return 0x23;
    case Qt::Key_Home:
      return 0x24;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Down:
      return 0x28;
    case Qt::Key_Print:
      return 0x2C;
    case Qt::Key_Insert:
      return 0x2D;
    case Qt::Key_Delete:
      return 0x2E;
    case Qt::Key_Meta:
      return 0x5B;
    case Qt::Key_Menu:
      return 0x5D;
    case Qt::Key_NumLock:
      return kVkNumLock;
    case Qt::Key_ScrollLock:
      return kVkScroll;
    // Shifted digits on a US layout share their digit's key.
    case Qt::Key_ParenRight:
      return '0';
    case Qt::Key_Exclam:
      return '1';
    case Qt::Key_At:
      return '2';
    case Qt::Key_NumberSign:
      return '3';
    case Qt::Key_Dollar:
      return '4';
    case Qt::Key_Percent:
      return '5';
    case Qt::Key_AsciiCircum:
      return '6';
    case Qt::Key_Ampersand:
      return '7';
    case Qt::Key_ParenLeft:
      return '9';
    case Qt::Key_Asterisk:
      return keypad ? 0x6A : '8';
    case Qt::Key_Plus:
      return keypad ? 0x6B : 0xBB;
    case Qt::Key_Minus:
      return keypad ? 0x6D : 0xBD;
    case Qt::Key_Period:
      return keypad ? 0x6E : 0xBE;
    case Qt::Key_Slash:
      return keypad ? 0x6F : 0xBF;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
      return 0xBA;
    case Qt::Key_Equal:
      return 0xBB;
    case Qt::Key_Comma:
    case Qt::Key_Less:
      return 0xBC;
    case Qt::Key_Underscore:
      return 0xBD;
    case Qt::Key_Greater:
      return 0xBE;
    case Qt::Key_Question:
      return 0xBF;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
      return 0xC0;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
      return 0xDB;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
      return 0xDC;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
      return 0xDD;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
      return 0xDE;
    default:
      return 0;
  }
}

std::vector<Message> TranslateInput(const QEvent& event) {
  switch (event.type()) {
    case QEvent::KeyPress:
      return TranslateKey(static_cast<const QKeyEvent&>(event), true);
    case QEvent::KeyRelease:
      return TranslateKey(static_cast<const QKeyEvent&>(event), false);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return TranslateMouse(static_cast<const QMouseEvent&>(event));
    default:
      return {};
  }
}

std::unique_ptr<QObject> MakeInputTranslator(const std::shared_ptr<WindowState>& window) {
  return std::make_unique<InputTranslator>(window);
}

int16_t KeyState(uint32_t virtualKey) {
  if (virtualKey >= g_down.size()) return 0;
  bool down = g_down[virtualKey];
  if (QGuiApplication::instance()) {
    const Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
    if (virtualKey == kVkShift) down = down || (modifiers & Qt::ShiftModifier);
    if (virtualKey == kVkControl) down = down || (modifiers & Qt::ControlModifier);
    if (virtualKey == kVkMenu) down = down || (modifiers & Qt::AltModifier);
  }
  uint16_t state = down ? 0x8000 : 0;
  if (g_toggled[virtualKey]) state |= 1;
  return static_cast<int16_t>(state);
}

}  // namespace velcrum::platform
