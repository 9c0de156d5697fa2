#pragma once

#include <optional>
#include <string>

#include "app/data_folder.h"
#include "base/settings.h"

namespace zcd {

// Reads an http_proxy value of the form [http://][user[:password]@]host[:port][/];
// user and password may be percent-encoded. None or an unusable value gives
// an empty BrowserProxy; a value without a port gives port 80.
BrowserProxy ReadBrowserProxy(const std::optional<std::string>& http_proxy);

// Reads ini_path (a missing or unreadable file gives the defaults). The
// skins folder defaults to data_dir's "skins"; env supplies http_proxy.
Settings ReadSettings(const std::string& ini_path, const std::string& data_dir,
                      const EnvLookup& env);

// Stores the main, "SubmitInfo" and "Proxy" keys into ini_path, keeping the
// rest of the file (LibraryView, unknown keys) as it is. The "Servers"
// section is written afresh only when the server lines differ from the
// file's, and is otherwise left untouched. A text
// setting that is none removes its key, so a cleared value does not come
// back at the next start. The skins folder inside data_dir is stored as an
// empty value, so a copy of the data folder moved elsewhere keeps finding
// its own skins. Returns an empty text on success, otherwise a sentence for
// the user; on failure the file is left as it was.
[[nodiscard]] std::string WriteSettings(const Settings& settings, const std::string& ini_path,
                                        const std::string& data_dir);

}  // namespace zcd
