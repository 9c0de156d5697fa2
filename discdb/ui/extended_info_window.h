#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "discdb/database_actions.h"

namespace zcd {

// The modeless "Zentaro CD Extended Info" window: an entry's extended texts,
// length, revision and submitter, following the disc in the drive while
// "Sync with current CD" is on. Window thread only.
class ExtendedInfoWindow : public QWidget {
  Q_OBJECT
 public:
  struct Context {
    std::string db_path;
    // The disc in the drive and its playing track; asked while following.
    std::function<std::optional<CurrentDisc>()> current_disc;
    // The window closed: where it stood and the state of "Sync with current
    // CD". The owner stores them and deletes the window with deleteLater.
    std::function<void(QPoint position, bool follow)> closed;
  };

  // Shows the entry of disc_id at position; follow turns off when the
  // drive holds no disc or another one.
  ExtendedInfoWindow(const std::string& disc_id, bool follow, QPoint position, Context context,
                     QWidget* parent = nullptr);
  ~ExtendedInfoWindow() override;

 private:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

  void Load(const std::string& disc_id);
  void ShowEntry();
  void ShowItem(int index);
  void ClearToLabels();
  void FollowCurrentDisc();
  void SetFollow(bool on);

  struct Controls;
  std::unique_ptr<Controls> controls_;
};

}  // namespace zcd
