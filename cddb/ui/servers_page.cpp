#include "cddb/ui/servers_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/windows1252.h"

namespace zcd {
namespace {

struct Column {
  const char* title;
  int width;
};
constexpr Column kColumns[] = {
    {"Server Name", 150}, {"Port", 50}, {"Protocol", 70}, {"Default", 60}, {"Location", 200}};

constexpr int kMaxHostText = 89;
constexpr int kMaxPortText = 5;
constexpr int kMaxConnectingText = 99;
constexpr char kCddbpPort[] = "888";
constexpr char kHttpPort[] = "80";
constexpr char kExampleHttpServer[] = "gnudb.gnudb.org/~cddb/cddb.cgi";
constexpr char kSiteListing[] = "https://gnudb.org";

void Warn(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox::warning(parent, caption, text);
}

}  // namespace

ServersPage::ServersPage(const Settings& settings, const CddbActions& actions,
                         std::function<void()> changed, QWidget* parent)
    : SheetPage(parent),
      actions_(actions),
      changed_(std::move(changed)),
      use_proxy_(settings.UseProxy != 0),
      rows_(RowsOf(ReadServerList(settings))),
      list_(new QTreeWidget(this)),
      host_(new QLineEdit(this)),
      port_(new QLineEdit(kCddbpPort, this)),
      protocol_(new QComboBox(this)),
      set_default_(new QPushButton("Set Default", this)),
      get_servers_(new QPushButton("Get Servers", this)),
      connect_(new QPushButton("Connect", this)),
      status_(new QLabel(this)) {
  QStringList titles;
  for (const Column& column : kColumns)
    titles << column.title;
  list_->setHeaderLabels(titles);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
    list_->setColumnWidth(i, kColumns[i].width);
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &ServersPage::SelectionChanged);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    MarkDefault(static_cast<size_t>(list_->indexOfTopLevelItem(item)));
  });

  host_->setObjectName("host");
  port_->setObjectName("port");
  status_->setObjectName("status");
  host_->setMaxLength(kMaxHostText);
  port_->setMaxLength(kMaxPortText);
  port_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,5}"), port_));
  protocol_->addItems({"CDDBP", "HTTP"});
  connect(protocol_, &QComboBox::currentTextChanged, this, [this](const QString& protocol) {
    port_->setText(protocol == "HTTP" ? kHttpPort : kCddbpPort);
  });

  auto* add = new QPushButton("Add", this);
  auto* remove = new QPushButton("Delete", this);
  connect(add, &QPushButton::clicked, this, &ServersPage::Add);
  connect(remove, &QPushButton::clicked, this, &ServersPage::Delete);
  connect(set_default_, &QPushButton::clicked, this, [this] {
    MarkDefault(Selected().empty() ? std::nullopt : std::optional(Selected()[0]));
  });
  connect(get_servers_, &QPushButton::clicked, this, &ServersPage::GetServers);
  connect(connect_, &QPushButton::clicked, this, &ServersPage::Connect);
  get_servers_->setEnabled(static_cast<bool>(actions_.fetch_servers));

  status_timer_.setSingleShot(true);
  connect(&status_timer_, &QTimer::timeout, this, &ServersPage::ShowCount);

  auto* link = new QLabel(QString("<a href=\"%1\">%1</a>").arg(kSiteListing), this);
  link->setOpenExternalLinks(true);
  link->setTextInteractionFlags(Qt::TextBrowserInteraction);

  auto* entry = new QHBoxLayout;
  entry->addWidget(new QLabel("Host", this));
  entry->addWidget(host_, 1);
  entry->addWidget(new QLabel("Port", this));
  entry->addWidget(port_);
  entry->addWidget(protocol_);
  entry->addWidget(add);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {remove, set_default_, get_servers_, connect_})
    buttons->addWidget(button);
  buttons->addStretch();
  auto* link_line = new QHBoxLayout;
  link_line->addWidget(new QLabel("CDDB site listing available at:", this));
  link_line->addWidget(link);
  link_line->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(entry);
  layout->addLayout(buttons);
  layout->addWidget(status_);
  layout->addLayout(link_line);

  Fill();
  ShowCount();
  SelectionChanged();
}

void ServersPage::Store(Settings& settings) const {
  StoreServers(rows_, settings);
}

