// Dialog units: the dialog font on this machine, its base units and the conversion.
#include "platform/desktop/dialog_units.h"

#include <QByteArray>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QRawFont>
#include <cstdint>
#include <string_view>

#include "platform/ascii_case.h"
#include "platform/desktop/text_conversion.h"

namespace velcrum::platform {
namespace {

// Where fonts-wine puts its fonts; they are not in fontconfig's path, so the dialogs load
// them themselves.
constexpr const char* kWineFonts[] = {
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
    "/usr/share/wine/fonts/system.ttf",
};

constexpr BaseUnits kSystemFontUnits{8, 16};
constexpr BaseUnits kShellDialogUnitsAt8Points{6, 13};
constexpr int kLogPixelsY = 96;

void LoadWineFonts() {
  static const bool loaded = [] {
    for (const char* path : kWineFonts)
      QFontDatabase::addApplicationFont(QString::fromLatin1(path));
    return true;
  }();
  (void)loaded;
}

bool IsShellDialogFace(std::string_view face) {
  return EqualNoCase(face, "MS Sans Serif") || EqualNoCase(face, "MS Shell Dlg") ||
         EqualNoCase(face, "MS Shell Dlg 2");
}

uint16_t ReadU16(const QByteArray& table, int offset) {
  if (offset + 2 > table.size()) return 0;
  return static_cast<uint16_t>((static_cast<uint8_t>(table[offset]) << 8) |
                               static_cast<uint8_t>(table[offset + 1]));
}

// The cell height GDI gives a TrueType font (tmAscent + tmDescent): the OS/2 table's
// Windows ascent and descent scaled to the em in pixels; Qt's own height where the font
// has no such tables.
int CellHeight(const QFont& font) {
  const QRawFont raw = QRawFont::fromFont(font);
  const QByteArray os2 = raw.fontTable("OS/2");
  const QByteArray head = raw.fontTable("head");
  const int unitsPerEm = ReadU16(head, 18);
  const int winAscent = ReadU16(os2, 74);
  const int winDescent = ReadU16(os2, 76);
  if (unitsPerEm == 0 || winAscent == 0) return QFontMetrics(font).height();
  const int ppem = font.pixelSize();
  return MulDiv(winAscent, ppem, unitsPerEm) + MulDiv(winDescent, ppem, unitsPerEm);
}

}  // namespace

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const int64_t product = static_cast<int64_t>(number) * numerator;
  const int64_t half = denominator / 2;
  const bool negative = (product < 0) != (denominator < 0);
  return static_cast<int>(negative ? (product - half) / denominator
                                   : (product + half) / denominator);
}

PixelRect DialogUnitsToPixels(int x, int y, int cx, int cy, BaseUnits units) {
  return PixelRect{MulDiv(x, units.x, 4), MulDiv(y, units.y, 8), MulDiv(cx, units.x, 4),
                   MulDiv(cy, units.y, 8)};
}

QFont DialogQFont(const DialogFont& font) {
  LoadWineFonts();
  QFont qfont;
  if (font.pointSize <= 0) {
    qfont.setFamilies({QStringLiteral("System"), QStringLiteral("Tahoma")});
    qfont.setPixelSize(13);
    qfont.setBold(true);
    return qfont;
  }
  if (IsShellDialogFace(font.face)) {
    qfont.setFamily(QStringLiteral("Tahoma"));
  } else {
    qfont.setFamily(ToQString(font.face));
  }
  // Windows makes the em MulDiv(points, LOGPIXELSY, 72) pixels high.
  qfont.setPixelSize(MulDiv(font.pointSize, kLogPixelsY, 72));
  if (font.weight >= 600) qfont.setBold(true);
  qfont.setItalic(font.italic);
  qfont.setStyleStrategy(QFont::PreferAntialias);
  return qfont;
}

BaseUnits DialogBaseUnits(const DialogFont& font) {
  if (font.pointSize <= 0) return kSystemFontUnits;
  if (font.pointSize == 8 && IsShellDialogFace(font.face)) return kShellDialogUnitsAt8Points;
  const QFont qfont = DialogQFont(font);
  const int extent = QFontMetrics(qfont).horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  // GdiGetCharDimensions: (extent / 26 + 1) / 2, the extent over 52 rounded.
  return BaseUnits{(extent / 26 + 1) / 2, CellHeight(qfont)};
}

}  // namespace velcrum::platform
