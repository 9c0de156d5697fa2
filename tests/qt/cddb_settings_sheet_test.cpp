#include "cddb/ui/cddb_settings_sheet.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

#include "app/settings_file.h"
#include "app/ui/qt_dialog_launcher.h"
#include "cddb/ui/connection_pages.h"
#include "discdb/database.h"
#include "qt/launcher_owner.h"
#include "qt/modal_dialog.h"
#include "qt/user_input.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::Click;
using test::ClickBox;
using test::Type;

enum Page { kServers, kProxy, kQuerying, kSubmitting, kNetworkDebug };

QWidget* PageOf(const QWidget& sheet, Page page) {
  return sheet.findChild<QTabWidget*>()->widget(page);
}

template <typename T = QPushButton>
T* Named(const QWidget& sheet, Page page, const QString& name_or_text) {
  for (T* widget : PageOf(sheet, page)->findChildren<T*>()) {
    if (widget->objectName() == name_or_text)
      return widget;
    if constexpr (std::is_base_of_v<QAbstractButton, T>) {
      if (widget->text() == name_or_text)
        return widget;
    }
  }
  ADD_FAILURE() << "no " << name_or_text.toStdString();
  return nullptr;
}

QPushButton* Apply(const QWidget& sheet) {
  return sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Apply);
}

using test::AnswerNextBox;
using Box = test::SeenBox;

QStringList Row(const QTreeWidget& list, int row) {
  QStringList cells;
  for (int i = 0; i < list.columnCount(); ++i)
    cells << list.topLevelItem(row)->text(i);
  return cells;
}

void Select(QTreeWidget& list, std::initializer_list<int> rows) {
  list.clearSelection();
  for (int row : rows)
    list.topLevelItem(row)->setSelected(true);
}

Settings TwoServers() {
  Settings s;
  s.NumServers = 3;
  s.Server = {std::string("a.example 888 CDDBP - 1 Here."), std::nullopt,
              std::string("b.example 80 HTTP /~cddb/cddb.cgi 0 St. Louis.")};
  return s;
}

class CddbSettingsSheetTest : public ::testing::Test {
 protected:
  std::unique_ptr<CddbSettingsSheet> Open(const Settings& settings, CddbSheetContext context = {}) {
    auto sheet = std::make_unique<CddbSettingsSheet>(
        settings, std::move(context),
        CddbSettingsSheet::Actions{[this](const Settings& edited) { applied_.push_back(edited); },
                                   [this] { ++closed_; }});
    sheet->show();
    QApplication::processEvents();
    return sheet;
  }

  std::vector<Settings> applied_;
  int closed_ = 0;
};

TEST_F(CddbSettingsSheetTest, ServersPageListsRowsAndHttpSwitchesThePort) {
  const auto sheet = Open(TwoServers());
  EXPECT_EQ(sheet->windowTitle(), "Zentaro CD - CDDB Settings");
  auto* tabs = sheet->findChild<QTabWidget*>();
  QStringList titles;
  for (int i = 0; i < tabs->count(); ++i)
    titles << tabs->tabText(i);
  EXPECT_EQ(titles, (QStringList{"Servers", "Proxy", "Querying", "Submitting", "Network Debug"}));

  auto* list = PageOf(*sheet, kServers)->findChild<QTreeWidget*>();
  const QStringList headers{"Server Name", "Port", "Protocol", "Default", "Location"};
  const int widths[] = {150, 50, 70, 60, 200};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(list->headerItem()->text(i), headers[i]);
    EXPECT_EQ(list->columnWidth(i), widths[i]);
  }
  // The missing Server1 is a placeholder the list leaves out.
  ASSERT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(Row(*list, 0), (QStringList{"a.example", "888", "CDDBP", "yes", "Here"}));
  EXPECT_EQ(Row(*list, 1), (QStringList{"b.example/~cddb/cddb.cgi", "80", "HTTP", "", "St"}));
  EXPECT_EQ(Named<QLabel>(*sheet, kServers, "status")->text(), "2 servers listed");
  EXPECT_FALSE(Apply(*sheet)->isEnabled());

  auto* protocol = PageOf(*sheet, kServers)->findChild<QComboBox*>();
  auto* port = Named<QLineEdit>(*sheet, kServers, "port");
  EXPECT_EQ(protocol->currentText(), "CDDBP");
  EXPECT_EQ(port->text(), "888");
  protocol->setCurrentText("HTTP");
  EXPECT_EQ(port->text(), "80");
  protocol->setCurrentText("CDDBP");
  EXPECT_EQ(port->text(), "888");
}

