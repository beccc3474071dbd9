// The dialogs of this process: the window, its widget and its controls, the Win32
// operations on them, the default processing of the dialog's messages, and the table the
// desktop tool finds them in (local_dialogs.h).
#include "platform/desktop/dialog_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <unordered_map>

#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_session.h"
#include "platform/desktop/dialog_control.h"
#include "platform/desktop/dialog_keyboard.h"
#include "platform/desktop/dialog_units.h"
#include "platform/desktop/local_dialogs.h"
#include "platform/desktop/window.h"

namespace velcrum::platform {
namespace {

constexpr uint32_t DS_ABSALIGN = 0x0001;
constexpr uint32_t DS_CENTER = 0x0800;

class DesktopDialog;
std::unordered_map<Hwnd, DesktopDialog*>& LocalDialogs() {
  static std::unordered_map<Hwnd, DesktopDialog*> dialogs;
  return dialogs;
}

// The dialog's own window: its background, the images drawn on it, and a WM_PAINT for
// its procedure once it has been painted.
class DialogWidget final : public QWidget {
 public:
  struct Overlay {
    QPoint at;
    QImage image;
  };
  std::vector<Overlay> overlays;
  std::function<void()> painted;
  std::function<void(QSize)> resized;

 protected:
  void resizeEvent(QResizeEvent* event) override {
    if (resized) resized(event->size());
  }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    for (const Overlay& overlay : overlays) painter.drawImage(overlay.at, overlay.image);
    if (painted) painted();
  }
};

class DesktopDialog final : public Dialog, public ControlHost, public DialogNavigation {
 public:
  static DialogCreation Build(const DialogTemplate& dialogTemplate, Hwnd owner, DialogProc proc,
                              const DialogResources& resources);
  ~DesktopDialog() override;

  QWidget* DialogWidgetPtr() const { return widget_; }
  QWidget* ControlWidget(int id) const {
    const DialogControl* control = Find(id);
    return control ? control->Widget() : nullptr;
  }

  // Dialog
  Hwnd Handle() const override { return window_->Handle(); }
  Hwnd Owner() const override { return owner_; }
  bool Post(const Message& message) override { return platform::Post(Handle(), message); }
  bool SetTimer(uint32_t id, uint32_t intervalMs) override {
    return window_->SetTimer(id, intervalMs);
  }
  bool KillTimer(uint32_t id) override { return window_->KillTimer(id); }
  void Show(ShowCommand command) override;
  bool IsVisible() const override { return widget_->isVisible(); }
  bool IsMinimised() const override { return widget_->isMinimized(); }
  void Update() override {
    if (widget_->isVisible()) widget_->repaint();
  }
  void BringToTop() override {
    widget_->raise();
    widget_->activateWindow();
  }
  void SendToBottom() override { widget_->lower(); }
  void Move(int x, int y) override { widget_->move(x, y); }
  void Resize(int width, int height) override;
  void SetTitle(std::string_view title) override { window_->SetTitle(title); }
  std::string Title() const override { return window_->Title(); }
  Rect WindowRect() const override {
    const QRect frame = widget_->frameGeometry();
    return Rect{frame.left(), frame.top(), frame.left() + frame.width(),
                frame.top() + frame.height()};
  }
  bool DrawImage(int x, int y, std::string_view imageBytes) override;
  bool SavePicture(const std::string& hostPath) override {
    return widget_->grab().save(QString::fromLocal8Bit(hostPath.c_str()), "PNG");
  }

