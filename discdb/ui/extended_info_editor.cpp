#include "discdb/ui/extended_info_editor.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "discdb/entry_text.h"
#include "discdb/ui/extended_text_view.h"
#include "platform/qt/windows1252.h"

namespace zcd {
namespace {

// One item of the combo: the disc (track -1) or a track. Texts are in the
// stored, escaped form.
struct ItemText {
  int track = -1;
  std::string started;  // what the dialog began with
  std::string text;
};

std::string DiscTitleShown(const DiscRecord& record, const DiscEdit& edit) {
  if (edit.artist_album)
    return ComposeDiscTitle(edit.artist_album->first, edit.artist_album->second);
  return record.DiscTitle().value_or("");
}

std::string TrackTitleShown(const DiscRecord& record, const DiscEdit& edit, int track) {
  if (const auto edited = edit.titles.find(track); edited != edit.titles.end())
    return edited->second;
  return record.TrackTitle(track).value_or("");
}

QString TrackItemText(int track, const std::string& title) {
  const QString number = QString::number(track + 1) + '.';
  return title.empty() ? number : number + "   " + FromWindows1252(title);
}

std::vector<ItemText> StartingTexts(const DiscRecord& record, const DiscEdit& edit) {
  std::vector<ItemText> item_texts;
  const std::string disc =
      edit.disc_extended ? *edit.disc_extended : record.DiscExtended().value_or("");
  item_texts.push_back({-1, disc, disc});
  for (int track = 0; track < record.TrackCount(); ++track) {
    const auto edited = edit.track_extended.find(track);
    const std::string text = edited != edit.track_extended.end()
                                 ? edited->second
                                 : record.TrackExtended(track).value_or("");
    item_texts.push_back({track, text, text});
  }
  return item_texts;
}

// The field's text goes into its slot only when the user changed it, so a
// text shown and left alone comes back byte for byte.
void StoreField(QPlainTextEdit& field, ItemText& slot) {
  if (!field.document()->isModified())
    return;
  slot.text = ExtendedFieldToStored(ToWindows1252(FieldText(field)));
  field.document()->setModified(false);
}

void ShowSlot(QPlainTextEdit& field, const ItemText& slot) {
  field.setPlainText(ExtendedTextForField(slot.text));
  field.document()->setModified(false);
}

bool WriteChangedTexts(const std::vector<ItemText>& item_texts, DiscEdit& edit) {
  bool changed = false;
  for (const ItemText& slot : item_texts) {
    if (slot.text == slot.started)
      continue;
    changed = true;
    if (slot.track < 0)
      edit.disc_extended = slot.text;
    else
      edit.track_extended[slot.track] = slot.text;
  }
  return changed;
}

}  // namespace

bool RunExtendedInfoEditor(QWidget* parent, const DiscRecord& record, DiscEdit& edit) {
  std::vector<ItemText> item_texts = StartingTexts(record, edit);

  QDialog dialog(parent);
  dialog.setWindowTitle("Zentaro CD Edit Extended Info");
  auto* items = new QComboBox(&dialog);
  items->addItem(FromWindows1252(DiscTitleShown(record, edit)));
  for (std::size_t i = 1; i < item_texts.size(); ++i) {
    const int track = item_texts[i].track;
    items->addItem(TrackItemText(track, TrackTitleShown(record, edit, track)));
  }
  auto* field = new QPlainTextEdit(&dialog);
  field->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  auto* ok = new QPushButton("OK", &dialog);
  auto* cancel = new QPushButton("Cancel", &dialog);
  ok->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(items);
  layout->addWidget(field);
  layout->addLayout(buttons);
  dialog.resize(420, 300);

  int shown = 0;
  ShowSlot(*field, item_texts[0]);
  QObject::connect(items, &QComboBox::currentIndexChanged, &dialog, [&](int index) {
    if (index < 0 || index >= static_cast<int>(item_texts.size()))
      return;
    StoreField(*field, item_texts[shown]);
    shown = index;
    ShowSlot(*field, item_texts[shown]);
  });
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);

  if (dialog.exec() != QDialog::Accepted)
    return false;
  StoreField(*field, item_texts[shown]);
  return WriteChangedTexts(item_texts, edit);
}

}  // namespace zcd
