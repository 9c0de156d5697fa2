#include "mixer/mixer_panel.h"

#include "base/geometry.h"
#include "skin/blit.h"
#include "skin/draw_number.h"

namespace zcd {

MixerPanel::MixerPanel(const SkinSet& skin, Mixer& mixer)
    : skin_(skin),
      mixer_(mixer),
      knobs_{MixerKnob(kKnobLayouts[0]), MixerKnob(kKnobLayouts[1]), MixerKnob(kKnobLayouts[2]),
             MixerKnob(kKnobLayouts[3]), MixerKnob(kKnobLayouts[4])} {
  for (MixerKnob& k : knobs_)
    k.Describe(mixer_.device());
  ReadAll();
  listen_key_ = mixer_.Listen([this](MixerControl control) { OnChange(control); });
}

MixerPanel::~MixerPanel() {
  mixer_.Unlisten(listen_key_);
}

void MixerPanel::ReadAll() {
  for (MixerKnob& k : knobs_)
    k.Read(mixer_.device());
  if (knob_at(KnobId::kBalance).available())
    mixer_.set_balance(static_cast<int>(knob_at(KnobId::kBalance).value()));
}

void MixerPanel::Refresh() {
  ReadAll();
  Draw();
}

void MixerPanel::SetLayout(LayoutMode, const Rect& rect) {
  // The panel has no place in the shade bar and keeps its size there.
  surface_ = Surface(rect.w, rect.h);
  Draw();
}

void MixerPanel::Repaint() {
  Draw();
}

void MixerPanel::OnChange(MixerControl control) {
  switch (control) {
    case MixerControl::kMaster:
      knob_at(KnobId::kMaster).Read(mixer_.device());
      break;
    case MixerControl::kCdVolume:
      knob_at(KnobId::kCdVolume).Read(mixer_.device());
      knob_at(KnobId::kBalance).Read(mixer_.device());
      break;
    case MixerControl::kBass:
      knob_at(KnobId::kBass).Read(mixer_.device());
      break;
    case MixerControl::kTreble:
      knob_at(KnobId::kTreble).Read(mixer_.device());
      break;
  }
  Draw();
}

bool MixerPanel::OnMouse(const MouseEvent& event) {
  if (event.button != MouseButton::kLeft)
    return false;
  switch (event.action) {
    case MouseAction::kPress:
    case MouseAction::kDoubleClick:
      for (MixerKnob& k : knobs_) {
        if (k.available() && k.Hits(event.at)) {
          dragged_ = k.layout().id;
          k.set_dragging(true);
          Apply(k, event.at);
          return true;
        }
      }
      return false;
    case MouseAction::kMove: {
      if (!dragged_)
        return false;
      // A point past the knob's half is held at its edge, and the cursor
      // with it, so the hand stays on the ring being turned.
      const Point held = knob_at(*dragged_).HoldInHalf(event.at);
      if (!(held == event.at) && host_ != nullptr)
        host_->MoveCursor(held);
      // Only the mixer's notice redraws: the pointer shows what the mixer took.
      Apply(knob_at(*dragged_), held);
      return true;
    }
    case MouseAction::kRelease:
      if (!dragged_)
        return false;
      dragged_.reset();
      for (MixerKnob& k : knobs_)
        k.set_dragging(false);
      Draw();
      return true;
    case MouseAction::kLeave:
      return false;
  }
  return false;
}

void MixerPanel::Apply(MixerKnob& k, Point at) {
  switch (k.layout().id) {
    case KnobId::kBalance:
      if (const std::optional<int> balance = k.BalanceAt(at)) {
        mixer_.set_balance(*balance);
        mixer_.SetBalancedCdVolume(knob_at(KnobId::kCdVolume).value());
      }
      break;
    case KnobId::kCdVolume:
      mixer_.SetBalancedCdVolume(k.LevelAt(at));
      break;
    default:
      mixer_.device().Set(k.layout().control, k.bounds().minimum + k.LevelAt(at));
      break;
  }
}

void MixerPanel::Draw() {
  const Bitmap& mixerset = skin_[SkinFile::kMixerset];
  {
    std::lock_guard drawing(surface_.lock());
    CopyPiece(surface_, 0, 0, kMixerAt, skin_[SkinFile::kBody]);
    for (const MixerKnob& k : knobs_) {
      const KnobLayout& place = k.layout();
      CopyPiece(surface_, place.face_at.x, place.face_at.y, place.face, mixerset);
    }
    // Pointers after every face: the balance pointer reaches past its own.
    for (const MixerKnob& k : knobs_) {
      if (!k.available())
        continue;
      const Point at = k.PointerAt();
      SpritePiece(surface_, at.x, at.y, kKnobPointerPiece, kKnobPointerMaskAt.x,
                  kKnobPointerMaskAt.y, mixerset);
    }
    for (const MixerKnob& k : knobs_) {
      if (!k.dragging())
        continue;
      const int label = k.Label();
      const Point at = k.layout().label_at;
      const Bitmap& numbers = skin_[SkinFile::kNumberset];
      DrawNumber(surface_, at.x, at.y, label / 10, true, NumberStyle::kSmall, numbers);
      DrawNumber(surface_, at.x + kLabelDigitStep, at.y, label % 10, true, NumberStyle::kSmall,
                 numbers);
    }
  }
  if (host_ != nullptr)
    host_->Invalidate({0, 0, surface_.width(), surface_.height()});
}

}  // namespace zcd
