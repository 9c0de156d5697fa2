// A sound card's control device for the mixer tests, loaded by ALSA as the
// control plugin "zcdtest". Its elements come from the configuration:
//   ctl.!default { type zcdtest card NAME elements "Name=min,max:v1,v2;..." }
// Every handle opened on the same card NAME in a process shares the values,
// and a change made through any handle is reported to every subscribed
// handle, the writer's own included, as a kernel card reports it. Writes
// outside an element's range are refused.
#include <alsa/asoundlib.h>
#include <alsa/control_external.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Element {
  std::string name;
  long min = 0;
  long max = 0;
  std::vector<long> values;
};

struct Handle;

struct Card {
  std::vector<Element> elements;
  std::vector<Handle*> handles;
};

struct Handle {
  snd_ctl_ext_t ext{};
  Card* card = nullptr;
  int pipe_fds[2] = {-1, -1};
  bool subscribed = false;
  std::deque<size_t> events;
};

std::map<std::string, Card>& Cards() {
  static std::map<std::string, Card> cards;
  return cards;
}

std::vector<long> Numbers(const std::string& text) {
  std::vector<long> numbers;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ','))
    numbers.push_back(std::stol(item));
  return numbers;
}

// "Name=min,max:v1,v2;Name=..."
std::vector<Element> ParseElements(const std::string& text) {
  std::vector<Element> elements;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ';')) {
    const size_t eq = item.find('=');
    const size_t colon = item.find(':', eq);
    if (eq == std::string::npos || colon == std::string::npos)
      continue;
    const std::vector<long> range = Numbers(item.substr(eq + 1, colon - eq - 1));
    if (range.size() != 2)
      continue;
    elements.push_back({item.substr(0, eq), range[0], range[1], Numbers(item.substr(colon + 1))});
  }
  return elements;
}

Handle* Of(snd_ctl_ext_t* ext) {
  return static_cast<Handle*>(ext->private_data);
}

void Close(snd_ctl_ext_t* ext) {
  Handle* handle = Of(ext);
  std::erase(handle->card->handles, handle);
  close(handle->pipe_fds[0]);
  close(handle->pipe_fds[1]);
  delete handle;
}

int ElemCount(snd_ctl_ext_t* ext) {
  return static_cast<int>(Of(ext)->card->elements.size());
}

int ElemList(snd_ctl_ext_t* ext, unsigned int offset, snd_ctl_elem_id_t* id) {
  snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
  snd_ctl_elem_id_set_name(id, Of(ext)->card->elements.at(offset).name.c_str());
  return 0;
}

snd_ctl_ext_key_t FindElem(snd_ctl_ext_t* ext, const snd_ctl_elem_id_t* id) {
  const std::vector<Element>& elements = Of(ext)->card->elements;
  const unsigned int numid = snd_ctl_elem_id_get_numid(id);
  if (numid > 0 && numid <= elements.size())
    return numid - 1;
  for (size_t i = 0; i < elements.size(); ++i) {
    if (elements[i].name == snd_ctl_elem_id_get_name(id))
      return i;
  }
  return SND_CTL_EXT_KEY_NOT_FOUND;
}

int GetAttribute(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, int* type, unsigned int* acc,
                 unsigned int* count) {
  *type = SND_CTL_ELEM_TYPE_INTEGER;
  *acc = SND_CTL_EXT_ACCESS_READWRITE;
  *count = static_cast<unsigned int>(Of(ext)->card->elements.at(key).values.size());
  return 0;
}

int GetIntegerInfo(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* min, long* max, long* step) {
  const Element& element = Of(ext)->card->elements.at(key);
  *min = element.min;
  *max = element.max;
  *step = 0;
  return 0;
}

int ReadInteger(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* value) {
  const Element& element = Of(ext)->card->elements.at(key);
  std::copy(element.values.begin(), element.values.end(), value);
  return 0;
}

