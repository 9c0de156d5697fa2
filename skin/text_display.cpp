#include "skin/text_display.h"

#include <algorithm>
#include <utility>

#include "skin/blit.h"
#include "skin/glyph_map.h"

namespace zcd {
namespace {

constexpr int kSlotHeight = kTitleSlot.h;
constexpr int kCompositionPitch = 9;  // widest advance: room for any text's strip
// The bar's plain face lies one pixel below the slot.
constexpr int kShadeBackgroundY = kShadeSlotAt.y + 1;

class GuardLock {
 public:
  explicit GuardLock(std::binary_semaphore& guard) : guard_(guard) { guard_.acquire(); }
  ~GuardLock() { guard_.release(); }
  GuardLock(const GuardLock&) = delete;
  GuardLock& operator=(const GuardLock&) = delete;

 private:
  std::binary_semaphore& guard_;
};

const Bitmap& OrEmpty(const std::shared_ptr<const Bitmap>& bitmap) {
  static const Bitmap kEmpty;
  return bitmap ? *bitmap : kEmpty;
}

int ScrollGap(LayoutMode mode) {
  return mode == LayoutMode::kFull ? 113 : 80;
}

}  // namespace

Rect TextSlot(TextLine line, LayoutMode mode) {
  if (mode == LayoutMode::kShade)
    return kShadeSlotAt;
  return line == TextLine::kTitleLine ? kTitleSlot : kTrackSlot;
}

TextDisplay::TextDisplay(Surface& main_surface, WindowHost& host, TextSkin skin, LayoutMode layout)
    : surface_(main_surface), host_(host), skin_(std::move(skin)), layout_(layout) {}

void TextDisplay::SetLayout(LayoutMode layout) {
  layout_.store(layout);
  WakeBoth();
}

void TextDisplay::SetShadeLineChoice(TextLine line) {
  shade_choice_.store(line);
  WakeBoth();
}

void TextDisplay::SetNameScrolling(int value) {
  name_scrolling_.store(value);
  WakeBoth();
}

void TextDisplay::Force(TextLine line) {
  state(line).force.store(true);
  Wake(line);
}

void TextDisplay::SetWaker(TextLine line, std::function<void()> wake) {
  std::lock_guard lock(wakers_mutex_);
  wakers_[static_cast<size_t>(line)] = std::move(wake);
}

void TextDisplay::Wake(TextLine line) {
  std::lock_guard lock(wakers_mutex_);
  if (const auto& wake = wakers_[static_cast<size_t>(line)])
    wake();
}

void TextDisplay::WakeBoth() {
  Wake(TextLine::kTitleLine);
  Wake(TextLine::kTrackLine);
}

void TextDisplay::RenderStrip(LineState& line, LayoutMode layout) {
  line.strip_layout = layout;
  line.strip = RenderTextStrip(*line.text, line.strip_layout, OrEmpty(skin_.charset),
                               OrEmpty(skin_.numberset));
}

void TextDisplay::SetLineText(TextLine which, std::optional<std::string> text) {
  {
    LineState& line = state(which);
    GuardLock lock(line.guard);
    if (!line.text || !text || *line.text != *text)
      line.changed = true;
    line.text = std::move(text);
    if (line.text)
      RenderStrip(line, layout_.load());
  }
  Wake(which);
}

void TextDisplay::SetSkin(TextSkin skin) {
  {
    GuardLock title(state(TextLine::kTitleLine).guard);
    GuardLock track(state(TextLine::kTrackLine).guard);
    skin_ = std::move(skin);
    for (LineState& line : lines_) {
      if (line.text)
        RenderStrip(line, layout_.load());
      line.force.store(true);
      line.blanked = false;
    }
  }
  WakeBoth();
}

int TextDisplay::ScrollPosition(TextLine which) {
  LineState& line = state(which);
  GuardLock lock(line.guard);
  return line.motion.position;
}

bool TextDisplay::Blank(TextLine which, LayoutMode mode, int slot_w, bool* drew) {
  LineState& line = state(which);
  const TextLine other =
      which == TextLine::kTitleLine ? TextLine::kTrackLine : TextLine::kTitleLine;
  const bool other_shown = mode == LayoutMode::kShade && shade_choice_.load() == other;
  if (line.text && !other_shown)
    return false;
  const bool draw = !line.blanked;
  if (draw) {
    const Rect slot = TextSlot(which, mode);
    Rect piece = mode == LayoutMode::kFull ? slot : kShadeBlankPiece;
    piece.w = slot_w;
    {
      std::lock_guard locked(surface_.lock());
      CopyPiece(surface_, slot.x, slot.y, piece, OrEmpty(skin_.body));
    }
    host_.Invalidate(slot);
  }
  // The other line shares the slot and must cover what this line left there.
  if (other_shown)
    Force(other);
  line.blanked = true;
  *drew = draw;
  return true;
}

void TextDisplay::Compose(TextLine which, LayoutMode mode, int scrolling) {
  LineState& line = state(which);
  const int length = line.text ? static_cast<int>(line.text->size()) : 0;
  if (line.changed) {
    line.composition = Surface(std::max(kCompositionPitch * length, line.slot_w), kSlotHeight);
    line.motion.position = 0;
    line.changed = false;
  } else if (line.composition.width() < line.slot_w) {
    // Made for the narrower shade slot; the full slot must not show past it.
    line.composition = Surface(std::max(kCompositionPitch * length, line.slot_w), kSlotHeight);
  }
  line.force.store(false);
  line.blanked = false;
  // Full mode takes the background from under the slot; shade mode from one
  // pixel lower, where the bar's plain face is.
  const Rect background = mode == LayoutMode::kFull
                              ? TextSlot(which, mode)
                              : Rect{kShadeSlotAt.x, kShadeBackgroundY, line.slot_w, kSlotHeight};
  CopyPiece(line.composition, 0, 0, background,
            OrEmpty(mode == LayoutMode::kFull ? skin_.body : skin_.winshade));
  const int position = line.motion.position;
  const int strip_w = line.strip.width;
  PaintPiece(line.composition, 0, 0,
             {position, 0, std::min(strip_w - position, line.slot_w), kSlotHeight},
             line.strip.image);
  if (scrolling == kScrollRound) {
    if (const auto copy = RoundSecondCopy(strip_w, position, line.slot_w, ScrollGap(mode)))
      PaintPiece(line.composition, copy->x, 0, {0, 0, copy->width, kSlotHeight}, line.strip.image);
  }
}

void TextDisplay::Present(TextLine which, LayoutMode mode, int scrolling) {
  LineState& line = state(which);
  const Rect slot = TextSlot(which, mode);
  {
    std::lock_guard locked(surface_.lock());
    CopySurface(surface_, slot, line.composition);
  }
  host_.Invalidate(slot);
  line.motion.Advance(line.strip.width, line.slot_w, scrolling, ScrollGap(mode));
}

bool TextDisplay::Tick(TextLine which) {
  LineState& line = state(which);
  GuardLock lock(line.guard);
  const LayoutMode mode = layout_.load();
  const int slot_w = GlyphGeometryFor(mode).slot_w;
  if (slot_w != line.slot_w) {
    line.slot_w = slot_w;
    line.force.store(true);
    line.motion.position = 0;
  }
  // The layout changed since the text was set: its letters change size too,
  // and no frame may show them in the other layout's font.
  if (line.text && line.strip_layout != mode)
    RenderStrip(line, mode);
  if (bool drew = false; Blank(which, mode, slot_w, &drew))
    return drew;
  if (!line.force.load() && !line.changed && line.strip.width <= slot_w)
    return false;
  const int scrolling = name_scrolling_.load();
  Compose(which, mode, scrolling);
  Present(which, mode, scrolling);
  return true;
}

}  // namespace zcd
