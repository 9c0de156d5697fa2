#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>

namespace zcd {

// An underlined web link on a transparent background: blue, red while the
// mouse is held on it. It opens only when the press and the release both
// happen inside, so a user can change their mind by dragging away.
class LinkLine : public QWidget {
  Q_OBJECT
 public:
  using Opener = std::function<void(const QUrl&)>;

  LinkLine(const QString& text, const QUrl& url, QWidget* parent = nullptr);

  // Replaces the desktop's URL handler, for tests.
  void set_opener(Opener opener) { opener_ = std::move(opener); }
  bool pressed() const { return pressed_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetPressed(bool pressed);

  QString text_;
  QUrl url_;
  Opener opener_;
  bool pressed_ = false;
};

}  // namespace zcd
