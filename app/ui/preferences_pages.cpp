#include "app/ui/preferences_pages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ui/preference_controls.h"

namespace zcd {
namespace {

constexpr int kMaxIgnoreSeconds = 999;
constexpr int kMaxSnapPixels = 999;

QGroupBox* Group(QWidget* page, const QString& title, std::initializer_list<QWidget*> widgets) {
  auto* box = new QGroupBox(title, page);
  auto* layout = new QVBoxLayout(box);
  for (QWidget* widget : widgets)
    layout->addWidget(widget);
  return box;
}

// "label [field] unit" on one line, as the pages word their numbers.
QHBoxLayout* NumberRow(QWidget* page, const QString& label, QWidget* field, const QString& unit) {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(label, page));
  row->addWidget(field);
  row->addWidget(new QLabel(unit, page));
  row->addStretch();
  return row;
}

}  // namespace

StartupPage MakeStartupPage(QWidget* parent, PreferenceControls& c, int cd_drive_count) {
  auto* page = new QWidget(parent);
  QGroupBox* on_start =
      c.RadioGroup(page, "On Startup", {{"Retain CD State", 0}, {"Stop CD", 1}, {"Play CD", 2}},
                   &Settings::OnStart);
  QGroupBox* on_exit =
      c.RadioGroup(page, "On Shutdown", {{"Retain CD State", 0}, {"Stop CD", 1}, {"Eject CD", 2}},
                   &Settings::OnExit);
  // The player's own sound ends with the player, whatever the choice.
  auto* digital_note =
      new QLabel("A CD playing through the sound card stops when ZCD exits.", on_exit);
  digital_note->setWordWrap(true);
  on_exit->layout()->addWidget(digital_note);

  QCheckBox* next_cd = c.Check(page, "Continue on next CDROM", &Settings::DoNextCD);
  // Going on with the next drive needs a next drive.
  next_cd->setEnabled(cd_drive_count >= 2);
  QGroupBox* done =
      Group(page, "When Done Playing", {c.Check(page, "Eject CD", &Settings::DoneEject), next_cd});
  QGroupBox* loading = Group(
      page, "When Loading a CD",
      {c.Check(page, "Play CD", &Settings::LoadPlay),
       c.BitCheck(page, "Restore last saved playorder", &Settings::PlayOrder, kPlayOrderRestore),
       c.Check(page, "Eject CDROM if drive empty", &Settings::EjectEmpty)});
  QGroupBox* eject =
      Group(page, "On Eject",
            {c.Check(page, "Exit ZCD", &Settings::EjectQuit),
             c.BitCheck(page, "Save playorder for each CD", &Settings::PlayOrder, kPlayOrderSave)});
  // Saved states (4..7) and stray values mean "as at the last exit".
  QGroupBox* window_state =
      c.RadioGroup(page, "Startup Window State",
                   {{"Shutdown State", 0}, {"Normal", 1}, {"Minimized", 2}, {"Shade", 3}},
                   &Settings::StartWinState, 0);
  auto* register_player = new QCheckBox("Set ZCD as the default CD player", page);

  auto* grid = new QGridLayout(page);
  grid->addWidget(on_start, 0, 0);
  grid->addWidget(on_exit, 0, 1);
  grid->addWidget(done, 1, 0);
  grid->addWidget(loading, 1, 1);
  grid->addWidget(eject, 2, 0);
  grid->addWidget(window_state, 2, 1);
  grid->addWidget(register_player, 3, 0, 1, 2);
  grid->setRowStretch(4, 1);
  return {page, register_player};
}

QWidget* MakeGuiOptionsPage(QWidget* parent, PreferenceControls& c) {
  auto* page = new QWidget(parent);
  QGroupBox* slider = c.RadioGroup(page, "Slider Behaviour",
                                   {{"Slider position corresponds to timer", 3},
                                    {"Slider shows position in CD", 1},
                                    {"Slider shows position in track", 2}},
                                   &Settings::SliderType);
  slider->layout()->addWidget(
      c.Check(page, "Clicking on slider track positions slider", &Settings::TrackClick));
  QGroupBox* scrolling = c.RadioGroup(page, "Name Scrolling",
                                      {{"Round 'n Round", 1}, {"Back 'n Forth", 2}, {"None", 0}},
                                      &Settings::NameScrolling);
  QGroupBox* icon = Group(page, "Show Icon In",
                          {c.BitCheck(page, "Task Bar", &Settings::IconType, kIconTaskbar),
                           c.BitCheck(page, "System Tray", &Settings::IconType, kIconTray)});

  auto* tooltip = new QGroupBox(page);
  auto* tooltip_layout = new QVBoxLayout(tooltip);
  auto* prompt =
      new QLabel("Enter string to be displayed on the ZCD icon tooltip when playing", tooltip);
  prompt->setWordWrap(true);
  tooltip_layout->addWidget(prompt);
  tooltip_layout->addWidget(
      c.Text(tooltip, &Settings::TaskBarText, static_cast<int>(kMaxSettingText)));
  auto* legend = new QGridLayout;
  const std::pair<const char*, const char*> kLegend[] = {
      {"%a", "album / artist"}, {"%d", "track name"}, {"%n", "track number"}, {"%t", "timer"}};
  int row = 0;
  for (const auto& [code, meaning] : kLegend) {
    legend->addWidget(new QLabel(code, tooltip), row, 0);
    legend->addWidget(new QLabel(meaning, tooltip), row, 1);
    ++row;
  }
  legend->setColumnStretch(1, 1);
  tooltip_layout->addLayout(legend);

  auto* left = new QVBoxLayout;
  left->addWidget(slider);
  left->addWidget(scrolling);
  left->addLayout(NumberRow(page, "Snap to desktop at",
                            c.Number(page, &Settings::EdgeResist, kMaxSnapPixels), "pixels"));
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(icon);
  right->addWidget(c.Check(page, "Show track times in QuickTrack menu", &Settings::QTTimes));
  right->addWidget(tooltip);
  right->addStretch();
  auto* columns = new QHBoxLayout(page);
  columns->addLayout(left);
  columns->addLayout(right);
  return page;
}

QWidget* MakeCdOptionsPage(QWidget* parent, PreferenceControls& c) {
  auto* page = new QWidget(parent);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(NumberRow(page, "Ignore tracks less than",
                              c.Number(page, &Settings::IgnoreSec, kMaxIgnoreSeconds),
                              "second(s) long"));
  layout->addWidget(c.Check(page, "Mark data tracks", &Settings::XData));
  layout->addWidget(c.Check(page, "Open CD in shared mode", &Settings::ShareCD));
  layout->addWidget(
      c.Check(page, "Play digitally through the sound card", &Settings::DigitalPlayback));
  layout->addStretch();
  return page;
}

}  // namespace zcd
