#include "app/ui/preferences_sheet.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <memory>
#include <vector>

#include "qt/user_input.h"

namespace zcd {
namespace {

using test::Click;
using test::ClickBox;
using test::PressKey;
using test::Type;

constexpr int kStartupPage = 0;
constexpr int kGuiPage = 1;
constexpr int kCdPage = 2;

// Several texts appear twice ("Stop CD", "Eject CD", "Play CD"), so a
// control is found by its group's title, or among all when group is empty.
QAbstractButton* Control(const QWidget& root, const QString& group, const QString& text) {
  std::vector<QAbstractButton*> found;
  for (QAbstractButton* button : root.findChildren<QAbstractButton*>()) {
    const auto* box = qobject_cast<const QGroupBox*>(button->parentWidget());
    if (button->text() == text && (group.isEmpty() || (box && box->title() == group)))
      found.push_back(button);
  }
  if (found.size() != 1) {
    ADD_FAILURE() << found.size() << " controls \"" << text.toStdString() << "\" in \""
                  << group.toStdString() << "\"";
    return nullptr;
  }
  return found.front();
}

QStringList CheckedIn(const QWidget& root, const QString& group) {
  QStringList checked;
  for (const QGroupBox* box : root.findChildren<QGroupBox*>()) {
    if (box->title() != group)
      continue;
    for (const QRadioButton* radio : box->findChildren<QRadioButton*>()) {
      if (radio->isChecked())
        checked << radio->text();
    }
  }
  return checked;
}

QTabWidget* Tabs(const QWidget& sheet) {
  return sheet.findChild<QTabWidget*>();
}

QSpinBox* Spin(const QWidget& sheet, int page) {
  return Tabs(sheet)->widget(page)->findChild<QSpinBox*>();
}

QPushButton* Button(const QWidget& sheet, QDialogButtonBox::StandardButton which) {
  return sheet.findChild<QDialogButtonBox*>()->button(which);
}

// Values unlike the defaults everywhere, so that a control that writes
// what it did not show is caught.
Settings Unusual() {
  Settings s;
  s.AlwaysOnTop = 8;
  s.DoneEject = 5;  // non-zero but not 1: a check box left alone keeps it
  s.DoNextCD = 1;
  s.EdgeResist = 17;
  s.EjectEmpty = 1;
  s.IconType = 1 | 4;
  s.IgnoreSec = 12;
  s.LoadPlay = 1;
  s.NameScrolling = 2;
  s.OnStart = 2;
  s.OnExit = 0;
  s.PlayOrder = 1 | 8;
  s.QTTimes = 0;
  s.ShareCD = 0;
  s.SliderType = 0;  // no radio shows it, and an edit elsewhere keeps it
  s.StartWinState = 3;
  s.TrackClick = 0;
  s.XData = 0;
  s.TaskBarText = "\x80 Caf\xE9 \x81 %n";
  s.SkinName = "Blue";
  s.NetTimeout = 33;
  s.NumServers = 1;
  s.Server = {std::string("cddb.example.org cddbp 888")};
  s.HostName = "proxy";
  s.PlayType = 4;
  s.TimerType = 3;
  return s;
}

class PreferencesSheetTest : public ::testing::Test {
 protected:
  std::unique_ptr<PreferencesSheet> Open(const Settings& settings,
                                         PreferencesContext context = {}) {
    auto sheet = std::make_unique<PreferencesSheet>(
        settings, context,
        PreferencesSheet::Actions{
            [this](const Settings& edited) { applied_.push_back(edited); }, [this] { ++closed_; },
            [this](bool register_player) { registered_.push_back(register_player); }});
    sheet->show();
    QApplication::processEvents();
    return sheet;
  }

  // Opens a sheet on `stored`, clicks the control and applies: exactly the
  // one change comes back.
  void ExpectClickApplies(const Settings& stored, const char* group, const char* text,
                          int Settings::*member, int value) {
    applied_.clear();
    const auto sheet = Open(stored, {.cd_drive_count = 2});
    ClickBox(Control(*sheet, group, text));
    Click(Button(*sheet, QDialogButtonBox::Apply));
    ASSERT_EQ(applied_.size(), 1u);
    Settings expected = stored;
    expected.*member = value;
    EXPECT_EQ(applied_[0], expected);
  }

