#pragma once

#include "base/message.h"

namespace zcd {

// The codes a CDDB worker posts to the main window as
// {kMsgPlayer, kPlayerCddbStatus, code}; the window shows the last one.
inline constexpr int kCddbStatusClear = 0;           // the disc left during a query
inline constexpr int kCddbStatusCached = 499;        // stored as a cached entry
inline constexpr int kCddbStatusMailAnswered = 501;  // the submission dialogue starts
inline constexpr int kCddbStatusMailRefused = 555;   // the mail server refused a step
inline constexpr int kCddbStatusSubmitted = 599;
inline constexpr int kCddbStatusNoSockets = 666;    // the socket layer did not start
inline constexpr int kCddbStatusUnreachable = 667;  // no server, name, connection or answer
inline constexpr int kCddbStatusConnecting = 701;
inline constexpr int kCddbStatusConnected = 702;
inline constexpr int kCddbStatusNoMatch = 901;
inline constexpr int kCddbStatusDone = 999;  // stored, or the stored entry kept

inline Message CddbStatusMessage(int code) {
  return {WindowId::kMain, kMsgPlayer, kPlayerCddbStatus, code};
}

}  // namespace zcd
