#include "cddb/ui/connection_pages.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "cddb/sheet_settings.h"
#include "platform/qt/windows1252.h"

namespace zcd {
namespace {

constexpr int kMaxTimeout = 999;
constexpr char kLogFileName[] = "ZCDNetLog.txt";

QLineEdit* TextBox(QWidget* page, const std::optional<std::string>& value,
                   const std::function<void()>& changed) {
  auto* box = new QLineEdit(FromWindows1252(value.value_or("")), page);
  box->setMaxLength(static_cast<int>(kMaxShortText));
  QObject::connect(box, &QLineEdit::textEdited, page, [changed] { changed(); });
  return box;
}

QLabel* Note(QWidget* page, const QString& text) {
  auto* label = new QLabel(text, page);
  label->setWordWrap(true);
  return label;
}

std::optional<QString> ChooseTextFile(QWidget* parent, const QString& from) {
  QFileDialog dialog(parent, QString(), from, "Text files (*.txt)");
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix("txt");
  dialog.selectFile(kLogFileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return dialog.selectedFiles().front();
}

}  // namespace

ProxyPage::ProxyPage(const Settings& settings, std::function<void()> changed, QWidget* parent)
    : SheetPage(parent),
      use_proxy_(new QCheckBox("Connect Through Proxy Server", this)),
      host_(TextBox(this, settings.HostName, changed)),
      port_(new QLineEdit(settings.Port != 0 ? QString::number(settings.Port) : "", this)),
      use_auth_(new QCheckBox("Proxy Requires Authentication", this)),
      user_(TextBox(this, settings.Username, changed)),
      password_(TextBox(this, settings.Password, changed)) {
  host_->setObjectName("host");
  port_->setObjectName("port");
  user_->setObjectName("user");
  password_->setObjectName("password");
  use_proxy_->setChecked(settings.UseProxy != 0);
  use_auth_->setChecked(settings.useProxyAuth != 0);
  port_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,5}"), port_));
  connect(port_, &QLineEdit::textEdited, this, [changed] { changed(); });
  password_->setEchoMode(QLineEdit::Password);
  for (QCheckBox* box : {use_proxy_, use_auth_}) {
    connect(box, &QCheckBox::toggled, this, [this, changed] {
      UpdateEnabled();
      changed();
    });
  }

  auto* server = new QFormLayout;
  server->addRow("Proxy Hostname", host_);
  server->addRow("Port", port_);
  auto* credentials = new QFormLayout;
  credentials->addRow("Proxy Username", user_);
  credentials->addRow("Proxy Password", password_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(use_proxy_);
  layout->addLayout(server);
  layout->addWidget(use_auth_);
  layout->addLayout(credentials);
  layout->addWidget(
      Note(this,
           "Connections to CDDB servers through proxies can only be established with the HTTP "
           "protocol. If you are connecting through a proxy make sure you have selected a CDDB "
           "server (on the Servers tab) that has HTTP listed beside it."));
  layout->addStretch();
  UpdateEnabled();
}

void ProxyPage::UpdateEnabled() {
  const bool proxy = use_proxy_->isChecked();
  host_->setEnabled(proxy);
  port_->setEnabled(proxy);
  use_auth_->setEnabled(proxy);
  const bool auth = proxy && use_auth_->isChecked();
  user_->setEnabled(auth);
  password_->setEnabled(auth);
}

void ProxyPage::Store(Settings& settings) const {
  StoreProxy({use_proxy_->isChecked() && use_proxy_->isEnabled(), use_auth_->isChecked(),
              ToWindows1252(host_->text()), port_->text().toStdString(),
              ToWindows1252(user_->text()), ToWindows1252(password_->text())},
             settings);
}

NetworkDebugPage::NetworkDebugPage(const Settings& settings, const std::string& default_log_file,
                                   std::function<void()> changed, QWidget* parent)
    : SheetPage(parent), controls_(changed), log_file_(new QLineEdit(this)) {
  choose_file_ = [this](const QString& from) { return ChooseTextFile(this, from); };
  QSpinBox* timeout = controls_.Number(this, &Settings::NetTimeout, kMaxTimeout);
  QCheckBox* logging = controls_.Check(this, "Enable network logging", &Settings::NetLogging);
  QCheckBox* email_hello =
      controls_.Check(this, "Send my e-mail address in the hello", &Settings::EmailHello);
  controls_.Load(settings);

  // A default path too long to keep stays unsaid: an empty box means it.
  const std::string& shown = settings.LogFile.empty() ? default_log_file : settings.LogFile;
  if (shown.size() <= kMaxLogFile)
    log_file_->setText(QString::fromStdString(shown));
  log_file_->setObjectName("log_file");
  connect(log_file_, &QLineEdit::textEdited, this, [changed] { changed(); });
  auto* browse = new QPushButton("...", this);
  connect(browse, &QPushButton::clicked, this, [this, changed] {
    if (ChooseFile())
      changed();
  });

  auto* timeout_row = new QHBoxLayout;
  timeout_row->addWidget(new QLabel("Connection Timeout", this));
  timeout_row->addWidget(timeout);
  timeout_row->addWidget(new QLabel("Seconds", this));
  timeout_row->addStretch();
  auto* file_row = new QHBoxLayout;
  file_row->addWidget(log_file_, 1);
  file_row->addWidget(browse);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(timeout_row);
  layout->addWidget(Note(this,
                         "If you have a slow connection or have 'connect failed' appearing while "
                         "querying a cd, increase this setting. It may also lengthen the time it "
                         "takes to query."));
  layout->addWidget(logging);
  layout->addWidget(new QLabel("Log to file...", this));
  layout->addLayout(file_row);
  layout->addWidget(Note(this,
                         "This will produce a log file of all network communications within ZCD. "
                         "Enable for debugging purposes."));
  layout->addWidget(email_hello);
  layout->addWidget(Note(this,
                         "Servers that ask for an e-mail address in the hello get the user and "
                         "host of the address on the Submitting page instead of this computer's "
                         "user and host names."));
  layout->addStretch();
}

bool NetworkDebugPage::ChooseFile() {
  const std::optional<QString> path = choose_file_(log_file_->text());
  if (!path || !Fits(*path))
    return false;
  log_file_->setText(*path);
  return true;
}

bool NetworkDebugPage::Fits(const QString& path) {
  if (path.toStdString().size() <= kMaxLogFile)
    return true;
  QMessageBox::warning(this, "Zentaro CD",
                       QString("The log file's path is too long: at most %1 characters fit.\n"
                               "Please choose a file in a shorter folder.")
                           .arg(kMaxLogFile));
  return false;
}

bool NetworkDebugPage::Check() {
  return Fits(log_file_->text());
}

void NetworkDebugPage::Store(Settings& settings) const {
  controls_.Store(settings);
  settings.LogFile = log_file_->text().toStdString();
}

}  // namespace zcd
