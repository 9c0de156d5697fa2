#include "cddb/ui/inexact_match_dialog.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>
#include <string>

#include "qt/modal_dialog.h"
#include "qt/user_input.h"

namespace zcd {
namespace {

using test::ClickButton;
using test::WhenModal;

// Three close matches as a server sends them: CR LF line ends, blanks and
// Windows-1252 bytes in the titles, the closing dot.
const std::string kReply =
    "211 Found inexact matches, list follows (until terminating `.')\r\n"
    "rock 0c01a202 Some Artist / First Album\r\n"
    "blues 0d01a203 Other  Band / Second Album \r\n"
    "misc 0e01a204 Caf\xe9 \x80uro / Live\r\n"
    ".\r\n";

QTreeWidget* ListOf(const QDialog& dialog) {
  return dialog.findChild<QTreeWidget*>();
}

QStringList Row(const QTreeWidget& list, int row) {
  QStringList cells;
  for (int i = 0; i < list.columnCount(); ++i)
    cells << list.topLevelItem(row)->text(i);
  return cells;
}

QPointF RowCentre(const QTreeWidget& list, int row) {
  return QRectF(list.visualItemRect(list.topLevelItem(row))).center();
}

void ClickRow(const QDialog& dialog, int row) {
  QTreeWidget* list = ListOf(dialog);
  test::ClickAt(list->viewport(), RowCentre(*list, row));
}

TEST(InexactMatchDialogTest, ListsTheMatchesInReplyOrder) {
  WhenModal([&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Zentaro CD Inexact Match");
    EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), "Pick the entry that matches your CD");
    QTreeWidget* list = ListOf(dialog);
    QStringList headers;
    std::vector<int> widths;
    for (int i = 0; i < list->columnCount(); ++i) {
      headers << list->headerItem()->text(i);
      widths.push_back(list->columnWidth(i));
    }
    EXPECT_EQ(headers, (QStringList{"Title", "Category", "Disc Id"}));
    EXPECT_EQ(widths, (std::vector<int>{250, 80, 80}));
    std::vector<QStringList> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      rows.push_back(Row(*list, i));
    EXPECT_EQ(rows, (std::vector<QStringList>{
                        {"Some Artist / First Album", "rock", "0c01a202"},
                        {"Other  Band / Second Album ", "blues", "0d01a203"},
                        {QString::fromUtf8("Caf\u00e9 \u20acuro / Live"), "misc", "0e01a204"},
                    }));
    EXPECT_FALSE(list->rootIsDecorated());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(test::ButtonTexts(dialog), (QStringList{"OK", "None"}));
    ClickButton(dialog, "None");
  });
  EXPECT_EQ(RunInexactMatchDialog(nullptr, kReply), -1);
}

TEST(InexactMatchDialogTest, AnswersWithTheChosenRow) {
  enum class Close { kOk, kNone, kDoubleClickThird, kEscape, kCloseBox };
  const struct {
    int selected;  // -1: no row clicked
    Close close;
    int chosen;
    const char* reply = nullptr;  // none: the three matches
  } cases[] = {
      {-1, Close::kOk, 0},
      {1, Close::kOk, 1},
      {0, Close::kDoubleClickThird, 2},
      {1, Close::kNone, -1},
      {2, Close::kEscape, -1},
      {2, Close::kCloseBox, -1},
      {-1, Close::kOk, 0, "211 Found inexact matches\r\n.\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.selected) + ", closed by " + std::to_string(int(c.close)));
    WhenModal([&c](QDialog& d) {
      QTreeWidget* list = ListOf(d);
      EXPECT_EQ(list->topLevelItemCount(), c.reply ? 0 : 3);
      if (c.selected >= 0)
        ClickRow(d, c.selected);
      if (c.close == Close::kOk || c.close == Close::kNone)
        ClickButton(d, c.close == Close::kOk ? "OK" : "None");
      else if (c.close == Close::kDoubleClickThird)
        test::DoubleClickAt(list->viewport(), RowCentre(*list, 2));
      else if (c.close == Close::kEscape)
        test::PressKey(list, Qt::Key_Escape);
      else
        d.close();
    });
    EXPECT_EQ(RunInexactMatchDialog(nullptr, c.reply ? c.reply : kReply), c.chosen);
  }
}

}  // namespace
}  // namespace zcd
