// Dialogs made from templates on the offscreen platform: what their procedures receive when
// controls are pressed and keys typed, the dialog manager's keys, the operations on
// controls, the list operations, and dialog units in pixels.
#include "platform/dialog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "controls/control_library.h"
#include "desktop_fixture.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/dialog_units.h"
#include "platform/desktop/local_dialogs.h"
#include "platform/desktop/window.h"
#include "platform/shared_library.h"

namespace velcrum::platform::testing {
namespace {

constexpr uint32_t kChild = 0x40000000 | 0x10000000;  // WS_CHILD | WS_VISIBLE
constexpr uint32_t kTabStop = 0x00010000;
constexpr uint32_t kGroup = 0x00020000;
constexpr uint32_t kDisabled = 0x08000000;
constexpr uint32_t kDialogStyle = 0x80000000 | 0x00C00000 | 0x00080000;  // popup, caption, menu
constexpr uint32_t kVisible = 0x10000000;

// Button, static, edit, list and combo styles the templates use.
constexpr uint32_t BS_DEFPUSHBUTTON = 0x01;
constexpr uint32_t BS_CHECKBOX = 0x02;
constexpr uint32_t BS_AUTOCHECKBOX = 0x03;
constexpr uint32_t BS_RADIOBUTTON = 0x04;
constexpr uint32_t BS_AUTO3STATE = 0x06;
constexpr uint32_t BS_GROUPBOX = 0x07;
constexpr uint32_t BS_AUTORADIOBUTTON = 0x09;
constexpr uint32_t BS_OWNERDRAW = 0x0B;
constexpr uint32_t SS_NOTIFY = 0x0100;
constexpr uint32_t ES_MULTILINE = 0x0004;
constexpr uint32_t LBS_NOTIFY = 0x0001;
constexpr uint32_t LBS_SORT = 0x0002;
constexpr uint32_t LBS_EXTENDEDSEL = 0x0800;
constexpr uint32_t LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr uint32_t CBS_DROPDOWNLIST = 0x0003;
constexpr uint32_t SBS_VERT = 0x0001;

ControlTemplate Control(std::string className, int id, uint32_t style, int x, int y, int cx, int cy,
                        std::string text = {}) {
  ControlTemplate control;
  control.className = std::move(className);
  control.id = id;
  control.style = kChild | style;
  control.x = x;
  control.y = y;
  control.cx = cx;
  control.cy = cy;
  control.text = std::move(text);
  return control;
}

DialogTemplate Template(std::vector<ControlTemplate> controls, uint32_t extraStyle = kVisible) {
  DialogTemplate dialog;
  dialog.style = kDialogStyle | extraStyle;
  dialog.x = 10;
  dialog.y = 10;
  dialog.cx = 200;
  dialog.cy = 120;
  dialog.caption = "Studio A";
  dialog.font.pointSize = 8;
  dialog.font.face = "MS Sans Serif";
  dialog.controls = std::move(controls);
  return dialog;
}

std::string SolidBmp(QColor colour, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  return bytes.toStdString();
}

uint32_t Word(uint32_t low, uint32_t high) {
  return low | (high << 16);
}

// A message received, as (message, wParam, lParam).
struct Seen {
  uint32_t message;
  uint32_t wParam;
  int32_t lParam;
  bool operator==(const Seen&) const = default;
};

class DialogTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    owner_ = Window::Create(Window::Kind::kTopLevel, "Velcrum");
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override {
    dialog_.reset();
    owner_.reset();
    UnregisterControlClasses();
    DesktopTest::TearDown();
  }

  DialogCreation Make(const DialogTemplate& dialogTemplate, DialogResources resources = {}) {
    return CreateDialog(
        dialogTemplate, owner_->Handle(),
        [this](const Message& m) -> Result {
          received_.push_back(m);
          return answer_ ? answer_(m) : 0;
        },
        resources);
  }
  void Open(const DialogTemplate& dialogTemplate, DialogResources resources = {}) {
    DialogCreation made = Make(dialogTemplate, std::move(resources));
    ASSERT_NE(made.dialog, nullptr) << made.detail;
    dialog_ = std::move(made.dialog);
    if (dialog_->IsVisible()) {
      ASSERT_TRUE(QTest::qWaitForWindowExposed(LocalDialogWidget(dialog_->Handle())));
    }
    received_.clear();
  }
  QWidget* ControlWidget(int id) const { return LocalControlWidget(dialog_->Handle(), id); }
  QWidget* DialogWidget() const { return LocalDialogWidget(dialog_->Handle()); }

  // The messages received of these kinds.
  std::vector<Seen> Received(std::vector<uint32_t> kinds) const {
    std::vector<Seen> seen;
    for (const Message& m : received_) {
      if (std::find(kinds.begin(), kinds.end(), m.message) != kinds.end()) {
        seen.push_back({m.message, m.wParam, m.lParam});
      }
    }
    return seen;
  }
  std::vector<Seen> Commands() const { return Received({WM_COMMAND}); }
  int32_t Token(int id) const { return static_cast<int32_t>(dialog_->ControlHandle(id)); }

