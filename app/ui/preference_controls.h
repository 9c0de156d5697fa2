#pragma once

#include <QString>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "base/settings.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace zcd {

// The controls of the preference pages, each tied to the Settings value it
// shows, so that loading, storing and reloading stay one loop over a table
// instead of three hand-kept lists. Each control is created as a child of
// page, which owns it. Window thread only.
class PreferenceControls {
 public:
  struct Choice {
    QString text;
    int value;
  };

  // changed runs whenever the user alters a control, never while loading.
  explicit PreferenceControls(std::function<void()> changed);
  // The controls' handlers point back here.
  PreferenceControls(const PreferenceControls&) = delete;
  PreferenceControls& operator=(const PreferenceControls&) = delete;

  // A titled group of radio buttons. A stored value that no button holds
  // checks the button of shown_otherwise, or none; with none checked the
  // stored value stays until the user picks a button.
  QGroupBox* RadioGroup(QWidget* page, const QString& title, std::initializer_list<Choice> choices,
                        int Settings::*member, std::optional<int> shown_otherwise = std::nullopt);
  // On for any non-zero value; a non-zero value left on is kept as it was.
  QCheckBox* Check(QWidget* page, const QString& text, int Settings::*member);
  // One bit of a bit set; the other bits are kept.
  QCheckBox* BitCheck(QWidget* page, const QString& text, int Settings::*member, int bit);
  // A whole number from 0 to maximum. Larger numbers may be typed and
  // become maximum, as a user who types past the end means "as much as
  // allowed".
  QSpinBox* Number(QWidget* page, int Settings::*member, int maximum);
  // A Windows-1252 text of at most max_length characters.
  QLineEdit* Text(QWidget* page, std::string Settings::*member, int max_length);

  // Shows settings in every control.
  void Load(const Settings& settings);
  // Shows the values that differ between before and after, leaving the
  // user's pending edits of the others alone.
  void LoadChanged(const Settings& before, const Settings& after);
  // Writes every control's state into settings.
  void Store(Settings& settings) const;

 private:
  struct Binding {
    std::function<void(const Settings&)> load;
    std::function<void(Settings&)> store;
    std::function<bool(const Settings&, const Settings&)> differs;
  };

  template <typename T>
  static std::function<bool(const Settings&, const Settings&)> Differs(T Settings::*member) {
    return [member](const Settings& a, const Settings& b) { return a.*member != b.*member; };
  }
  void Changed() const;

  std::function<void()> changed_;
  std::vector<Binding> bindings_;
  bool loading_ = false;
};

}  // namespace zcd