  bool HasControl(int id) const override { return Find(id) != nullptr; }
  std::vector<int> ControlIds() const override;
  uint32_t ControlHandle(int id) const override {
    const DialogControl* control = Find(id);
    return control ? control->Token() : 0;
  }
  std::string ControlClass(int id) const override {
    const DialogControl* control = Find(id);
    return control ? control->ClassName() : std::string();
  }
  uint32_t ControlStyle(int id) const override {
    const DialogControl* control = Find(id);
    return control ? control->Style() : 0;
  }
  ControlRect ControlGeometry(int id) const override;
  std::string ControlText(int id, size_t maxChars) const override;
  void SetControlText(int id, std::string_view text) override {
    if (DialogControl* control = Find(id)) control->SetText(text);
  }
  int CheckState(int id) const override {
    const DialogControl* control = Find(id);
    return control ? control->CheckState() : 0;
  }
  void SetCheckState(int id, int state) override {
    if (DialogControl* control = Find(id)) control->SetCheckState(state);
  }
  bool IsControlEnabled(int id) const override {
    const DialogControl* control = Find(id);
    return control && control->Widget()->isEnabled();
  }
  void EnableControl(int id, bool enable) override;
  bool IsControlVisible(int id) const override {
    const DialogControl* control = Find(id);
    return control && control->Widget()->isVisible();
  }
  void ShowControl(int id, bool show) override {
    if (DialogControl* control = Find(id)) control->Widget()->setVisible(show);
  }
  void UpdateControl(int id) override {
    const DialogControl* control = Find(id);
    if (control && control->Widget()->isVisible()) control->Widget()->repaint();
  }
  void MoveControl(int id, int x, int y) override {
    if (DialogControl* control = Find(id)) control->Widget()->move(x, y);
  }
  void ResizeControl(int id, int width, int height) override {
    if (DialogControl* control = Find(id)) {
      control->Widget()->resize(std::max(0, width), std::max(0, height));
    }
  }
  void FocusControl(int id) override {
    if (DialogControl* control = Find(id)) control->Widget()->setFocus(Qt::OtherFocusReason);
  }
  int FocusedControl() const override {
    const DialogControl* control = FocusedControlObject();
    return control ? control->Id() : 0;
  }
  int ChangeControlId(int id, int newId) override {
    DialogControl* control = Find(id);
    if (!control) return 0;
    control->SetId(newId);
    return control->Id();
  }

  void SetScrollRange(int id, int minimum, int maximum, bool) override {
    if (DialogControl* control = Find(id)) control->SetRange(minimum, maximum);
  }
  void SetScrollPos(int id, int position, bool) override {
    if (DialogControl* control = Find(id)) control->SetPosition(position);
  }
  int ScrollPos(int id) const override {
    const DialogControl* control = Find(id);
    return control ? control->Position() : 0;
  }

  int AddItem(int id, std::string_view text) override {
    ItemList* items = ItemsOf(id);
    return items ? items->Add(text) : -1;
  }
  int InsertItem(int id, int index, std::string_view text) override {
    ItemList* items = ItemsOf(id);
    return items ? items->Insert(index, text) : -1;
  }
  int DeleteItem(int id, int index) override {
    ItemList* items = ItemsOf(id);
    return items ? items->Delete(index) : -1;
  }
  void ResetItems(int id) override {
    if (ItemList* items = ItemsOf(id)) items->Reset();
  }
  void ReplaceItems(int id, const std::vector<std::string>& texts) override {
    if (ItemList* items = ItemsOf(id)) items->Replace(texts);
  }
  int ItemCount(int id) const override {
    const ItemList* items = ItemsOf(id);
    return items ? items->Count() : -1;
  }
  std::string ItemText(int id, int index) const override {
    const ItemList* items = ItemsOf(id);
    return items ? items->Text(index) : std::string();
  }
  int CurrentSelection(int id) const override {
    const ItemList* items = ItemsOf(id);
    return items ? items->Selection() : -1;
  }
  int SetCurrentSelection(int id, int index) override {
    ItemList* items = ItemsOf(id);
    return items ? items->SetSelection(index) : -1;
  }
  int SelectString(int id, int after, std::string_view text) override {
    ItemList* items = ItemsOf(id);
    return items ? items->SelectString(after, text) : -1;
  }
  int FindString(int id, int after, std::string_view text, bool exact) const override {
    const ItemList* items = ItemsOf(id);
    return items ? items->Find(after, text, exact) : -1;
  }
  bool IsItemSelected(int id, int index) const override {
    const ItemList* items = ItemsOf(id);
    return items && items->IsSelected(index);
  }
  void SetItemSelected(int id, int index, bool selected) override {
    if (ItemList* items = ItemsOf(id)) items->SetSelected(index, selected);
  }
  void SetTopIndex(int id, int index) override {
    if (ItemList* items = ItemsOf(id)) items->SetTop(index);
  }
  bool SetItemHeight(int id, int height) override {
    ItemList* items = ItemsOf(id);
    return items && height >= 1 && height <= 255 && items->SetItemHeight(height);
  }
  void SetColumnWidth(int id, int width) override {
    if (ItemList* items = ItemsOf(id)) items->SetColumnWidth(width);
  }
  void ShowDropDown(int id, bool show) override {
    if (ItemList* items = ItemsOf(id)) items->ShowDropDown(show);
  }
  bool IsDroppedDown(int id) const override {
    const ItemList* items = ItemsOf(id);
    return items && items->IsDroppedDown();
  }
  bool PaintImage(int id, int x, int y, int width, int height,
                  std::string_view imageBytes) override {
    DialogControl* control = Find(id);
    return control && control->PaintImage(x, y, width, height, imageBytes);
  }