  std::unique_ptr<Window> owner_;
  std::unique_ptr<Dialog> dialog_;
  std::vector<Message> received_;
  std::function<Result(const Message&)> answer_;
};

void PrintTo(const Seen& s, std::ostream* out) {
  *out << "{0x" << std::hex << s.message << ", 0x" << s.wParam << ", 0x" << s.lParam << std::dec
       << "}";
}

TEST(DialogUnitsTest, PixelsAsWindowsComputesThem) {
  // MulDiv rounds halves away from zero.
  const struct {
    int number, numerator, denominator, expected;
  } mulDivs[] = {{7, 6, 4, 11}, {-7, 6, 4, -11}, {7, 13, 8, 11}, {14, 13, 8, 23},
                 {5, 13, 8, 8}, {3, 6, 4, 5},    {1, 1, 0, -1}};
  for (const auto& c : mulDivs) {
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
        << c.number << "*" << c.numerator << "/" << c.denominator;
  }

  // The faces of Windows' dialog font keep Windows' base units at 8 points; a template
  // without FONT has the system font's.
  const struct {
    const char* face;
    int points;
    BaseUnits expected;
  } fonts[] = {{"MS Sans Serif", 8, {6, 13}},
               {"ms shell dlg", 8, {6, 13}},
               {"MS Shell Dlg 2", 8, {6, 13}},
               {"", 0, {8, 16}}};
  for (const auto& c : fonts) {
    DialogFont font;
    font.face = c.face;
    font.pointSize = c.points;
    const BaseUnits units = DialogBaseUnits(font);
    EXPECT_EQ(units.x, c.expected.x) << c.face;
    EXPECT_EQ(units.y, c.expected.y) << c.face;
  }

  // A control at (7, 7) of 50 by 14 units with MS Sans Serif 8: x 7*6/4 = 10.5 -> 11,
  // y 7*13/8 = 11.375 -> 11, width 50*6/4 = 75, height 14*13/8 = 22.75 -> 23.
  const PixelRect rect = DialogUnitsToPixels(7, 7, 50, 14, BaseUnits{6, 13});
  EXPECT_EQ(rect.x, 11);
  EXPECT_EQ(rect.y, 11);
  EXPECT_EQ(rect.width, 75);
  EXPECT_EQ(rect.height, 23);
  const PixelRect system = DialogUnitsToPixels(10, 10, 20, 8, BaseUnits{8, 16});
  EXPECT_EQ(system.x, 20);
  EXPECT_EQ(system.y, 20);
  EXPECT_EQ(system.width, 40);
  EXPECT_EQ(system.height, 16);
}

TEST(DialogUnitsTest, AMeasuredFontTakesItsCellHeightFromItsWindowsMetrics) {
  // Tahoma 10 (the fonts-wine face): the em is 10*96/72 = 13.33 -> 13 pixels; its Windows
  // ascent 2049 and descent 423 in 2048 units give 13 + 3 = 16 pixels; its letters
  // average 7 pixels.
  DialogFont font;
  font.face = "Tahoma";
  font.pointSize = 10;
  const QFont qfont = DialogQFont(font);
  if (QFontInfo(qfont).family() != "Tahoma") GTEST_SKIP() << "fonts-wine is not installed";
  EXPECT_EQ(qfont.pixelSize(), 13);
  const BaseUnits units = DialogBaseUnits(font);
  EXPECT_EQ(units.y, 16);
  EXPECT_EQ(units.x, 7);
}

TEST_F(DialogTest, ClassesMustBeStandardOrRegistered) {
  DialogCreation failed = Make(Template(
      {Control("BUTTON", 100, 0, 5, 5, 40, 14, "A"), Control("VornTally", 101, 0, 5, 25, 40, 14)}));
  EXPECT_EQ(failed.dialog, nullptr);
  EXPECT_EQ(failed.error, kErrorClassNotFound);
  EXPECT_EQ(failed.detail, "VornTally");
  EXPECT_TRUE(received_.empty());  // nothing was made, nothing was told

  ASSERT_TRUE(RegisterControlClass("VornTally", "TALLYLAMP"));
  Open(Template({Control("vorntally", 101, 0, 5, 25, 40, 14, "CAM 1")}));
  EXPECT_EQ(dialog_->ControlClass(101), "vorntally");
  dialog_->SetCheckState(101, 2);
  EXPECT_EQ(dialog_->CheckState(101), 2);
}

TEST_F(DialogTest, ADialogIsAnOwnedTopLevelWindowHiddenUnlessVisible) {
  DialogCreation made = Make(Template({Control("BUTTON", 100, kTabStop, 5, 5, 40, 14, "A")}, 0));
  ASSERT_NE(made.dialog, nullptr);
  dialog_ = std::move(made.dialog);
  EXPECT_EQ(FindWindow("studio a"), dialog_->Handle());
  EXPECT_FALSE(dialog_->IsVisible());
  // WM_INITDIALOG, once, with the first control that can take the focus.
  ASSERT_EQ(Received({WM_INITDIALOG}).size(), 1u);
  EXPECT_EQ(Received({WM_INITDIALOG})[0].wParam, dialog_->ControlHandle(100));
  // The client area is the template's size in pixels, placed from the owner's.
  EXPECT_EQ(DialogWidget()->size(), QSize(300, 195));

  // Messages posted to the dialog reach its procedure as posted.
  ASSERT_TRUE(Post(dialog_->Handle(), Message::Plain(WM_TIMER, 7, 0)));
  ASSERT_TRUE(Post(dialog_->Handle(), Message::Plain(WM_COMMAND, 1234, 99)));
  ASSERT_TRUE(WaitUntil([&] { return Received({WM_COMMAND}).size() == 1; }));
  EXPECT_EQ(Received({WM_TIMER, WM_COMMAND}),
            (std::vector<Seen>{{WM_TIMER, 7, 0}, {WM_COMMAND, 1234, 99}}));

  dialog_->Show(ShowCommand::kShow);
  EXPECT_TRUE(dialog_->IsVisible());
  dialog_->Move(50, 60);
  dialog_->Resize(400, 300);
  EXPECT_EQ(DialogWidget()->frameGeometry().topLeft(), QPoint(50, 60));
  EXPECT_EQ(DialogWidget()->frameGeometry().size(), QSize(400, 300));
  dialog_->Show(ShowCommand::kMinimiseNoActivate);
  EXPECT_TRUE(dialog_->IsMinimised());
  EXPECT_TRUE(dialog_->IsVisible());
  dialog_->Show(ShowCommand::kRestore);
  EXPECT_FALSE(dialog_->IsMinimised());
  dialog_->Show(ShowCommand::kHide);
  EXPECT_FALSE(dialog_->IsVisible());
  dialog_->SetTitle("Studio B");
  EXPECT_EQ(dialog_->Title(), "Studio B");
  EXPECT_EQ(FindWindow("Studio B"), dialog_->Handle());
  const Hwnd handle = dialog_->Handle();
  dialog_.reset();
  EXPECT_EQ(FindWindow("Studio B"), kNoWindow);
  EXPECT_EQ(FindLocalDialog(handle), nullptr);
}

TEST_F(DialogTest, TheProcedureHearsOfPaintingAndMayDestroyTheDialogFromAControl) {
  Open(Template({Control("BUTTON", 100, 0, 5, 5, 40, 14, "Close"),
                 Control("LISTBOX", 101, LBS_NOTIFY, 5, 25, 60, 40)}));
  ASSERT_TRUE(WaitUntil([&] { return !Received({WM_PAINT}).empty(); }));
  // A panel destroyed by the line its button runs (PD from a click, from a list's
  // selection): the widgets outlive the call that destroyed them.
  for (int id : {100, 101}) {
    answer_ = [&](const Message& m) -> Result {
      if (m.message == WM_COMMAND) dialog_.reset();
      return 0;
    };
    QWidget* widget = ControlWidget(id);
    if (id == 101) {
      dialog_->AddItem(101, "item");
      auto* list = qobject_cast<QListWidget*>(widget);
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                        list->visualItemRect(list->item(0)).center());
    } else {
      QTest::mouseClick(widget, Qt::LeftButton);
    }
    EXPECT_EQ(dialog_, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    answer_ = nullptr;
    if (id == 100) {
      Open(Template({Control("BUTTON", 100, 0, 5, 5, 40, 14, "Close"),
                     Control("LISTBOX", 101, LBS_NOTIFY, 5, 25, 60, 40)}));
    }
  }
}

TEST_F(DialogTest, ThreeHundredControlsAreNotWindowsOfTheDesktop) {
  std::vector<ControlTemplate> controls;
  for (int i = 0; i < 300; ++i) {
    controls.push_back(
        Control(i % 2 ? "BUTTON" : "STATIC", 1000 + i, 0, (i % 20) * 10, (i / 20) * 8, 9, 7, "x"));
  }
  const size_t before = AllWindows().size();
  Open(Template(std::move(controls)));
  EXPECT_EQ(AllWindows().size(), before + 1);
  std::set<uint32_t> tokens;
  for (int id : dialog_->ControlIds()) tokens.insert(dialog_->ControlHandle(id));
  EXPECT_EQ(tokens.size(), 300u);
  EXPECT_EQ(tokens.count(0), 0u);
  EXPECT_EQ(tokens.count(13), 0u);
}

TEST_F(DialogTest, ClicksNotifyAsWin32ButtonsDo) {
  ASSERT_TRUE(RegisterControlClass("VornLatch", "LATCHBUTTON"));
  Open(Template({
      Control("BUTTON", 101, kTabStop, 5, 5, 40, 14, "Push"),
      Control("BUTTON", 102, BS_AUTOCHECKBOX, 5, 20, 40, 10, "Auto"),
      Control("BUTTON", 103, BS_CHECKBOX, 5, 32, 40, 10, "Manual"),
      Control("BUTTON", 104, BS_AUTO3STATE, 5, 44, 40, 10, "Three"),
      Control("BUTTON", 105, BS_AUTORADIOBUTTON | kGroup, 60, 5, 40, 10, "R1"),
      Control("BUTTON", 106, BS_AUTORADIOBUTTON, 60, 17, 40, 10, "R2"),
      Control("BUTTON", 107, BS_RADIOBUTTON | kGroup, 60, 29, 40, 10, "R3"),
      Control("VornLatch", 108, kGroup, 60, 41, 40, 14, "Latch"),
      Control("STATIC", 109, SS_NOTIFY, 110, 5, 40, 10, "Notify"),
  }));
  const struct {
    int id;
    int clicks;
    int checkAfter;
  } cases[] = {{101, 1, 0}, {102, 1, 1}, {102, 1, 0}, {103, 1, 0}, {104, 2, 2}, {104, 1, 0},
               {105, 1, 1}, {106, 1, 1}, {107, 1, 0}, {108, 1, 1}, {108, 1, 0}, {109, 1, 0}};
  for (const auto& c : cases) {
    received_.clear();
    for (int i = 0; i < c.clicks; ++i) QTest::mouseClick(ControlWidget(c.id), Qt::LeftButton);
    std::vector<Seen> expected;
    for (int i = 0; i < c.clicks; ++i) {
      // The dialog hears of the press before the control acts on it.
      const QPoint centre = ControlWidget(c.id)->geometry().center();
      expected.push_back({WM_PARENTNOTIFY, Word(WM_LBUTTONDOWN, c.id),
                          static_cast<int32_t>(Word(centre.x(), centre.y()))});
      expected.push_back({WM_COMMAND, Word(c.id, BN_CLICKED), Token(c.id)});
    }
    EXPECT_EQ(Received({WM_COMMAND, WM_PARENTNOTIFY}), expected) << c.id;
    EXPECT_EQ(dialog_->CheckState(c.id), c.checkAfter) << c.id;
  }
  // The second radio button of the group took the check from the first.
  EXPECT_EQ(dialog_->CheckState(105), 0);
}

TEST_F(DialogTest, TheControlLibrariesClassesBehaveAsTheirNamesSay) {
  std::vector<SharedLibrary> libraries;
  for (const char* path : {VORN_CC_PATH, BWCC32_PATH}) {
    SharedLibrary& library = libraries.emplace_back(SharedLibrary::Open(path));
    ASSERT_TRUE(library) << path;
    const auto list = library.Entry<VelcrumControlClassesFunction>(VELCRUM_CONTROL_CLASSES_SYMBOL);
    ASSERT_NE(list, nullptr);
    for (const VelcrumControlClass* c = list(); c->name != nullptr; ++c) {
      EXPECT_TRUE(RegisterControlClass(c->name, c->standardClass, c->style, c->styleMask))
          << c->name;
    }
  }
  // The templates give the Borland buttons no button style, as older panels do.
  Open(Template({
      Control("BorCheck", 201, 0, 5, 5, 50, 10, "Check"),
      Control("BorRadio", 202, kGroup, 5, 17, 50, 10, "One"),
      Control("BorRadio", 203, 0, 5, 29, 50, 10, "Two"),
      Control("VornLatch", 204, kGroup, 5, 41, 50, 14, "Latch"),
      Control("VornTally", 205, 0, 5, 57, 50, 14, "Tally"),
      Control("BorBtn", 206, BS_DEFPUSHBUTTON, 60, 5, 50, 14, "OK"),
  }));
  const struct {
    int id;
    std::vector<int> checks;  // of 201 to 205 after the click
  } clicks[] = {{201, {1, 0, 0, 0, 0}}, {202, {1, 1, 0, 0, 0}}, {203, {1, 0, 1, 0, 0}},
                {204, {1, 0, 1, 1, 0}}, {201, {0, 0, 1, 1, 0}}, {204, {0, 0, 1, 0, 0}}};
  for (const auto& c : clicks) {
    received_.clear();
    QTest::mouseClick(ControlWidget(c.id), Qt::LeftButton);
    EXPECT_EQ(Commands(), (std::vector<Seen>{{WM_COMMAND, Word(c.id, BN_CLICKED), Token(c.id)}}));
    std::vector<int> checks;
    for (int id = 201; id <= 205; ++id) checks.push_back(dialog_->CheckState(id));
    EXPECT_EQ(checks, c.checks) << c.id;
  }
  // The lamp shows what the program sets; Enter finds the Borland default button.
  dialog_->SetCheckState(205, 1);
  EXPECT_EQ(dialog_->CheckState(205), 1);
  received_.clear();
  QTest::keyClick(ControlWidget(201), Qt::Key_Return);
  EXPECT_EQ(Commands(), (std::vector<Seen>{{WM_COMMAND, Word(206, BN_CLICKED), 0}}));
}

TEST_F(DialogTest, StaticsAndGroupBoxesLetClicksThroughToTheDialog) {
  Open(Template({Control("BUTTON", 110, BS_GROUPBOX, 5, 5, 100, 60, "Group"),
                 Control("STATIC", 111, 0, 10, 70, 40, 10, "Label")}));
  for (int id : {110, 111}) {
    received_.clear();
    const QPoint at = ControlWidget(id)->geometry().topLeft() + QPoint(20, 12);
    QTest::mouseClick(DialogWidget(), Qt::LeftButton, {}, at);
    EXPECT_EQ(Received({WM_LBUTTONDOWN, WM_PARENTNOTIFY, WM_COMMAND}),
              (std::vector<Seen>{
                  {WM_LBUTTONDOWN, MK_LBUTTON, static_cast<int32_t>(Word(at.x(), at.y()))}}))
        << id;
  }
}

TEST_F(DialogTest, OwnerDrawnButtonsArePaintedByTheProcedure) {
  const std::string red = SolidBmp(Qt::red, 8, 8);
  answer_ = [&](const Message& m) -> Result {
    if (m.message != WM_DRAWITEM) return 0;
    EXPECT_TRUE(dialog_->PaintImage(static_cast<int>(m.wParam), 0, 0, 60, 21, red));
    return 1;
  };
  Open(Template({Control("BUTTON", 120, BS_OWNERDRAW, 10, 10, 40, 16, "#101")}));
  const QImage picture = ControlWidget(120)->grab().toImage();
  const std::vector<Seen> draws = Received({WM_DRAWITEM});
  ASSERT_FALSE(draws.empty());
  EXPECT_EQ(draws[0].wParam, 120u);
  const DrawItem item = UnpackDrawItem(draws[0].lParam);
  EXPECT_EQ(item.ctlType, ODT_BUTTON);
  EXPECT_EQ(item.itemAction, ODA_DRAWENTIRE);
  EXPECT_EQ(picture.pixelColor(30, 10), QColor(Qt::red));

  // Outside WM_DRAWITEM the picture goes over the control; no image, no drawing.
  answer_ = nullptr;
  EXPECT_TRUE(dialog_->PaintImage(120, 0, 0, 0, 0, SolidBmp(Qt::blue, 4, 4)));
  EXPECT_EQ(ControlWidget(120)->grab().toImage().pixelColor(1, 1), QColor(Qt::blue));
  EXPECT_FALSE(dialog_->PaintImage(120, 0, 0, 0, 0, "not an image"));
  EXPECT_FALSE(dialog_->PaintImage(999, 0, 0, 0, 0, red));

  received_.clear();
  QTest::mouseClick(ControlWidget(120), Qt::LeftButton);
  EXPECT_EQ(Commands(), (std::vector<Seen>{{WM_COMMAND, Word(120, BN_CLICKED), Token(120)}}));
}

TEST_F(DialogTest, AScrollBarTracksTheThumbWithoutMovingIt) {
  Open(Template({Control("SCROLLBAR", 130, SBS_VERT, 10, 10, 10, 100)}));
  dialog_->SetScrollRange(130, 0, 100, true);
  dialog_->SetScrollPos(130, 50, true);
  auto* bar = qobject_cast<QScrollBar*>(ControlWidget(130));
  ASSERT_NE(bar, nullptr);
  const QPoint thumb = bar->rect().center();
  auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, bar->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(bar, &event);
  };
  send(QEvent::MouseButtonPress, thumb, Qt::LeftButton);
  send(QEvent::MouseMove, thumb + QPoint(0, 30), Qt::LeftButton);
  const std::vector<Seen> tracking = Received({WM_VSCROLL});
  ASSERT_EQ(tracking.size(), 1u);
  EXPECT_EQ(tracking[0].wParam & 0xFFFF, SB_THUMBTRACK);
  const int dragged = static_cast<int>(tracking[0].wParam >> 16);
  EXPECT_GT(dragged, 50);
  EXPECT_EQ(tracking[0].lParam, Token(130));
  EXPECT_EQ(dialog_->ScrollPos(130), 50);  // the program has not moved it
  send(QEvent::MouseButtonRelease, thumb + QPoint(0, 30), Qt::NoButton);
  EXPECT_EQ(dialog_->ScrollPos(130), 50);
  EXPECT_EQ(Received({WM_VSCROLL}).back().wParam & 0xFFFF, SB_ENDSCROLL);

