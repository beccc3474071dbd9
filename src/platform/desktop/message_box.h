// Message boxes.
//
// A box is a real Qt message box that runs its own modal loop: posted messages, timers and
// messages sent by other processes go on being handled while it is open, and only the
// owner window's input is blocked. In headless runs the environment variable
// VELCRUM_MESSAGEBOX (ok, cancel, yes or no) answers every box at once instead, after
// writing "MESSAGEBOX <caption>: <text>" to standard error as one line.
#pragma once

#include <string_view>

#include "platform/desktop/message.h"

namespace velcrum::platform {

enum class BoxButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class BoxIcon { kNone, kInformation, kExclamation, kStop, kQuestion };
// The answers carry Windows' numbers (IDOK, IDCANCEL, IDYES, IDNO).
enum class BoxAnswer { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };

struct BoxStyle {
  BoxButtons buttons = BoxButtons::kOk;
  BoxIcon icon = BoxIcon::kNone;
  bool systemModal = false;  // blocks every window of the process and stays on top
};

// MessageBeep(0): the default system sound.
void Beep();

// Shows a box owned by `owner` (a window of this process, or kNoWindow) and returns the
// operator's answer. Closing the box without a button answers Cancel where the box has
// one (No for a Yes/No box), else OK.
BoxAnswer MessageBox(Hwnd owner, std::string_view caption, std::string_view text,
                     BoxStyle style = {});

// The answer VELCRUM_MESSAGEBOX gives a box with these buttons, or nothing when the
// variable is not set. An answer the box does not offer becomes the nearest one it does:
// yes becomes OK, no becomes Cancel, and either of those OK when it is the only button.
// An unknown value answers as the box's first button.
bool HeadlessAnswer(BoxButtons buttons, BoxAnswer* answer);

}  // namespace velcrum::platform
