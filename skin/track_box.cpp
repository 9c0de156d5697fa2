#include "skin/track_box.h"

#include <algorithm>

#include "skin/blit.h"
#include "skin/draw_number.h"

namespace zcd {
namespace {

constexpr uint32_t kBlack = Rgb(0, 0, 0);
constexpr uint32_t kWhite = Rgb(0xFF, 0xFF, 0xFF);

// Rows from_y .. from_y + h of `source` combined onto the top of `target`,
// the way the view takes its part of the mask and of the content.
void CombineRows(Surface& target, const Surface& source, int from_y, int h, RasterOp op) {
  const int w = std::min(target.width(), source.width());
  h = std::min({h, target.height(), source.height() - from_y});
  for (int y = std::max(0, -from_y); y < h; ++y) {
    uint32_t* out = target.Row(y);
    const uint32_t* in = source.Row(from_y + y);
    for (int x = 0; x < w; ++x)
      out[x] = op == RasterOp::kAnd ? (out[x] & in[x]) | kOpaque : out[x] | in[x] | kOpaque;
  }
}

const Rect& CellPiece(const CellPieces& pieces, bool lit, bool held) {
  if (held)
    return lit ? pieces.lit_held : pieces.held;
  return lit ? pieces.lit : pieces.normal;
}

}  // namespace

TrackBox::TrackBox(const SkinSet& skin, const Settings& settings)
    : skin_(skin), settings_(settings) {}

int TrackBox::max_top_row() const {
  return std::max(1, rows_ - grid().visible_rows + 1);
}

Rect TrackBox::CellRect(int position) const {
  const TrackGrid& g = grid();
  return {(position % g.columns) * (g.cell_w + g.gap), (position / g.columns) * (g.cell_h + g.gap),
          g.cell_w, g.cell_h};
}

void TrackBox::Layout(LayoutMode mode, std::span<const TrackCell> cells, int current,
                      bool reset_scroll) {
  StopScroll();
  mode_ = mode;
  const TrackGrid& g = grid();
  count_ = static_cast<int>(cells.size());
  rows_ = count_ == 0 ? 0 : (count_ - 1) / g.columns + 1;
  const int content_h = (rows_ + 1) * RowPitch();
  content_ = Surface(g.view.w, content_h, kBlack);
  mask_ = mode == LayoutMode::kFull ? Surface(g.view.w, content_h, kWhite) : Surface();
  view_ = Surface(g.view.w, g.view.h, kBlack);
  window_ = mode == LayoutMode::kFull ? Surface(kTrackBoxAt.w, kTrackBoxAt.h, kBlack)
                                      : Surface(g.view.w, g.view.h, kBlack);
  if (reset_scroll) {
    // The current entry in the last visible row; division truncates.
    top_row_ = (current - (g.visible_rows - 1) * g.columns) / g.columns + 1;
    continuous_ = false;
  }
  top_row_ = std::clamp(top_row_, 1, max_top_row());
  offset_ = RowPitch() * (top_row_ - 1);
  RedrawAll(cells);
}

void TrackBox::RedrawAll(std::span<const TrackCell> cells) {
  if (mode_ == LayoutMode::kFull) {
    mask_.Fill({0, 0, mask_.width(), mask_.height()}, kWhite);
    for (int i = 0; i < count_; ++i)
      mask_.Fill(CellRect(i), kBlack);
  }
  content_.Fill({0, 0, content_.width(), content_.height()}, kBlack);
  for (const TrackCell& cell : cells.first(std::min<size_t>(cells.size(), count_)))
    DrawCell(cell, false);
  Compose();
}

void TrackBox::DrawOverlay(Surface& target, const Rect& cell, const Rect& piece) const {
  const Bitmap& trackset = skin_[SkinFile::kTrackset];
  if (mode_ == LayoutMode::kFull)
    PaintPiece(target, cell.x, cell.y, piece, trackset);
  else
    StretchPiece(target, cell, piece, trackset, RasterOp::kOr);
}

void TrackBox::DrawCell(const TrackCell& cell, bool to_window) {
  if (cell.position < 0 || cell.position >= count_)
    return;
  const TrackGrid& g = grid();
  const Rect r = CellRect(cell.position);
  const bool lit = cell.hover || cell.blink;
  CopyPiece(content_, r.x, r.y, CellPiece(*g.pieces, lit, cell.held), skin_[SkinFile::kTrackset]);
  const Bitmap& numbers = skin_[SkinFile::kNumberset];
  // A held cell's number sinks in with its well.
  const int o = cell.held ? g.gap : g.gap + 1;
  if (mode_ == LayoutMode::kFull) {
    DrawNumber(content_, r.x + o, r.y + o, cell.track, lit, NumberStyle::kLarge, numbers);
  } else {
    const int centre = cell.track < 10 ? 4 : 0;
    DrawNumber(content_, r.x + o + centre, r.y + 2, cell.track, lit, NumberStyle::kSmall, numbers);
  }
  if (cell.removed)
    DrawOverlay(content_, r, kRemovedOverlay);
  else if (cell.data && settings_.XData != 0)
    DrawOverlay(content_, r, kDataOverlay);
  if (cell.copy)
    DrawOverlay(content_, r, kCopyOverlay);

  if (!to_window || r.y < offset_ || r.y + r.h > offset_ + g.view.h)
    return;
  // A cell hides what is under it, so a plain copy matches a full compose.
  for (int y = 0; y < r.h; ++y) {
    for (int x = 0; x < r.w && r.x + x < view_.width(); ++x) {
      const uint32_t pixel = content_.At(r.x + x, r.y + y);
      view_.Row(r.y - offset_ + y)[r.x + x] = pixel;
      window_.Row(r.y - offset_ + y)[r.x + x] = pixel;
    }
  }
}

void TrackBox::Compose() {
  const TrackGrid& g = grid();
  const int h = std::min(content_.height(), g.view.h);
  if (mode_ == LayoutMode::kFull) {
    CopyPiece(view_, 0, 0, {kTrackBoxAt.x, kTrackBoxAt.y, g.view.w, g.view.h},
              skin_[SkinFile::kBody]);
    CombineRows(view_, mask_, offset_, h, RasterOp::kAnd);
  } else {
    view_.Fill({0, 0, view_.width(), view_.height()}, kBlack);
  }
  CombineRows(view_, content_, offset_, h, RasterOp::kOr);
  DrawDrag();
  CopySurface(window_, {0, 0, view_.width(), view_.height()}, view_);
  if (mode_ == LayoutMode::kFull)
    DrawArrows();
}

void TrackBox::DrawDrag() {
  if (!drag_cell_ || mode_ != LayoutMode::kFull)
    return;
  const Bitmap& trackset = skin_[SkinFile::kTrackset];
  const Rect cell{drag_at_.x + kDragCellOffset.x, drag_at_.y + kDragCellOffset.y,
                  kFullTrackGrid.cell_w, kFullTrackGrid.cell_h};
  CopyPiece(view_, cell.x, cell.y, kFullCellPieces.lit_held, trackset);
  DrawNumber(view_, drag_at_.x + kDragNumberOffset.x, drag_at_.y + kDragNumberOffset.y,
             drag_cell_->track, true, NumberStyle::kLarge, skin_[SkinFile::kNumberset]);
  if (drag_cell_->removed)
    DrawOverlay(view_, cell, kRemovedOverlay);
  else if (drag_cell_->data && settings_.XData != 0)
    DrawOverlay(view_, cell, kDataOverlay);
}

void TrackBox::DrawArrows() {
  if (mode_ != LayoutMode::kFull)
    return;
  const Bitmap& trackset = skin_[SkinFile::kTrackset];
  CopyPiece(window_, kTrackArrowStrip.x, kTrackArrowStrip.y, kTrackArrowsAt,
            skin_[SkinFile::kBody]);
  const bool scrollable = rows_ > grid().visible_rows;
  const bool up = scrollable && top_row_ > 1;
  const bool down = scrollable && top_row_ + grid().visible_rows <= rows_;
  auto piece = [this](const ArrowPieces& pieces, bool enabled, TrackArrow which) {
    if (!enabled)
      return pieces.disabled;
    return pressed_arrow_ == which ? pieces.pressed : pieces.normal;
  };
  CopyPiece(window_, kTrackArrowUpAt.x, kTrackArrowUpAt.y,
            piece(kArrowUpPieces, up, TrackArrow::kUp), trackset);
  CopyPiece(window_, kTrackArrowDownAt.x, kTrackArrowDownAt.y,
            piece(kArrowDownPieces, down, TrackArrow::kDown), trackset);
}

void TrackBox::SetDragImage(const TrackCell& cell, Point at) {
  drag_cell_ = cell;
  drag_at_ = at;
}

void TrackBox::ClearDragImage() {
  drag_cell_.reset();
}

void TrackBox::SetPressedArrow(TrackArrow arrow) {
  pressed_arrow_ = arrow;
  DrawArrows();
}

std::optional<int> TrackBox::CellAt(Point at) const {
  const TrackGrid& g = grid();
  // Only what is in view: a point above the grid must not find the rows
  // scrolled away above it.
  if (count_ == 0 || !g.view.Contains(at.x, at.y))
    return std::nullopt;
  const int column = at.x / (g.cell_w + g.gap);
  const int index = (at.y + offset_) / RowPitch() * g.columns + column;
  if (column >= g.columns || index >= count_)
    return std::nullopt;
  return index;
}

TrackArrow TrackBox::ArrowAt(Point at) const {
  if (mode_ != LayoutMode::kFull)
    return TrackArrow::kNone;
  if (kTrackArrowUpHit.Contains(at.x, at.y))
    return TrackArrow::kUp;
  if (kTrackArrowDownHit.Contains(at.x, at.y))
    return TrackArrow::kDown;
  return TrackArrow::kNone;
}

bool TrackBox::RequestScroll(ScrollRequest request) {
  if (rows_ <= grid().visible_rows)
    return false;
  if (request.kind == ScrollRequest::Kind::kToRow) {
    if (request.row == top_row_ && !running_)
      return false;
  } else {
    continuous_ = true;
  }
  if (running_) {
    // Row by row the other way turns the running scroll round.
    if (request.kind != ScrollRequest::Kind::kToRow && scroll_.kind != ScrollRequest::Kind::kToRow)
      scroll_ = request;
    else
      queued_ = request;
    return true;
  }
  Begin(request);
  return ScrollStep();
}

void TrackBox::Begin(ScrollRequest request) {
  scroll_ = request;
  if (request.kind == ScrollRequest::Kind::kToRow)
    continuous_ = true;
  running_ = true;
  moved_ = false;
  pixel_target_ = offset_;
}

bool TrackBox::NextRow() {
  if (!continuous_)
    return false;
  switch (scroll_.kind) {
    case ScrollRequest::Kind::kToRow:
      top_row_ = std::clamp(scroll_.row, 1, max_top_row());
      continuous_ = false;
      break;
    case ScrollRequest::Kind::kRowUp:
      if (top_row_ > 1)
        --top_row_;
      else
        continuous_ = false;
      break;
    case ScrollRequest::Kind::kRowDown:
      if (top_row_ < max_top_row())
        ++top_row_;
      else
        continuous_ = false;
      break;
  }
  pixel_target_ = RowPitch() * (top_row_ - 1);
  return true;
}

bool TrackBox::ScrollStep() {
  while (running_) {
    if (offset_ != pixel_target_) {
      offset_ += std::clamp(pixel_target_ - offset_, -kScrollStepPixels, kScrollStepPixels);
      moved_ = true;
      Compose();
      return true;
    }
    if (!NextRow())
      Finish();
  }
  return false;
}

void TrackBox::Finish() {
  running_ = false;
  if (moved_)
    SetPressedArrow(TrackArrow::kNone);
  if (queued_) {
    const ScrollRequest next = *queued_;
    queued_.reset();
    Begin(next);
  }
}

void TrackBox::StopScroll() {
  running_ = false;
  queued_.reset();
  continuous_ = false;
  const int pitch = RowPitch();
  top_row_ = std::clamp((offset_ + pitch / 2) / pitch + 1, 1, max_top_row());
  offset_ = pitch * (top_row_ - 1);
}

}  // namespace zcd
