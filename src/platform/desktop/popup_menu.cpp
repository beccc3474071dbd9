// The pop-up menu on QMenu.
#include "platform/desktop/popup_menu.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/desktop/text_conversion.h"

namespace velcrum::platform {

struct PopupMenu::Impl {
  struct Item {
    uint32_t id;
    QAction* action;  // owned by the menu
    bool checked = false;
  };

  const Item* Find(uint32_t id) const {
    for (const Item& item : items) {
      if (item.id == id) return &item;
    }
    return nullptr;
  }
  Item* Find(uint32_t id) { return const_cast<Item*>(std::as_const(*this).Find(id)); }

  // The item was chosen: tell the owner.
  void Chosen(uint32_t id) {
    if (owner != kNoWindow) Post(owner, Message::Plain(WM_COMMAND, id, 0));
  }

  QMenu menu;
  std::vector<Item> items;
  Hwnd owner = kNoWindow;
};

PopupMenu::PopupMenu() : impl_(std::make_unique<Impl>()) {}

PopupMenu::~PopupMenu() = default;

void PopupMenu::AppendItem(uint32_t id, std::string_view text) {
  QAction* action = impl_->menu.addAction(ToQString(text));
  // Checkable only for the mark's sake: a choice must not toggle it, so the state the
  // owner set is put back before anything else sees the action.
  action->setCheckable(true);
  Impl* impl = impl_.get();
  QObject::connect(action, &QAction::triggered, action, [impl, id, action] {
    if (const Impl::Item* item = impl->Find(id); item && item->action == action) {
      action->setChecked(item->checked);
    } else {
      action->setChecked(false);
    }
    impl->Chosen(id);
  });
  impl_->items.push_back({id, action});
}

void PopupMenu::AppendSeparator() {
  impl_->menu.addSeparator();
}

void PopupMenu::SetChecked(uint32_t id, bool checked) {
  if (Impl::Item* item = impl_->Find(id)) {
    item->checked = checked;
    item->action->setChecked(checked);
  }
}

bool PopupMenu::IsChecked(uint32_t id) const {
  const Impl::Item* item = impl_->Find(id);
  return item != nullptr && item->checked;
}

void PopupMenu::SetEnabled(uint32_t id, bool enabled) {
  if (Impl::Item* item = impl_->Find(id)) item->action->setEnabled(enabled);
}

bool PopupMenu::IsEnabled(uint32_t id) const {
  const Impl::Item* item = impl_->Find(id);
  return item != nullptr && item->action->isEnabled();
}

void PopupMenu::ShowAtCursor(Hwnd owner) {
  impl_->owner = owner;
  impl_->menu.popup(QCursor::pos());
}

bool PopupMenu::IsShown() const {
  return impl_->menu.isVisible();
}

void PopupMenu::Choose(uint32_t id) {
  if (impl_->owner == kNoWindow) return;
  impl_->menu.hide();
  if (Impl::Item* item = impl_->Find(id); item && item->action->isEnabled()) {
    item->action->trigger();
  }
}

}  // namespace velcrum::platform
