#include "skin/ui/skins_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "skin/ui/link_line.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

namespace fs = std::filesystem;

// The events a user's mouse and keyboard deliver, sent the way the desktop
// would deliver them.
void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), Qt::LeftButton, held,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

void Click(QWidget* widget, QPoint pos) {
  SendMouse(widget, QEvent::MouseButtonPress, pos);
  SendMouse(widget, QEvent::MouseButtonRelease, pos);
}

void DoubleClick(QWidget* widget, QPoint pos) {
  Click(widget, pos);
  SendMouse(widget, QEvent::MouseButtonDblClick, pos);
  SendMouse(widget, QEvent::MouseButtonRelease, pos);
}

void PressKey(QWidget* widget, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

QPushButton* Button(const QWidget& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == text)
      return button;
  }
  ADD_FAILURE() << "no button " << text.toStdString();
  return nullptr;
}

QStringList Rows(const QListWidget& list) {
  QStringList rows;
  for (int i = 0; i < list.count(); ++i)
    rows << list.item(i)->text();
  return rows;
}

int CountPixels(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
  }
  return count;
}

class SkinsDialogTest : public ::testing::Test {
 protected:
  SkinsDialogTest() {
    MakeSkin(first_, "Blue");
    MakeSkin(first_, "BlueSky");
    fs::create_directories(first_.File("MixerOnly"));
    first_.Write("MixerOnly/mixerset.bmp", "");
    MakeSkin(second_, "Green");
    MakeSkin(second_, "Caf\xC3\xA9");  // a UTF-8 folder name
    settings_.SkinFolder = first_.path();
    settings_.SkinName = "blue";
    settings_.xSkinWinPos = 120;
    settings_.ySkinWinPos = 80;
  }

  static void MakeSkin(const test::TempDir& folder, const std::string& name) {
    fs::create_directories(folder.File(name));
    folder.Write(name + "/body.bmp", "");
  }

  // A shown dialog that records what it reports.
  std::unique_ptr<SkinsDialog> Open() {
    auto dialog = std::make_unique<SkinsDialog>(
        SkinsDialog::Actions{[this](const std::string& name) { selected_.push_back(name); },
                             [this] { ++closed_; }},
        settings_);
    dialog->show();
    QApplication::processEvents();
    return dialog;
  }

  static QListWidget* List(const SkinsDialog& dialog) { return dialog.findChild<QListWidget*>(); }

  test::TempDir first_;
  test::TempDir second_;
  Settings settings_;
  std::vector<std::string> selected_;
  int closed_ = 0;
};

TEST_F(SkinsDialogTest, OpensWithTheSkinsAndTheSavedChoiceQuietly) {
  const auto dialog = Open();
  EXPECT_EQ(dialog->windowTitle(), "Zentaro CD Skins - 2 Total");
  const QListWidget* list = List(*dialog);
  EXPECT_EQ(Rows(*list), (QStringList{"<none>", "Blue", "BlueSky"}));
  EXPECT_EQ(list->currentRow(), 1);
  EXPECT_TRUE(list->item(1)->isSelected());
  EXPECT_TRUE(selected_.empty());
  EXPECT_EQ(settings_.SkinName, "blue");  // only a user's choice rewrites it
  EXPECT_EQ(dialog->pos(), QPoint(120, 80));
}

TEST_F(SkinsDialogTest, UserClicksAndArrowKeysChooseASkin) {
  const auto dialog = Open();
  QListWidget* list = List(*dialog);
  Click(list->viewport(), list->visualItemRect(list->item(2)).center());
  EXPECT_EQ(selected_, std::vector<std::string>{"BlueSky"});
  EXPECT_EQ(settings_.SkinName, "BlueSky");

  PressKey(list, Qt::Key_Home);
  EXPECT_EQ(selected_, (std::vector<std::string>{"BlueSky", "<none>"}));
  EXPECT_EQ(settings_.SkinName, "<none>");
  EXPECT_EQ(closed_, 0);
}

