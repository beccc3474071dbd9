// The controls that hold lists of items: LISTBOX, COMBOBOX, and the common controls
// SysListView32, SysTreeView32 (flat: one level of items) and SysTabControl32, all with the
// LB_/CB_ operations of ItemList.
//
// Only the user's changes notify: LBN_SELCHANGE (also when the user clicks the item that
// is already selected) and LBN_DBLCLK with LBS_NOTIFY, CBN_SELCHANGE, and WM_NOTIFY codes
// for the common controls.
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTreeWidget>
#include <functional>

#include "platform/desktop/dialog_control.h"
#include "platform/desktop/text_conversion.h"

namespace velcrum::platform {
namespace {

constexpr uint32_t LBS_NOTIFY = 0x0001;
constexpr uint32_t LBS_SORT = 0x0002;
constexpr uint32_t LBS_MULTIPLESEL = 0x0008;
constexpr uint32_t LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr uint32_t LBS_MULTICOLUMN = 0x0200;
constexpr uint32_t LBS_EXTENDEDSEL = 0x0800;
constexpr uint32_t LBS_DISABLENOSCROLL = 0x1000;
constexpr uint32_t LBS_NOSEL = 0x4000;
constexpr uint32_t CBS_TYPEMASK = 0x0003;
constexpr uint32_t CBS_DROPDOWNLIST = 0x0003;
constexpr uint32_t CBS_SORT = 0x0100;
constexpr uint32_t LVS_SINGLESEL = 0x0004;
constexpr uint32_t LVS_SORTASCENDING = 0x0010;

// Every item of a list box is as high as the dialog font's cell, as on Windows, until the
// program sets another height (LB_SETITEMHEIGHT).
class FixedHeightDelegate final : public QStyledItemDelegate {
 public:
  FixedHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), height_);
  }
  int Height() const { return height_; }
  void SetHeight(int height) { height_ = height; }

 private:
  int height_;
};

// A list widget that tells of a click that selected nothing new (Windows notifies it too).
class Win32ListWidget final : public QListWidget {
 public:
  using QListWidget::QListWidget;
  std::function<void()> onReclick;
  int selectionChanges = 0;

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    const int changesBefore = selectionChanges;
    const bool onItem = itemAt(event->position().toPoint()) != nullptr;
    QListWidget::mousePressEvent(event);
    if (onItem && changesBefore == selectionChanges && event->button() == Qt::LeftButton &&
        onReclick) {
      onReclick();
    }
  }
};

