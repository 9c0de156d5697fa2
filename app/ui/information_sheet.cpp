#include "app/ui/information_sheet.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/ui/help_text.h"

namespace zcd {
namespace {

QWidget* MakeCreatorsPage(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::RichText);
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  label->setText(
      "<h2>Zentaro CD</h2>"
      "<p>Version " ZCD_VERSION
      "</p>"
      "<p>A skinned player for audio compact discs.</p>"
      "<p>Made by the Zentaro CD team: the player, its built-in skin, the disc database and "
      "this help.</p>"
      "<p>Thanks to everyone who shares disc information and skins.</p>");
  return label;
}

QWidget* MakeHelpPage(QWidget* parent) {
  auto* browser = new QTextBrowser(parent);
  browser->setHtml(HelpPageHtml());
  return browser;
}

}  // namespace

InformationSheet::InformationSheet(Actions actions, QWidget* parent)
    : QDialog(parent), actions_(std::move(actions)), tabs_(new QTabWidget(this)) {
  setWindowTitle("Zentaro CD Information");
  setModal(false);
  // "&&" is a literal "&" in a tab's text; a single one would be a shortcut.
  tabs_->addTab(MakeCreatorsPage(tabs_), "Creators");
  tabs_->addTab(MakeHelpPage(tabs_), "Help && Tips");

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
  resize(520, 440);
}

void InformationSheet::ShowFirstPage() {
  tabs_->setCurrentIndex(0);
  show();
  raise();
  activateWindow();
}

// Close, Escape and the window's close box all end here; a sheet already
// closed reports nothing more.
void InformationSheet::done(int result) {
  const bool was_open = isVisible();
  QDialog::done(result);
  if (was_open && actions_.closed)
    actions_.closed();
}

}  // namespace zcd
