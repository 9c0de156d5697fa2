#include "discdb/ui/editor_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <set>

#include "discdb/database.h"
#include "discdb/slash_split.h"
#include "discdb/ui/extended_info_editor.h"
#include "discdb/ui/sheet_message.h"
#include "platform/qt/windows1252.h"

namespace zcd {
namespace {

constexpr int kTitleColumn = 1;

QString Length(int32_t seconds) {
  return QString::asprintf("%d:%02d", seconds / 60, seconds % 60);
}

}  // namespace

EditorPage::EditorPage(DatabaseActions actions, QWidget* parent)
    : DatabasePage(parent),
      actions_(std::move(actions)),
      artist_(new QLineEdit),
      album_(new QLineEdit),
      category_(new QComboBox),
      extended_info_(new QPushButton("Extended Info")),
      tracks_(new QTreeWidget),
      status_(new QLabel) {
  category_->setEditable(true);
  category_->setInsertPolicy(QComboBox::NoInsert);
  category_->lineEdit()->setMaxLength(static_cast<int>(kMaxCategoryLength));

  auto* info = new QGroupBox("CD Info");
  auto* grid = new QGridLayout(info);
  grid->addWidget(new QLabel("Artist"), 0, 0);
  grid->addWidget(artist_, 0, 1, 1, 3);
  grid->addWidget(new QLabel("Album"), 1, 0);
  grid->addWidget(album_, 1, 1, 1, 3);
  grid->addWidget(new QLabel("Category"), 2, 0);
  grid->addWidget(category_, 2, 1);
  grid->addWidget(extended_info_, 2, 3);
  grid->setColumnStretch(1, 1);

  tracks_->setColumnCount(3);
  tracks_->setHeaderLabels({"No.", "Title", "Length"});
  tracks_->setRootIsDecorated(false);
  tracks_->setUniformRowHeights(true);
  tracks_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::SelectedClicked);
  tracks_->header()->setSectionResizeMode(kTitleColumn, QHeaderView::Stretch);
  tracks_->header()->setStretchLastSection(false);
  tracks_->installEventFilter(this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(info);
  layout->addWidget(tracks_, 1);
  layout->addWidget(status_);

  auto artist_album = [this] {
    if (showing_)
      return;
    edit_.artist_album = {ToWindows1252(artist_->text()), ToWindows1252(album_->text())};
    emit Changed();
  };
  connect(artist_, &QLineEdit::textEdited, this, artist_album);
  connect(album_, &QLineEdit::textEdited, this, artist_album);
  connect(category_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (showing_)
      return;
    edit_.category = ToWindows1252(text);
    emit Changed();
  });
  connect(tracks_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (showing_ || column != kTitleColumn)
      return;
    edit_.titles[tracks_->indexOfTopLevelItem(item)] = ToWindows1252(item->text(kTitleColumn));
    emit Changed();
  });
  connect(extended_info_, &QPushButton::clicked, this, &EditorPage::EditExtendedInfo);
}

EditorPage::~EditorPage() = default;

void EditorPage::SetFieldsEnabled(bool enabled) {
  for (QWidget* field :
       std::initializer_list<QWidget*>{artist_, album_, category_, extended_info_, tracks_})
    field->setEnabled(enabled);
}

void EditorPage::SetRecord(std::shared_ptr<DiscRecord> library_record) {
  library_record_ = std::move(library_record);
  if (isVisible())
    ShowRecord();
  else
    shown_.reset();
}

void EditorPage::Activated() {
  FillCategories();
  // Edits not yet applied stay while the user looks at other pages.
  if (!shown_ || shown_ != Record())
    ShowRecord();
}

std::shared_ptr<DiscRecord> EditorPage::Record() const {
  if (library_record_)
    return library_record_;
  return actions_.bound_record ? actions_.bound_record() : nullptr;
}

