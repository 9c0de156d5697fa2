#pragma once

#include <string>

#include "cddb/cddb_connection.h"
#include "cddb/worker_context.h"

namespace zcd {

// Shown when a disc has no information to submit.
inline constexpr char kNoInformationText[] =
    "You have not entered in any information for this CD.\nPlease enter disc name and all track "
    "titles before submitting.";

// Worker thread. Sends one disc's entry (its revision already raised) to
// CDDB: by mail through the user's SMTP server, straight to it whatever the
// proxy settings say, or with SubmitMethod 1 as an HTTP POST to the default
// server's submit.cgi, through the proxy when it is on. Asks the set-up,
// no-information and category questions first; ends without a word while
// another query, pass or submission holds the query lock. Status codes: 701
// connecting, 501 connected, then 599 accepted, 555 refused, or 667 when no
// server answered. The connection's Stop ends it promptly at any wait.
void SubmitCd(const CddbWorkerContext& context, CddbConnection& connection, std::string entry_text);

}  // namespace zcd