int WriteInteger(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* value) {
  Card& card = *Of(ext)->card;
  Element& element = card.elements.at(key);
  const std::vector<long> next(value, value + element.values.size());
  for (long v : next) {
    if (v < element.min || v > element.max)
      return -EINVAL;
  }
  if (next == element.values)
    return 0;
  element.values = next;
  for (Handle* handle : card.handles) {
    if (!handle->subscribed)
      continue;
    handle->events.push_back(key);
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(handle->pipe_fds[1], &byte, 1);
  }
  return 1;
}

void SubscribeEvents(snd_ctl_ext_t* ext, int subscribe) {
  Of(ext)->subscribed = subscribe != 0;
}

int ReadEvent(snd_ctl_ext_t* ext, snd_ctl_elem_id_t* id, unsigned int* event_mask) {
  Handle* handle = Of(ext);
  if (handle->events.empty())
    return -EAGAIN;
  const size_t key = handle->events.front();
  handle->events.pop_front();
  char byte;
  [[maybe_unused]] const ssize_t got = read(handle->pipe_fds[0], &byte, 1);
  snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
  snd_ctl_elem_id_set_name(id, handle->card->elements.at(key).name.c_str());
  *event_mask = SND_CTL_EVENT_MASK_VALUE;
  return 1;
}

const snd_ctl_ext_callback_t& Callbacks() {
  static const snd_ctl_ext_callback_t callbacks = [] {
    snd_ctl_ext_callback_t c{};
    c.close = Close;
    c.elem_count = ElemCount;
    c.elem_list = ElemList;
    c.find_elem = FindElem;
    c.get_attribute = GetAttribute;
    c.get_integer_info = GetIntegerInfo;
    c.read_integer = ReadInteger;
    c.write_integer = WriteInteger;
    c.subscribe_events = SubscribeEvents;
    c.read_event = ReadEvent;
    return c;
  }();
  return callbacks;
}

}  // namespace

extern "C" {

SND_CTL_PLUGIN_DEFINE_FUNC(zcdtest) {
  (void)root;
  std::string card_name = "card";
  std::string elements;
  snd_config_iterator_t i;
  snd_config_iterator_t next;
  snd_config_for_each(i, next, conf) {
    snd_config_t* node = snd_config_iterator_entry(i);
    const char* id = nullptr;
    const char* text = nullptr;
    if (snd_config_get_id(node, &id) < 0 || snd_config_get_string(node, &text) < 0)
      continue;
    if (std::strcmp(id, "card") == 0)
      card_name = text;
    else if (std::strcmp(id, "elements") == 0)
      elements = text;
  }
  auto [it, fresh] = Cards().try_emplace(card_name);
  Card& card = it->second;
  if (fresh)
    card.elements = ParseElements(elements);

  auto handle = std::make_unique<Handle>();
  handle->card = &card;
  if (pipe2(handle->pipe_fds, O_NONBLOCK | O_CLOEXEC) < 0)
    return -errno;
  snd_ctl_ext_t& ext = handle->ext;
  ext.version = SND_CTL_EXT_VERSION;
  ext.card_idx = 0;
  std::strncpy(ext.id, "ZcdTest", sizeof ext.id - 1);
  std::strncpy(ext.driver, "ZcdTest", sizeof ext.driver - 1);
  std::strncpy(ext.name, "ZCD test card", sizeof ext.name - 1);
  std::strncpy(ext.longname, "ZCD test card", sizeof ext.longname - 1);
  std::strncpy(ext.mixername, "ZCD test mixer", sizeof ext.mixername - 1);
  ext.poll_fd = handle->pipe_fds[0];
  ext.callback = &Callbacks();
  ext.private_data = handle.get();
  const int err = snd_ctl_ext_create(&ext, name, mode);
  if (err < 0) {
    close(handle->pipe_fds[0]);
    close(handle->pipe_fds[1]);
    return err;
  }
  card.handles.push_back(handle.get());
  *handlep = ext.handle;
  handle.release();
  return 0;
}

SND_CTL_PLUGIN_SYMBOL(zcdtest)

}  // extern "C"
