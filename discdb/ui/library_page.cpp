#include "discdb/ui/library_page.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <thread>

#include "base/text.h"
#include "discdb/database.h"
#include "discdb/disc_id.h"
#include "discdb/entry_text.h"
#include "discdb/exporter.h"
#include "discdb/ui/library_model.h"
#include "discdb/ui/sheet_message.h"
#include "platform/qt/windows1252.h"

namespace zcd {
namespace {

QPushButton* AddButton(QVBoxLayout* column, const char* text) {
  auto* button = new QPushButton(text);
  column->addWidget(button);
  return button;
}

// Drops every item of the disc, and named groups left empty, from the index
// the filter works on. The nameless group stays: the model may share it.
void RemoveFromIndex(LibraryIndex& index, uint32_t disc_id) {
  for (LibraryGroup& group : index.groups)
    std::erase_if(group.discs, [&](const LibraryDisc& disc) { return disc.disc_id == disc_id; });
  std::erase_if(index.groups, [](const LibraryGroup& group) {
    return group.discs.empty() && !group.name.empty();
  });
}

}  // namespace

LibraryPage::LibraryPage(DatabaseActions actions, const Settings& settings, QWidget* parent)
    : DatabasePage(parent),
      actions_(std::move(actions)),
      library_view_(settings.LibraryView),
      model_(new LibraryModel(this)),
      filter_(new QLineEdit),
      tree_(new QTreeView),
      by_category_(new QRadioButton("Category")),
      by_artist_(new QRadioButton("Artist")),
      entries_(new QLineEdit),
      disc_id_(new QLineEdit),
      status_(new QLabel) {
  filter_->setPlaceholderText("Find a disc by artist, title or disc ID");
  filter_->setClearButtonEnabled(true);
  tree_->setModel(model_);
  tree_->setHeaderHidden(true);
  tree_->setUniformRowHeights(true);  // a million rows are not measured one by one
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setExpandsOnDoubleClick(true);
  entries_->setReadOnly(true);
  disc_id_->setReadOnly(true);
  entries_->setMaximumWidth(90);
  disc_id_->setMaximumWidth(90);

  auto* view_by = new QGroupBox("View By");
  auto* view_layout = new QVBoxLayout(view_by);
  view_layout->addWidget(by_category_);
  view_layout->addWidget(by_artist_);
  (library_view_ == kLibraryViewByArtist ? by_artist_ : by_category_)->setChecked(true);

  auto* side = new QVBoxLayout;
  side->addWidget(view_by);
  side->addWidget(new QLabel("Entries"));
  side->addWidget(entries_);
  side->addWidget(new QLabel("Disc ID"));
  side->addWidget(disc_id_);
  extended_info_ = AddButton(side, "Extended Info");
  edit_ = AddButton(side, "Edit Entry");
  delete_ = AddButton(side, "Delete Entry");
  submit_ = AddButton(side, "Submit");
  export_ = AddButton(side, "Export");
  refresh_ = AddButton(side, "Refresh");
  side->addStretch();

  auto* left = new QVBoxLayout;
  left->addWidget(filter_);
  left->addWidget(tree_, 1);
  left->addWidget(status_);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(side);

  submit_->setEnabled(static_cast<bool>(actions_.submit));
  SelectionChanged();

  connect(filter_, &QLineEdit::textChanged, this, &LibraryPage::ApplyFilter);
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &LibraryPage::SelectionChanged);
  connect(model_, &QAbstractItemModel::modelReset, this, &LibraryPage::SelectionChanged);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, &LibraryPage::SelectionChanged);
  connect(tree_, &QTreeView::expanded, this,
          [this](const QModelIndex& group) { model_->SetExpanded(group, true); });
  connect(tree_, &QTreeView::collapsed, this,
          [this](const QModelIndex& group) { model_->SetExpanded(group, false); });
  connect(tree_, &QTreeView::doubleClicked, this, [this](const QModelIndex& item) {
    if (!model_->IsGroup(item))
      EditEntry();
  });
  auto switch_view = [this](bool checked) {
    if (!checked)
      return;
    library_view_ = by_artist_->isChecked() ? kLibraryViewByArtist : kLibraryViewByCategory;
    emit Changed();
    Refresh();
  };
  connect(by_category_, &QRadioButton::toggled, this, switch_view);
  connect(by_artist_, &QRadioButton::toggled, this, switch_view);
  connect(extended_info_, &QPushButton::clicked, this,
          [this] { emit ShowExtendedInfo(ChosenId()); });
  connect(edit_, &QPushButton::clicked, this, &LibraryPage::EditEntry);
  connect(delete_, &QPushButton::clicked, this, &LibraryPage::DeleteEntry);
  connect(submit_, &QPushButton::clicked, this, &LibraryPage::Submit);
  connect(export_, &QPushButton::clicked, this, &LibraryPage::Export);
  connect(refresh_, &QPushButton::clicked, this, &LibraryPage::Refresh);
}

