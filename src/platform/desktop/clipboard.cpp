// The clipboard through Qt's.
#include "platform/desktop/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/desktop/text_conversion.h"

namespace velcrum::platform {

bool SetClipboardText(std::string_view text) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  clipboard->setText(ToQString(text));
  return true;
}

}  // namespace velcrum::platform