  std::vector<Settings> applied_;
  int closed_ = 0;
  std::vector<bool> registered_;
};

// Each row opens a sheet on unusual values with one value set, checks what
// the control shows, uses it and checks that apply hands back exactly that
// one change.
TEST_F(PreferencesSheetTest, RadioGroupsShowTheStoredValueAndApplyThePickedOne) {
  struct Case {
    int Settings::*member;
    int stored;
    const char* group;
    const char* shown;  // empty: no button checked
    const char* pick;
    int picked;
  };
  const Case cases[] = {
      {&Settings::OnStart, 2, "On Startup", "Play CD", "Stop CD", 1},
      {&Settings::OnStart, 0, "On Startup", "Retain CD State", "Play CD", 2},
      {&Settings::OnExit, 1, "On Shutdown", "Stop CD", "Eject CD", 2},
      {&Settings::OnExit, 2, "On Shutdown", "Eject CD", "Retain CD State", 0},
      {&Settings::StartWinState, 3, "Startup Window State", "Shade", "Minimized", 2},
      {&Settings::StartWinState, 2, "Startup Window State", "Minimized", "Shutdown State", 0},
      {&Settings::StartWinState, 6, "Startup Window State", "Shutdown State", "Normal", 1},
      {&Settings::StartWinState, -1, "Startup Window State", "Shutdown State", "Shade", 3},
      {&Settings::SliderType, 1, "Slider Behaviour", "Slider shows position in CD",
       "Slider position corresponds to timer", 3},
      {&Settings::SliderType, 3, "Slider Behaviour", "Slider position corresponds to timer",
       "Slider shows position in track", 2},
      {&Settings::NameScrolling, 1, "Name Scrolling", "Round 'n Round", "None", 0},
      {&Settings::NameScrolling, 0, "Name Scrolling", "None", "Back 'n Forth", 2},
      {&Settings::SliderType, 0, "Slider Behaviour", "", "Slider shows position in track", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.group) + ": " + c.shown);
    Settings stored = Unusual();
    stored.*c.member = c.stored;
    EXPECT_EQ(CheckedIn(*Open(stored), c.group), *c.shown ? QStringList{c.shown} : QStringList{});
    ExpectClickApplies(stored, c.group, c.pick, c.member, c.picked);
  }
}

TEST_F(PreferencesSheetTest, CheckBoxesShowTheStoredValueAndApplyTheClick) {
  struct Case {
    int Settings::*member;
    int stored;
    const char* group;  // empty: the text is unique on the sheet
    const char* text;
    bool shown;
    int after_click;
  };
  const Case cases[] = {
      // Bit sets: only the box's own bit moves.
      {&Settings::PlayOrder, 1 | 4 | 8, "When Loading a CD", "Restore last saved playorder", true,
       4 | 8},
      {&Settings::PlayOrder, 1 | 4 | 8, "On Eject", "Save playorder for each CD", false,
       1 | 2 | 4 | 8},
      {&Settings::PlayOrder, 2 | 16, "On Eject", "Save playorder for each CD", true, 16},
      {&Settings::IconType, 2, "Show Icon In", "Task Bar", true, 0},
      {&Settings::IconType, 1 | 4, "Show Icon In", "Task Bar", false, 1 | 2 | 4},
      {&Settings::IconType, 1 | 4, "Show Icon In", "System Tray", true, 4},
      {&Settings::IconType, 2, "Show Icon In", "System Tray", false, 3},
      // Single values.
      {&Settings::DoneEject, 0, "When Done Playing", "Eject CD", false, 1},
      {&Settings::DoNextCD, 1, "When Done Playing", "Continue on next CDROM", true, 0},
      {&Settings::LoadPlay, 1, "When Loading a CD", "Play CD", true, 0},
      {&Settings::EjectEmpty, 0, "When Loading a CD", "Eject CDROM if drive empty", false, 1},
      {&Settings::EjectQuit, 0, "On Eject", "Exit ZCD", false, 1},
      {&Settings::TrackClick, 1, "", "Clicking on slider track positions slider", true, 0},
      {&Settings::QTTimes, 0, "", "Show track times in QuickTrack menu", false, 1},
      {&Settings::XData, 1, "", "Mark data tracks", true, 0},
      {&Settings::ShareCD, 0, "", "Open CD in shared mode", false, 1},
      {&Settings::DigitalPlayback, 1, "", "Play digitally through the sound card", true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Settings stored = Unusual();
    stored.*c.member = c.stored;
    const auto shown = Open(stored, {.cd_drive_count = 2});
    QAbstractButton* box = Control(*shown, c.group, c.text);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->isChecked(), c.shown);
    ExpectClickApplies(stored, c.group, c.text, c.member, c.after_click);
  }
}

TEST_F(PreferencesSheetTest, NextCdromNeedsTwoDrives) {
  const std::pair<int, bool> cases[] = {{1, false}, {2, true}};
  for (const auto& [drives, enabled] : cases) {
    SCOPED_TRACE(drives);
    Settings stored;
    stored.DoNextCD = 1;
    const auto sheet = Open(stored, {.cd_drive_count = drives});
    QAbstractButton* box = Control(*sheet, "When Done Playing", "Continue on next CDROM");
    EXPECT_EQ(box->isEnabled(), enabled);
    EXPECT_TRUE(box->isChecked());
    ClickBox(box);
    EXPECT_EQ(box->isChecked(), !enabled);
    EXPECT_EQ(Button(*sheet, QDialogButtonBox::Apply)->isEnabled(), enabled);
  }
}

// A typed number past the maximum settles on it, however the user ends.
TEST_F(PreferencesSheetTest, TypedNumbersAreStoredWithinRange) {
  struct Case {
    int page;
    int Settings::*member;
    const char* typed;
    bool by_enter;  // OK by Enter in the field, else the Apply button
    int expected;
  };
  const Case cases[] = {{kCdPage, &Settings::IgnoreSec, "1500", false, 999},
                        {kCdPage, &Settings::IgnoreSec, "1500", true, 999},
                        {kGuiPage, &Settings::EdgeResist, "25", true, 25}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    applied_.clear();
    closed_ = 0;
    const auto sheet = Open(Settings{});
    Tabs(*sheet)->setCurrentIndex(c.page);
    QSpinBox* spin = Spin(*sheet, c.page);
    spin->setFocus();
    spin->selectAll();
    Type(spin, c.typed);
    if (c.by_enter)
      PressKey(spin, Qt::Key_Return);
    else
      Click(Button(*sheet, QDialogButtonBox::Apply));
    ASSERT_EQ(applied_.size(), 1u);
    EXPECT_EQ(applied_[0].*c.member, c.expected);
    EXPECT_EQ(closed_, c.by_enter ? 1 : 0);
  }
}

TEST_F(PreferencesSheetTest, TooltipTextTravelsAsWindows1252) {
  Settings stored;
  stored.TaskBarText = "\x80 %d \xE9";
  const auto sheet = Open(stored);
  QLineEdit* edit = Tabs(*sheet)->widget(kGuiPage)->findChild<QLineEdit*>();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), QString::fromUtf8("\u20AC %d \u00E9"));
  EXPECT_EQ(edit->maxLength(), 254);

  edit->setFocus();
  PressKey(edit, Qt::Key_End);
  Type(edit, QString::fromUtf8(" \u00FC\u2192\U0001F600"));
  Click(Button(*sheet, QDialogButtonBox::Apply));
  ASSERT_EQ(applied_.size(), 1u);
  EXPECT_EQ(applied_[0].TaskBarText, "\x80 %d \xE9 \xFC??");
}

