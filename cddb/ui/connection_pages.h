#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "app/ui/preference_controls.h"
#include "cddb/ui/sheet_page.h"

class QCheckBox;
class QLineEdit;

namespace zcd {

// The "Proxy" page. Host, port and the authentication box are usable only
// while the proxy box is checked, user name and password only while both
// are. Window thread only.
class ProxyPage : public SheetPage {
  Q_OBJECT
 public:
  ProxyPage(const Settings& settings, std::function<void()> changed, QWidget* parent = nullptr);
  // Stores the boxes so that the proxy is on only with a host and a port,
  // and authentication only with both credentials.
  void Store(Settings& settings) const override;

 private:
  void UpdateEnabled();

  QCheckBox* use_proxy_;
  QLineEdit* host_;
  QLineEdit* port_;
  QCheckBox* use_auth_;
  QLineEdit* user_;
  QLineEdit* password_;
};

// The "Network Debug" page: time-out, logging and the log file, whose path
// is refused rather than cut when it is too long. Window thread only.
class NetworkDebugPage : public SheetPage {
  Q_OBJECT
 public:
  // Asks the user for an existing text file, starting from a path; none
  // when the user cancelled.
  using FileChooser = std::function<std::optional<QString>(const QString& from)>;

  // default_log_file is what an empty LogFile stands for.
  NetworkDebugPage(const Settings& settings, const std::string& default_log_file,
                   std::function<void()> changed, QWidget* parent = nullptr);
  bool Check() override;
  void Store(Settings& settings) const override;

  void set_file_chooser(FileChooser chooser) { choose_file_ = std::move(chooser); }

 private:
  // True when a path was chosen and taken.
  bool ChooseFile();
  bool Fits(const QString& path);

  PreferenceControls controls_;
  QLineEdit* log_file_;
  FileChooser choose_file_;
};

}  // namespace zcd