// A million discs take a quarter of a second to free: the index goes on a
// thread of its own, which needs nothing else of the page.
LibraryPage::~LibraryPage() {
  fill_.Stop();
  filter_job_.Stop();
  model_->Reset(std::make_shared<std::vector<LibraryGroup>>(), grouping());
  std::thread([index = std::move(index_)]() mutable { index.reset(); }).detach();
}

void LibraryPage::Activated() {
  if (!filled_once_)
    Refresh();
}

void LibraryPage::Apply(Settings& settings) {
  settings.LibraryView = library_view_;
}

// Reading the tree can be given up at any time; a write must end.
bool LibraryPage::Busy() const {
  return operation_.running();
}

LibraryGrouping LibraryPage::grouping() const {
  return library_view_ == kLibraryViewByArtist ? LibraryGrouping::kByArtist
                                               : LibraryGrouping::kByCategory;
}

// The walk and the first filter run on the worker; the window thread only
// hands the result to the model.
void LibraryPage::Refresh() {
  filled_once_ = true;
  status_->setText("Reading the database...");
  auto index = std::make_shared<LibraryIndex>();
  auto shown = std::make_shared<std::shared_ptr<std::vector<LibraryGroup>>>();
  const std::string typed = ToWindows1252(filter_->text());
  fill_.Start(
      [db = actions_.db_path, grouping = grouping(), typed, index, shown](BackgroundJob& job) {
        *index = BuildLibraryIndex(db, grouping, job.stop_requested());
        if (!typed.empty())
          *shown = std::make_shared<std::vector<LibraryGroup>>(FilterLibrary(*index, typed));
      },
      [this, index, shown, typed] {
        Filled(index, *shown);
        if (ToWindows1252(filter_->text()) != typed)
          ApplyFilter();  // typed while the tree was read
      });
  UpdateBusy();
}

void LibraryPage::Filled(std::shared_ptr<LibraryIndex> index,
                         std::shared_ptr<std::vector<LibraryGroup>> shown) {
  filter_job_.Stop();
  std::shared_ptr<LibraryIndex> old = std::exchange(index_, std::move(index));
  if (shown)
    model_->Reset(std::move(shown), grouping());
  else
    ShowAll();
  // A million discs take a quarter of a second to free.
  release_.Start([old = std::move(old)](BackgroundJob& /*job*/) mutable { old.reset(); }, {});
  entries_->setText(QString::number(index_->entry_count));
  status_->clear();
  UpdateBusy();
}

void LibraryPage::ShowAll() {
  model_->Reset(std::shared_ptr<std::vector<LibraryGroup>>(index_, &index_->groups), grouping());
}

// At a million discs a filter takes longer than a keystroke: it runs off the
// window thread, a newer text stopping the older one.
void LibraryPage::ApplyFilter() {
  if (fill_.running())
    return;  // the fill filters what is typed when it ends
  const std::string typed = ToWindows1252(filter_->text());
  if (typed.empty()) {
    filter_job_.Stop();
    ShowAll();
    return;
  }
  auto shown = std::make_shared<std::vector<LibraryGroup>>();
  filter_job_.Start(
      [index = index_, typed, shown](BackgroundJob& job) {
        *shown = FilterLibrary(*index, typed, &job.stop_requested());
      },
      [this, shown] { model_->Reset(shown, grouping()); });
}

std::string LibraryPage::ChosenId() const {
  return ToWindows1252(disc_id_->text());
}