TEST_F(CddbSettingsSheetTest, AddRefusesBlanksAndHttpWithoutPathAndAppliesTheRows) {
  const auto sheet = Open(Settings{});
  auto* list = PageOf(*sheet, kServers)->findChild<QTreeWidget*>();
  auto* host = Named<QLineEdit>(*sheet, kServers, "host");
  auto* protocol = PageOf(*sheet, kServers)->findChild<QComboBox*>();
  QPushButton* add = Named(*sheet, kServers, "Add");

  Click(add);  // no host: nothing
  EXPECT_EQ(list->topLevelItemCount(), 0);
  struct Case {
    const char* host;
    const char* protocol;
    const char* message_start;
  };
  const Case refused[] = {
      {"my host", "CDDBP", "A server name cannot contain blanks."},
      {"web.example/ ~cddb", "HTTP", "A server name cannot contain blanks."},
      {"web.example", "HTTP",
       "You must specify the cddb cgi path for http servers with the hostname.\neg: "},
  };
  for (const Case& c : refused) {
    protocol->setCurrentText(c.protocol);
    host->setText(c.host);
    Box seen;
    AnswerNextBox(seen);
    Click(add);
    EXPECT_EQ(seen.caption, "ZCD Add Host") << c.host;
    EXPECT_TRUE(seen.text.startsWith(c.message_start)) << seen.text.toStdString();
    EXPECT_EQ(list->topLevelItemCount(), 0) << c.host;
  }
  EXPECT_FALSE(Apply(*sheet)->isEnabled());

  host->setText("web.example/~cddb/cddb.cgi");
  Click(add);
  protocol->setCurrentText("CDDBP");
  host->setText("c.example");
  Click(add);
  ASSERT_EQ(list->topLevelItemCount(), 2);
  // The first server of an empty list becomes the default.
  EXPECT_EQ(Row(*list, 0), (QStringList{"web.example/~cddb/cddb.cgi", "80", "HTTP", "yes", ""}));
  EXPECT_EQ(Row(*list, 1), (QStringList{"c.example", "888", "CDDBP", "", ""}));
  EXPECT_EQ(Named<QLabel>(*sheet, kServers, "status")->text(), "2 servers listed");

  Click(Apply(*sheet));
  ASSERT_EQ(applied_.size(), 1u);
  EXPECT_EQ(applied_[0].NumServers, 2);
  EXPECT_EQ(applied_[0].Server,
            (std::vector<std::optional<std::string>>{"web.example 80 HTTP /~cddb/cddb.cgi 1 .",
                                                     "c.example 888 CDDBP - 0 ."}));
}

TEST_F(CddbSettingsSheetTest, DefaultAndDeleteFollowTheSelection) {
  Settings settings = TwoServers();
  settings.Server[1] = "m.example 888 CDDBP - 0 Middle.";
  const auto sheet = Open(settings);
  auto* list = PageOf(*sheet, kServers)->findChild<QTreeWidget*>();
  QPushButton* set_default = Named(*sheet, kServers, "Set Default");
  QPushButton* connect = Named(*sheet, kServers, "Connect");
  EXPECT_FALSE(set_default->isEnabled());
  Select(*list, {2});
  EXPECT_TRUE(set_default->isEnabled());
  EXPECT_FALSE(connect->isEnabled());  // nothing to query with yet
  Click(set_default);
  EXPECT_EQ(list->topLevelItem(0)->text(3), "");
  EXPECT_EQ(list->topLevelItem(2)->text(3), "yes");
  Select(*list, {0, 1});
  EXPECT_FALSE(set_default->isEnabled());

  emit list->itemDoubleClicked(list->topLevelItem(1), 0);
  EXPECT_EQ(list->topLevelItem(1)->text(3), "yes");
  EXPECT_EQ(list->topLevelItem(2)->text(3), "");

  Box seen;
  AnswerNextBox(seen, QMessageBox::No);
  Click(Named(*sheet, kServers, "Delete"));
  EXPECT_EQ(seen.caption, "Confirm Delete");
  EXPECT_EQ(seen.text, "Are you sure you want to delete the selected servers?");
  EXPECT_EQ(list->topLevelItemCount(), 3);
  // Deleting the default passes it to the row after it.
  AnswerNextBox(seen, QMessageBox::Yes);
  Click(Named(*sheet, kServers, "Delete"));
  ASSERT_EQ(list->topLevelItemCount(), 1);
  EXPECT_EQ(Row(*list, 0)[0], "b.example/~cddb/cddb.cgi");
  EXPECT_EQ(Row(*list, 0)[3], "yes");
  EXPECT_EQ(Named<QLabel>(*sheet, kServers, "status")->text(), "1 servers listed");
}

