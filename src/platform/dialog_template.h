// A dialog template: the dialog window and its controls as a resource script describes
// them (the data of a DIALOG or DIALOGEX statement), in dialog units, before any window
// exists. The resource-script reader fills it; the dialog builder makes windows from it.
//
// Plain data without a display, so that reading resources needs no front end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velcrum::platform {

// The font of a dialog (FONT statement). pointSize 0: none was given, the system font.
struct DialogFont {
  int pointSize = 0;
  int weight = 0;  // DIALOGEX only; 0 is the default (normal)
  bool italic = false;
  int charset = 1;  // DEFAULT_CHARSET
  std::string face;
};

// One control of a template, in creation order.
struct ControlTemplate {
  // The class as the template names it: the standard class for the short statements and
  // the predefined atoms ("BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR",
  // "COMBOBOX"), else the name written in CONTROL, in the case written.
  std::string className;
  // The caption; for icons and bitmaps the resource name (a number written as "#101").
  std::string text;
  int32_t id = 0;  // -1 (IDC_STATIC) is kept as written; the builder takes the low 16 bits
  int x = 0;       // dialog units, relative to the dialog's client area
  int y = 0;
  int cx = 0;
  int cy = 0;
  uint32_t style = 0;  // WS_CHILD and the class's defaults included, as rc.exe makes them
  uint32_t exStyle = 0;
  uint32_t helpId = 0;    // DIALOGEX only
  std::string extraData;  // DIALOGEX only: the bytes of the control's data block
};

struct DialogTemplate {
  bool extended = false;  // DIALOGEX
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int x = 0;  // dialog units
  int y = 0;
  int cx = 0;
  int cy = 0;
  std::string caption;
  std::string className;  // CLASS; empty: the dialog class
  std::string menu;       // MENU; not shown
  uint32_t helpId = 0;
  DialogFont font;
  std::vector<ControlTemplate> controls;
};

}  // namespace velcrum::platform
