#include "cddb/ui/inexact_match_dialog.h"

#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <iterator>

#include "cddb/query_text.h"
#include "platform/qt/windows1252.h"

namespace zcd {
namespace {

struct Column {
  const char* title;
  int width;
};
constexpr Column kColumns[] = {{"Title", 250}, {"Category", 80}, {"Disc Id", 80}};

QTreeWidget* MatchList(const std::string& reply, QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  QStringList titles;
  for (const Column& column : kColumns)
    titles << column.title;
  list->setHeaderLabels(titles);
  int columns_width = 0;
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    list->setColumnWidth(i, kColumns[i].width);
    columns_width += kColumns[i].width;
  }
  // Wide enough for every column beside a vertical scroll bar.
  list->setMinimumWidth(columns_width + 2 * list->frameWidth() +
                        list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  list->header()->setStretchLastSection(false);
  list->setRootIsDecorated(false);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setAllColumnsShowFocus(true);
  // Row i is match i: the caller reads the reply's match by this index.
  for (const CddbMatch& match : ParseMatches(reply)) {
    new QTreeWidgetItem(list, {FromWindows1252(match.title), FromWindows1252(match.category),
                               FromWindows1252(match.disc_id)});
  }
  return list;
}

}  // namespace

int RunInexactMatchDialog(QWidget* parent, const std::string& reply) {
  QDialog dialog(parent);
  dialog.setWindowTitle("Zentaro CD Inexact Match");
  auto* group = new QGroupBox("Pick the entry that matches your CD", &dialog);
  QTreeWidget* list = MatchList(reply, group);
  auto* ok = new QPushButton("OK", &dialog);
  auto* none = new QPushButton("None", &dialog);
  ok->setDefault(true);

  auto* group_layout = new QVBoxLayout(group);
  group_layout->addWidget(list);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(none);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(group);
  layout->addLayout(buttons);

  // Closing the window (Esc, the close box) offers no match, so it counts
  // as None.
  int chosen = -1;
  QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    chosen = selected.isEmpty() ? 0 : list->indexOfTopLevelItem(selected.front());
    dialog.accept();
  });
  QObject::connect(list, &QTreeWidget::itemDoubleClicked, &dialog, [&](QTreeWidgetItem* item) {
    chosen = list->indexOfTopLevelItem(item);
    dialog.accept();
  });
  QObject::connect(none, &QPushButton::clicked, &dialog, [&] {
    chosen = -1;
    dialog.reject();
  });
  dialog.exec();
  return chosen;
}

}  // namespace zcd