TEST_F(CddbSettingsSheetTest, GetServersAndConnectGoThroughThePlayersActions) {
  std::function<void(std::optional<std::string>)> deliver;
  std::vector<ServerEntry> queried;
  ConnectOutcome outcome = ConnectOutcome::kNoDisc;
  CddbSheetContext context;
  context.actions.fetch_servers = [&](auto done) { deliver = std::move(done); };
  context.actions.connect = [&](const ServerEntry& server) {
    queried.push_back(server);
    return outcome;
  };
  Settings settings;
  settings.UseProxy = 1;
  const auto sheet = Open(settings, std::move(context));
  auto* list = PageOf(*sheet, kServers)->findChild<QTreeWidget*>();
  QPushButton* get = Named(*sheet, kServers, "Get Servers");
  QLabel* status = Named<QLabel>(*sheet, kServers, "status");

  Click(get);
  EXPECT_FALSE(get->isEnabled());
  EXPECT_EQ(status->text(), "Getting server list");
  Box seen;
  AnswerNextBox(seen);
  deliver(std::nullopt);
  EXPECT_EQ(seen.text,
            "There was a problem retrieving the sites.\nCheck your settings and try again.");
  EXPECT_TRUE(get->isEnabled());
  EXPECT_EQ(status->text(), "0 servers listed");

  Click(get);
  deliver(
      "210 OK, site information follows\r\n"
      "s.example cddbp 8880 - N000.00 W000.00 Somewhere\r\n"
      "s.example smtp 25 - N000.00 W000.00 Mail\r\n"
      "s.example http 80 /~cddb/cddb.cgi N000.00 W000.00 Web\r\n.\r\n");
  ASSERT_EQ(list->topLevelItemCount(), 2);
  // Fetched into an empty list through a proxy: the HTTP site is the default.
  EXPECT_EQ(Row(*list, 1), (QStringList{"s.example/~cddb/cddb.cgi", "80", "HTTP", "yes", "Web"}));
  EXPECT_EQ(status->text(), "2 servers listed");
  EXPECT_TRUE(Apply(*sheet)->isEnabled());

  Select(*list, {1});
  QPushButton* connect = Named(*sheet, kServers, "Connect");
  ASSERT_TRUE(connect->isEnabled());
  AnswerNextBox(seen);
  Click(connect);
  EXPECT_EQ(seen.text, "There is no CD in the drive");
  outcome = ConnectOutcome::kQueryRunning;
  Click(connect);
  EXPECT_EQ(status->text(), "There is already a query in progress");
  outcome = ConnectOutcome::kStarted;
  Click(connect);
  EXPECT_EQ(status->text(), "Connecting to s.example:80 (HTTP)");
  ASSERT_EQ(queried.size(), 3u);
  EXPECT_EQ(queried[2], (ServerEntry{"s.example", 80, 1, "Web", "HTTP", "/~cddb/cddb.cgi"}));
}

TEST_F(CddbSettingsSheetTest, ProxyBoxesFollowTheirChecksAndApplyKeepsTheInvariants) {
  Settings settings;
  settings.HostName = "gate";
  settings.Port = 3128;
  const auto sheet = Open(settings);
  auto* use_proxy = Named<QCheckBox>(*sheet, kProxy, "Connect Through Proxy Server");
  auto* use_auth = Named<QCheckBox>(*sheet, kProxy, "Proxy Requires Authentication");
  auto* host = Named<QLineEdit>(*sheet, kProxy, "host");
  auto* user = Named<QLineEdit>(*sheet, kProxy, "user");
  auto* password = Named<QLineEdit>(*sheet, kProxy, "password");
  EXPECT_FALSE(host->isEnabled());
  EXPECT_FALSE(use_auth->isEnabled());
  ClickBox(use_proxy);
  EXPECT_TRUE(host->isEnabled());
  EXPECT_FALSE(user->isEnabled());
  ClickBox(use_auth);
  EXPECT_TRUE(user->isEnabled());
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  Type(user, "me");  // no password: no authentication
  Click(Apply(*sheet));
  ASSERT_EQ(applied_.size(), 1u);
  EXPECT_EQ(applied_[0].UseProxy, 1);
  EXPECT_EQ(applied_[0].useProxyAuth, 0);
  EXPECT_EQ(applied_[0].Username, "me");
  EXPECT_FALSE(applied_[0].Password);

  host->clear();  // a proxy without a host is no proxy
  ClickBox(use_auth);
  ClickBox(use_auth);
  Click(Apply(*sheet));
  ASSERT_EQ(applied_.size(), 2u);
  EXPECT_EQ(applied_[1].UseProxy, 0);
  EXPECT_FALSE(applied_[1].HostName);
}

