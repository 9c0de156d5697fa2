#include "skin/ui/skins_dialog.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "qt/user_input.h"
#include "skin/ui/link_line.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::ClickAt;
using test::PressKey;

// One mouse event with the left button, for presses and releases on their own.
void Mouse(QWidget* widget, QEvent::Type type, QPoint pos) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), Qt::LeftButton, held,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
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
    for (const auto& [folder, name] : {std::pair{&first_, "Blue"},
                                       {&first_, "BlueSky"},
                                       {&second_, "Green"},
                                       {&second_, "Caf\xC3\xA9"}}) {
      std::filesystem::create_directories(folder->File(name));
      folder->Write(std::string(name) + "/body.bmp", "");  // "Caf\xC3\xA9": a UTF-8 folder name
    }
    std::filesystem::create_directories(first_.File("MixerOnly"));
    first_.Write("MixerOnly/mixerset.bmp", "");
    settings_.SkinFolder = first_.path();
    settings_.SkinName = "blue";
    settings_.xSkinWinPos = 120;
    settings_.ySkinWinPos = 80;
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
  static void ClickRow(const SkinsDialog& dialog, int row) {
    ClickAt(List(dialog)->viewport(),
            List(dialog)->visualItemRect(List(dialog)->item(row)).center());
  }

  test::TempDir first_;
  test::TempDir second_;
  Settings settings_;
  std::vector<std::string> selected_;
  int closed_ = 0;
};

TEST_F(SkinsDialogTest, OpensWithTheSavedChoiceQuietlyAndUserClicksAndKeysChoose) {
  const auto dialog = Open();
  EXPECT_EQ(dialog->windowTitle(), "Zentaro CD Skins - 2 Total");
  QListWidget* list = List(*dialog);
  EXPECT_EQ(Rows(*list), (QStringList{"<none>", "Blue", "BlueSky"}));
  EXPECT_EQ(list->currentRow(), 1);
  EXPECT_TRUE(list->item(1)->isSelected());
  EXPECT_TRUE(selected_.empty());
  EXPECT_EQ(settings_.SkinName, "blue");  // only a user's choice rewrites it
  EXPECT_EQ(dialog->pos(), QPoint(120, 80));

  ClickRow(*dialog, 2);
  EXPECT_EQ(selected_, std::vector<std::string>{"BlueSky"});
  EXPECT_EQ(settings_.SkinName, "BlueSky");
  PressKey(list, Qt::Key_Home);
  EXPECT_EQ(selected_, (std::vector<std::string>{"BlueSky", "<none>"}));
  EXPECT_EQ(settings_.SkinName, "<none>");
  EXPECT_EQ(closed_, 0);
}

TEST_F(SkinsDialogTest, ChosenFolderRefillsTheListAndCancelKeepsIt) {
  const auto dialog = Open();
  // The default browser is modal; answer it from inside its own event loop.
  QTimer::singleShot(0, [&] {
    auto* browser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->windowTitle(), "Select Zentaro CD Skins Folder");
    EXPECT_EQ(browser->directory().absolutePath(), QString::fromStdString(first_.path()));
    bool instruction_shown = false;
    for (const QLabel* label : browser->findChildren<QLabel*>())
      instruction_shown |= label->isVisible() &&
                           label->text() == "Select a Skins Folder that has skin subdirectories";
    EXPECT_TRUE(instruction_shown);
    browser->selectFile(QString::fromStdString(second_.path()));
    static_cast<QDialog*>(browser)->accept();  // as the Choose button does
  });
  test::Showing<QPushButton>(*dialog, "Select Skin Folder")->click();
  EXPECT_EQ(settings_.SkinFolder, second_.path());
  QListWidget* list = List(*dialog);
  EXPECT_EQ(Rows(*list), (QStringList{"<none>", QString::fromUtf8("Caf\xC3\xA9"), "Green"}));
  EXPECT_EQ(list->currentRow(), 0);  // "blue" is not among these
  EXPECT_EQ(dialog->windowTitle(), "Zentaro CD Skins - 2 Total");
  EXPECT_TRUE(selected_.empty());
  // The name goes back to settings in the file system's own bytes.
  ClickRow(*dialog, 1);
  EXPECT_EQ(settings_.SkinName, "Caf\xC3\xA9");

  std::vector<std::string> starts;
  dialog->set_folder_chooser([&](const std::string& from) -> std::optional<std::string> {
    starts.push_back(from);
    return std::nullopt;
  });
  test::Showing<QPushButton>(*dialog, "Select Skin Folder")->click();
  EXPECT_EQ(starts, std::vector<std::string>{second_.path()});
  EXPECT_EQ(settings_.SkinFolder, second_.path());
  EXPECT_EQ(list->count(), 3);
  EXPECT_EQ(list->currentRow(), 1);
}

TEST_F(SkinsDialogTest, EveryWayOfClosingStoresThePlaceAndReportsOnce) {
  const std::vector<std::pair<const char*, std::function<void(SkinsDialog&)>>> ways = {
      {"Close button", [](SkinsDialog& d) { test::Showing<QPushButton>(d, "Close")->click(); }},
      {"Escape", [](SkinsDialog& d) { PressKey(&d, Qt::Key_Escape); }},
      {"window close", [](SkinsDialog& d) { d.close(); }},
      {"double-click",
       [](SkinsDialog& d) {
         ClickRow(d, 2);
         const QPoint at = List(d)->visualItemRect(List(d)->item(2)).center();
         Mouse(List(d)->viewport(), QEvent::MouseButtonDblClick, at);
         Mouse(List(d)->viewport(), QEvent::MouseButtonRelease, at);
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
  const QImage idle = link->grab().toImage();
  EXPECT_GT(CountPixels(idle, blue), link->width() / 2);  // at least the underline
  EXPECT_EQ(CountPixels(idle, red), 0);

  Mouse(link, QEvent::MouseButtonPress, inside);
  const QImage held = link->grab().toImage();
  EXPECT_GT(CountPixels(held, red), link->width() / 2);
  EXPECT_EQ(CountPixels(held, blue), 0);
  EXPECT_TRUE(opened.empty());
  Mouse(link, QEvent::MouseButtonRelease, QPoint(link->width() + 5, inside.y()));
  EXPECT_TRUE(opened.empty());  // dragged away before letting go
  EXPECT_EQ(CountPixels(link->grab().toImage(), red), 0);
  Mouse(link, QEvent::MouseButtonRelease, inside);  // no press before it
  EXPECT_TRUE(opened.empty());

  ClickAt(link, inside);
  EXPECT_EQ(opened, std::vector<QUrl>{QUrl("https://zcd.example.org/skins")});
  EXPECT_EQ(closed_, 0);
}

}  // namespace
}  // namespace zcd
