#include "cddb/client_identity.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

#include "discdb/entry_text.h"

namespace zcd {
namespace {

constexpr size_t kMaxName = 127;

std::string Clean(const std::optional<std::string>& name, size_t min_length) {
  std::string text = name.value_or("").substr(0, kMaxName);
  if (text.size() < min_length)
    text = "unknown";
  ReplaceBlanks(text, '_');
  return text;
}

}  // namespace

ClientIdentity MakeClientIdentity(const std::optional<std::string>& user,
                                  const std::optional<std::string>& host) {
  return {Clean(user, 1), Clean(host, 2)};
}

std::optional<std::string> SystemUserName() {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
      !found->pw_name)
    return std::nullopt;
  return std::string(found->pw_name);
}

std::optional<std::string> SystemHostName() {
  char name[kMaxName + 1] = {};
  // A longer name may come back cut and without its terminator.
  if (gethostname(name, kMaxName) != 0)
    return std::nullopt;
  return std::string(name);
}

ClientIdentity WorkerClientIdentity(bool use_email, const std::optional<std::string>& user_email) {
  if (use_email && user_email) {
    const size_t at = user_email->find('@');
    if (at != std::string::npos && at > 0 && at + 1 < user_email->size())
      return MakeClientIdentity(user_email->substr(0, at), user_email->substr(at + 1));
  }
  return MakeClientIdentity(SystemUserName(), SystemHostName());
}

}  // namespace zcd
