#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <semaphore>
#include <string>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "base/rect.h"
#include "base/surface.h"
#include "base/window_host.h"
#include "skin/scroll_motion.h"
#include "skin/text_strip.h"

namespace zcd {

enum class TextLine { kTitleLine = 0, kTrackLine = 1 };

// The skin bitmaps the text lines are drawn from. Null pointers draw nothing.
struct TextSkin {
  std::shared_ptr<const Bitmap> charset;    // "charset.bmp"
  std::shared_ptr<const Bitmap> numberset;  // "numberset.bmp"
  std::shared_ptr<const Bitmap> body;       // "body.bmp"
  std::shared_ptr<const Bitmap> winshade;   // "winshade.bmp"
};

// Where a line's slot stands on the main window in a layout.
Rect TextSlot(TextLine line, LayoutMode mode);

// The title and track lines of the main window. Each line is guarded by its
// own semaphore so that a slow writer of one line never stalls the other
// line's scrolling; the semaphore (not a mutex) keeps the documented model
// of a count-1 guard that the skin loader may hold across its whole swap.
class TextDisplay {
 public:
  TextDisplay(Surface& main_surface, WindowHost& host, TextSkin skin,
              LayoutMode layout = LayoutMode::kFull);
  TextDisplay(const TextDisplay&) = delete;
  TextDisplay& operator=(const TextDisplay&) = delete;

  // Any thread. An absent text blanks the slot but keeps the old strip.
  void SetLineText(TextLine line, std::optional<std::string> text);

  // Any thread. Strips already rendered keep their glyph size until their
  // text is set again; the next tick of each line resets its position.
  void SetLayout(LayoutMode layout);
  // Any thread: which line the single shade-mode slot shows.
  void SetShadeLineChoice(TextLine line);
  // Any thread: 0 none, 1 round and round, 2 back and forth.
  void SetNameScrolling(int value);
  // Any thread: redraw the line on its next tick even if nothing changed.
  void Force(TextLine line);

  // Any thread. `wake` is called whenever the line may have something new to
  // draw, so that its scroller can sleep while a tick would do nothing.
  // Clearing it waits until no call of the old one is running.
  void SetWaker(TextLine line, std::function<void()> wake);

  // Any thread. Holds both line guards, title first, while swapping, then
  // re-renders the present texts so no strip keeps glyphs of the old skin.
  void SetSkin(TextSkin skin);

  // The line's scroll thread (tests call it directly). One tick of the
  // scroller; returns whether it drew into the main surface.
  bool Tick(TextLine line);

  // Any thread: the strip pixel the next tick shows at the slot's left edge.
  int ScrollPosition(TextLine line);

 private:
  struct LineState {
    std::binary_semaphore guard{1};
    std::optional<std::string> text;
    TextStrip strip;
    // The layout whose font the strip was drawn in.
    LayoutMode strip_layout = LayoutMode::kFull;
    bool changed = false;
    // Written without the guard by the other line's scroller in shade mode.
    std::atomic<bool> force = false;
    // Owned by the line's scroller, touched only under the guard.
    int slot_w = 0;
    ScrollMotion motion;
    bool blanked = false;
    Surface composition;
  };

  LineState& state(TextLine line) { return lines_[static_cast<size_t>(line)]; }
  void Wake(TextLine line);
  void WakeBoth();
  void RenderStrip(LineState& state, LayoutMode layout);
  // True when the line shows nothing now; drew tells whether it covered the slot.
  bool Blank(TextLine line, LayoutMode mode, int slot_w, bool* drew);
  void Compose(TextLine line, LayoutMode mode, int scrolling);
  void Present(TextLine line, LayoutMode mode, int scrolling);

  Surface& surface_;
  WindowHost& host_;
  TextSkin skin_;  // written only with both guards held
  std::atomic<LayoutMode> layout_;
  std::atomic<TextLine> shade_choice_ = TextLine::kTitleLine;
  std::atomic<int> name_scrolling_ = kScrollRound;
  std::array<LineState, 2> lines_;
  std::mutex wakers_mutex_;
  std::array<std::function<void()>, 2> wakers_;
};

}  // namespace zcd
