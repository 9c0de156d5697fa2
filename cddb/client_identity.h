#pragma once

#include <optional>
#include <string>

namespace zcd {

// Who the hello says is asking: user and host, each at most 127 characters,
// "unknown" when missing (or, for the host, shorter than 2 characters), with
// blanks as "_".
struct ClientIdentity {
  std::string user;
  std::string host;
};

// The rules above applied to the names found.
ClientIdentity MakeClientIdentity(const std::optional<std::string>& user,
                                  const std::optional<std::string>& host);

// Any thread. The logged-on user's name and the machine's host name, raw;
// none when they cannot be found.
std::optional<std::string> SystemUserName();
std::optional<std::string> SystemHostName();

// Built afresh by each worker. With use_email on and an address of the form
// "user@host", its two halves stand for user and host, as services that want
// an address in the hello ask; otherwise the system's names.
ClientIdentity WorkerClientIdentity(bool use_email, const std::optional<std::string>& user_email);

}  // namespace zcd
