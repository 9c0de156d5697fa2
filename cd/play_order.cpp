#include "cd/play_order.h"

#include <chrono>
#include <random>

namespace zcd {

RandomSource ClockSeededRandom() {
  auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
  return [engine = std::mt19937(static_cast<uint32_t>(ticks))]() mutable { return engine(); };
}

PlayOrderList::PlayOrderList(CdState& state, const Settings& settings, RandomSource random)
    : state_(state), settings_(settings), random_(std::move(random)) {
  cells_.reserve(kMaxPlayOrderEntries);
  state_.SetPlayOrder(this);
  StorePlayOrderSeconds();
}

// A replacement list may already have registered itself.
PlayOrderList::~PlayOrderList() {
  if (state_.play_order() == this)
    state_.SetPlayOrder(nullptr);
}

void PlayOrderList::BuildDefault() {
  cells_.clear();
  const DiscRecord& disc = state_.disc();
  for (int t = 1; t <= disc.TrackCount(); ++t) {
    int32_t seconds = disc.TrackSeconds(t - 1);
    if (seconds >= 0 && seconds >= settings_.IgnoreSec)
      AppendEntry(t);
  }
  StorePlayOrderSeconds();
}

void PlayOrderList::ClearList() {
  cells_.clear();
  StorePlayOrderSeconds();
}

// A track the disc does not have would index past the audio flags and could
// never be played or saved.
int PlayOrderList::AppendEntry(int track, EntryMarks marks) {
  if (EntryCount() >= kMaxPlayOrderEntries || track < 1 || track > state_.disc().TrackCount())
    return -1;
  TrackCell cell;
  cell.position = EntryCount();
  cell.track = track;
  cell.removed = marks.removed;
  cell.copy = marks.copy;
  cell.data = state_.audio_flags[track - 1] == 0;
  cells_.push_back(cell);
  StorePlayOrderSeconds();
  return cell.position;
}

bool PlayOrderList::RemoveEntry(int index) {
  if (!InRange(index))
    return false;
  for (int i = index; i + 1 < EntryCount(); ++i)
    ExchangeContents(cells_[i], cells_[i + 1]);
  cells_.pop_back();
  if (state_.playing)
    FollowDeviceTrack();
  StorePlayOrderSeconds();
  return true;
}

bool PlayOrderList::ExchangeEntries(int a, int b) {
  if (a == b || !InRange(a) || !InRange(b))
    return false;
  ExchangeContents(cells_[a], cells_[b]);
  return true;
}

bool PlayOrderList::MoveEntry(int from, int to) {
  if (!InRange(from) || !InRange(to))
    return false;
  int step = to > from ? 1 : -1;
  for (int i = from; i != to; i += step)
    ExchangeContents(cells_[i], cells_[i + step]);
  return true;
}

void PlayOrderList::ReorderPlayOrder(int play_type) {
  if (play_type & kPlayTypeShuffle)
    Shuffle();
  else
    SortByTrack();
}

// Insertion sort by exchanges keeps entries of one track in their order.
void PlayOrderList::SortByTrack() {
  for (int slot = 1; slot < EntryCount(); ++slot) {
    for (int i = slot; i > 0 && cells_[i - 1].track > cells_[i].track; --i)
      ExchangeContents(cells_[i - 1], cells_[i]);
  }
}

// The playing entry goes to slot 0 and stays there, so what plays now stays
// first and the rest is shuffled behind it.
void PlayOrderList::Shuffle() {
  const int count = EntryCount();
  int start = 0;
  if (state_.playing) {
    ExchangeEntries(state_.current_position, 0);
    start = 1;
  }
  for (int i = start; i < count; ++i) {
    cells_[i].blink = false;
    uint32_t draw = random_();
    int r = start == 1 ? static_cast<int>(draw % static_cast<uint32_t>(count - 1)) + 1
                       : static_cast<int>(draw % static_cast<uint32_t>(count));
    ExchangeEntries(i, r);
  }
}

bool PlayOrderList::SetRemoved(int index, bool removed) {
  if (!InRange(index))
    return false;
  cells_[index].removed = removed;
  StorePlayOrderSeconds();
  return true;
}

void PlayOrderList::InvertRemoved() {
  for (TrackCell& cell : cells_)
    cell.removed = !cell.removed;
  StorePlayOrderSeconds();
}

int PlayOrderList::StepIndex(int index, bool forward) const {
  const int count = EntryCount();
  if (count == 0)
    return -1;
  int wraps = 0;
  int i = index;
  while (true) {
    i += forward ? 1 : -1;
    if (wraps >= 2)
      return -1;
    if (i < 0) {
      i = count - 1;
      ++wraps;
    } else if (i >= count) {
      i = 0;
      ++wraps;
    }
    if (!cells_[i].removed)
      return i;
  }
}

int32_t PlayOrderList::TotalSeconds() const {
  int32_t total = 0;
  for (const TrackCell& cell : cells_) {
    int32_t seconds = state_.disc().TrackSeconds(cell.track - 1);
    if (!cell.removed && seconds > 0)
      total += seconds;
  }
  return total;
}

std::optional<int> PlayOrderList::FindTrack(int track) const {
  for (const TrackCell& cell : cells_) {
    if (cell.track == track)
      return cell.position;
  }
  return std::nullopt;
}

void PlayOrderList::FollowDeviceTrack() {
  uint32_t position = state_.GetPosition();
  if (position == 0)
    return;
  if (std::optional<int> index = FindTrack(UnpackTmsf(position).track))
    state_.current_position = *index;
}

void PlayOrderList::StorePlayOrderSeconds() {
  state_.play_order_seconds = TotalSeconds();
}

bool PlayOrderList::SetHover(int index, bool on) {
  if (!InRange(index))
    return false;
  cells_[index].hover = on;
  return true;
}

bool PlayOrderList::SetHeld(int index, bool on) {
  if (!InRange(index))
    return false;
  cells_[index].held = on;
  return true;
}

bool PlayOrderList::SetBlink(int index, bool on) {
  if (!InRange(index))
    return false;
  cells_[index].blink = on;
  return true;
}

int PlayOrderList::EntryTrack(int index) const {
  return InRange(index) ? cells_[index].track : 0;
}

bool PlayOrderList::EntryRemoved(int index) const {
  return InRange(index) && cells_[index].removed;
}

// A run of consecutive tracks in consecutive playable entries is one play
// command. The walk goes from playable entry to playable entry and ends where
// the list wraps: stepping slot by slot would let a removed entry or the
// wrap-around join tracks the order never plays, and a run ending at the
// disc's last track already reaches past it.
std::optional<TrackRange> PlayOrderList::RunRange(int index) const {
  if (!InRange(index))
    return std::nullopt;
  const int from = cells_[index].track;
  if (settings_.PlayType & kPlayTypeRepeatTrack) {
    int current = state_.current_position;
    if (!InRange(current) || cells_[current].removed)
      return std::nullopt;
    return TrackRange{from, cells_[current].track + 1};
  }
  int i = index;
  while (true) {
    int next = StepIndex(i, true);
    if (next < 0)
      return std::nullopt;
    if (next <= i || cells_[next].track != cells_[i].track + 1)
      return TrackRange{from, cells_[i].track + 1};
    i = next;
  }
}

}  // namespace zcd