  // The program sets the position as it tracks (as the panels do).
  answer_ = [&](const Message& m) -> Result {
    if (m.message == WM_VSCROLL && (m.wParam & 0xFFFF) == SB_THUMBTRACK) {
      dialog_->SetScrollPos(130, static_cast<int>(m.wParam >> 16), true);
    }
    return 0;
  };
  send(QEvent::MouseButtonPress, thumb, Qt::LeftButton);
  send(QEvent::MouseMove, thumb + QPoint(0, 30), Qt::LeftButton);
  send(QEvent::MouseButtonRelease, thumb + QPoint(0, 30), Qt::NoButton);
  EXPECT_EQ(dialog_->ScrollPos(130), dragged);
  dialog_->SetScrollPos(130, 500, true);  // clamped to the range
  EXPECT_EQ(dialog_->ScrollPos(130), 100);
}

TEST_F(DialogTest, TheDialogManagersKeys) {
  Open(Template({
      Control("EDIT", 140, kTabStop | 0x00800000, 5, 5, 60, 12, "text"),
      Control("BUTTON", 141, kTabStop | BS_AUTORADIOBUTTON | kGroup, 5, 20, 40, 10, "R1"),
      Control("BUTTON", 142, BS_AUTORADIOBUTTON, 5, 32, 40, 10, "R2"),
      Control("STATIC", 143, kGroup, 5, 44, 40, 10, "no stop"),
      Control("BUTTON", 144, kTabStop | kGroup, 5, 56, 40, 14, "Push"),
      Control("BUTTON", 145, kTabStop | BS_DEFPUSHBUTTON, 50, 56, 40, 14, "Go"),
      Control("EDIT", 146, kTabStop | ES_MULTILINE | 0x1000, 100, 5, 60, 40),  // wants Return
  }));
  dialog_->FocusControl(140);
  const struct {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int focusAfter;
    std::vector<Seen> commands;
  } cases[] = {
      {"Enter goes to the default button",
       Qt::Key_Return,
       {},
       140,
       {{WM_COMMAND, Word(145, BN_CLICKED), 0}}},
      {"Escape cancels", Qt::Key_Escape, {}, 140, {{WM_COMMAND, Word(IDCANCEL, 0), 0}}},
      {"Tab to the radio group", Qt::Key_Tab, {}, 141, {}},
      {"Down arrow checks the next radio",
       Qt::Key_Down,
       {},
       142,
       {{WM_COMMAND, Word(142, BN_CLICKED), Token(142)}}},
      {"Down arrow wraps within the group",
       Qt::Key_Down,
       {},
       141,
       {{WM_COMMAND, Word(141, BN_CLICKED), Token(141)}}},
      {"Tab skips the static", Qt::Key_Tab, {}, 144, {}},
      {"Enter on a focused push button is that button",
       Qt::Key_Enter,
       {},
       144,
       {{WM_COMMAND, Word(144, BN_CLICKED), 0}}},
      {"Tab to the multi-line edit", Qt::Key_Tab, {}, 145, {}},
      {"Tab again", Qt::Key_Tab, {}, 146, {}},
      {"Return stays in a multi-line edit that wants it",
       Qt::Key_Return,
       {},
       146,
       {{WM_COMMAND, Word(146, EN_CHANGE), Token(146)}}},
      {"Tab wraps to the first", Qt::Key_Tab, {}, 140, {}},
      {"Shift+Tab goes back", Qt::Key_Backtab, Qt::ShiftModifier, 146, {}},
  };
  for (const auto& c : cases) {
    received_.clear();
    QWidget* focused = ControlWidget(dialog_->FocusedControl());
    ASSERT_NE(focused, nullptr) << c.name;
    QTest::keyClick(focused, c.key, c.modifiers);
    EXPECT_EQ(dialog_->FocusedControl(), c.focusAfter) << c.name;
    EXPECT_EQ(Commands(), c.commands) << c.name;
    // The dialog's own window never sees a key that a control had.
    EXPECT_TRUE(Received({WM_KEYDOWN, WM_CHAR, WM_KEYUP}).empty()) << c.name;
  }
  EXPECT_EQ(dialog_->CheckState(141), 1);
  EXPECT_EQ(dialog_->CheckState(142), 0);
  EXPECT_EQ(dialog_->ControlText(146, 100), "\r\n");

  // Keys the dialog manager does not take go to the focused control.
  dialog_->FocusControl(140);
  QTest::keyClicks(ControlWidget(140), "ab");
  EXPECT_EQ(dialog_->ControlText(140, 100), "textab");

  // A disabled default button takes Enter and does nothing; a close request cancels.
  dialog_->EnableControl(145, false);
  received_.clear();
  QTest::keyClick(ControlWidget(140), Qt::Key_Return);
  DialogWidget()->close();
  EXPECT_EQ(Received({WM_CLOSE, WM_COMMAND}),
            (std::vector<Seen>{{WM_CLOSE, 0, 0}, {WM_COMMAND, Word(IDCANCEL, 0), 0}}));
}

