#include "skin/indicators.h"

#include "base/geometry.h"
#include "skin/blit.h"
#include "skin/widget_pieces.h"

namespace zcd {

void DrawTitleButtons(Surface& target, TitleButtonsPressed pressed, const Bitmap& widgitset) {
  CopyPiece(target, kMinimizeAt.x, kMinimizeAt.y,
            pressed.minimize ? kMinimizePressedPiece : kMinimizeUpPiece, widgitset);
  CopyPiece(target, kCloseAt.x, kCloseAt.y, pressed.close ? kClosePressedPiece : kCloseUpPiece,
            widgitset);
}

void DrawPlayModes(Surface& target, int play_type, const Bitmap& widgitset) {
  for (size_t i = 0; i < kPlayModeAt.size(); ++i) {
    const Rect& at = kPlayModeAt[i];
    const bool on = (play_type & (1 << i)) != 0;
    CopyPiece(target, at.x, at.y, {on ? kPlayModeOnX : kPlayModeOffX, kPlayModeRowY[i], at.w, at.h},
              widgitset);
  }
}

void DrawTimerModes(Surface& target, int timer_type, const Bitmap& widgitset) {
  for (const TimerModePiece& piece : kTimerModePieces) {
    const bool set = (timer_type & piece.bit) != 0;
    CopyPiece(target, piece.at.x, piece.at.y,
              {set ? piece.set_x : piece.clear_x, kTimerModeRowY, piece.at.w, piece.at.h},
              widgitset);
  }
}

void DrawCaptions(Surface& target, const Bitmap& widgitset) {
  PaintPiece(target, kTitleCaptionAt.x, kTitleCaptionAt.y, kTitleCaptionPiece, widgitset);
  PaintPiece(target, kTrackCaptionAt.x, kTrackCaptionAt.y, kTrackCaptionPiece, widgitset);
}

void DrawStatusWord(Surface& target, int code, const Bitmap& widgitset, const Bitmap& body) {
  CopyPiece(target, kStatusAt.x, kStatusAt.y, kStatusAt, body);
  for (const StatusWordPieces& word : kStatusWords) {
    if (word.code != code)
      continue;
    PaintPiece(target, kStatusAt.x, kStatusAt.y, word.first, widgitset);
    if (!word.second.Empty())
      PaintPiece(target, kStatusAt.x + word.first.w + word.gap, kStatusAt.y, word.second,
                 widgitset);
  }
}

}  // namespace zcd
