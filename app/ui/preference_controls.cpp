#include "app/ui/preference_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/qt/windows1252.h"

namespace zcd {
namespace {

// A spin box that lets the user type past its maximum and then settles on
// the maximum, where a plain one would refuse the keystroke and leave a
// typed "1500" as "150".
class ClampingSpinBox : public QSpinBox {
 public:
  // edited runs on every change of the text, even one that is not a value
  // yet: appending a "0" to "150" changes nothing a valueChanged would see.
  ClampingSpinBox(int maximum, std::function<void()> edited, QWidget* parent) : QSpinBox(parent) {
    setRange(0, maximum);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    connect(lineEdit(), &QLineEdit::textChanged, this, [edited = std::move(edited)] { edited(); });
  }

 protected:
  QValidator::State validate(QString& input, int& pos) const override {
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state == QValidator::Invalid && IsLargeNumber(input))
      return QValidator::Intermediate;
    return state;
  }

  void fixup(QString& input) const override {
    if (IsLargeNumber(input))
      input = QString::number(maximum());
  }

 private:
  bool IsLargeNumber(const QString& input) const {
    // Nine digits still fit an int; more is no number anyone means here.
    if (input.isEmpty() || input.size() > 9)
      return false;
    for (const QChar c : input) {
      if (c < u'0' || c > u'9')
        return false;
    }
    return input.toInt() > maximum();
  }
};

}  // namespace

PreferenceControls::PreferenceControls(std::function<void()> changed)
    : changed_(std::move(changed)) {}

void PreferenceControls::Changed() const {
  if (!loading_ && changed_)
    changed_();
}

QGroupBox* PreferenceControls::RadioGroup(QWidget* page, const QString& title,
                                          std::initializer_list<Choice> choices,
                                          int Settings::*member,
                                          std::optional<int> shown_otherwise) {
  auto* box = new QGroupBox(title, page);
  auto* layout = new QVBoxLayout(box);
  auto* group = new QButtonGroup(box);
  std::vector<int> values;
  for (const Choice& choice : choices) {
    auto* button = new QRadioButton(choice.text, box);
    group->addButton(button, static_cast<int>(values.size()));
    layout->addWidget(button);
    values.push_back(choice.value);
    QObject::connect(button, &QRadioButton::toggled, box, [this] { Changed(); });
  }

  auto index_of = [values](int value) -> int {
    for (size_t i = 0; i < values.size(); ++i) {
      if (values[i] == value)
        return static_cast<int>(i);
    }
    return -1;
  };
  bindings_.push_back({
      [group, member, index_of, shown_otherwise](const Settings& settings) {
        int index = index_of(settings.*member);
        if (index < 0 && shown_otherwise)
          index = index_of(*shown_otherwise);
        if (index >= 0) {
          group->button(index)->setChecked(true);
          return;
        }
        // An exclusive group never lets its last checked button go.
        group->setExclusive(false);
        for (QAbstractButton* button : group->buttons())
          button->setChecked(false);
        group->setExclusive(true);
      },
      [group, member, values](Settings& settings) {
        if (const int index = group->checkedId(); index >= 0)
          settings.*member = values[static_cast<size_t>(index)];
      },
      Differs(member),
  });
  return box;
}

QCheckBox* PreferenceControls::Check(QWidget* page, const QString& text, int Settings::*member) {
  auto* box = new QCheckBox(text, page);
  QObject::connect(box, &QCheckBox::toggled, box, [this] { Changed(); });
  bindings_.push_back({
      [box, member](const Settings& settings) { box->setChecked(settings.*member != 0); },
      [box, member](Settings& settings) {
        if (box->isChecked() != (settings.*member != 0))
          settings.*member = box->isChecked() ? 1 : 0;
      },
      Differs(member),
  });
  return box;
}

QCheckBox* PreferenceControls::BitCheck(QWidget* page, const QString& text, int Settings::*member,
                                        int bit) {
  auto* box = new QCheckBox(text, page);
  QObject::connect(box, &QCheckBox::toggled, box, [this] { Changed(); });
  bindings_.push_back({
      [box, member, bit](const Settings& settings) {
        box->setChecked((settings.*member & bit) != 0);
      },
      [box, member, bit](Settings& settings) {
        settings.*member = box->isChecked() ? (settings.*member | bit) : (settings.*member & ~bit);
      },
      [member, bit](const Settings& a, const Settings& b) {
        return ((a.*member ^ b.*member) & bit) != 0;
      },
  });
  return box;
}

QSpinBox* PreferenceControls::Number(QWidget* page, int Settings::*member, int maximum) {
  auto* spin = new ClampingSpinBox(
      maximum, [this] { Changed(); }, page);
  bindings_.push_back({
      [spin, member](const Settings& settings) { spin->setValue(settings.*member); },
      [spin, member](Settings& settings) {
        // OK pressed with Enter leaves the focus in the field, so the typed
        // text may not have been taken yet.
        spin->interpretText();
        settings.*member = spin->value();
      },
      Differs(member),
  });
  return spin;
}

QLineEdit* PreferenceControls::Text(QWidget* page, std::string Settings::*member, int max_length) {
  auto* edit = new QLineEdit(page);
  edit->setMaxLength(max_length);
  QObject::connect(edit, &QLineEdit::textChanged, edit, [this] { Changed(); });
  bindings_.push_back({
      [edit, member](const Settings& settings) {
        edit->setText(FromWindows1252(settings.*member));
      },
      [edit, member](Settings& settings) { settings.*member = ToWindows1252(edit->text()); },
      Differs(member),
  });
  return edit;
}

void PreferenceControls::Load(const Settings& settings) {
  loading_ = true;
  for (const Binding& binding : bindings_)
    binding.load(settings);
  loading_ = false;
}

void PreferenceControls::LoadChanged(const Settings& before, const Settings& after) {
  loading_ = true;
  for (const Binding& binding : bindings_) {
    if (binding.differs(before, after))
      binding.load(after);
  }
  loading_ = false;
}

void PreferenceControls::Store(Settings& settings) const {
  for (const Binding& binding : bindings_)
    binding.store(settings);
}

}  // namespace zcd