TEST_F(SkinsDialogTest, ChosenFolderRefillsTheListAndCancelKeepsIt) {
  const auto dialog = Open();
  std::vector<std::string> starts;
  std::optional<std::string> answer = second_.path();
  dialog->set_folder_chooser([&](const std::string& start) {
    starts.push_back(start);
    return answer;
  });

  Button(*dialog, "Select Skin Folder")->click();
  EXPECT_EQ(starts, std::vector<std::string>{first_.path()});
  EXPECT_EQ(settings_.SkinFolder, second_.path());
  QListWidget* list = List(*dialog);
  EXPECT_EQ(Rows(*list), (QStringList{"<none>", QString::fromUtf8("Caf\xC3\xA9"), "Green"}));
  EXPECT_EQ(list->currentRow(), 0);  // "blue" is not among these
  EXPECT_EQ(dialog->windowTitle(), "Zentaro CD Skins - 2 Total");
  EXPECT_TRUE(selected_.empty());

  // The name goes back to settings in the file system's own bytes.
  Click(list->viewport(), list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(settings_.SkinName, "Caf\xC3\xA9");

  answer.reset();
  Button(*dialog, "Select Skin Folder")->click();
  EXPECT_EQ(starts.back(), second_.path());
  EXPECT_EQ(settings_.SkinFolder, second_.path());
  EXPECT_EQ(list->count(), 3);
  EXPECT_EQ(list->currentRow(), 1);
}

TEST_F(SkinsDialogTest, DefaultFolderBrowserAsksWithCaptionAndInstruction) {
  const auto dialog = Open();
  QString caption;
  QString start;
  bool instruction_shown = false;
  // The browser is modal; answer it from inside its own event loop.
  QTimer::singleShot(0, [&] {
    auto* browser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(browser, nullptr);
    caption = browser->windowTitle();
    start = browser->directory().absolutePath();
    for (const QLabel* label : browser->findChildren<QLabel*>())
      instruction_shown |= label->isVisible() &&
                           label->text() == "Select a Skins Folder that has skin subdirectories";
    browser->selectFile(QString::fromStdString(second_.path()));
    static_cast<QDialog*>(browser)->accept();  // as the Choose button does
  });
  Button(*dialog, "Select Skin Folder")->click();
  EXPECT_EQ(caption, "Select Zentaro CD Skins Folder");
  EXPECT_EQ(start, QString::fromStdString(first_.path()));
  EXPECT_TRUE(instruction_shown);
  EXPECT_EQ(settings_.SkinFolder, second_.path());
  EXPECT_EQ(List(*dialog)->count(), 3);
}

TEST_F(SkinsDialogTest, EveryWayOfClosingStoresThePlaceAndReportsOnce) {
  const std::vector<std::pair<const char*, std::function<void(SkinsDialog&)>>> ways = {
      {"Close button", [](SkinsDialog& d) { Button(d, "Close")->click(); }},
      {"Escape", [](SkinsDialog& d) { PressKey(&d, Qt::Key_Escape); }},
      {"window close", [](SkinsDialog& d) { d.close(); }},
      {"double-click",
       [](SkinsDialog& d) {
         QListWidget* list = List(d);
         DoubleClick(list->viewport(), list->visualItemRect(list->item(2)).center());
       }},
  };
  int x = 200;
  for (const auto& [name, close] : ways) {
    SCOPED_TRACE(name);
    closed_ = 0;
    const auto dialog = Open();
    dialog->move(x, 150);
    close(*dialog);
    EXPECT_EQ(closed_, 1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(settings_.xSkinWinPos, x);
    EXPECT_EQ(settings_.ySkinWinPos, 150);
    x += 10;
  }
  // The double-click's first press chose the skin before closing.
  EXPECT_EQ(selected_, std::vector<std::string>{"BlueSky"});
}

TEST_F(SkinsDialogTest, LinkOpensOnPressAndReleaseInsideAndShowsRedWhileHeld) {
  const auto dialog = Open();
  std::vector<QUrl> opened;
  dialog->set_url_opener([&](const QUrl& url) { opened.push_back(url); });
  LinkLine* link = dialog->findChild<LinkLine*>();
  ASSERT_NE(link, nullptr);
  const QPoint inside = link->rect().center();
  const QRgb red = qRgb(255, 0, 0);
  const QRgb blue = qRgb(0, 0, 255);

  QImage idle = link->grab().toImage();
  EXPECT_GT(CountPixels(idle, blue), link->width() / 2);  // at least the underline
  EXPECT_EQ(CountPixels(idle, red), 0);

  SendMouse(link, QEvent::MouseButtonPress, inside);
  QImage held = link->grab().toImage();
  EXPECT_GT(CountPixels(held, red), link->width() / 2);
  EXPECT_EQ(CountPixels(held, blue), 0);
  EXPECT_TRUE(opened.empty());

  SendMouse(link, QEvent::MouseButtonRelease, QPoint(link->width() + 5, inside.y()));
  EXPECT_TRUE(opened.empty());  // dragged away before letting go
  EXPECT_EQ(CountPixels(link->grab().toImage(), red), 0);

  SendMouse(link, QEvent::MouseButtonRelease, inside);  // no press before it
  EXPECT_TRUE(opened.empty());

  Click(link, inside);
  EXPECT_EQ(opened, std::vector<QUrl>{QUrl("https://zcd.example.org/skins")});
  EXPECT_EQ(closed_, 0);
}

}  // namespace
}  // namespace zcd
