#pragma once

#include <functional>
#include <utility>

#include "base/cddb_status.h"

namespace zcd {

// How a worker reports a CddbStatus code: posted, never sent, so a worker
// never waits for the window thread. Called on the worker's thread.
using CddbStatusPoster = std::function<void(int code)>;

// A poster that hands the status message to post (which must be
// thread-safe, as posting to the message queue is).
inline CddbStatusPoster MakeCddbStatusPoster(std::function<void(const Message&)> post) {
  return [post = std::move(post)](int code) { post(CddbStatusMessage(code)); };
}

}  // namespace zcd
