// The dialog hand_peer makes, as the hand tests know it.
#pragma once

#include <cstdint>

#include "platform/dialog_template.h"

namespace velcrum::platform::testing {

inline constexpr int kHandPeerOk = 1;  // IDOK, the default push button
inline constexpr int kHandPeerCheck = 101;
inline constexpr int kHandPeerList = 102;
inline constexpr int kHandPeerScrollBar = 103;
inline constexpr int kHandPeerEdit = 104;
inline constexpr int kHandPeerStatic = 105;  // hidden and disabled
inline constexpr int kHandPeerScrollMax = 10;
inline constexpr const char* kHandPeerItems[] = {"alpha", "beta", "gamma \"q\""};

inline ControlTemplate HandPeerControl(const char* className, const char* text, int id, int x,
                                       int y, int cx, int cy, uint32_t style) {
  ControlTemplate control;
  control.className = className;
  control.text = text;
  control.id = id;
  control.x = x;
  control.y = y;
  control.cx = cx;
  control.cy = cy;
  control.style = style;
  return control;
}

inline DialogTemplate HandPeerTemplate() {
  constexpr uint32_t kChild = 0x40000000 | 0x10000000;  // WS_CHILD | WS_VISIBLE
  constexpr uint32_t kTabStop = 0x00010000;
  constexpr uint32_t kBorder = 0x00800000;
  DialogTemplate dialog;
  dialog.style = 0x80000000 | 0x00C00000;  // WS_POPUP | WS_CAPTION, shown once filled
  dialog.cx = 180;
  dialog.cy = 90;
  dialog.caption = "Hand test";
  dialog.font = DialogFont{8, 0, false, 1, "MS Sans Serif"};
  dialog.controls = {
      HandPeerControl("BUTTON", "OK", kHandPeerOk, 10, 10, 50, 14,
                      kChild | kTabStop | 0x1),  // BS_DEFPUSHBUTTON
      HandPeerControl("BUTTON", "Loud", kHandPeerCheck, 10, 30, 60, 10,
                      kChild | kTabStop | 0x3),  // AUTOCHECKBOX
      HandPeerControl("LISTBOX", "", kHandPeerList, 80, 10, 60, 40,
                      kChild | kTabStop | kBorder | 0x00200000 | 0x1),  // WS_VSCROLL | LBS_NOTIFY
      HandPeerControl("SCROLLBAR", "", kHandPeerScrollBar, 150, 10, 10, 60,
                      kChild | 0x1),  // SBS_VERT
      HandPeerControl("EDIT", "ed", kHandPeerEdit, 10, 50, 60, 12,
                      kChild | kTabStop | kBorder | 0x80),
      HandPeerControl("STATIC", "a\tb", kHandPeerStatic, 10, 70, 60, 10,
                      0x40000000 | 0x08000000),  // WS_CHILD | WS_DISABLED, not visible
  };
  return dialog;
}

}  // namespace velcrum::platform::testing
