#include "audio/paranoia_sector_source.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

namespace zcd {
namespace {

// Few tries per stretch: a scratch is skipped in well under a second of
// reading instead of stalling playback for minutes.
constexpr int kMaxRetries = 5;
constexpr int32_t kLeadIn = 150;

struct CdioCloser {
  void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
};
struct DriveCloser {
  // The drive object's own close would destroy the CdIo_t it was made from,
  // which has an owner of its own here.
  void operator()(cdrom_drive_t* drive) const { cdio_cddap_close_no_free_cdio(drive); }
};
struct ParanoiaCloser {
  void operator()(cdrom_paranoia_t* paranoia) const { cdio_paranoia_free(paranoia); }
};
using CdioPtr = std::unique_ptr<CdIo_t, CdioCloser>;
using DrivePtr = std::unique_ptr<cdrom_drive_t, DriveCloser>;
using ParanoiaPtr = std::unique_ptr<cdrom_paranoia_t, ParanoiaCloser>;

void DropCdioMessage(cdio_log_level_t, const char*) {}

class ParanoiaSectorSource;
// The source whose Read runs on this thread: the library's callbacks carry
// no pointer of ours.
thread_local ParanoiaSectorSource* reading = nullptr;

class ParanoiaSectorSource : public SectorSource {
 public:
  ParanoiaSectorSource(CdioPtr cdio, DrivePtr drive, ParanoiaPtr paranoia, bool image)
      : cdio_(std::move(cdio)),
        drive_(std::move(drive)),
        paranoia_(std::move(paranoia)),
        image_(image) {
    // Watch every read the library makes of the drive, so that a sector is
    // known to be unreadable exactly, not only where a failed stretch began.
    drive_read_ = drive_->read_audio;
    drive_->read_audio = &ParanoiaSectorSource::WatchedRead;
  }
  ~ParanoiaSectorSource() override {
    paranoia_.reset();
    drive_->read_audio = drive_read_;
  }

  bool Read(int32_t frame, SectorSamples& out) override {
    lsn_t lsn = frame - kLeadIn;
    int track = cdio_cddap_sector_gettrack(drive_.get(), lsn);
    if (track <= 0 || cdio_cddap_track_audiop(drive_.get(), static_cast<track_t>(track)) != 1)
      return false;
    // Every call into the library that may read runs with `reading` set.
    reading = this;
    int16_t* samples = nullptr;
    if (lsn == next_lsn_ || Seek(lsn))
      samples = cdio_paranoia_read_limited(paranoia_.get(), &Notice, kMaxRetries);
    reading = nullptr;
    next_lsn_ = samples != nullptr ? lsn + 1 : -1;
    if (samples == nullptr || failed_.count(lsn) != 0 || made_up_.count(lsn) != 0)
      return false;
    std::memcpy(out.data(), samples, sizeof(int16_t) * out.size());
    return true;
  }

 private:
  bool Seek(lsn_t lsn) {
    made_up_.clear();  // the library forgets what it had put together
    return cdio_paranoia_seek(paranoia_.get(), lsn, SEEK_SET) >= 0;
  }

  static long WatchedRead(cdrom_drive_t* drive, void* buffer, lsn_t begin, long sectors) {
    ParanoiaSectorSource* self = reading;
    // The interface reads at most its own chunk size, whatever was asked.
    long asked = drive->nsectors > 0 ? std::min<long>(sectors, drive->nsectors) : sectors;
    long got = self->image_ ? self->ReadImage(drive, buffer, begin, asked)
                            : self->drive_read_(drive, buffer, begin, asked);
    long good = std::max(got, 0L);
    for (long k = 0; k < good; ++k)
      self->failed_.erase(begin + static_cast<lsn_t>(k));
    for (long k = good; k < asked; ++k)
      self->failed_.insert(begin + static_cast<lsn_t>(k));
    return got;
  }

  // The CD library's image reader counts a read that runs past the end of
  // its file as a whole one. Reading the chunk a sector at a time makes it
  // answer as a drive does: the sectors up to the first it cannot read.
  long ReadImage(cdrom_drive_t* drive, void* buffer, lsn_t begin, long sectors) {
    auto* bytes = static_cast<char*>(buffer);
    for (long k = 0; k < sectors; ++k) {
      if (drive_read_(drive, bytes + k * CDIO_CD_FRAMESIZE_RAW, begin + static_cast<lsn_t>(k), 1) !=
          1)
        return k == 0 ? -1 : k;
    }
    return sectors;
  }

  static void Notice(long word, paranoia_cb_mode_t mode) {
    // Retries ran out: the library fills in from where its verified sound
    // ends (a graft of unverified reads or two sectors of silence).
    if (mode == PARANOIA_CB_SKIP && reading != nullptr) {
      auto lsn = static_cast<lsn_t>(word / CD_FRAMEWORDS);
      reading->made_up_.insert(lsn);
      reading->made_up_.insert(lsn + 1);
    }
  }

  CdioPtr cdio_;
  DrivePtr drive_;
  ParanoiaPtr paranoia_;
  bool image_;
  long (*drive_read_)(cdrom_drive_t*, void*, lsn_t, long) = nullptr;
  lsn_t next_lsn_ = -1;
  std::set<lsn_t> failed_;   // sectors whose latest read from the drive failed
  std::set<lsn_t> made_up_;  // sectors the library filled in after giving up
};

bool EndsWithCue(const std::string& path) {
  if (path.size() < 4)
    return false;
  std::string end = path.substr(path.size() - 4);
  std::transform(end.begin(), end.end(), end.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return end == ".cue";
}

}  // namespace

SourceOpen OpenParanoiaSource(const std::string& device_or_cue) {
  // The CD library reports on stderr unless told otherwise; the player shows
  // its own words for a failure.
  cdio_log_set_handler(&DropCdioMessage);
  bool image = EndsWithCue(device_or_cue);
  CdioPtr cdio(image ? cdio_open_cue(device_or_cue.c_str())
                     : cdio_open(device_or_cue.c_str(), DRIVER_LINUX));
  if (!cdio)
    return {nullptr, "cannot open " + device_or_cue};
  DrivePtr drive(cdio_cddap_identify_cdio(cdio.get(), CDDA_MESSAGE_FORGETIT, nullptr));
  if (!drive)
    return {nullptr, device_or_cue + " cannot read audio sectors"};
  cdio_cddap_verbose_set(drive.get(), CDDA_MESSAGE_FORGETIT, CDDA_MESSAGE_FORGETIT);
  if (image) {
    // An image file holds little-endian samples; a guess from the sound
    // itself could only be wrong.
    drive->bigendianp = 0;
  }
  if (cdio_cddap_open(drive.get()) != 0)
    return {nullptr, "no audio tracks can be read from " + device_or_cue};
  ParanoiaPtr paranoia(cdio_paranoia_init(drive.get()));
  if (!paranoia)
    return {nullptr, "cannot read audio from " + device_or_cue};
  cdio_paranoia_modeset(paranoia.get(), PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
  return {std::make_unique<ParanoiaSectorSource>(std::move(cdio), std::move(drive),
                                                 std::move(paranoia), image),
          {}};
}

}  // namespace zcd
