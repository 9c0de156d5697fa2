#include "cddb/ui/lookup_pages.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "cddb/sheet_settings.h"
#include "platform/qt/windows1252.h"

namespace zcd {
namespace {

QLabel* Note(QWidget* page, const QString& text) {
  auto* label = new QLabel(text, page);
  label->setWordWrap(true);
  return label;
}

// dependent is usable only while leader is checked.
void Follow(QCheckBox* dependent, QCheckBox* leader) {
  dependent->setEnabled(leader->isChecked());
  QObject::connect(leader, &QCheckBox::toggled, dependent, &QCheckBox::setEnabled);
}

std::optional<std::string> NoneWhenEmpty(const QLineEdit* box) {
  if (box->text().isEmpty())
    return std::nullopt;
  return ToWindows1252(box->text());
}

}  // namespace

QueryingPage::QueryingPage(const Settings& settings, int cached_count, const CddbActions& actions,
                           std::function<void()> changed, QWidget* parent)
    : SheetPage(parent),
      controls_(std::move(changed)),
      actions_(actions),
      count_(new QLabel(this)),
      query_cached_(new QPushButton("Query all cached CD's", this)) {
  QCheckBox* auto_info =
      controls_.Check(this, "Automatically obtain CD info from CDDB", &Settings::AutoInfo);
  QCheckBox* no_query_data =
      controls_.Check(this, "Don't automatically query CDDB for data CD's", &Settings::NoQueryData);
  QCheckBox* no_fuzzy =
      controls_.Check(this, "Don't display choices for inexact matches (first close match chosen)",
                      &Settings::NoFuzzyMatch);
  QCheckBox* cache = controls_.Check(this, "Enable Caching CD's", &Settings::CacheQuery);
  QCheckBox* no_cache_data = controls_.Check(this, "Don't cache data CD's", &Settings::NoCacheData);
  controls_.Load(settings);
  Follow(no_query_data, auto_info);
  Follow(no_cache_data, cache);
  count_->setObjectName("cached_count");
  ShowCount(cached_count);
  connect(query_cached_, &QPushButton::clicked, this, &QueryingPage::QueryCached);

  auto* querying = new QGroupBox("CD Querying", this);
  auto* querying_layout = new QVBoxLayout(querying);
  for (QCheckBox* box : {auto_info, no_query_data, no_fuzzy})
    querying_layout->addWidget(box);
  querying_layout->addWidget(Note(querying,
                                  "If CDPlayer.ini importing is enabled, auto CDDB querying will "
                                  "only occur if the CD is not found in the ini file. (See ZCD "
                                  "Database->Import)"));
  auto* caching = new QGroupBox("CD Caching", this);
  auto* caching_layout = new QVBoxLayout(caching);
  caching_layout->addWidget(cache);
  caching_layout->addWidget(no_cache_data);
  caching_layout->addWidget(
      Note(caching,
           "With caching enabled, CD's will be cached even when there is an internet "
           "connection."));
  caching_layout->addWidget(count_);
  caching_layout->addWidget(query_cached_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(querying);
  layout->addWidget(caching);
  layout->addStretch();
}

void QueryingPage::Store(Settings& settings) const {
  controls_.Store(settings);
}

void QueryingPage::ShowCount(int count) {
  count_->setText(QString::fromStdString(CachedCountText(count)));
  query_cached_->setEnabled(count != 0 && actions_.query_cached);
}

void QueryingPage::QueryCached() {
  QPointer<QueryingPage> page(this);
  // The pass may outlive the page; its counts then go nowhere.
  const bool started = actions_.query_cached([page](int cached) {
    if (page)
      page->ShowCount(cached);
  });
  if (!started)
    count_->setText("query in progress");
}

SubmittingPage::SubmittingPage(const Settings& settings, std::function<void()> changed,
                               QWidget* parent)
    : SheetPage(parent),
      by_mail_(new QRadioButton("Submit by mail", this)),
      by_http_(new QRadioButton("Submit over HTTP to the default server", this)),
      server_(new QLineEdit(FromWindows1252(settings.SmtpServer.value_or("")), this)),
      submit_address_(new QLineEdit(FromWindows1252(settings.SubmitAddress.value_or("")), this)),
      address_(new QLineEdit(FromWindows1252(settings.UserEmail.value_or("")), this)) {
  by_mail_->setObjectName("by_mail");
  by_http_->setObjectName("by_http");
  server_->setObjectName("smtp_server");
  submit_address_->setObjectName("submit_address");
  submit_address_->setPlaceholderText(kDefaultSubmitAddress);
  address_->setObjectName("user_email");
  for (QLineEdit* box : {server_, submit_address_, address_}) {
    box->setMaxLength(static_cast<int>(kMaxShortText));
    connect(box, &QLineEdit::textEdited, this, [changed] { changed(); });
  }
  (settings.SubmitMethod == kSubmitByHttp ? by_http_ : by_mail_)->setChecked(true);
  // The mail's boxes matter only while mail is chosen.
  for (QLineEdit* box : {server_, submit_address_}) {
    box->setEnabled(by_mail_->isChecked());
    connect(by_mail_, &QRadioButton::toggled, box, &QLineEdit::setEnabled);
  }
  connect(by_mail_, &QRadioButton::clicked, this, [changed] { changed(); });
  connect(by_http_, &QRadioButton::clicked, this, [changed] { changed(); });

  auto* boxes = new QFormLayout;
  boxes->addRow(by_mail_);
  boxes->addRow("Outgoing mail server", server_);
  boxes->addRow("Submission address", submit_address_);
  boxes->addRow(by_http_);
  boxes->addRow("Your email address", address_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(boxes);
  layout->addWidget(Note(this,
                         "Your email address is required for notification of failed "
                         "submissions. Successful submissions give no notification. Submissions "
                         "normally take 24 hours to be entered in the CD database."));
  layout->addStretch();
}

bool SubmittingPage::Check() {
  // The addresses go into the mail's commands, where a line break would
  // start a command of its own.
  const auto one_line = [](const QLineEdit* box) {
    return !box->text().contains('\r') && !box->text().contains('\n');
  };
  if (one_line(address_) && one_line(submit_address_))
    return true;
  QMessageBox::warning(this, "Zentaro CD",
                       one_line(address_)
                           ? "The submission address must be on one line.\nPlease remove the "
                             "line break."
                           : "Your email address must be on one line.\nPlease remove the line "
                             "break.");
  return false;
}

void SubmittingPage::Store(Settings& settings) const {
  settings.SubmitMethod = by_http_->isChecked() ? kSubmitByHttp : kSubmitByMail;
  settings.SmtpServer = NoneWhenEmpty(server_);
  settings.SubmitAddress = NoneWhenEmpty(submit_address_);
  settings.UserEmail = NoneWhenEmpty(address_);
}

}  // namespace zcd
