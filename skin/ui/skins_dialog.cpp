#include "skin/ui/skins_dialog.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "skin/skin_list.h"
#include "skin/ui/link_line.h"

namespace zcd {
namespace {

// Folder names are Linux paths, so they travel in the local 8-bit encoding.
QString FromPath(const std::string& path) {
  return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
}

std::optional<std::string> BrowseForSkinFolder(QWidget* parent, const std::string& start) {
  QFileDialog browser(parent, "Select Zentaro CD Skins Folder", FromPath(start));
  // The desktop's own chooser may ignore the caption and the instruction.
  browser.setOption(QFileDialog::DontUseNativeDialog);
  browser.setOption(QFileDialog::ShowDirsOnly);
  browser.setFileMode(QFileDialog::Directory);
  browser.setLabelText(QFileDialog::LookIn, "Select a Skins Folder that has skin subdirectories");
  if (browser.exec() != QDialog::Accepted || browser.selectedFiles().isEmpty())
    return std::nullopt;
  return browser.selectedFiles().constFirst().toLocal8Bit().toStdString();
}

}  // namespace

SkinsDialog::SkinsDialog(Actions actions, Settings& settings, QWidget* parent)
    : QDialog(parent),
      actions_(std::move(actions)),
      settings_(settings),
      choose_folder_([this](const std::string& start) { return BrowseForSkinFolder(this, start); }),
      list_(new QListWidget(this)),
      link_(new LinkLine("Get more skins for Zentaro CD", QUrl(kSkinsWebPage), this)) {
  auto* folder_button = new QPushButton("Select Skin Folder", this);
  auto* close_button = new QPushButton("Close", this);
  folder_button->setAutoDefault(false);
  close_button->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(folder_button);
  buttons->addStretch();
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(link_, 0, Qt::AlignHCenter);
  layout->addLayout(buttons);

  // currentRowChanged covers clicks and the arrow keys; FillList silences it.
  connect(list_, &QListWidget::currentRowChanged, this, &SkinsDialog::OnRowChanged);
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(folder_button, &QPushButton::clicked, this, &SkinsDialog::OnSelectFolder);
  connect(close_button, &QPushButton::clicked, this, &QDialog::reject);

  FillList();
  move(settings_.xSkinWinPos, settings_.ySkinWinPos);
}

void SkinsDialog::set_url_opener(std::function<void(const QUrl&)> opener) {
  link_->set_opener(std::move(opener));
}

// Close, Escape, a double-click and the window's close button all end here.
void SkinsDialog::done(int result) {
  settings_.xSkinWinPos = pos().x();
  settings_.ySkinWinPos = pos().y();
  QDialog::done(result);
  if (actions_.closed)
    actions_.closed();
}

void SkinsDialog::FillList() {
  entries_ = ListSkinEntries(settings_.SkinFolder);
  const QSignalBlocker quiet(list_);
  list_->clear();
  for (const std::string& entry : entries_)
    list_->addItem(FromPath(entry));
  list_->setCurrentRow(static_cast<int>(SelectSkinEntry(entries_, settings_.SkinName)));
  list_->scrollToItem(list_->currentItem());
  setWindowTitle(QString::fromStdString(SkinsDialogTitle(entries_.size())));
}

void SkinsDialog::OnRowChanged(int row) {
  if (row < 0 || static_cast<size_t>(row) >= entries_.size())
    return;
  settings_.SkinName = entries_[static_cast<size_t>(row)];
  if (actions_.select)
    actions_.select(settings_.SkinName);
}

void SkinsDialog::OnSelectFolder() {
  const std::optional<std::string> folder = choose_folder_(settings_.SkinFolder);
  if (!folder)
    return;
  settings_.SkinFolder = *folder;
  FillList();
}

}  // namespace zcd