// LISTBOX and SysListView32.
class ListWidgetControl final : public DialogControl, public ItemList {
 public:
  ListWidgetControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    const uint32_t style = blueprint.controlTemplate.style;
    listView_ = blueprint.behaviour == "SysListView32";
    auto list = std::make_unique<Win32ListWidget>(blueprint.parent);
    list_ = list.get();
    QRect rect = blueprint.rect;
    if (listView_) {
      sorted_ = style & LVS_SORTASCENDING;
      multiple_ = !(style & LVS_SINGLESEL);
      notify_ = true;
      list->setSelectionMode(multiple_ ? QAbstractItemView::ExtendedSelection
                                       : QAbstractItemView::SingleSelection);
    } else {
      sorted_ = style & LBS_SORT;
      notify_ = style & LBS_NOTIFY;
      multiple_ = style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL);
      list->setSelectionMode((style & LBS_NOSEL)         ? QAbstractItemView::NoSelection
                             : (style & LBS_EXTENDEDSEL) ? QAbstractItemView::ExtendedSelection
                             : (style & LBS_MULTIPLESEL) ? QAbstractItemView::MultiSelection
                                                         : QAbstractItemView::SingleSelection);
      delegate_ = new FixedHeightDelegate(blueprint.itemHeight, list.get());
      list->setItemDelegate(delegate_);
      list->setUniformItemSizes(true);
      if (!(style & WS_BORDER)) list->setFrameShape(QFrame::NoFrame);
      list->setVerticalScrollBarPolicy((style & LBS_DISABLENOSCROLL) ? Qt::ScrollBarAlwaysOn
                                       : (style & WS_VSCROLL)        ? Qt::ScrollBarAsNeeded
                                                                     : Qt::ScrollBarAlwaysOff);
      if (style & LBS_MULTICOLUMN) {
        multiColumn_ = true;
        list->setFlow(QListView::TopToBottom);
        list->setWrapping(true);
        list->setResizeMode(QListView::Adjust);
      }
      if (!(style & LBS_NOINTEGRALHEIGHT) && blueprint.itemHeight > 0) {
        // Windows shrinks a list box to a whole number of items.
        const int frame = 2 * list->frameWidth();
        const int items = std::max(0, rect.height() - frame) / blueprint.itemHeight;
        rect.setHeight(frame + items * blueprint.itemHeight);
      }
    }
    if (!(style & WS_HSCROLL)) list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QObject::connect(list_, &QListWidget::itemSelectionChanged, &context_, [this] {
      ++list_->selectionChanges;
      if (!programmatic_) SelectionChanged();
    });
    list->onReclick = [this] {
      if (!listView_) SelectionChanged();
    };
    QObject::connect(list_, &QListWidget::itemDoubleClicked, &context_, [this] {
      if (listView_) {
        NotifyCode(NM_DBLCLK);
      } else if (notify_) {
        Command(LBN_DBLCLK);
      }
    });
    Adopt(std::move(list), rect);
  }

  ItemList* Items() override { return this; }

  bool SetItemHeight(int height) override {
    if (delegate_ == nullptr) return false;
    delegate_->SetHeight(height);
    if (columnWidth_ > 0) list_->setGridSize(QSize(columnWidth_, height));
    list_->doItemsLayout();
    return true;
  }
  // Columns are as wide as the program says; until it does, each column takes the width
  // of its widest item.
  void SetColumnWidth(int width) override {
    if (!multiColumn_ || width <= 0) return;
    columnWidth_ = width;
    list_->setGridSize(QSize(width, delegate_->Height()));
  }

 protected:
  bool SortedList() const override { return sorted_; }
  bool MultipleSelection() const override { return multiple_; }
  void ShowInserted(int index) override {
    list_->insertItem(index, ToQString(items_[static_cast<size_t>(index)]));
  }
  void ShowRemoved(int index) override { delete list_->takeItem(index); }
  void ShowCleared() override { list_->clear(); }
  void ShowReplaced() override {
    list_->clear();
    QStringList texts;
    texts.reserve(Count());
    for (const std::string& item : items_) texts.push_back(ToQString(item));
    list_->addItems(texts);
  }
  int ShownCurrent() const override {
    if (multiple_) return list_->currentRow();
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.front());
  }
  void ShowCurrent(int index) override {
    if (index < 0) {
      list_->clearSelection();
      list_->setCurrentRow(-1);
    } else {
      list_->setCurrentRow(index);
    }
  }
  bool ShownSelected(int index) const override { return list_->item(index)->isSelected(); }
  void ShowSelected(int index, bool selected) override {
    list_->item(index)->setSelected(selected);
  }
  void ShowTop(int index) override {
    list_->scrollToItem(list_->item(index), QAbstractItemView::PositionAtTop);
  }

 private:
  void SelectionChanged() {
    if (listView_) {
      NotifyCode(LVN_ITEMCHANGED);
    } else if (notify_) {
      Command(LBN_SELCHANGE);
    }
  }

  Win32ListWidget* list_;
  FixedHeightDelegate* delegate_ = nullptr;  // list boxes only, owned by the list
  bool multiColumn_ = false;
  int columnWidth_ = 0;  // 0: as wide as the widest item
  bool listView_ = false;
  bool sorted_ = false;
  bool multiple_ = false;
  bool notify_ = false;
};

class ComboBoxControl final : public DialogControl, public ItemList {
 public:
  ComboBoxControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    const uint32_t style = blueprint.controlTemplate.style;
    sorted_ = style & CBS_SORT;
    editable_ = (style & CBS_TYPEMASK) != CBS_DROPDOWNLIST;
    auto combo = std::make_unique<QComboBox>(blueprint.parent);
    combo->setEditable(editable_);
    combo->setInsertPolicy(QComboBox::NoInsert);
    if (editable_) combo->setEditText(ToQString(text_));
    // The template's height includes the dropped list; the field is one item high with
    // the borders Windows gives it.
    QRect rect = blueprint.rect;
    const int field = blueprint.itemHeight + 8;
    combo->setMaxVisibleItems(
        std::max(1, (rect.height() - field) / std::max(1, blueprint.itemHeight)));
    rect.setHeight(std::min(rect.height(), field));
    QObject::connect(combo.get(), &QComboBox::currentIndexChanged, &context_, [this] {
      if (!programmatic_) Command(CBN_SELCHANGE);
    });
    combo_ = combo.get();
    Adopt(std::move(combo), rect);
  }

  ItemList* Items() override { return this; }

  void ShowDropDown(bool show) override {
    if (show) {
      combo_->showPopup();
    } else {
      combo_->hidePopup();
    }
  }
  bool IsDroppedDown() const override { return combo_->view()->isVisible(); }

  std::string Text() const override {
    if (!editable_) return ItemList::Text(Selection());
    const QString shown = combo_->currentText();
    if (shown == ToQString(text_)) return text_;
    const int index = Selection();
    if (index >= 0 && shown == ToQString(items_[static_cast<size_t>(index)])) {
      return items_[static_cast<size_t>(index)];
    }
    return shown.toUtf8().toStdString();
  }
  void SetText(std::string_view text) override {
    if (!editable_) return;  // a drop-down list shows only its items
    DialogControl::SetText(text);
    combo_->setEditText(ToQString(text_));
  }

 protected:
  bool SortedList() const override { return sorted_; }
  void ShowInserted(int index) override {
    combo_->insertItem(index, ToQString(items_[static_cast<size_t>(index)]));
  }
  void ShowRemoved(int index) override { combo_->removeItem(index); }
  void ShowCleared() override {
    combo_->clear();
    if (editable_) combo_->setEditText(QString());
  }
  int ShownCurrent() const override { return combo_->currentIndex(); }
  void ShowCurrent(int index) override { combo_->setCurrentIndex(index); }
  void ShowTop(int index) override {
    combo_->view()->scrollTo(combo_->model()->index(index, 0), QAbstractItemView::PositionAtTop);
  }

 private:
  QComboBox* combo_;
  bool sorted_ = false;
  bool editable_ = false;
};

