#pragma once

#include <QString>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cddb/cddb_actions.h"
#include "cddb/server_list.h"
#include "cddb/ui/sheet_page.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace zcd {

// The "Servers" page: an editing copy of the server list that becomes the
// settings' server lines on apply. "Get Servers" and "Connect" go through
// the player's actions and stay disabled without them. Window thread only.
class ServersPage : public SheetPage {
  Q_OBJECT
 public:
  ServersPage(const Settings& settings, const CddbActions& actions, std::function<void()> changed,
              QWidget* parent = nullptr);

  void Store(Settings& settings) const override;

  const std::vector<ServerRow>& rows() const { return rows_; }

  static constexpr int kStatusBusyMs = 3000;
  static constexpr int kStatusConnectingMs = 5000;

 private:
  void Fill();
  std::vector<size_t> Selected() const;
  void SelectionChanged();
  void Add();
  void Delete();
  void MarkDefault(std::optional<size_t> row);
  void GetServers();
  void FetchDone(const std::optional<std::string>& reply, bool was_empty);
  void Connect();
  void ShowCount();
  void ShowFor(const QString& text, int ms);

  CddbActions actions_;
  std::function<void()> changed_;
  bool use_proxy_;
  std::vector<ServerRow> rows_;
  QTreeWidget* list_;
  QLineEdit* host_;
  QLineEdit* port_;
  QComboBox* protocol_;
  QPushButton* set_default_;
  QPushButton* get_servers_;
  QPushButton* connect_;
  QLabel* status_;
  QTimer status_timer_;
};

}  // namespace zcd