TEST_F(CddbSettingsSheetTest, QueryingBoxesDependAndTheCachedPassCounts) {
  Settings settings;
  settings.AutoInfo = 0;
  settings.NoQueryData = 1;
  settings.CacheQuery = 1;
  settings.NoCacheData = 1;
  std::function<void(int)> counted;
  bool busy = true;
  CddbSheetContext context{3, "", {}};
  context.actions.query_cached = [&](auto on_count) {
    counted = std::move(on_count);
    return !busy;
  };
  const auto sheet = Open(settings, std::move(context));
  auto* auto_info = Named<QCheckBox>(*sheet, kQuerying, "Automatically obtain CD info from CDDB");
  auto* no_query_data =
      Named<QCheckBox>(*sheet, kQuerying, "Don't automatically query CDDB for data CD's");
  auto* cache = Named<QCheckBox>(*sheet, kQuerying, "Enable Caching CD's");
  auto* no_cache_data = Named<QCheckBox>(*sheet, kQuerying, "Don't cache data CD's");
  EXPECT_FALSE(no_query_data->isEnabled());
  EXPECT_TRUE(no_query_data->isChecked());
  EXPECT_TRUE(no_cache_data->isEnabled());
  ClickBox(auto_info);
  EXPECT_TRUE(no_query_data->isEnabled());
  ClickBox(cache);
  EXPECT_FALSE(no_cache_data->isEnabled());
  EXPECT_TRUE(Apply(*sheet)->isEnabled());
  Click(Apply(*sheet));
  ASSERT_EQ(applied_.size(), 1u);
  EXPECT_EQ((std::vector<int>{applied_[0].AutoInfo, applied_[0].NoQueryData, applied_[0].CacheQuery,
                              applied_[0].NoCacheData}),
            (std::vector<int>{1, 1, 0, 1}));

  QLabel* count = Named<QLabel>(*sheet, kQuerying, "cached_count");
  QPushButton* query = Named(*sheet, kQuerying, "Query all cached CD's");
  EXPECT_EQ(count->text(), "3 entries cached");
  Click(query);
  EXPECT_EQ(count->text(), "query in progress");
  busy = false;
  Click(query);
  counted(1);
  EXPECT_EQ(count->text(), "1 entry cached");
  counted(0);
  EXPECT_EQ(count->text(), "0 entries cached");
  EXPECT_FALSE(query->isEnabled());
}

TEST_F(CddbSettingsSheetTest, PagesRefuseABrokenAddressAndAnOverlongLogPath) {
  const auto sheet = Open(Settings{}, {0, "/data/ZCDNetLog.txt", {}});
  EXPECT_EQ(Named<QLineEdit>(*sheet, kNetworkDebug, "log_file")->text(), "/data/ZCDNetLog.txt");
  EXPECT_EQ(PageOf(*sheet, kNetworkDebug)->findChild<QSpinBox*>()->maximum(), 999);
  auto* page = static_cast<NetworkDebugPage*>(PageOf(*sheet, kNetworkDebug));
  const QString too_long = "/" + QString(300, 'x') + ".txt";
  page->set_file_chooser([&](const QString&) { return too_long; });
  Box seen;
  AnswerNextBox(seen);
  Click(Named(*sheet, kNetworkDebug, "..."));
  EXPECT_TRUE(seen.text.startsWith("The log file's path is too long")) << seen.text.toStdString();
  EXPECT_EQ(Named<QLineEdit>(*sheet, kNetworkDebug, "log_file")->text(), "/data/ZCDNetLog.txt");

  auto* address = Named<QLineEdit>(*sheet, kSubmitting, "user_email");
  Type(Named<QLineEdit>(*sheet, kSubmitting, "smtp_server"), "mail.example");
  address->setText("me@example.org\r\nRCPT TO:<x@y>");
  AnswerNextBox(seen);
  sheet->accept();  // OK stays open
  EXPECT_TRUE(seen.text.startsWith("Your email address must be on one line."));
  EXPECT_TRUE(sheet->isVisible());
  EXPECT_TRUE(applied_.empty());
  EXPECT_EQ(sheet->findChild<QTabWidget*>()->currentIndex(), kSubmitting);
  address->setText("me@example.org");
  auto* submit_address = Named<QLineEdit>(*sheet, kSubmitting, "submit_address");
  EXPECT_EQ(submit_address->placeholderText(), "submit@gnudb.org");
  submit_address->setText("submit@cddb.example\nDATA");
  AnswerNextBox(seen);
  sheet->accept();
  EXPECT_TRUE(seen.text.startsWith("The submission address must be on one line."));
  EXPECT_TRUE(applied_.empty());
  submit_address->clear();
  sheet->accept();
  ASSERT_EQ(applied_.size(), 1u);
  EXPECT_EQ(applied_[0].SubmitAddress, std::nullopt);
  EXPECT_EQ(applied_[0].SubmitMethod, kSubmitByMail);
  EXPECT_EQ(applied_[0].UserEmail, "me@example.org");
  EXPECT_EQ(applied_[0].SmtpServer, "mail.example");
  EXPECT_EQ(applied_[0].LogFile, "/data/ZCDNetLog.txt");
  EXPECT_EQ(closed_, 1);
}

