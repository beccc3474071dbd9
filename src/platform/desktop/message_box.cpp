// Message boxes: Qt's, or the headless answer.
#include "platform/desktop/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <cstdlib>
#include <string>

#include "platform/desktop/desktop_session.h"
#include "platform/desktop/text_conversion.h"
#include "platform/standard_error.h"

namespace velcrum::platform {
namespace {

bool Offers(BoxButtons buttons, BoxAnswer answer) {
  switch (answer) {
    case BoxAnswer::kOk:
      return buttons == BoxButtons::kOk || buttons == BoxButtons::kOkCancel;
    case BoxAnswer::kCancel:
      return buttons == BoxButtons::kOkCancel || buttons == BoxButtons::kYesNoCancel;
    case BoxAnswer::kYes:
    case BoxAnswer::kNo:
      return buttons == BoxButtons::kYesNo || buttons == BoxButtons::kYesNoCancel;
  }
  return false;
}

BoxAnswer FirstButton(BoxButtons buttons) {
  return buttons == BoxButtons::kOk || buttons == BoxButtons::kOkCancel ? BoxAnswer::kOk
                                                                        : BoxAnswer::kYes;
}

// The answer a box gives when it is closed without a button.
BoxAnswer EscapeAnswer(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::kOk:
      return BoxAnswer::kOk;
    case BoxButtons::kYesNo:
      return BoxAnswer::kNo;
    default:
      return BoxAnswer::kCancel;
  }
}

// The nearest answer the box offers.
BoxAnswer Nearest(BoxButtons buttons, BoxAnswer wanted) {
  if (Offers(buttons, wanted)) return wanted;
  switch (wanted) {
    case BoxAnswer::kYes:
      return Offers(buttons, BoxAnswer::kOk) ? BoxAnswer::kOk : FirstButton(buttons);
    case BoxAnswer::kNo:
      return Offers(buttons, BoxAnswer::kCancel) ? BoxAnswer::kCancel : FirstButton(buttons);
    case BoxAnswer::kOk:
      return FirstButton(buttons);
    case BoxAnswer::kCancel:
      return Offers(buttons, BoxAnswer::kNo) ? BoxAnswer::kNo : FirstButton(buttons);
  }
  return FirstButton(buttons);
}

void AppendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
}

void WriteToStandardError(std::string_view caption, std::string_view text) {
  std::string line = "MESSAGEBOX ";
  AppendEscaped(line, caption);
  line += ": ";
  AppendEscaped(line, text);
  line += '\n';
  WriteStandardErrorLine(line);
}

}  // namespace

bool HeadlessAnswer(BoxButtons buttons, BoxAnswer* answer) {
  const char* setting = std::getenv("VELCRUM_MESSAGEBOX");
  if (!setting) return false;
  std::string value(setting);
  for (char& c : value) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  BoxAnswer wanted = FirstButton(buttons);
  if (value == "ok") wanted = BoxAnswer::kOk;
  if (value == "cancel") wanted = BoxAnswer::kCancel;
  if (value == "yes") wanted = BoxAnswer::kYes;
  if (value == "no") wanted = BoxAnswer::kNo;
  *answer = Nearest(buttons, wanted);
  return true;
}

void Beep() {
  QApplication::beep();
}

BoxAnswer MessageBox(Hwnd owner, std::string_view caption, std::string_view text, BoxStyle style) {
  BoxAnswer answer = BoxAnswer::kOk;
  if (HeadlessAnswer(style.buttons, &answer)) {
    WriteToStandardError(caption, text);
    return answer;
  }
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    // No widgets to show a box with: say it, as a headless box would, and take the default.
    WriteToStandardError(caption, text);
    return FirstButton(style.buttons);
  }

  QWidget* parent = nullptr;
  if (DesktopSession* session = DesktopSession::Current(); session && owner != kNoWindow) {
    parent = session->LocalWidget(owner);
  }
  QMessageBox::StandardButtons buttons;
  switch (style.buttons) {
    case BoxButtons::kOk:
      buttons = QMessageBox::Ok;
      break;
    case BoxButtons::kOkCancel:
      buttons = QMessageBox::Ok | QMessageBox::Cancel;
      break;
    case BoxButtons::kYesNo:
      buttons = QMessageBox::Yes | QMessageBox::No;
      break;
    case BoxButtons::kYesNoCancel:
      buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      break;
  }
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (style.icon) {
    case BoxIcon::kNone:
      break;
    case BoxIcon::kInformation:
      icon = QMessageBox::Information;
      break;
    case BoxIcon::kExclamation:
      icon = QMessageBox::Warning;
      break;
    case BoxIcon::kStop:
      icon = QMessageBox::Critical;
      break;
    case BoxIcon::kQuestion:
      icon = QMessageBox::Question;
      break;
  }
  // The box may outlive its owner (a message handled meanwhile closes the owner's window).
  QPointer<QMessageBox> box =
      new QMessageBox(icon, ToQString(caption), ToQString(text), buttons, parent);
  if (style.systemModal) {
    box->setWindowModality(Qt::ApplicationModal);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
  } else {
    // Like Windows: only the owner is blocked; without an owner, nothing is.
    box->setWindowModality(Qt::WindowModal);
  }
  const int pressed = box->exec();
  delete box.data();
  switch (pressed) {
    case QMessageBox::Ok:
      return BoxAnswer::kOk;
    case QMessageBox::Cancel:
      return BoxAnswer::kCancel;
    case QMessageBox::Yes:
      return BoxAnswer::kYes;
    case QMessageBox::No:
      return BoxAnswer::kNo;
    default:
      return EscapeAnswer(style.buttons);
  }
}

}  // namespace velcrum::platform