TEST_F(DialogTest, EnterWithoutADefaultButtonIsIdOk) {
  Open(Template({Control("EDIT", 150, kTabStop, 5, 5, 60, 12)}));
  dialog_->FocusControl(150);
  QTest::keyClick(ControlWidget(150), Qt::Key_Return);
  EXPECT_EQ(Commands(), (std::vector<Seen>{{WM_COMMAND, Word(IDOK, 0), 0}}));
}

TEST_F(DialogTest, OperationsOnControls) {
  Open(Template({
      Control("BUTTON", 160, BS_AUTOCHECKBOX, 7, 7, 50, 14, "Check"),
      Control("STATIC", 161, 0, 7, 30, 50, 10, "Label text"),
      Control("EDIT", 162, kTabStop, 7, 45, 50, 12, "edit"),
      Control("BUTTON", 163, kDisabled, 70, 7, 50, 14, "Off"),
      Control("BUTTON", -1, BS_GROUPBOX, 70, 30, 50, 40, "Group"),
  }));
  EXPECT_EQ(dialog_->ControlIds(), (std::vector<int>{160, 161, 162, 163, 0xFFFF}));
  EXPECT_EQ(dialog_->ControlGeometry(160).x, 11);  // 7 * 6 / 4 = 10.5
  EXPECT_EQ(dialog_->ControlGeometry(160).y, 11);  // 7 * 13 / 8 = 11.375
  EXPECT_EQ(dialog_->ControlGeometry(160).width, 75);
  EXPECT_EQ(dialog_->ControlGeometry(160).height, 23);  // 14 * 13 / 8 = 22.75

  EXPECT_EQ(dialog_->ControlText(161, 5), "Label");
  dialog_->SetControlText(161, "New");
  EXPECT_EQ(dialog_->ControlText(161, 255), "New");
  received_.clear();
  dialog_->SetControlText(162, "edit");  // the same text still tells
  dialog_->SetControlText(162, "other");
  EXPECT_EQ(Commands(), (std::vector<Seen>{{WM_COMMAND, Word(162, EN_CHANGE), Token(162)},
                                           {WM_COMMAND, Word(162, EN_CHANGE), Token(162)}}));
  received_.clear();
  dialog_->SetCheckState(160, 1);  // no notification
  EXPECT_EQ(dialog_->CheckState(160), 1);
  EXPECT_TRUE(Commands().empty());

  EXPECT_FALSE(dialog_->IsControlEnabled(163));
  EXPECT_NE(dialog_->ControlStyle(163) & kDisabled, 0u);
  dialog_->EnableControl(163, true);
  EXPECT_TRUE(dialog_->IsControlEnabled(163));
  EXPECT_EQ(dialog_->ControlStyle(163) & kDisabled, 0u);
  EXPECT_TRUE(dialog_->IsControlVisible(160));
  dialog_->ShowControl(160, false);
  EXPECT_FALSE(dialog_->IsControlVisible(160));
  EXPECT_EQ(dialog_->ControlStyle(160) & kVisible, 0u);
  dialog_->MoveControl(161, 40, 50);
  dialog_->ResizeControl(161, 80, 20);
  const ControlRect moved = dialog_->ControlGeometry(161);
  EXPECT_EQ((std::vector<int>{moved.x, moved.y, moved.width, moved.height}),
            (std::vector<int>{40, 50, 80, 20}));

  // A new identifier: the control answers to it alone.
  EXPECT_EQ(dialog_->ChangeControlId(162, 1500), 1500);
  EXPECT_FALSE(dialog_->HasControl(162));
  EXPECT_EQ(dialog_->ControlText(1500, 255), "other");
  received_.clear();
  dialog_->SetControlText(1500, "x");
  EXPECT_EQ(Commands()[0].wParam, Word(1500, EN_CHANGE));
  EXPECT_EQ(dialog_->ChangeControlId(162, 1600), 0);

  // Missing controls answer as Win32 does.
  EXPECT_FALSE(dialog_->HasControl(999));
  EXPECT_EQ(dialog_->ControlHandle(999), 0u);
  EXPECT_EQ(dialog_->ControlText(999, 255), "");
  EXPECT_EQ(dialog_->CheckState(999), 0);
  EXPECT_FALSE(dialog_->IsControlEnabled(999));
  EXPECT_FALSE(dialog_->IsControlVisible(999));
  EXPECT_EQ(dialog_->ControlGeometry(999).width, 0);
  EXPECT_EQ(dialog_->ScrollPos(999), 0);
  EXPECT_EQ(dialog_->AddItem(999, "x"), -1);
  EXPECT_EQ(dialog_->ItemCount(999), -1);
  EXPECT_EQ(dialog_->CurrentSelection(999), -1);
  EXPECT_EQ(dialog_->AddItem(160, "not a list"), -1);
  dialog_->SetCheckState(999, 1);
  dialog_->FocusControl(163);
  dialog_->FocusControl(999);
  EXPECT_EQ(dialog_->FocusedControl(), 163);
}

