// A text view: a top-level window that shows rows of fixed-pitch text from the bottom of
// its client area upward, with a vertical and a horizontal scroll bar whose ranges and
// positions its owner keeps. The owner's window procedure hears what the user does:
// - WM_SIZE with the client area's width (low word) and height (high word) in lParam; the
//   client area is the window less its two scroll bars, which are always shown;
// - WM_VSCROLL and WM_HSCROLL with the request in wParam's low word (SB_LINEUP ... SB_BOTTOM,
//   SB_THUMBTRACK while the thumb is dragged and SB_THUMBPOSITION where it is let go) and
//   the thumb's position in the high word; the mouse wheel gives three SB_LINEUP or
//   SB_LINEDOWN a notch. A scroll bar does not move its own thumb: the owner sets it;
// - the mouse and key input of the client area and close requests, as any window's
//   (window.h).
//
// Painting is coalesced: the owner says what changed (the text moved up by some rows, or
// changed throughout) and the view paints once when the event loop next runs, at most 50
// times a second, moving what is already on the screen and painting only the exposed
// strip when the text only moved.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/desktop/background_window.h"
#include "platform/desktop/window.h"

namespace velcrum::platform {

struct TextRow {
  std::string_view text;
  bool selected = false;  // painted with text and background colours swapped
};

struct TextViewStyle {
  Colour text;
  Colour background;
  int fontPixelSize = 13;  // of a fixed-pitch font, weight normal
};

struct TextViewScrollBar {
  int position = 0;
  int maximum = 0;
  int page = 0;
};

class TextView {
 public:
  // The row `rowFromBottom` rows above the bottom row, nullopt once the rows run out; the
  // view paints rows upward until the top of the client area or the first nullopt.
  using RowSource = std::function<std::optional<TextRow>(int rowFromBottom)>;

  // Creates the window, hidden, and registers it on the desktop; nullptr when the desktop
  // has no room for it.
  static std::unique_ptr<TextView> Create(std::string_view title, const TextViewStyle& style,
                                          RowSource rows);
  ~TextView();
  TextView(const TextView&) = delete;
  TextView& operator=(const TextView&) = delete;

  Window& GetWindow();
  // The window's place and size on the screen, its frame not counted.
  void SetGeometry(int left, int top, int width, int height);
  void Show();
  // Raised above the other windows.
  void BringToTop();

  // The font's cell and the client area, in pixels.
  int CellWidth() const;
  int CellHeight() const;
  int ClientWidth() const;
  int ClientHeight() const;
  // The text is shifted left by this many cells.
  void SetFirstColumn(int column);

  // The scroll bars, as they are to show at the next painting.
  void SetScrollBars(const TextViewScrollBar& vertical, const TextViewScrollBar& horizontal);
  // What changed since the last painting: the rows moved up by `rows` (a new bottom row),
  // or everything.
  void TextMovedUp(int rows);
  void TextChanged();

 private:
  struct Parts;
  explicit TextView(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
};

}  // namespace velcrum::platform
