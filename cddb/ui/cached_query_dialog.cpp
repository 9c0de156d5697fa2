#include "cddb/ui/cached_query_dialog.h"

#include <QButtonGroup>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zcd {
namespace {

struct Option {
  const char* text;
  CachedQueryChoice choice;
};
constexpr Option kOptions[] = {
    {"Retry current CD", CachedQueryChoice::kRetry},
    {"Ignore current CD and continue", CachedQueryChoice::kIgnore},
    {"Remove current CD from database", CachedQueryChoice::kRemove},
    {"Stop querying cached CD's", CachedQueryChoice::kStop},
};

}  // namespace

CachedQueryChoice RunCachedQueryDialog(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle("Zentaro CD - Cached CD Query");
  auto* text = new QLabel(
      "The current CD being queried either failed to find a match or could not connect to the "
      "CDDB. Your options are:",
      &dialog);
  text->setWordWrap(true);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(text);
  auto* options = new QButtonGroup(&dialog);
  for (const Option& option : kOptions) {
    auto* button = new QRadioButton(option.text, &dialog);
    options->addButton(button, static_cast<int>(option.choice));
    layout->addWidget(button);
  }
  options->button(static_cast<int>(CachedQueryChoice::kRetry))->setChecked(true);
  auto* ok = new QPushButton("OK", &dialog);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  layout->addLayout(buttons);

  dialog.exec();
  const int checked = options->checkedId();
  for (const Option& option : kOptions) {
    if (static_cast<int>(option.choice) == checked)
      return option.choice;
  }
  return CachedQueryChoice::kStop;
}

}  // namespace zcd