void LibraryPage::SelectionChanged() {
  const QModelIndex item = tree_->currentIndex();
  const bool disc = item.isValid() && !model_->IsGroup(item);
  disc_id_->setText(disc ? QString::fromStdString(
                               DiscIdText(item.data(LibraryModel::kDiscIdRole).value<uint32_t>()))
                         : QString());
  const bool free = !operation_.running();
  for (QPushButton* button : {extended_info_, edit_, delete_})
    button->setEnabled(disc && free);
  submit_->setEnabled(disc && free && static_cast<bool>(actions_.submit));
  export_->setEnabled(item.isValid() && free);
}

void LibraryPage::RunOperation(std::function<void(BackgroundJob& job)> work,
                               std::function<void()> done) {
  operation_.Start(std::move(work), [this, done = std::move(done)] {
    UpdateBusy();
    done();
  });
  UpdateBusy();
}

void LibraryPage::UpdateBusy() {
  SelectionChanged();
  refresh_->setEnabled(!operation_.running());
  emit BusyChanged();
}

void LibraryPage::EditEntry() {
  const std::string id = ChosenId();
  if (id.empty())
    return;
  const std::shared_ptr<DiscRecord> bound =
      actions_.bound_record ? actions_.bound_record() : nullptr;
  if (bound && EqualsIgnoringCase(bound->DiscIdText().value_or(""), id)) {
    emit EditRecord(nullptr);
    return;
  }
  auto entry = std::make_shared<std::optional<std::string>>();
  RunOperation(
      [db = actions_.db_path, id, entry](BackgroundJob& /*job*/) { *entry = DbFindEntry(db, id); },
      [this, id, entry] {
        if (!*entry) {
          ShowSheetMessage(this, kStaleEntryText, "Zentaro", QMessageBox::Warning);
          return;
        }
        auto record = std::make_shared<DiscRecord>();
        ReadEntryIntoRecord(*record, **entry, false);
        record->SetDiscIdText(id);
        ReadTocFromEntry(*record, **entry);
        emit EditRecord(record);
      });
}

// Every entry of the disc goes, under whichever category.
void LibraryPage::DeleteEntry() {
  const std::string id = ChosenId();
  if (id.empty() || ShowSheetMessage(this, "Are you sure you want to delete this CD entry?",
                                     "Confirm Delete", QMessageBox::Warning,
                                     QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return;
  auto deleted = std::make_shared<bool>(false);
  RunOperation([db = actions_.db_path, id,
                deleted](BackgroundJob& /*job*/) { *deleted = DbDeleteEntries(db, id); },
               [this, id, deleted] {
                 if (!*deleted) {
                   ShowSheetMessage(this, "Could not delete CD entry.", "Zentaro CD",
                                    QMessageBox::Warning);
                   return;
                 }
                 const uint32_t disc_id = ParseDiscIdText(id);
                 const int removed = model_->RemoveDisc(disc_id);
                 RemoveFromIndex(*index_, disc_id);
                 index_->entry_count -= std::max(removed, 1);
                 entries_->setText(QString::number(index_->entry_count));
               });
}

void LibraryPage::Submit() {
  const std::string id = ChosenId();
  if (id.empty() ||
      ShowSheetMessage(this, "Are you sure you want to submit this entry to the CDDB database?.",
                       "Zentaro CD", QMessageBox::Question,
                       QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return;
  auto entry = std::make_shared<std::optional<std::string>>();
  RunOperation(
      [db = actions_.db_path, id, entry](BackgroundJob& /*job*/) { *entry = DbFindEntry(db, id); },
      [this, entry] {
        if (!*entry) {
          ShowSheetMessage(this, kStaleEntryText, "Zentaro", QMessageBox::Warning);
          return;
        }
        StampRevision(**entry);
        actions_.submit(std::move(**entry));
      });
}

void LibraryPage::Export() {
  const QModelIndex item = tree_->currentIndex();
  if (!item.isValid())
    return;
  const std::string text = model_->ItemText(item);
  if (!model_->IsGroup(item))
    emit ExportSection(DiscScope(text, ChosenId()));
  else if (grouping() == LibraryGrouping::kByArtist)
    emit ExportSection(ArtistScope(text));
  else
    emit ExportSection(CategoryScope(text));
}

}  // namespace zcd