void EditorPage::ShowRecord() {
  shown_ = Record();
  edit_ = {};
  showing_ = true;
  tracks_->clear();
  artist_->clear();
  album_->clear();
  category_->setEditText({});
  const bool present = shown_ != nullptr;
  SetFieldsEnabled(present && !save_.running());
  if (present) {
    const DiscRecord& record = *shown_;
    edit_.shown_disc_id = record.DiscIdText();
    const std::string title = record.DiscTitle().value_or("");
    artist_->setText(FromWindows1252(SplitBeforeSlash(title).value_or("")));
    album_->setText(FromWindows1252(SplitAfterSlash(title)));
    const QString category = FromWindows1252(record.Category().value_or(""));
    if (!category.isEmpty() && category_->findText(category, Qt::MatchFixedString) < 0)
      category_->insertItem(0, category);
    category_->setEditText(category);
    for (int i = 0; i < record.TrackCount(); ++i) {
      auto* item = new QTreeWidgetItem(
          QStringList{QString("%1.").arg(i + 1), FromWindows1252(record.TrackTitle(i).value_or("")),
                      Length(record.TrackSeconds(i))});
      item->setFlags(item->flags() | Qt::ItemIsEditable);
      tracks_->addTopLevelItem(item);
    }
    if (tracks_->topLevelItemCount() > 0)
      tracks_->setCurrentItem(tracks_->topLevelItem(0));
  }
  status_->setText(present ? QString() : QString("No disc is loaded."));
  showing_ = false;
}

// At a million discs the index takes a moment to read.
void EditorPage::FillCategories() {
  auto categories = std::make_shared<std::set<std::string>>();
  categories_.Start(
      [db = actions_.db_path, categories](BackgroundJob& /*job*/) {
        int count = 0;
        for (const DbListItem& item : DbListEntries(db, std::nullopt, count))
          categories->insert(item.category);
      },
      [this, categories] {
        showing_ = true;
        const QString typed = category_->currentText();
        category_->clear();
        for (const std::string& category : *categories)
          category_->addItem(FromWindows1252(category));
        category_->setEditText(typed);
        showing_ = false;
      });
}

bool EditorPage::eventFilter(QObject* watched, QEvent* event) {
  // The title's line edit takes the keys while a row is edited.
  if (watched == tracks_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
      if (QTreeWidgetItem* item = tracks_->currentItem())
        tracks_->editItem(item, kTitleColumn);
      return true;
    }
  }
  return DatabasePage::eventFilter(watched, event);
}

void EditorPage::EditExtendedInfo() {
  if (shown_ && RunExtendedInfoEditor(this, *shown_, edit_))
    emit Changed();
}

void EditorPage::Apply(Settings& /*settings*/) {
  if (!shown_ || edit_.empty() || save_.running()) {
    emit SaveEnded(!save_.running());
    return;
  }
  const bool bound = library_record_ == nullptr;
  auto result = std::make_shared<DiscSaveResult>(DiscSaveResult::kNothingToSave);
  status_->setText("Saving...");
  save_.Start(
      [record = shown_, bound, edit = edit_, db = actions_.db_path, lock = actions_.query_lock,
       result](BackgroundJob& /*job*/) {
        if (lock)
          *result = SaveDiscEdit(*record, bound, edit, db, *lock);
      },
      [this, result, bound] { Saved(*result, bound); });
  SetFieldsEnabled(false);
  emit BusyChanged();
}

// SaveEnded goes before BusyChanged: a sheet waiting to close learns first
// whether it may.
void EditorPage::Saved(DiscSaveResult result, bool bound) {
  status_->clear();
  const char* refusal = nullptr;
  switch (result) {
    case DiscSaveResult::kSaved:
      if (bound && actions_.bound_record_saved)
        actions_.bound_record_saved();
      break;
    case DiscSaveResult::kNothingToSave:
      break;
    case DiscSaveResult::kQueryRunning:
      refusal = kSaveDuringQueryText;
      break;
    case DiscSaveResult::kDiscChanged:
      refusal = kSaveDiscChangedText;
      break;
    case DiscSaveResult::kWriteFailed:
      refusal = kDbWriteErrorText;
      break;
  }
  if (refusal == nullptr) {
    ShowRecord();  // what was stored; the edits start afresh
  } else {
    ShowSheetMessage(this, refusal, "Zentaro CD", QMessageBox::Warning);
    SetFieldsEnabled(true);  // the user's edits stay in the fields to try again
  }
  emit SaveEnded(refusal == nullptr);
  emit BusyChanged();
}

}  // namespace zcd
