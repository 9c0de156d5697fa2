#include "platform/linux/alsa_mixer.h"

#include <alsa/asoundlib.h>
#include <poll.h>

#include <algorithm>
#include <array>
#include <vector>

#include "audio/alsa_quiet.h"
#include "mixer/null_mixer_device.h"

namespace zcd {
namespace {

// The element names behind each simple-mixer control, in the order tried.
// The simple mixer itself is not used: it keeps a copy of every value and
// reports only changes against that copy, so the player's own changes would
// never come back as notices, and the knobs follow only notices.
struct ControlNames {
  MixerControl control;
  std::array<const char*, 3> names;
};

constexpr std::array<ControlNames, kMixerControlCount> kControlNames{{
    {MixerControl::kMaster, {"Master Playback Volume", "Master Volume", nullptr}},
    {MixerControl::kBass, {"Tone Control - Bass", "Bass Playback Volume", "Bass Volume"}},
    {MixerControl::kTreble, {"Tone Control - Treble", "Treble Playback Volume", "Treble Volume"}},
    {MixerControl::kCdVolume, {"CD Playback Volume", "CD Volume", nullptr}},
}};

template <typename T, void (*Free)(T*)>
struct AlsaDeleter {
  void operator()(T* p) const { Free(p); }
};
using ElemId =
    std::unique_ptr<snd_ctl_elem_id_t, AlsaDeleter<snd_ctl_elem_id_t, snd_ctl_elem_id_free>>;
using ElemInfo =
    std::unique_ptr<snd_ctl_elem_info_t, AlsaDeleter<snd_ctl_elem_info_t, snd_ctl_elem_info_free>>;
using ElemValue = std::unique_ptr<snd_ctl_elem_value_t,
                                  AlsaDeleter<snd_ctl_elem_value_t, snd_ctl_elem_value_free>>;

ElemValue NewValue() {
  snd_ctl_elem_value_t* value = nullptr;
  snd_ctl_elem_value_malloc(&value);
  return ElemValue(value);
}

class AlsaMixer : public MixerDevice {
 public:
  AlsaMixer(snd_hctl_t* hctl, WindowHost& host) : hctl_(hctl), host_(host) {
    for (const ControlNames& names : kControlNames)
      Find(names);
    const int count = snd_hctl_poll_descriptors_count(hctl_);
    std::vector<pollfd> fds(static_cast<size_t>(std::max(count, 0)));
    const int filled = snd_hctl_poll_descriptors(hctl_, fds.data(), fds.size());
    for (int i = 0; i < filled; ++i) {
      fds_.push_back(fds[i].fd);
      host_.WatchReadable(fds[i].fd, [this] { snd_hctl_handle_events(hctl_); });
    }
  }

  ~AlsaMixer() override {
    for (int fd : fds_)
      host_.UnwatchReadable(fd);
    // Closing removes every element, which would be reported as a change.
    for (Element& element : elements_) {
      if (element.elem != nullptr)
        snd_hctl_elem_set_callback(element.elem, nullptr);
    }
    snd_hctl_close(hctl_);
  }

  AlsaMixer(const AlsaMixer&) = delete;
  AlsaMixer& operator=(const AlsaMixer&) = delete;

  bool Available(MixerControl control) const override { return Slot(control).elem != nullptr; }
  MixerBounds Bounds(MixerControl control) const override { return Slot(control).bounds; }
  int Channels(MixerControl control) const override { return Slot(control).channels; }

  std::optional<int64_t> Read(MixerControl control) override {
    const std::optional<std::vector<int64_t>> values = ReadAll(control);
    if (!values || values->empty())
      return std::nullopt;
    return *std::max_element(values->begin(), values->end());
  }

  std::optional<ChannelPair> ReadPair(MixerControl control) override {
    if (Slot(control).channels != 2)
      return std::nullopt;
    const std::optional<std::vector<int64_t>> values = ReadAll(control);
    if (!values)
      return std::nullopt;
    return ChannelPair{(*values)[0], (*values)[1]};
  }

  bool Set(MixerControl control, int64_t value) override {
    return Write(control, std::vector<int64_t>(static_cast<size_t>(Slot(control).channels), value));
  }

  bool SetPair(MixerControl control, ChannelPair values) override {
    if (Slot(control).channels != 2)
      return false;
    return Write(control, {values.left, values.right});
  }

  void SetChangeListener(std::function<void(MixerControl)> listener) override {
    listener_ = std::move(listener);
  }

 private:
  struct Element {
    snd_hctl_elem_t* elem = nullptr;
    MixerBounds bounds;
    int channels = 0;
  };

