// Dialog units and the dialog font: the font a template's FONT statement stands for on this
// machine, its base units measured as Windows measures them, and the conversion of
// template coordinates to pixels.
//
// A horizontal dialog unit is a quarter of the base width, a vertical one an eighth of the
// base height. The base width is the average width of the 52 Latin letters in the dialog
// font (their total extent divided by 52, rounded), the base height the font's cell height
// (ascent plus descent, taken from the font's Windows metrics). "MS Sans Serif",
// "MS Shell Dlg" and "MS Shell Dlg 2" are drawn with the Tahoma of the fonts-wine package
// (metric-compatible with Windows' Tahoma, the face MS Shell Dlg 2 stands for); at 8 points
// they keep Windows' own base units, 6 by 13, whatever font this machine has. A template
// without FONT has the system font's base units, 8 by 16.
#pragma once

#include <QFont>

#include "platform/dialog_template.h"

namespace velcrum::platform {

struct BaseUnits {
  int x = 0;
  int y = 0;
};

// Windows' MulDiv: number * numerator / denominator rounded half away from zero; -1 when
// the denominator is 0.
int MulDiv(int number, int numerator, int denominator);

// The pixel rectangle of a template rectangle in dialog units.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};
PixelRect DialogUnitsToPixels(int x, int y, int cx, int cy, BaseUnits units);

// The font controls and text of a dialog with that FONT statement are drawn with.
QFont DialogQFont(const DialogFont& font);
// The base units of a dialog with that FONT statement.
BaseUnits DialogBaseUnits(const DialogFont& font);

}  // namespace velcrum::platform
