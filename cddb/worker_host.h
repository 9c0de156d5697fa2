#pragma once

#include <cstdint>
#include <string>

#include "base/window_host.h"

namespace zcd {

// The answers of "Zentaro CD - Cached CD Query", numbered as the pass uses
// them.
enum class CachedQueryChoice { kRetry = 1, kIgnore = 2, kRemove = 3, kStop = 4 };

// What a CDDB worker asks of the player while it runs. Every member is
// called on the worker's thread. The questions block until the window
// thread answers; once the player is ending they answer at once (No, none,
// stop), so a worker never holds up the end of the program.
class CddbWorkerHost {
 public:
  virtual ~CddbWorkerHost() = default;
  // Posted to the main window as {kMsgPlayer, kPlayerCddbStatus, code}.
  virtual void PostStatus(int code) = 0;
  // A message box owned by the main window, captioned "Zentaro CD".
  virtual MessageBoxAnswer Ask(const std::string& text, MessageBoxStyle style,
                               MessageBoxButtons buttons) = 0;
  // "Zentaro CD Inexact Match" for the whole 211 reply: the chosen match
  // counted from 0, -1 for none.
  virtual int ChooseMatch(const std::string& reply) = 0;
  // "Zentaro CD - Cached CD Query".
  virtual CachedQueryChoice AskCachedQueryFailure() = 0;
  // Posts the main window a menu command with its second parameter.
  virtual void PostCommand(int64_t command, int64_t param) = 0;
  // The user declined to set up servers: AutoInfo goes off in the running
  // settings.
  virtual void TurnOffAutoInfo() = 0;
};

}  // namespace zcd
