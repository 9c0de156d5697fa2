#pragma once

#include <string>

class QWidget;

namespace zcd {

// "Zentaro CD Inexact Match" for the whole text of a 211 query reply, modal
// on `parent`: the chosen match counted from 0 (0 when OK finds no row
// selected), -1 for None. Window thread only.
int RunInexactMatchDialog(QWidget* parent, const std::string& reply);

}  // namespace zcd
