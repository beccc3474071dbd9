// The file dialogs on QFileDialog (Qt's own dialog, so that it looks and behaves the same
// on every desktop and under the offscreen platform).
#include "platform/desktop/file_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPointer>
#include <cstdlib>
#include <filesystem>

#include "platform/desktop/desktop_session.h"
#include "platform/desktop/text_conversion.h"
#include "platform/standard_error.h"

namespace velcrum::platform {
namespace {

std::optional<std::string> HeadlessAnswer(const FileDialogRequest& request, const char* setting) {
  std::string answer = setting;
  WriteStandardErrorLine("FILEDIALOG " + request.title + ": " + answer + "\n");
  if (answer.empty()) return std::nullopt;
  std::error_code ignored;
  std::filesystem::path path = std::filesystem::absolute(answer, ignored);
  if (request.purpose == FileDialogRequest::Purpose::kSave && !request.defaultSuffix.empty() &&
      !path.has_extension()) {
    path += "." + request.defaultSuffix;
  }
  if (request.purpose == FileDialogRequest::Purpose::kOpen &&
      !std::filesystem::is_regular_file(path, ignored)) {
    return std::nullopt;
  }
  return path.string();
}

}  // namespace

std::optional<std::string> ChooseFile(const FileDialogRequest& request) {
  if (const char* setting = std::getenv("VELCRUM_FILEDIALOG")) {
    return HeadlessAnswer(request, setting);
  }
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return std::nullopt;

  QWidget* parent = nullptr;
  if (DesktopSession* session = DesktopSession::Current(); session && request.owner != kNoWindow) {
    parent = session->LocalWidget(request.owner);
  }
  // The dialog may outlive its owner (a message handled meanwhile closes the owner).
  QPointer<QFileDialog> dialog = new QFileDialog(parent, ToQString(request.title));
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setDirectory(request.directory.empty() ? QDir::currentPath()
                                                 : ToQString(request.directory));
  QStringList filters;
  for (const std::string& filter : request.filters) filters << ToQString(filter);
  dialog->setNameFilters(filters);
  dialog->setDefaultSuffix(ToQString(request.defaultSuffix));
  if (!request.fileName.empty()) dialog->selectFile(ToQString(request.fileName));
  if (request.purpose == FileDialogRequest::Purpose::kOpen) {
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
  }
  dialog->setWindowModality(Qt::WindowModal);
  const int accepted = dialog->exec();
  std::optional<std::string> chosen;
  if (dialog && accepted == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
    chosen = dialog->selectedFiles().first().toStdString();
  }
  delete dialog.data();
  return chosen;
}

}  // namespace velcrum::platform