TEST_F(DialogTest, ListOperations) {
  Open(Template({Control("LISTBOX", 170, LBS_SORT | LBS_NOTIFY, 5, 5, 80, 60),
                 Control("LISTBOX", 171, LBS_NOTIFY, 90, 5, 80, 60),
                 Control("COMBOBOX", 172, CBS_DROPDOWNLIST, 5, 70, 80, 60)}));
  // Sorted adds answer their place, case not counting; equal items go after.
  const struct {
    const char* text;
    int index;
  } adds[] = {{"cam 3", 0}, {"CAM 1", 0}, {"Cam 2", 1}, {"aux", 0}, {"cam 2", 3}};
  for (const auto& add : adds) EXPECT_EQ(dialog_->AddItem(170, add.text), add.index) << add.text;
  EXPECT_EQ(dialog_->ItemCount(170), 5);
  EXPECT_EQ(dialog_->ItemText(170, 4), "cam 3");
  EXPECT_EQ(dialog_->ItemText(170, 5), "");

  for (const char* item : {"VT 1", "CAM 1", "VT 2", "CAM 2"}) dialog_->AddItem(171, item);
  EXPECT_EQ(dialog_->InsertItem(171, 1, "GFX"), 1);
  EXPECT_EQ(dialog_->InsertItem(171, 9, "far"), -1);
  // VT 1, GFX, CAM 1, VT 2, CAM 2
  const struct {
    int after;
    const char* text;
    int found;
  } selects[] = {{-1, "cam", 2}, {2, "cam", 4},    {4, "CAM", 2},
                 {3, "vt", 0},   {-1, "none", -1}, {0, "vt 1", 0}};
  for (const auto& s : selects) {
    EXPECT_EQ(dialog_->SelectString(171, s.after, s.text), s.found) << s.after << s.text;
    if (s.found >= 0) {
      EXPECT_EQ(dialog_->CurrentSelection(171), s.found);
    }
  }
  EXPECT_EQ(dialog_->FindString(171, -1, "cam 2", true), 4);
  EXPECT_EQ(dialog_->FindString(171, -1, "cam", true), -1);
  EXPECT_EQ(dialog_->FindString(171, -1, "g", false), 1);
  EXPECT_TRUE(Commands().empty());  // the program's changes do not notify

  dialog_->SetCurrentSelection(171, 3);
  EXPECT_EQ(dialog_->DeleteItem(171, 1), 4);  // the selection stays on its item
  EXPECT_EQ(dialog_->CurrentSelection(171), 2);
  EXPECT_EQ(dialog_->DeleteItem(171, 2), 3);  // and goes with it
  EXPECT_EQ(dialog_->CurrentSelection(171), -1);
  EXPECT_EQ(dialog_->DeleteItem(171, 7), -1);
  EXPECT_EQ(dialog_->SetCurrentSelection(171, -1), -1);

  // The user's clicks notify, also on the item already selected, and double clicks.
  auto* list = qobject_cast<QListWidget*>(ControlWidget(171));
  ASSERT_NE(list, nullptr);
  const QPoint second = list->visualItemRect(list->item(1)).center();
  received_.clear();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
  const std::vector<Seen> commands = Commands();
  ASSERT_GE(commands.size(), 3u);
  EXPECT_EQ(commands[0], (Seen{WM_COMMAND, Word(171, LBN_SELCHANGE), Token(171)}));
  EXPECT_EQ(commands[1], (Seen{WM_COMMAND, Word(171, LBN_SELCHANGE), Token(171)}));
  EXPECT_EQ(commands.back(), (Seen{WM_COMMAND, Word(171, LBN_DBLCLK), Token(171)}));
  EXPECT_EQ(dialog_->CurrentSelection(171), 1);

  // A drop-down list: no selection until one is made; its text is the selected item.
  for (const char* item : {"A", "B"}) dialog_->AddItem(172, item);
  EXPECT_EQ(dialog_->CurrentSelection(172), -1);
  EXPECT_EQ(dialog_->SelectString(172, -1, "b"), 1);
  EXPECT_EQ(dialog_->ControlText(172, 255), "B");
  dialog_->SetControlText(172, "C");  // a drop-down list shows only its items
  EXPECT_EQ(dialog_->ControlText(172, 255), "B");
  received_.clear();
  auto* combo = qobject_cast<QComboBox*>(ControlWidget(172));
  ASSERT_NE(combo, nullptr);
  dialog_->FocusControl(172);
  QTest::keyClick(combo, Qt::Key_Up);
  EXPECT_EQ(Commands(), (std::vector<Seen>{{WM_COMMAND, Word(172, CBN_SELCHANGE), Token(172)}}));
  dialog_->ResetItems(172);
  EXPECT_EQ(dialog_->ItemCount(172), 0);
  EXPECT_EQ(dialog_->CurrentSelection(172), -1);
}

