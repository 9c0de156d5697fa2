#pragma once

class QCheckBox;
class QWidget;

namespace zcd {

class PreferenceControls;

struct StartupPage {
  QWidget* page;
  // Not a Settings value: the sheet wires it to the desktop registration.
  QCheckBox* register_player;
};

// The three pages of the Preferences sheet, children of parent, their
// controls bound into controls. Window thread only.
StartupPage MakeStartupPage(QWidget* parent, PreferenceControls& controls, int cd_drive_count);
QWidget* MakeGuiOptionsPage(QWidget* parent, PreferenceControls& controls);
QWidget* MakeCdOptionsPage(QWidget* parent, PreferenceControls& controls);

}  // namespace zcd
