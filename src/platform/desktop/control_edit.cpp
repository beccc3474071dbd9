// The EDIT class: single-line (with password, read-only, number, case and alignment
// styles) and multi-line edits. EN_CHANGE follows every change of the text, the program's
// too, as on Windows. A multi-line edit gives and takes its lines with CR LF between them.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>

#include "platform/desktop/dialog_control.h"
#include "platform/desktop/text_conversion.h"

namespace velcrum::platform {
namespace {

constexpr uint32_t ES_CENTER = 0x0001;
constexpr uint32_t ES_RIGHT = 0x0002;
constexpr uint32_t ES_MULTILINE = 0x0004;
constexpr uint32_t ES_UPPERCASE = 0x0008;
constexpr uint32_t ES_LOWERCASE = 0x0010;
constexpr uint32_t ES_PASSWORD = 0x0020;
constexpr uint32_t ES_READONLY = 0x0800;
constexpr uint32_t ES_WANTRETURN = 0x1000;
constexpr uint32_t ES_NUMBER = 0x2000;

class EditControl final : public DialogControl {
 public:
  EditControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    const uint32_t style = blueprint.controlTemplate.style;
    multiLine_ = style & ES_MULTILINE;
    wantsReturn_ = multiLine_ && (style & ES_WANTRETURN);
    std::unique_ptr<QWidget> widget;
    if (multiLine_) {
      auto edit = std::make_unique<QPlainTextEdit>(blueprint.parent);
      notified_ = Shown(text_);
      edit->setPlainText(notified_);
      edit->setReadOnly(style & ES_READONLY);
      if (!(style & WS_BORDER)) edit->setFrameShape(QFrame::NoFrame);
      edit->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                            : Qt::ScrollBarAlwaysOff);
      edit->setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded
                                                              : Qt::ScrollBarAlwaysOff);
      edit->setLineWrapMode((style & WS_HSCROLL) ? QPlainTextEdit::NoWrap
                                                 : QPlainTextEdit::WidgetWidth);
      // One EN_CHANGE for each change of the text: Qt reports some edits (a new line) more
      // than once, and changes of format too.
      QObject::connect(edit.get(), &QPlainTextEdit::textChanged, &context_, [this] {
        QString now = multi_->toPlainText();
        if (now == notified_) return;
        notified_ = std::move(now);
        Command(EN_CHANGE);
      });
      multi_ = edit.get();
      widget = std::move(edit);
    } else {
      auto edit = std::make_unique<QLineEdit>(Shown(text_), blueprint.parent);
      edit->setFrame(style & WS_BORDER);
      edit->setReadOnly(style & ES_READONLY);
      if (style & ES_PASSWORD) edit->setEchoMode(QLineEdit::Password);
      if (style & ES_CENTER) edit->setAlignment(Qt::AlignCenter);
      if (style & ES_RIGHT) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (style & ES_NUMBER) {
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9]*")), edit.get()));
      }
      const bool upper = style & ES_UPPERCASE;
      const bool lower = style & ES_LOWERCASE;
      QLineEdit* line = edit.get();
      if (upper || lower) {
        // What the user types takes the edit's case; the program's text stays as given.
        QObject::connect(line, &QLineEdit::textEdited, &context_, [line, upper](QString text) {
          const int cursor = line->cursorPosition();
          line->setText(upper ? text.toUpper() : text.toLower());
          line->setCursorPosition(cursor);
        });
      }
      QObject::connect(line, &QLineEdit::textChanged, &context_, [this] { Command(EN_CHANGE); });
      line_ = line;
      widget = std::move(edit);
    }
    Adopt(std::move(widget), blueprint.rect);
  }

  ControlKind Kind() const override {
    return wantsReturn_ ? ControlKind::kWantsReturn : ControlKind::kOther;
  }

  std::string Text() const override {
    const QString shown = multiLine_ ? multi_->toPlainText() : line_->text();
    // The program's own bytes while the user has not changed them.
    if (shown == Shown(text_)) return text_;
    QByteArray bytes = shown.toUtf8();
    if (multiLine_) bytes.replace("\n", "\r\n");
    return bytes.toStdString();
  }

  void SetText(std::string_view text) override {
    DialogControl::SetText(text);
    if (multiLine_) {
      const QString shown = Shown(text_);
      if (multi_->toPlainText() == shown) {
        Command(EN_CHANGE);
      } else {
        multi_->setPlainText(shown);
      }
    } else {
      // QLineEdit says nothing when the text stays the same; Windows sends EN_CHANGE for
      // every WM_SETTEXT.
      const QString shown = Shown(text_);
      if (line_->text() == shown) {
        Command(EN_CHANGE);
      } else {
        line_->setText(shown);
      }
    }
  }

 private:
  QString Shown(const std::string& text) const {
    QString shown = ToQString(text);
    if (multiLine_) shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
  }

  bool multiLine_ = false;
  bool wantsReturn_ = false;
  QLineEdit* line_ = nullptr;
  QPlainTextEdit* multi_ = nullptr;
  QString notified_;  // a multi-line edit's text when it last sent EN_CHANGE
};

}  // namespace

std::unique_ptr<DialogControl> MakeEdit(ControlHost& host, const ControlBlueprint& blueprint) {
  return std::make_unique<EditControl>(host, blueprint);
}

}  // namespace velcrum::platform