TEST_F(DialogTest, ListBoxesOfSeveralSelectionsAndIntegralHeight) {
  Open(Template({Control("LISTBOX", 180, LBS_EXTENDEDSEL, 5, 5, 80, 30),
                 Control("LISTBOX", 181, LBS_NOINTEGRALHEIGHT, 90, 5, 80, 30)}));
  for (const char* item : {"a", "b", "c"}) dialog_->AddItem(180, item);
  dialog_->SetItemSelected(180, 0, true);
  dialog_->SetItemSelected(180, 2, true);
  EXPECT_TRUE(dialog_->IsItemSelected(180, 0));
  EXPECT_FALSE(dialog_->IsItemSelected(180, 1));
  EXPECT_TRUE(dialog_->IsItemSelected(180, 2));
  EXPECT_FALSE(dialog_->IsItemSelected(180, 3));
  // 30 units are 48.75 -> 49 pixels: a whole number of 13-pixel items and the frame,
  // unless the template says otherwise.
  const int frame = 2 * qobject_cast<QListWidget*>(ControlWidget(180))->frameWidth();
  EXPECT_EQ((dialog_->ControlGeometry(180).height - frame) % 13, 0);
  EXPECT_EQ(dialog_->ControlGeometry(181).height, 49);
}

TEST_F(DialogTest, CommonControlsTellTheirDialog) {
  constexpr uint32_t TBS_VERT = 0x0002;
  Open(Template({
      Control("msctls_trackbar32", 210, TBS_VERT, 5, 5, 20, 100),
      Control("msctls_updown32", 211, 0, 30, 5, 10, 20),
      Control("msctls_progress32", 212, 0, 30, 30, 60, 10),
      Control("SysTabControl32", 213, 0, 30, 45, 100, 14),
      Control("SysListView32", 214, 0x0004, 100, 5, 60, 30),  // LVS_SINGLESEL
      Control("SysTreeView32", 215, 0, 100, 40, 60, 30),
  }));
  // A trackbar moves its own thumb and tells as a scroll bar does.
  auto* slider = qobject_cast<QSlider*>(ControlWidget(210));
  ASSERT_NE(slider, nullptr);
  dialog_->SetScrollRange(210, 0, 100, true);
  dialog_->SetScrollPos(210, 50, true);
  const QPoint handle = slider->rect().center();
  QTest::mousePress(slider, Qt::LeftButton, {}, handle);
  QMouseEvent drag(QEvent::MouseMove, handle + QPoint(0, 30), slider->mapToGlobal(handle),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(slider, &drag);
  QTest::mouseRelease(slider, Qt::LeftButton, {}, handle + QPoint(0, 30));
  const std::vector<Seen> tracked = Received({WM_VSCROLL});
  ASSERT_FALSE(tracked.empty());
  EXPECT_EQ(tracked[0].wParam & 0xFFFF, SB_THUMBTRACK);
  EXPECT_EQ(tracked[0].lParam, Token(210));
  const int dragged = static_cast<int>(tracked[0].wParam >> 16);
  EXPECT_GT(dragged, 50);  // down is towards the maximum on a vertical trackbar
  EXPECT_EQ(dialog_->ScrollPos(210), dragged);

  // An up-down control steps its position within the range.
  dialog_->SetScrollRange(211, 0, 2, true);
  dialog_->SetScrollPos(211, 1, true);
  const QList<QToolButton*> arrows = ControlWidget(211)->findChildren<QToolButton*>();
  ASSERT_EQ(arrows.size(), 2);
  QToolButton* up = arrows[0]->arrowType() == Qt::UpArrow ? arrows[0] : arrows[1];
  received_.clear();
  QTest::mouseClick(up, Qt::LeftButton);
  QTest::mouseClick(up, Qt::LeftButton);
  EXPECT_EQ(Received({WM_VSCROLL}),
            (std::vector<Seen>{{WM_VSCROLL, Word(SB_THUMBPOSITION, 2), Token(211)},
                               {WM_VSCROLL, Word(SB_ENDSCROLL, 2), Token(211)},
                               {WM_VSCROLL, Word(SB_THUMBPOSITION, 2), Token(211)},
                               {WM_VSCROLL, Word(SB_ENDSCROLL, 2), Token(211)}}));
  EXPECT_EQ(dialog_->ScrollPos(211), 2);

  dialog_->SetScrollRange(212, 0, 50, true);
  dialog_->SetScrollPos(212, 80, true);
  EXPECT_EQ(dialog_->ScrollPos(212), 50);

  // The item-holding controls take the list operations and tell of the user's choices.
  for (int id : {213, 214, 215}) {
    for (const char* item : {"One", "Two"}) dialog_->AddItem(id, item);
    EXPECT_EQ(dialog_->ItemCount(id), 2) << id;
    EXPECT_EQ(dialog_->ItemText(id, 1), "Two") << id;
  }
  received_.clear();
  auto* tabs = qobject_cast<QTabBar*>(ControlWidget(213));
  ASSERT_NE(tabs, nullptr);
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
  auto* view = qobject_cast<QListWidget*>(ControlWidget(214));
  ASSERT_NE(view, nullptr);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                    view->visualItemRect(view->item(1)).center());
  auto* tree = qobject_cast<QTreeWidget*>(ControlWidget(215));
  ASSERT_NE(tree, nullptr);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                    tree->visualItemRect(tree->topLevelItem(1)).center());
  EXPECT_EQ(Received({WM_NOTIFY}), (std::vector<Seen>{{WM_NOTIFY, 213, TCN_SELCHANGE},
                                                      {WM_NOTIFY, 214, LVN_ITEMCHANGED},
                                                      {WM_NOTIFY, 215, TVN_SELCHANGED}}));
  for (int id : {213, 214, 215}) EXPECT_EQ(dialog_->CurrentSelection(id), 1) << id;
}

