#include <array>
#include <string_view>

#include "skin/skin_files.h"
#include "tools/skin_gen/furniture.h"
#include "tools/skin_gen/images.h"
#include "tools/skin_gen/layout.h"
#include "tools/skin_gen/lettering.h"
#include "tools/skin_gen/palette.h"

namespace zcd::skin_gen {
namespace {

using namespace palette;
using namespace layout;

// Status words. The main window shows a status code as one piece of a row,
// or two pieces side by side, so words are shared between codes:
//
//   code  first piece (x,y,w)   gap  second piece        reads
//   499   57,48,22  "ENTRY"      2   93,60,34 "CACHED"    ENTRY CACHED
//   501   40,60,35  "@ SUBMIT"   1   33,48,23 "TING"      @ SUBMITTING
//   555   40,60,35  "@ SUBMIT"   2   92,54,32 "FAILED"    @ SUBMIT FAILED
//   599   57,48,22  "ENTRY"      2   40,60,52 "@ SUBMITTED"  ENTRY @ SUBMITTED
//   666   47,54,11  "NO"         2   0,60,53  "NETWORK OR @" NO NETWORK OR @
//   667   0,48,38   "CONNECT"    2   92,54,32 "FAILED"    CONNECT FAILED
//   701   0,48,56   "CONNECTING"                          CONNECTING
//   702   0,54,46   "QUERYING"                            QUERYING
//   901   47,54,44  "NO MATCH"                            NO MATCH
//   999   57,48,55  "ENTRY FOUND"                         ENTRY FOUND
//
// (@ is a small envelope: submissions go out by mail.) Within a row the
// pieces overlap, which fixes where each word may stand:
//
//   row 48: CONNEC 8..32 | T 34..36 | ING 38..47 | ENTRY 59..78 | FOUND 82..101
//           "CONNECT" ends before 38 and "TING" starts after 33, so the T is
//           shared by CONNECT (667) and SUBMIT+TING (501).
//   row 54: QUERYING 0..29 | NO 49..56 | MATCH 60..79 | FAILED 93..113
//   row 60: NETWORK 0..29 | OR 33..39 | @ 42..48 | SUBMIT 53..74 | TED 76..86
//           | CACHED 94..116. Columns 40..52 belong to both the 666 piece and
//           the submission pieces, so only the envelope stands there, and
//           SUBMIT must end at 74 for TED and TING to join it.
struct StatusWord {
  int x;
  int y;
  std::string_view text;
  uint32_t color;
};

constexpr std::array<StatusWord, 13> kStatusWords{{
    {8, 48, "CONNECTING", kAccent},
    {59, 48, "ENTRY", kAccent},
    {82, 48, "FOUND", kAccent},
    {0, 54, "QUERYING", kAccent},
    {49, 54, "NO", kAlert},
    {60, 54, "MATCH", kAlert},
    {93, 54, "FAILED", kAlert},
    {0, 60, "NETWORK", kAlert},
    {33, 60, "OR", kAlert},
    {42, 60, "@", kAccent},
    {53, 60, "SUBMIT", kAccent},
    {76, 60, "TED", kAccent},
    {94, 60, "CACHED", kAccent},
}};

// PlayType bits 1, 2 and 4.
struct PlayModeLabel {
  int y;
  std::string_view text;
};
constexpr std::array<PlayModeLabel, 3> kPlayModeLabels{{
    {kRepeatAllRowY, "REPEAT ALL"},
    {kRepeatOneRowY, "REPEAT ONE"},
    {kShuffleRowY, "SHUFFLE"},
}};

constexpr int kCaptionIndent = 3;
constexpr int kLedX = 2;
constexpr int kLabelX = 10;
constexpr int kLabelRow = 2;

void DrawPlayMode(Canvas& canvas, int x, int y, std::string_view text, bool on) {
  const uint32_t led = on ? kLit : kOff;
  canvas.Art(x + kLedX, y + 2, {".###.", "#####", "#####", "#####", ".###."}, led);
  if (on)
    canvas.Art(x + kLedX, y + 2, {".....", ".##..", ".#...", ".....", "....."}, kLitCore);
  DrawTiny(canvas, x + kLabelX, y + kLabelRow, text, on ? kLit : kDim);
}

// A read-out label boxed in a thin frame; lit when its mode is chosen.
void DrawModeBox(Canvas& canvas, const Rect& r, std::string_view text, bool on) {
  canvas.RoundedFrame(r, 1, on ? kDim : Mix(kOff, kBlack, 1, 2));
  const int x = r.x + (r.w - TinyTextWidth(text)) / 2;
  DrawTiny(canvas, x, r.y + 2, text, on ? kLit : kOff);
}

void DrawModeIcon(Canvas& canvas, const Rect& r, bool plus, bool on) {
  canvas.RoundedFrame(r, 1, on ? kDim : Mix(kOff, kBlack, 1, 2));
  const uint32_t color = on ? kLit : kOff;
  canvas.HLine(r.x + 2, r.y + 4, 5, color);
  if (plus)
    canvas.VLine(r.x + 4, r.y + 2, 5, color);
}

void DrawTitleButton(Canvas& canvas, const Rect& r, bool close, bool pressed) {
  DrawButtonFace(canvas, r, pressed ? ButtonLook::kPressed : ButtonLook::kNormal);
  const int o = pressed ? 1 : 0;
  if (close) {
    const uint32_t color = pressed ? kAlert : kIcon;
    canvas.Art(r.x + 3 + o, r.y + 3 + o, {"#...#", ".#.#.", "..#..", ".#.#.", "#...#"}, color);
  } else {
    const uint32_t color = pressed ? kLit : kIcon;
    canvas.HLine(r.x + 3 + o, r.y + 7 + o, 5, color);
    canvas.HLine(r.x + 3 + o, r.y + 6 + o, 5, color);
  }
}

}  // namespace

Bitmap MakeWidgitset() {
  const SkinFileInfo& info = SkinFileInfoFor(SkinFile::kWidgitset);
  Bitmap bitmap(info.width, info.height, kBlack);
  Canvas canvas(bitmap);

  DrawTitleButton(canvas, kMinimizeUp, false, false);
  DrawTitleButton(canvas, kMinimizeDown, false, true);
  DrawTitleButton(canvas, kCloseUp, true, false);
  DrawTitleButton(canvas, kCloseDown, true, true);

  for (const PlayModeLabel& label : kPlayModeLabels) {
    DrawPlayMode(canvas, kPlayModeOnX, label.y, label.text, true);
    DrawPlayMode(canvas, kPlayModeOffX, label.y, label.text, false);
  }

  // Captions start three pixels in, over the text they name; the mixer panel
  // (from x 11 of the window) then hides them whole.
  DrawTiny(canvas, kTitleCaption.x + kCaptionIndent, kTitleCaption.y + 1, "DISC", kLabel);
  DrawTiny(canvas, kTrackCaption.x + kCaptionIndent, kTrackCaption.y + 1, "TRACK", kLabel);

  DrawModeBox(canvas, kTrackModeOff, "TRACK", false);
  DrawModeBox(canvas, kTrackModeOn, "TRACK", true);
  DrawModeBox(canvas, kDiscModeOff, "DISC", false);
  DrawModeBox(canvas, kDiscModeOn, "DISC", true);
  DrawModeIcon(canvas, kElapsedOff, true, false);
  DrawModeIcon(canvas, kElapsedOn, true, true);
  DrawModeIcon(canvas, kRemainingOff, false, false);
  DrawModeIcon(canvas, kRemainingOn, false, true);

  for (const StatusWord& word : kStatusWords)
    DrawTiny(canvas, word.x, word.y, word.text, word.color);
  return bitmap;
}

}  // namespace zcd::skin_gen
