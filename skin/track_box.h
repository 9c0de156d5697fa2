#pragma once

#include <optional>
#include <span>

#include "base/geometry.h"
#include "base/settings.h"
#include "base/surface.h"
#include "base/track_cell.h"
#include "skin/skin_set.h"
#include "skin/track_box_pieces.h"

namespace zcd {

enum class TrackArrow { kNone, kUp, kDown };

// Where a scroll goes: to a top row, or row by row up or down for as long
// as the continuous flag stays set.
struct ScrollRequest {
  enum class Kind { kToRow, kRowUp, kRowDown };
  Kind kind = Kind::kToRow;
  int row = 1;  // kToRow: the top row wanted, 1-based

  static ScrollRequest ToRow(int row) { return {Kind::kToRow, row}; }
  static ScrollRequest Up() { return {Kind::kRowUp, 0}; }
  static ScrollRequest Down() { return {Kind::kRowDown, 0}; }
};

// The picture of the track box: every play-order entry as a numbered cell in
// a grid (three columns, five rows showing, in full mode; one cell in the
// shade bar), the scroll arrows below it, and the scroll state. The cells are
// drawn once into a content picture as tall as the whole grid; the window
// shows the part from the scroll offset down. It draws from the entries it
// is handed and never changes them. Window thread only.
class TrackBox {
 public:
  // The skin and the settings are read on every draw and must outlive the box.
  TrackBox(const SkinSet& skin, const Settings& settings);

  // Sizes the pictures for the layout and the number of entries and draws
  // everything. A reset scrolls so that `current` shows in the last visible
  // row; otherwise the top row stays where it can. A running scroll ends.
  void Layout(LayoutMode mode, std::span<const TrackCell> cells, int current, bool reset_scroll);
  // Every cell drawn again, then composed. The entry count must be the one
  // of the last layout.
  void RedrawAll(std::span<const TrackCell> cells);
  // One cell into the content; with to_window also onto the window when it
  // is wholly in view.
  void DrawCell(const TrackCell& cell, bool to_window);
  // The view from the scroll offset, the dragged cell over it, and in full
  // mode the arrows.
  void Compose();
  void DrawArrows();

  // The dragged cell follows the cursor at `at`, in window pixels, until
  // cleared. Drawn by Compose.
  void SetDragImage(const TrackCell& cell, Point at);
  void ClearDragImage();
  // Drawn pressed until set back to none or a scroll that moved ends.
  void SetPressedArrow(TrackArrow arrow);
  TrackArrow pressed_arrow() const { return pressed_arrow_; }

  // The entry under a window point; none outside the grid's view.
  std::optional<int> CellAt(Point at) const;
  // The arrow under a window point; full mode only.
  TrackArrow ArrowAt(Point at) const;

  // Starts a scroll, or queues it behind the running one (a newer request
  // takes the place of a queued one; row by row while going row by row just
  // sets the direction); row up and down set the continuous flag. False when the grid has nothing
  // to scroll or the top row is the one asked for. A scroll that starts takes its first step at
  // once.
  bool RequestScroll(ScrollRequest request);
  // One step of 4 pixels, composed; false once the scroll has ended.
  bool ScrollStep();
  // Ends the running scroll and drops the queued one; the view settles on
  // the nearest row.
  void StopScroll();
  void set_continuous(bool on) { continuous_ = on; }
  bool continuous() const { return continuous_; }
  bool scrolling() const { return running_; }

  LayoutMode mode() const { return mode_; }
  const TrackGrid& grid() const { return TrackGridOf(mode_); }
  int count() const { return count_; }
  int rows() const { return rows_; }
  int top_row() const { return top_row_; }
  int offset() const { return offset_; }
  // The highest top row there is, at least 1.
  int max_top_row() const;
  // The entry's cell in the content picture.
  Rect CellRect(int position) const;
  // What the window shows.
  const Surface& surface() const { return window_; }

  static constexpr int kScrollStepPixels = 4;

 private:
  int RowPitch() const { return grid().cell_h + grid().gap; }
  void DrawOverlay(Surface& target, const Rect& cell, const Rect& piece) const;
  void DrawDrag();
  void Begin(ScrollRequest request);
  // The next row of a running scroll; false when there is none.
  bool NextRow();
  void Finish();

  const SkinSet& skin_;
  const Settings& settings_;
  LayoutMode mode_ = LayoutMode::kFull;
  int count_ = 0;
  int rows_ = 0;
  Surface content_;
  Surface mask_;  // full mode: black under every cell, white elsewhere
  Surface view_;
  Surface window_;
  int top_row_ = 1;
  int offset_ = 0;
  TrackArrow pressed_arrow_ = TrackArrow::kNone;
  std::optional<TrackCell> drag_cell_;
  Point drag_at_;

  bool continuous_ = false;
  bool running_ = false;
  bool moved_ = false;
  ScrollRequest scroll_;
  int pixel_target_ = 0;
  std::optional<ScrollRequest> queued_;
};

}  // namespace zcd
