#pragma once

#include <array>
#include <optional>

#include "mixer/mixer.h"
#include "mixer/mixer_knob.h"
#include "skin/child_window.h"
#include "skin/skin_set.h"

namespace zcd {

// The mixer panel over the lower display: five knobs turned by dragging
// round their centres. A drag only sets the mixer; the knobs move when the
// mixer reports the change. Window thread only.
class MixerPanel : public ChildWindow {
 public:
  // Reads every knob and takes the balance from the channels. `skin` and
  // `mixer` must outlive the panel.
  MixerPanel(const SkinSet& skin, Mixer& mixer);
  ~MixerPanel() override;
  MixerPanel(const MixerPanel&) = delete;
  MixerPanel& operator=(const MixerPanel&) = delete;

  const Surface& surface() const override { return surface_; }
  bool OnMouse(const MouseEvent& event) override;
  void SetLayout(LayoutMode mode, const Rect& rect) override;
  void Repaint() override;

  // The panel was shown: every knob reads its control again, since the
  // mixer may have changed while nobody looked.
  void Refresh();

  const MixerKnob& knob(KnobId id) const { return knobs_[static_cast<size_t>(id)]; }

 private:
  MixerKnob& knob_at(KnobId id) { return knobs_[static_cast<size_t>(id)]; }
  void ReadAll();
  void OnChange(MixerControl control);
  void Apply(MixerKnob& knob, Point at);
  void Draw();

  const SkinSet& skin_;
  Mixer& mixer_;
  std::array<MixerKnob, kKnobCount> knobs_;
  std::optional<KnobId> dragged_;
  int listen_key_ = 0;
  Surface surface_;
};

}  // namespace zcd