TEST_F(DialogTest, PicturesOfTheDialogAndOnIt) {
  const std::string green = SolidBmp(Qt::green, 16, 16);
  DialogResources resources;
  resources.bitmap = [&](std::string_view name, std::string& bytes) {
    if (name != "#200") return false;
    bytes = green;
    return true;
  };
  Open(Template({Control("STATIC", 190, 0x0E, 5, 5, 40, 40, "#200")}), resources);  // SS_BITMAP
  EXPECT_EQ(dialog_->ControlGeometry(190).width, 16);  // a bitmap static takes its size
  EXPECT_TRUE(dialog_->DrawImage(100, 100, SolidBmp(Qt::blue, 4, 4)));
  char path[] = "/tmp/velcrum-dialog-XXXXXX.png";
  const int fd = mkstemps(path, 4);
  ASSERT_GE(fd, 0);
  close(fd);
  ASSERT_TRUE(dialog_->SavePicture(path));
  QImage picture(QString::fromLocal8Bit(path));
  std::remove(path);
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), QSize(300, 195));
  const QPoint bitmap = DialogWidget()->findChildren<QWidget*>().isEmpty()
                            ? QPoint()
                            : ControlWidget(190)->geometry().topLeft() + QPoint(2, 2);
  EXPECT_EQ(picture.pixelColor(bitmap), QColor(Qt::green));
  EXPECT_EQ(picture.pixelColor(101, 101), QColor(Qt::blue));
  EXPECT_FALSE(dialog_->DrawImage(0, 0, "no image"));
}

}  // namespace
}  // namespace velcrum::platform::testing
