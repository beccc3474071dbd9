// Printing lines through Qt's print support: to the system's default printer, or to a PDF
// file written whole when VELCRUM_PRINT_TO names one.
#include "platform/desktop/printing.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/atomic_file.h"
#include "platform/desktop/text_conversion.h"

namespace velcrum::platform {
namespace {

constexpr int kLeftEdge = 160;  // device units
constexpr int kLinesPerPage = 64;
constexpr char kDocumentName[] = "Velcrum";

// Draws the lines on the printer as one job; false with the reason when the job fails.
bool DrawLines(QPrinter& printer, const std::vector<std::string>& lines, std::string* error) {
  printer.setDocName(QString::fromLatin1(kDocumentName));
  QPainter painter;
  if (!painter.begin(&printer)) {
    *error = "the print job could not be started";
    return false;
  }
  const QFontMetrics metrics = painter.fontMetrics();
  // A printer font's external leading is never negative; Qt's may be for some fonts.
  const int lineStep = metrics.height() + std::max(0, metrics.leading());
  for (size_t i = 0; i < lines.size(); ++i) {
    const int row = static_cast<int>(i % kLinesPerPage);
    if (i > 0 && row == 0 && !printer.newPage()) {
      printer.abort();
      painter.end();
      *error = "the printer refused a new page";
      return false;
    }
    // Lines are placed by their top, as a printer's device context places text.
    painter.drawText(kLeftEdge, row * lineStep + metrics.ascent(), ToQString(lines[i]));
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    *error = "the print job failed";
    return false;
  }
  return true;
}

// Renders into a scratch file, then puts its bytes in place whole, so that a failure
// leaves the file that was there (or none) rather than a cut PDF.
PrintResult PrintToPdf(const std::string& path, const std::vector<std::string>& lines) {
  const QTemporaryDir scratch;
  if (!scratch.isValid()) {
    return {false, "no scratch directory for the PDF: " + scratch.errorString().toStdString()};
  }
  const QString rendered = scratch.filePath(QStringLiteral("print.pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(rendered);
  printer.setFullPage(true);  // a PDF page has no unprintable border: measure from its edge
  std::string error;
  if (!DrawLines(printer, lines, &error)) return {false, error};
  QFile file(rendered);
  if (!file.open(QIODevice::ReadOnly)) {
    return {false, "the rendered PDF could not be read: " + file.errorString().toStdString()};
  }
  const QByteArray bytes = file.readAll();
  if (ReplaceFile(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))) !=
      FileWrite::kWritten) {
    return {false, "File could not be written: '" + path + "' (" + std::strerror(errno) + ")"};
  }
  return {true, {}};
}

// The system's default printer; its device context starts at the printable area, as a
// Windows printer's does.
PrintResult PrintToDefaultPrinter(const std::vector<std::string>& lines) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return {false, "no default printer"};
  QPrinter printer(info, QPrinter::HighResolution);
  std::string error;
  if (!DrawLines(printer, lines, &error)) {
    return {false, error + " (printer " + info.printerName().toStdString() + ")"};
  }
  return {true, {}};
}

}  // namespace

PrintResult PrintLinesOnDesktop(const std::vector<std::string>& lines) {
  // Fonts and paint devices need the graphical application, not just an event loop.
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    return {false, "printing needs a graphical application"};
  }
  const char* target = std::getenv("VELCRUM_PRINT_TO");
  if (target != nullptr && *target != '\0') return PrintToPdf(target, lines);
  return PrintToDefaultPrinter(lines);
}

}  // namespace velcrum::platform