using Owner = test::LauncherOwner;

TEST(CddbSettingsLauncherTest, OpensOnceAtTheAskedPageAndClosingWritesTheServers) {
  test::TempDir dir;
  ASSERT_EQ(DbAddEntry(dir.File("ZCD.zdb"), "cached/0c01a202", "300 cached 0c01a202\r\n.\r\n"), 1);
  Owner owner(dir);
  QWidget parent;
  QtDialogLauncher launcher(owner, &parent);
  ASSERT_TRUE(launcher.Available(Dialog::kCddbSettings));
  launcher.Open(Dialog::kCddbSettings, CddbSettingsSheet::kSubmittingPage);
  auto* sheet = parent.findChild<CddbSettingsSheet*>();
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->findChild<QTabWidget*>()->currentIndex(), kSubmitting);
  EXPECT_EQ(Named<QLabel>(*sheet, kQuerying, "cached_count")->text(), "1 entry cached");
  EXPECT_EQ(Named<QLineEdit>(*sheet, kNetworkDebug, "log_file")->text(),
            QString::fromStdString(dir.File("ZCDNetLog.txt")));
  launcher.Open(Dialog::kCddbSettings, 0);
  EXPECT_EQ(parent.findChildren<CddbSettingsSheet*>().size(), 1);
  EXPECT_EQ(sheet->findChild<QTabWidget*>()->currentIndex(), kSubmitting);

  // HTTP leaves the mail's boxes aside but keeps what they hold.
  auto* smtp_server = Named<QLineEdit>(*sheet, kSubmitting, "smtp_server");
  auto* by_http = Named<QRadioButton>(*sheet, kSubmitting, "by_http");
  EXPECT_TRUE(smtp_server->isEnabled());
  EXPECT_FALSE(Apply(*sheet)->isEnabled());
  ClickBox(by_http);
  EXPECT_FALSE(smtp_server->isEnabled());
  EXPECT_TRUE(Apply(*sheet)->isEnabled());
  ClickBox(Named<QRadioButton>(*sheet, kSubmitting, "by_mail"));
  Type(Named<QLineEdit>(*sheet, kSubmitting, "submit_address"), "entries@cddb.example");
  ClickBox(by_http);
  ClickBox(Named<QCheckBox>(*sheet, kNetworkDebug, "Send my e-mail address in the hello"));

  owner.PlayerSettings().SkinName = "Changed meanwhile";
  sheet->findChild<QTabWidget*>()->setCurrentIndex(kServers);
  Named<QLineEdit>(*sheet, kServers, "host")->setText("x.example");
  Click(Named(*sheet, kServers, "Add"));
  sheet->accept();
  EXPECT_EQ(owner.PlayerSettings().SkinName, "Changed meanwhile");
  const std::string ini = dir.Read("ZCD.ini");
  EXPECT_NE(ini.find("[Servers]\r\nNumServers=1\r\nServer0=x.example 888 CDDBP - 1 .\r\n"),
            std::string::npos)
      << ini;
  EXPECT_NE(ini.find("SubmitAddress=entries@cddb.example\r\nSubmitMethod=1\r\n"), std::string::npos)
      << ini;
  EXPECT_NE(ini.find("EmailHello=1\r\n"), std::string::npos) << ini;
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(parent.findChildren<CddbSettingsSheet*>().isEmpty());
}

}  // namespace
}  // namespace zcd