// The list shows rows_ again, keeping the selected row numbers.
void ServersPage::Fill() {
  const std::vector<size_t> selected = Selected();
  const QSignalBlocker quiet(list_);
  list_->clear();
  for (const ServerRow& row : rows_) {
    auto* item = new QTreeWidgetItem(
        list_, {FromWindows1252(row.name), FromWindows1252(row.port), FromWindows1252(row.protocol),
                row.is_default ? "yes" : "", FromWindows1252(row.location)});
    (void)item;
  }
  for (size_t index : selected) {
    if (QTreeWidgetItem* item = list_->topLevelItem(static_cast<int>(index)))
      item->setSelected(true);
  }
  SelectionChanged();
}

std::vector<size_t> ServersPage::Selected() const {
  std::vector<size_t> selected;
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    if (list_->topLevelItem(i)->isSelected())
      selected.push_back(static_cast<size_t>(i));
  }
  return selected;
}

void ServersPage::SelectionChanged() {
  const bool one = Selected().size() == 1;
  set_default_->setEnabled(one);
  connect_->setEnabled(one && actions_.connect);
}

void ServersPage::Add() {
  const QString host = host_->text();
  const QString port = port_->text();
  if (host.isEmpty() || port.isEmpty()) {
    ShowCount();
    return;
  }
  const QString protocol = protocol_->currentText();
  // A blank would split the stored server line into other fields.
  if (std::any_of(host.begin(), host.end(), [](QChar c) { return c.isSpace(); })) {
    Warn(this, "ZCD Add Host",
         "A server name cannot contain blanks.\nPlease remove them from \"" + host + "\".");
    return;
  }
  if (protocol == "HTTP" && !host.contains('/')) {
    Warn(this, "ZCD Add Host",
         QString("You must specify the cddb cgi path for http servers with the hostname.\neg: ") +
             kExampleHttpServer);
    return;
  }
  rows_.push_back(
      {ToWindows1252(host), ToWindows1252(port), ToWindows1252(protocol), rows_.empty(), ""});
  Fill();
  list_->scrollToItem(list_->topLevelItem(static_cast<int>(rows_.size() - 1)));
  ShowCount();
  changed_();
}

void ServersPage::Delete() {
  const std::vector<size_t> selected = Selected();
  if (selected.empty())
    return;
  if (QMessageBox::warning(this, "Confirm Delete",
                           "Are you sure you want to delete the selected servers?",
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return;
  DeleteRows(rows_, selected);
  list_->clearSelection();
  Fill();
  ShowCount();
  changed_();
}

void ServersPage::MarkDefault(std::optional<size_t> row) {
  if (!SetDefaultServer(rows_, row, false, use_proxy_))
    return;
  Fill();
  changed_();
}

void ServersPage::GetServers() {
  get_servers_->setEnabled(false);
  status_timer_.stop();
  status_->setText("Getting server list");
  const bool was_empty = rows_.empty();
  QPointer<ServersPage> page(this);
  // The page may be gone when the list arrives; then nothing is left to fill.
  actions_.fetch_servers([page, was_empty](std::optional<std::string> reply) {
    if (page)
      page->FetchDone(reply, was_empty);
  });
}

void ServersPage::FetchDone(const std::optional<std::string>& reply, bool was_empty) {
  // A refusal (a proxy's error page, "401 No site information") is no list.
  if (!reply || !IsSiteList(*reply)) {
    QMessageBox::critical(
        this, "Zentaro CD",
        "There was a problem retrieving the sites.\nCheck your settings and try again.");
  } else {
    AddSites(rows_, *reply);
    if (was_empty)
      SetDefaultServer(rows_, std::nullopt, true, use_proxy_);
    Fill();
    changed_();
  }
  get_servers_->setEnabled(true);
  ShowCount();
}

void ServersPage::Connect() {
  const std::vector<size_t> selected = Selected();
  if (selected.empty())
    return;
  const ServerEntry server = EntryOf(rows_[selected.front()]);
  switch (actions_.connect(server)) {
    case ConnectOutcome::kNoDisc:
      Warn(this, "Zentaro CD", "There is no CD in the drive");
      break;
    case ConnectOutcome::kQueryRunning:
      ShowFor("There is already a query in progress", kStatusBusyMs);
      break;
    case ConnectOutcome::kStarted:
      ShowFor(QString("Connecting to %1:%2 (%3)")
                  .arg(FromWindows1252(server.host))
                  .arg(server.port)
                  .arg(FromWindows1252(server.protocol))
                  .left(kMaxConnectingText),
              kStatusConnectingMs);
      break;
  }
}

void ServersPage::ShowCount() {
  status_timer_.stop();
  status_->setText(QString("%1 servers listed").arg(rows_.size()));
}

void ServersPage::ShowFor(const QString& text, int ms) {
  status_->setText(text);
  status_timer_.start(ms);
}

}  // namespace zcd