class TreeViewControl final : public DialogControl, public ItemList {
 public:
  TreeViewControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    auto tree = std::make_unique<QTreeWidget>(blueprint.parent);
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setRootIsDecorated(false);
    QObject::connect(tree.get(), &QTreeWidget::itemSelectionChanged, &context_, [this] {
      if (!programmatic_) NotifyCode(TVN_SELCHANGED);
    });
    QObject::connect(tree.get(), &QTreeWidget::itemDoubleClicked, &context_,
                     [this] { NotifyCode(NM_DBLCLK); });
    tree_ = tree.get();
    Adopt(std::move(tree), blueprint.rect);
  }
  ItemList* Items() override { return this; }

 protected:
  bool SortedList() const override { return false; }
  void ShowInserted(int index) override {
    tree_->insertTopLevelItem(
        index, new QTreeWidgetItem(QStringList{ToQString(items_[static_cast<size_t>(index)])}));
  }
  void ShowRemoved(int index) override { delete tree_->takeTopLevelItem(index); }
  void ShowCleared() override { tree_->clear(); }
  int ShownCurrent() const override {
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    return selected.isEmpty() ? -1 : tree_->indexOfTopLevelItem(selected.front());
  }
  void ShowCurrent(int index) override {
    if (index < 0) {
      tree_->clearSelection();
      tree_->setCurrentItem(nullptr);
    } else {
      tree_->setCurrentItem(tree_->topLevelItem(index));
    }
  }
  void ShowTop(int index) override {
    tree_->scrollToItem(tree_->topLevelItem(index), QAbstractItemView::PositionAtTop);
  }

 private:
  QTreeWidget* tree_;
};

class TabControl final : public DialogControl, public ItemList {
 public:
  TabControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    auto tabs = std::make_unique<QTabBar>(blueprint.parent);
    tabs->setExpanding(false);
    QObject::connect(tabs.get(), &QTabBar::currentChanged, &context_, [this] {
      if (!programmatic_) NotifyCode(TCN_SELCHANGE);
    });
    tabs_ = tabs.get();
    Adopt(std::move(tabs), blueprint.rect);
  }
  ItemList* Items() override { return this; }

 protected:
  bool SortedList() const override { return false; }
  bool SelectionFollowsItems() const override { return false; }
  void ShowInserted(int index) override {
    tabs_->insertTab(index, ToQString(items_[static_cast<size_t>(index)]));
  }
  void ShowRemoved(int index) override { tabs_->removeTab(index); }
  void ShowCleared() override {
    while (tabs_->count() > 0) tabs_->removeTab(0);
  }
  int ShownCurrent() const override { return tabs_->currentIndex(); }
  void ShowCurrent(int index) override { tabs_->setCurrentIndex(index); }

 private:
  QTabBar* tabs_;
};

}  // namespace

std::unique_ptr<DialogControl> MakeList(ControlHost& host, const ControlBlueprint& blueprint) {
  if (blueprint.behaviour == "COMBOBOX") return std::make_unique<ComboBoxControl>(host, blueprint);
  if (blueprint.behaviour == "SysTreeView32")
    return std::make_unique<TreeViewControl>(host, blueprint);
  if (blueprint.behaviour == "SysTabControl32")
    return std::make_unique<TabControl>(host, blueprint);
  return std::make_unique<ListWidgetControl>(host, blueprint);
}

}  // namespace velcrum::platform
