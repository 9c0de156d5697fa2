#include "cddb/ui/cached_query_dialog.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QRadioButton>
#include <string>

#include "qt/modal_dialog.h"
#include "qt/user_input.h"

namespace zcd {
namespace {

using test::ClickButton;
using test::ClickRadio;
using test::WhenModal;

TEST(CachedQueryDialogTest, OffersFourOptionsWithRetrySelected) {
  WhenModal([&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Zentaro CD - Cached CD Query");
    EXPECT_EQ(dialog.findChild<QLabel*>()->text(),
              "The current CD being queried either failed to find a match or could not connect "
              "to the CDDB. Your options are:");
    QStringList options;
    std::vector<bool> checked;
    for (const QRadioButton* option : dialog.findChildren<QRadioButton*>()) {
      options << option->text();
      checked.push_back(option->isChecked());
    }
    EXPECT_EQ(options,
              (QStringList{"Retry current CD", "Ignore current CD and continue",
                           "Remove current CD from database", "Stop querying cached CD's"}));
    EXPECT_EQ(checked, (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(test::ButtonTexts(dialog), QStringList{"OK"});
    ClickButton(dialog, "OK");
  });
  EXPECT_EQ(RunCachedQueryDialog(nullptr), CachedQueryChoice::kRetry);
}

TEST(CachedQueryDialogTest, AnswersWithTheSelectedOptionHoweverItCloses) {
  enum class Close { kOk, kCloseBox, kEscape };
  const struct {
    const char* option;  // empty: Retry left selected
    Close close;
    CachedQueryChoice choice;
  } cases[] = {
      {"Ignore current CD and continue", Close::kOk, CachedQueryChoice::kIgnore},
      {"Remove current CD from database", Close::kOk, CachedQueryChoice::kRemove},
      {"Stop querying cached CD's", Close::kOk, CachedQueryChoice::kStop},
      {"Remove current CD from database", Close::kCloseBox, CachedQueryChoice::kRemove},
      {"Ignore current CD and continue", Close::kEscape, CachedQueryChoice::kIgnore},
      {"", Close::kCloseBox, CachedQueryChoice::kRetry},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.option) + ", closed by " + std::to_string(int(c.close)));
    WhenModal([&c](QDialog& d) {
      if (*c.option)
        ClickRadio(d, c.option);
      if (c.close == Close::kOk)
        ClickButton(d, "OK");
      else if (c.close == Close::kEscape)
        test::PressKey(&d, Qt::Key_Escape);
      else
        d.close();
    });
    EXPECT_EQ(RunCachedQueryDialog(nullptr), c.choice);
  }
}

}  // namespace
}  // namespace zcd