  // ControlHost
  void NotifyDialog(Message message) override { Send(Handle(), message); }
  void RadioChecked(DialogControl& radio) override;
  bool LoadResourceImage(std::string_view name, bool icon, std::string& bytes) override {
    const auto& load = icon ? resources_.icon : resources_.bitmap;
    return load && load(name, bytes);
  }

  // DialogNavigation
  const std::vector<std::unique_ptr<DialogControl>>& Controls() const override { return controls_; }
  DialogControl* ControlOfWidget(const QWidget* widget) const override;
  DialogControl* FocusedControlObject() const override {
    return ControlOfWidget(widget_->focusWidget());
  }
  void DialogCommand(uint32_t wParam) override {
    NotifyDialog(Message::Plain(WM_COMMAND, wParam, 0));
  }
  void ClickRadio(DialogControl& radio) override {
    radio.SetCheckState(1);
    RadioChecked(radio);
    NotifyDialog(Message::Plain(WM_COMMAND, static_cast<uint32_t>(radio.Id()),
                                static_cast<int32_t>(radio.Token())));
  }

 private:
  DesktopDialog(DialogProc proc, const DialogResources& resources)
      : proc_(std::move(proc)), resources_(resources) {}

  DialogControl* Find(int id) const {
    const int wanted = id & 0xFFFF;
    for (const auto& control : controls_) {
      if (control->Id() == wanted) return control.get();
    }
    return nullptr;
  }
  ItemList* ItemsOf(int id) const {
    DialogControl* control = Find(id);
    return control ? control->Items() : nullptr;
  }
  Result Answer(const Message& message);
  void Place(const DialogTemplate& dialogTemplate, Hwnd owner, BaseUnits units);

