#include "cddb/ui/cached_query_dialog.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QRadioButton>
#include <functional>

#include "qt/modal_dialog.h"
#include "qt/user_input.h"

namespace zcd {
namespace {

using test::ClickButton;
using test::ClickRadio;
using test::WhenModal;

TEST(CachedQueryDialogTest, OffersFourOptionsWithRetrySelected) {
  QString title, text;
  QStringList options, buttons;
  std::vector<bool> checked;
  WhenModal([&](QDialog& dialog) {
    title = dialog.windowTitle();
    text = dialog.findChild<QLabel*>()->text();
    for (const QRadioButton* option : dialog.findChildren<QRadioButton*>()) {
      options << option->text();
      checked.push_back(option->isChecked());
    }
    buttons = test::ButtonTexts(dialog);
    ClickButton(dialog, "OK");
  });
  EXPECT_EQ(RunCachedQueryDialog(nullptr), CachedQueryChoice::kRetry);
  EXPECT_EQ(title, "Zentaro CD - Cached CD Query");
  EXPECT_EQ(text,
            "The current CD being queried either failed to find a match or could not connect to "
            "the CDDB. Your options are:");
  EXPECT_EQ(options, (QStringList{"Retry current CD", "Ignore current CD and continue",
                                  "Remove current CD from database", "Stop querying cached CD's"}));
  EXPECT_EQ(checked, (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(buttons, QStringList{"OK"});
}

struct ChoiceCase {
  const char* name;
  std::function<void(QDialog&)> act;
  CachedQueryChoice choice;
};

TEST(CachedQueryDialogTest, AnswersWithTheSelectedOptionHoweverItCloses) {
  const ChoiceCase cases[] = {
      {"ignore, OK",
       [](QDialog& d) {
         ClickRadio(d, "Ignore current CD and continue");
         ClickButton(d, "OK");
       },
       CachedQueryChoice::kIgnore},
      {"remove, OK",
       [](QDialog& d) {
         ClickRadio(d, "Remove current CD from database");
         ClickButton(d, "OK");
       },
       CachedQueryChoice::kRemove},
      {"stop, OK",
       [](QDialog& d) {
         ClickRadio(d, "Stop querying cached CD's");
         ClickButton(d, "OK");
       },
       CachedQueryChoice::kStop},
      {"remove, close box",
       [](QDialog& d) {
         ClickRadio(d, "Remove current CD from database");
         d.close();
       },
       CachedQueryChoice::kRemove},
      {"ignore, Escape",
       [](QDialog& d) {
         ClickRadio(d, "Ignore current CD and continue");
         test::PressKey(&d, Qt::Key_Escape);
       },
       CachedQueryChoice::kIgnore},
      {"close box at the start", [](QDialog& d) { d.close(); }, CachedQueryChoice::kRetry},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.name);
    WhenModal(c.act);
    EXPECT_EQ(RunCachedQueryDialog(nullptr), c.choice);
  }
}

}  // namespace
}  // namespace zcd