TEST_F(PreferencesSheetTest, ApplyIsEnabledOnlyWhileChangesWait) {
  const auto sheet = Open(Settings{});
  QPushButton* apply = Button(*sheet, QDialogButtonBox::Apply);
  EXPECT_FALSE(apply->isEnabled());
  Click(apply);
  EXPECT_TRUE(applied_.empty());

  ClickBox(Control(*sheet, "On Shutdown", "Eject CD"));
  EXPECT_TRUE(apply->isEnabled());
  Click(apply);
  ASSERT_EQ(applied_.size(), 1u);
  EXPECT_EQ(applied_[0].OnExit, 2);
  EXPECT_FALSE(apply->isEnabled());
  EXPECT_EQ(closed_, 0);
  EXPECT_TRUE(sheet->isVisible());

  // The next apply starts from what was applied, not from the opening values.
  ClickBox(Control(*sheet, "", "Mark data tracks"));
  Click(apply);
  ASSERT_EQ(applied_.size(), 2u);
  EXPECT_EQ(applied_[1].OnExit, 2);
  EXPECT_EQ(applied_[1].XData, 0);
}

// OK hands over a waiting change, every other way drops it.
TEST_F(PreferencesSheetTest, EveryWayOfClosingReportsOnce) {
  const std::vector<std::pair<const char*, std::function<void(PreferencesSheet&)>>> ways = {
      {"OK", [](PreferencesSheet& s) { Click(Button(s, QDialogButtonBox::Ok)); }},
      {"Cancel", [](PreferencesSheet& s) { Click(Button(s, QDialogButtonBox::Cancel)); }},
      {"Escape", [](PreferencesSheet& s) { PressKey(&s, Qt::Key_Escape); }},
      {"close box", [](PreferencesSheet& s) { s.close(); }},
  };
  for (const bool pending : {true, false}) {
    for (const auto& [name, close] : ways) {
      SCOPED_TRACE(std::string(name) + (pending ? " with a change" : ""));
      closed_ = 0;
      applied_.clear();
      const auto sheet = Open(Settings{});
      if (pending)
        ClickBox(Control(*sheet, "On Startup", "Play CD"));
      Tabs(*sheet)->setCurrentIndex(kCdPage);
      sheet->ShowFirstPage();
      EXPECT_EQ(Tabs(*sheet)->currentIndex(), kStartupPage);
      close(*sheet);
      EXPECT_EQ(closed_, 1);
      EXPECT_FALSE(sheet->isVisible());
      const bool applies = pending && std::string(name) == "OK";
      ASSERT_EQ(applied_.size(), applies ? 1u : 0u);
      EXPECT_TRUE(!applies || applied_[0].OnStart == 2);
      // A closed sheet waits for its owner to delete it; more closing is no news.
      sheet->close();
      sheet->reject();
      EXPECT_EQ(closed_, 1);
    }
  }
}