  DialogProc proc_;
  DialogResources resources_;
  Hwnd owner_ = kNoWindow;
  DialogWidget* widget_ = nullptr;  // deleted later than the dialog (see the destructor)
  std::unique_ptr<Window> window_;
  std::vector<std::unique_ptr<DialogControl>> controls_;
  std::unique_ptr<QObject> keyboard_;
  bool paintPending_ = false;
};

DialogCreation DesktopDialog::Build(const DialogTemplate& dialogTemplate, Hwnd owner,
                                    DialogProc proc, const DialogResources& resources) {
  // Every class must be known before anything is made, so that a failed creation leaves
  // nothing behind and tells its procedure nothing.
  // Each control as its class makes it: the behaviour, and the style with the bits the
  // class fixes.
  std::vector<std::string> behaviours;
  std::vector<ControlTemplate> controls = dialogTemplate.controls;
  behaviours.reserve(controls.size());
  for (ControlTemplate& control : controls) {
    std::string behaviour = ControlClassBehaviour(control.className);
    if (behaviour.empty()) return {nullptr, kErrorClassNotFound, control.className};
    behaviours.push_back(std::move(behaviour));
    control.style = ControlClassStyle(control.className, control.style);
  }

  std::unique_ptr<DesktopDialog> dialog(new DesktopDialog(std::move(proc), resources));
  auto* widget = new DialogWidget;
  dialog->widget_ = widget;
  Qt::WindowFlags flags = Qt::Window;
  if ((dialogTemplate.style & WS_CAPTION) != WS_CAPTION) {
    flags |= Qt::FramelessWindowHint;
  } else if (!(dialogTemplate.style & WS_SYSMENU)) {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  }
  widget->setWindowFlags(flags);
  dialog->window_ = Window::Create(Window::Kind::kTopLevel, dialogTemplate.caption, widget);
  if (!dialog->window_) {
    delete widget;
    dialog->widget_ = nullptr;
    return {nullptr, kErrorNoDesktop, "no window handle left on the desktop"};
  }
  DesktopDialog* self = dialog.get();
  dialog->window_->SetProc([self](const Message& message) { return self->Answer(message); });
  widget->painted = [self] {
    if (self->paintPending_) return;
    self->paintPending_ = platform::Post(self->Handle(), Message::Plain(WM_PAINT));
  };

  const QFont font = DialogQFont(dialogTemplate.font);
  widget->setFont(font);
  const BaseUnits units = DialogBaseUnits(dialogTemplate.font);
  dialog->owner_ = owner;
  dialog->Place(dialogTemplate, owner, units);

  // A dialog with a sizing frame tells its procedure its new client size whenever it
  // changes (WM_SIZE, SIZE_RESTORED), so that it can lay its controls out.
  if (dialogTemplate.style & WS_THICKFRAME) {
    widget->resized = [self](QSize size) {
      const auto width = static_cast<uint32_t>(std::min(size.width(), 0xFFFF));
      const auto height = static_cast<uint32_t>(std::min(size.height(), 0xFFFF));
      self->NotifyDialog(Message::Plain(WM_SIZE, 0, static_cast<int32_t>(MakeLong(width, height))));
    };
  }

  // Installed after the window's input translator, so it sees each key first.
  dialog->keyboard_ = MakeDialogKeyboard(*dialog, widget);
  widget->installEventFilter(dialog->keyboard_.get());

  dialog->controls_.reserve(controls.size());
  for (size_t i = 0; i < controls.size(); ++i) {
    const ControlTemplate& control = controls[i];
    const PixelRect pixels =
        DialogUnitsToPixels(control.x, control.y, control.cx, control.cy, units);
    const ControlBlueprint blueprint{control, behaviours[i],
                                     QRect(pixels.x, pixels.y, pixels.width, pixels.height), widget,
                                     units.y};
    std::unique_ptr<DialogControl> made = MakeControl(*dialog, blueprint);
    QWidget* controlWidget = made->Widget();
    // The first control is at the top of the z-order, as Windows stacks a template.
    controlWidget->lower();
    controlWidget->installEventFilter(dialog->keyboard_.get());
    for (QWidget* part : controlWidget->findChildren<QWidget*>()) {
      part->installEventFilter(dialog->keyboard_.get());
    }
    dialog->controls_.push_back(std::move(made));
  }

  LocalDialogs()[dialog->Handle()] = self;

  // WM_INITDIALOG with the first control that can take the focus; a non-zero answer asks
  // for the focus to go there.
  DialogControl* first = nullptr;
  for (const auto& control : dialog->controls_) {
    if ((control->TemplateStyle() & WS_TABSTOP) && control->Kind() != ControlKind::kStatic &&
        control->Widget()->isEnabled() && !control->Widget()->isHidden()) {
      first = control.get();
      break;
    }
  }
  const std::optional<Result> answer =
      Send(self->Handle(), Message::Plain(WM_INITDIALOG, first ? first->Token() : 0u, 0));
  if (answer && *answer != 0 && first) first->Widget()->setFocus(Qt::TabFocusReason);

  if (dialogTemplate.style & WS_VISIBLE) widget->show();
  return {std::move(dialog), 0, {}};
}

DesktopDialog::~DesktopDialog() {
  if (window_) LocalDialogs().erase(window_->Handle());
  window_.reset();
  if (keyboard_ && widget_) {
    widget_->removeEventFilter(keyboard_.get());
    for (QWidget* part : widget_->findChildren<QWidget*>())
      part->removeEventFilter(keyboard_.get());
  }
  controls_.clear();
  // The keyboard may be on the stack too (Escape that closes the panel).
  if (keyboard_) keyboard_.release()->deleteLater();
  if (!widget_) return;
  // The widget may be on the stack (the dialog destroyed from inside one of its own
  // messages): the loop deletes it, with the controls' widgets.
  widget_->painted = nullptr;
  widget_->hide();
  widget_->deleteLater();
}

void DesktopDialog::Place(const DialogTemplate& dialogTemplate, Hwnd owner, BaseUnits units) {
  const PixelRect pixels = DialogUnitsToPixels(dialogTemplate.x, dialogTemplate.y,
                                               dialogTemplate.cx, dialogTemplate.cy, units);
  QWidget* ownerWidget = nullptr;
  if (DesktopSession* session = DesktopSession::Current()) {
    ownerWidget = session->LocalWidget(owner);
  }
  QPoint origin(0, 0);  // the owner's client area, else the screen
  if (ownerWidget && !(dialogTemplate.style & DS_ABSALIGN)) {
    origin = ownerWidget->mapToGlobal(QPoint(0, 0));
  }
  QRect client(origin + QPoint(pixels.x, pixels.y), QSize(pixels.width, pixels.height));
  if (dialogTemplate.style & DS_CENTER) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      client.moveCenter(screen->availableGeometry().center());
    }
  }
  widget_->setGeometry(client);
  if (!(dialogTemplate.style & WS_THICKFRAME)) widget_->setFixedSize(client.size());
  if (ownerWidget) {
    // An owned window stays above its owner; Qt's transient parent says so to the window
    // manager without tying the widgets' lifetimes together.
    widget_->winId();
    ownerWidget->winId();
    if (widget_->windowHandle() && ownerWidget->windowHandle()) {
      widget_->windowHandle()->setTransientParent(ownerWidget->windowHandle());
    }
  }
}

