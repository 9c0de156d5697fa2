#include "audio/alsa_quiet.h"

#include <alsa/asoundlib.h>

#include <mutex>

namespace zcd {
namespace {

void Quiet(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void QuietAlsaErrors() {
  static std::once_flag quiet;
  std::call_once(quiet, [] { snd_lib_error_set_handler(&Quiet); });
}

}  // namespace zcd