TEST_F(PreferencesSheetTest, ReloadShowsNewValuesKeepsPendingEditsAndLeavesApplyAlone) {
  const auto sheet = Open(Settings{});
  Settings elsewhere;  // a command changed values while the sheet was open
  elsewhere.OnStart = 1;
  elsewhere.PlayOrder = 2;
  sheet->Reload(elsewhere);
  EXPECT_EQ(CheckedIn(*sheet, "On Startup"), QStringList{"Stop CD"});
  EXPECT_TRUE(Control(*sheet, "On Eject", "Save playorder for each CD")->isChecked());
  EXPECT_FALSE(Button(*sheet, QDialogButtonBox::Apply)->isEnabled());

  ClickBox(Control(*sheet, "", "Mark data tracks"));  // the user's edit, not applied yet
  elsewhere.AlwaysOnTop = 8;
  elsewhere.NameScrolling = 2;
  sheet->Reload(elsewhere);
  EXPECT_FALSE(Control(*sheet, "", "Mark data tracks")->isChecked());
  EXPECT_EQ(CheckedIn(*sheet, "Name Scrolling"), QStringList{"Back 'n Forth"});
  EXPECT_TRUE(Button(*sheet, QDialogButtonBox::Apply)->isEnabled());

  Click(Button(*sheet, QDialogButtonBox::Apply));
  ASSERT_EQ(applied_.size(), 1u);
  Settings expected = elsewhere;
  expected.XData = 0;
  EXPECT_EQ(applied_[0], expected);
}

TEST_F(PreferencesSheetTest, RegistrationChangeIsAppliedOnceWhenAvailable) {
  // Disabled until the desktop registration exists.
  EXPECT_FALSE(Control(*Open(Settings{}), "", "Set ZCD as the default CD player")->isEnabled());
  const auto sheet = Open(Settings{}, {.shell_registration_available = true, .registered = true});
  QAbstractButton* box = Control(*sheet, "", "Set ZCD as the default CD player");
  EXPECT_TRUE(box->isEnabled());
  EXPECT_TRUE(box->isChecked());

  ClickBox(box);
  EXPECT_TRUE(registered_.empty());  // only on apply
  Click(Button(*sheet, QDialogButtonBox::Apply));
  EXPECT_EQ(registered_, std::vector<bool>{false});
  EXPECT_EQ(applied_.size(), 1u);

  // Applying something else leaves the registration alone.
  ClickBox(Control(*sheet, "", "Mark data tracks"));
  Click(Button(*sheet, QDialogButtonBox::Apply));
  EXPECT_EQ(registered_, std::vector<bool>{false});

  // Changed and changed back is no change.
  ClickBox(box);
  ClickBox(box);
  Click(Button(*sheet, QDialogButtonBox::Ok));
  EXPECT_EQ(registered_, std::vector<bool>{false});
}

TEST_F(PreferencesSheetTest, TitlePagesAndTexts) {
  const auto sheet = Open(Settings{});
  EXPECT_EQ(sheet->windowTitle(), "Zentaro CD - Preferences");
  EXPECT_FALSE(sheet->isModal());
  const QTabWidget* tabs = Tabs(*sheet);
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(kStartupPage), "Startup / Shutdown");
  EXPECT_EQ(tabs->tabText(kGuiPage), "GUI Options");
  EXPECT_EQ(tabs->tabText(kCdPage), "CD Options");
  // The group titles are pinned where the tables above find their controls.
  QStringList texts;
  for (const QLabel* label : sheet->findChildren<QLabel*>())
    texts << label->text();
  const QString expected =
      "Snap to desktop at|pixels|"
      "Enter string to be displayed on the ZCD icon tooltip when playing|%a|album / artist|%d|"
      "track name|%n|track number|%t|timer|Ignore tracks less than|second(s) long";
  for (const QString& text : expected.split('|'))
    EXPECT_TRUE(texts.contains(text)) << text.toStdString();
  EXPECT_EQ(Spin(*sheet, kCdPage)->maximum(), 999);
}

}  // namespace
}  // namespace zcd