Result DesktopDialog::Answer(const Message& message) {
  if (message.message == WM_PAINT) paintPending_ = false;
  const Result result = proc_ ? proc_(message) : 0;
  // The dialog manager's default processing of what the procedure left to it.
  if (result == 0 && message.message == WM_CLOSE) {
    DialogCommand(static_cast<uint32_t>(IDCANCEL));
  }
  return result;
}

void DesktopDialog::Show(ShowCommand command) {
  switch (command) {
    case ShowCommand::kHide:
      widget_->hide();
      break;
    case ShowCommand::kShow:
      widget_->show();
      break;
    case ShowCommand::kRestore:
      widget_->overlays.clear();
      widget_->showNormal();
      break;
    case ShowCommand::kMinimiseNoActivate:
      widget_->setAttribute(Qt::WA_ShowWithoutActivating, true);
      widget_->showMinimized();
      widget_->setAttribute(Qt::WA_ShowWithoutActivating, false);
      break;
  }
}

void DesktopDialog::Resize(int width, int height) {
  // SetWindowPos sizes the whole window, its frame included.
  const QSize frame = widget_->frameGeometry().size() - widget_->geometry().size();
  const QSize client(std::max(0, width - frame.width()), std::max(0, height - frame.height()));
  if (widget_->minimumSize() == widget_->maximumSize()) {
    widget_->setFixedSize(client);
  } else {
    widget_->resize(client);
  }
}

bool DesktopDialog::DrawImage(int x, int y, std::string_view imageBytes) {
  QImage image = DecodeImage(imageBytes);
  if (image.isNull()) return false;
  widget_->overlays.push_back({QPoint(x, y), std::move(image)});
  widget_->update();
  return true;
}