  Element& Slot(MixerControl control) { return elements_[static_cast<size_t>(control)]; }
  const Element& Slot(MixerControl control) const {
    return elements_[static_cast<size_t>(control)];
  }

  void Find(const ControlNames& names) {
    snd_ctl_elem_id_t* raw_id = nullptr;
    snd_ctl_elem_info_t* raw_info = nullptr;
    if (snd_ctl_elem_id_malloc(&raw_id) < 0 || snd_ctl_elem_info_malloc(&raw_info) < 0)
      return;
    const ElemId id(raw_id);
    const ElemInfo info(raw_info);
    for (const char* name : names.names) {
      if (name == nullptr)
        break;
      snd_ctl_elem_id_clear(id.get());
      snd_ctl_elem_id_set_interface(id.get(), SND_CTL_ELEM_IFACE_MIXER);
      snd_ctl_elem_id_set_name(id.get(), name);
      snd_hctl_elem_t* elem = snd_hctl_find_elem(hctl_, id.get());
      if (elem == nullptr || snd_hctl_elem_info(elem, info.get()) < 0)
        continue;
      if (snd_ctl_elem_info_get_type(info.get()) != SND_CTL_ELEM_TYPE_INTEGER ||
          !snd_ctl_elem_info_is_readable(info.get()) ||
          !snd_ctl_elem_info_is_writable(info.get()) ||
          snd_ctl_elem_info_get_count(info.get()) == 0) {
        continue;
      }
      Element& element = Slot(names.control);
      element.elem = elem;
      element.bounds = {snd_ctl_elem_info_get_min(info.get()),
                        snd_ctl_elem_info_get_max(info.get())};
      element.channels = static_cast<int>(snd_ctl_elem_info_get_count(info.get()));
      snd_hctl_elem_set_callback_private(elem, this);
      snd_hctl_elem_set_callback(elem, &AlsaMixer::OnElementEvent);
      return;
    }
  }

  // Called from snd_hctl_handle_events, on the window thread.
  static int OnElementEvent(snd_hctl_elem_t* elem, unsigned int mask) {
    auto* self = static_cast<AlsaMixer*>(snd_hctl_elem_get_callback_private(elem));
    for (size_t i = 0; i < self->elements_.size(); ++i) {
      Element& element = self->elements_[i];
      if (element.elem != elem)
        continue;
      if (mask == SND_CTL_EVENT_MASK_REMOVE)
        element = {};
      else if ((mask & SND_CTL_EVENT_MASK_VALUE) == 0)
        return 0;
      if (self->listener_)
        self->listener_(static_cast<MixerControl>(i));
    }
    return 0;
  }

  std::optional<std::vector<int64_t>> ReadAll(MixerControl control) {
    const Element& element = Slot(control);
    if (element.elem == nullptr)
      return std::nullopt;
    const ElemValue value = NewValue();
    if (!value || snd_hctl_elem_read(element.elem, value.get()) < 0)
      return std::nullopt;
    std::vector<int64_t> values;
    for (int i = 0; i < element.channels; ++i)
      values.push_back(snd_ctl_elem_value_get_integer(value.get(), static_cast<unsigned>(i)));
    return values;
  }

  bool Write(MixerControl control, const std::vector<int64_t>& values) {
    const Element& element = Slot(control);
    if (element.elem == nullptr || values.empty())
      return false;
    // A card may take a value out of range without complaint; refuse it here.
    for (int64_t v : values) {
      if (v < element.bounds.minimum || v > element.bounds.maximum)
        return false;
    }
    const ElemValue value = NewValue();
    if (!value)
      return false;
    for (size_t i = 0; i < values.size(); ++i)
      snd_ctl_elem_value_set_integer(value.get(), static_cast<unsigned>(i),
                                     static_cast<long>(values[i]));
    return snd_hctl_elem_write(element.elem, value.get()) >= 0;
  }

  snd_hctl_t* hctl_;
  WindowHost& host_;
  std::array<Element, kMixerControlCount> elements_;
  std::vector<int> fds_;
  std::function<void(MixerControl)> listener_;
};

}  // namespace

std::unique_ptr<MixerDevice> OpenAlsaMixer(WindowHost& host, const std::string& card) {
  QuietAlsaErrors();
  snd_hctl_t* hctl = nullptr;
  // Without blocking, handling events stops when none are left.
  if (snd_hctl_open(&hctl, card.c_str(), SND_CTL_NONBLOCK) < 0)
    return std::make_unique<NullMixerDevice>();
  if (snd_hctl_load(hctl) < 0) {
    snd_hctl_close(hctl);
    return std::make_unique<NullMixerDevice>();
  }
  return std::make_unique<AlsaMixer>(hctl, host);
}

}  // namespace zcd
