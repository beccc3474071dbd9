// Keyboard and mouse input of a window's widget, as window messages.
//
// Key presses become WM_KEYDOWN (WM_SYSKEYDOWN while Alt is held, and for Alt and F10
// themselves) with the Windows virtual-key code in wParam and the usual lParam bits
// (repeat count 1, scan code, extended-key bit 24, Alt bit 29, previous-state bit 30),
// followed by WM_CHAR (WM_SYSCHAR) for each character the key produces, in the Windows-1252
// code page; releases become WM_KEYUP (WM_SYSKEYUP), with bits 30 and 31 set. Mouse buttons
// become WM_LBUTTONDOWN and its relatives with MK_ flags in wParam and the client position
// in lParam (x low 16 bits, y high 16 bits). A close request becomes WM_CLOSE.
#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/desktop/message.h"

class QEvent;

namespace velcrum::platform {

struct WindowState;

// The messages a Qt input event stands for (none for other events).
std::vector<Message> TranslateInput(const QEvent& event);

// The Windows virtual-key code of a Qt key (0 when there is none).
uint32_t VirtualKeyOf(int qtKey, bool keypad);

// An event filter for a window's widget that dispatches its input as messages.
std::unique_ptr<QObject> MakeInputTranslator(const std::shared_ptr<WindowState>& window);

// GetKeyState: bit 15 (the sign) set while the key is down, bit 0 the toggle of Caps Lock,
// Num Lock and Scroll Lock, as far as this process's windows have seen the keyboard.
int16_t KeyState(uint32_t virtualKey);

}  // namespace velcrum::platform