std::vector<int> DesktopDialog::ControlIds() const {
  std::vector<int> ids;
  ids.reserve(controls_.size());
  for (const auto& control : controls_) ids.push_back(control->Id());
  return ids;
}

ControlRect DesktopDialog::ControlGeometry(int id) const {
  const DialogControl* control = Find(id);
  if (!control) return {};
  const QRect rect = control->Widget()->geometry();
  return ControlRect{rect.x(), rect.y(), rect.width(), rect.height()};
}

std::string DesktopDialog::ControlText(int id, size_t maxChars) const {
  const DialogControl* control = Find(id);
  if (!control) return {};
  std::string text = control->Text();
  if (text.size() > maxChars) text.resize(maxChars);
  return text;
}

void DesktopDialog::EnableControl(int id, bool enable) {
  DialogControl* control = Find(id);
  if (!control) return;
  control->Widget()->setEnabled(enable);
  control->DropOverlays();
}

void DesktopDialog::RadioChecked(DialogControl& radio) {
  size_t index = 0;
  while (index < controls_.size() && controls_[index].get() != &radio) ++index;
  if (index == controls_.size()) return;
  const auto [first, last] = GroupOf(controls_, index);
  for (size_t i = first; i < last; ++i) {
    DialogControl& other = *controls_[i];
    const ControlKind kind = other.Kind();
    if (&other != &radio && (kind == ControlKind::kRadio || kind == ControlKind::kAutoRadio)) {
      other.SetCheckState(0);
    }
  }
}

DialogControl* DesktopDialog::ControlOfWidget(const QWidget* widget) const {
  // The widget or the nearest of its ancestors that is a control's widget.
  while (widget && widget != widget_) {
    if (widget->parentWidget() == widget_) {
      for (const auto& control : controls_) {
        if (control->Widget() == widget) return control.get();
      }
      return nullptr;
    }
    widget = widget->parentWidget();
  }
  return nullptr;
}

}  // namespace

DialogCreation BuildDesktopDialog(const DialogTemplate& dialogTemplate, Hwnd owner, DialogProc proc,
                                  const DialogResources& resources) {
  return DesktopDialog::Build(dialogTemplate, owner, std::move(proc), resources);
}

Dialog* FindLocalDialog(Hwnd hwnd) {
  const auto& dialogs = LocalDialogs();
  const auto found = dialogs.find(hwnd);
  return found == dialogs.end() ? nullptr : found->second;
}

QWidget* LocalControlWidget(Hwnd dialog, int id) {
  const auto& dialogs = LocalDialogs();
  const auto found = dialogs.find(dialog);
  return found == dialogs.end() ? nullptr : found->second->ControlWidget(id);
}

QWidget* LocalControlWidgetOfHandle(uint32_t controlHandle) {
  if (controlHandle == 0) return nullptr;
  for (const auto& [hwnd, dialog] : LocalDialogs()) {
    for (const auto& control : dialog->Controls()) {
      if (control->Token() == controlHandle) return control->Widget();
    }
  }
  return nullptr;
}

std::vector<DialogControl*> LocalDialogControls(Hwnd dialog) {
  std::vector<DialogControl*> controls;
  const auto& dialogs = LocalDialogs();
  const auto found = dialogs.find(dialog);
  if (found == dialogs.end()) return controls;
  for (const auto& control : found->second->Controls()) controls.push_back(control.get());
  return controls;
}

DialogControl* LocalFocusedControl(Hwnd dialog) {
  const auto& dialogs = LocalDialogs();
  const auto found = dialogs.find(dialog);
  return found == dialogs.end() ? nullptr : found->second->FocusedControlObject();
}

QWidget* LocalDialogWidget(Hwnd dialog) {
  const auto& dialogs = LocalDialogs();
  const auto found = dialogs.find(dialog);
  return found == dialogs.end() ? nullptr : found->second->DialogWidgetPtr();
}

}  // namespace velcrum::platform
