#include "app/DateJumpDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>
#include <climits>

#include "text/Texts.h"

namespace pelo {

const std::array<TEraRule, kGengoCount> kEraRules = {{
    {"西暦", 0, INT32_MIN, INT32_MAX, 0},
    {"明治", 1867, 1867, 1911, 45},
    {"大正", 1911, 1911, 1925, 15},
    {"昭和", 1925, 1925, 1988, 65},
    {"平成", 1988, 1988, INT32_MAX, 50},
}};

namespace {

constexpr int kClientWidth = 394;
constexpr int kClientHeight = 119;
constexpr int kUpDownWidth = 17;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// A strict decimal in 32 bits, "+" allowed; the empty text is not a number.
bool ReadInteger(const QString& text, int32_t& value) {
  return ParseInt32(text.toStdString(), value);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TUpDown

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), up_button_(new QToolButton(this)), down_button_(new QToolButton(this)) {
  up_button_->setObjectName("Up");
  down_button_->setObjectName("Down");
  up_button_->setArrowType(Qt::UpArrow);
  down_button_->setArrowType(Qt::DownArrow);
  for (QToolButton* button : {up_button_, down_button_}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
  }
  connect(up_button_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_button_, &QToolButton::clicked, this, [this] { Step(-1); });
  setFixedWidth(kUpDownWidth);
}

void TUpDown::Associate(QLineEdit* edit) {
  if (edit_ != nullptr) edit_->removeEventFilter(this);
  edit_ = edit;
  if (edit_ != nullptr) edit_->installEventFilter(this);
}

void TUpDown::SetPosition(int position) {
  position_ = std::clamp(position, kMin, kMax);
  if (edit_ != nullptr) edit_->setText(QString::number(position_));
}

void TUpDown::Step(int delta) {
  // A number typed into the edit counts as the position, so the step starts from what the
  // user sees; text that is no number leaves the last position.
  int32_t typed = 0;
  if (edit_ != nullptr && ReadInteger(edit_->text(), typed)) {
    position_ = static_cast<int>(std::clamp<int32_t>(typed, kMin, kMax));
  }
  SetPosition(position_ + delta);  // no wrap: the clamp stops at either end
  emit Clicked(delta);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress && isVisible()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
      Step(key->key() == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent* event) {
  const int half = height() / 2;
  up_button_->setGeometry(0, 0, width(), half);
  down_button_->setGeometry(0, half, width(), height() - half);
  QWidget::resizeEvent(event);
}

// ---------------------------------------------------------------------------------------
// TDateJumpForm

TDateJumpForm::TDateJumpForm(TUserNotices& notices, TDateRec today, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      notices_(notices),
      today_(today) {
  setObjectName("DateJumpForm");
  setWindowTitle(Utf8(kDateJumpCaption));
  QFont form_font(Utf8("ＭＳ Ｐゴシック"));
  form_font.setPixelSize(12);
  setFont(form_font);
  setFixedSize(kClientWidth, kClientHeight);
  CreateControls();
}

void TDateJumpForm::CreateControls() {
  check_plus_minus_ = new QCheckBox(Utf8("日付ｶｰｿﾙのある年月日から±で指定する(&P)"), this);
  check_plus_minus_->setObjectName("CheckBoxPlusMinus");
  check_plus_minus_->setGeometry(8, 6, 378, 20);

  auto* frame = new QFrame(this);
  frame->setObjectName("Bevel1");
  frame->setFrameShape(QFrame::Box);
  frame->setFrameShadow(QFrame::Sunken);
  frame->setGeometry(8, 30, 378, 46);

  combo_gengo_ = new QComboBox(frame);
  combo_gengo_->setObjectName("ComboBoxGengo");
  for (const TEraRule& era : kEraRules) combo_gengo_->addItem(Utf8(era.name));
  combo_gengo_->setGeometry(8, 12, 68, 22);

  // x and width of the year, month and day fields inside the frame.
  constexpr std::array<std::pair<int, int>, 3> kFields = {{{84, 76}, {188, 56}, {272, 56}}};
  static const std::array<const char*, 3> kComboNames = {"ComboBoxYear", "ComboBoxMonth",
                                                         "ComboBoxDay"};
  static const std::array<const char*, 3> kEditNames = {"EditYear", "EditMonth", "EditDay"};
  static const std::array<const char*, 3> kUpDownNames = {"UpDownYear", "UpDownMonth", "UpDownDay"};
  static const std::array<const char*, 3> kLabelNames = {"LabelYear", "LabelMonth", "LabelDay"};
  static const std::array<const char*, 3> kLabelTexts = {"年", "月", "日"};
  QFont label_font = font();
  label_font.setPixelSize(16);
  label_font.setBold(true);

  for (int tag = 0; tag < 3; ++tag) {
    const auto [x, width] = kFields[tag];

    // The edit and its up-down lie where the combo box is; one pair shows at a time.
    auto* edit = new QLineEdit(QStringLiteral("0"), frame);
    edit->setObjectName(kEditNames[tag]);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setGeometry(x, 12, width - kUpDownWidth, 22);
    edits_[tag] = edit;

    auto* up_down = new TUpDown(frame);
    up_down->setObjectName(kUpDownNames[tag]);
    up_down->setGeometry(x + width - kUpDownWidth, 12, kUpDownWidth, 22);
    up_down->Associate(edit);
    up_downs_[tag] = up_down;

    auto* combo = new QComboBox(frame);
    combo->setObjectName(kComboNames[tag]);
    combo->setEditable(true);
    // What the user types stays what he typed: no completion, no items added on Enter.
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setGeometry(x, 12, width, 22);
    combos_[tag] = combo;

    auto* label = new QLabel(Utf8(kLabelTexts[tag]), frame);
    label->setObjectName(kLabelNames[tag]);
    label->setFont(label_font);
    label->setGeometry(x + width + 2, 12, 22, 22);
    labels_[tag] = label;

    connect(edit, &QLineEdit::textChanged, this, [this, tag] { EditChange(tag); });
    connect(up_down, &TUpDown::Clicked, this, [this, tag] { UpDownClick(tag); });
    connect(combo, &QComboBox::editTextChanged, this, [this, tag] {
      if (!writing_) ComboBoxChange(tag);
    });
  }
  {
    const QSignalBlocker blocker(combos_[kTagMonth]);
    for (int month = 1; month <= 12; ++month) combos_[kTagMonth]->addItem(QString::number(month));
  }
  {
    const QSignalBlocker blocker(combos_[kTagDay]);
    for (int day = 1; day <= 31; ++day) combos_[kTagDay]->addItem(QString::number(day));
  }

  ok_button_ = new QPushButton(QStringLiteral("OK"), this);
  ok_button_->setObjectName("OKBtn");
  ok_button_->setGeometry(228, 86, 75, 25);
  ok_button_->setDefault(true);
  cancel_button_ = new QPushButton(Utf8("ｷｬﾝｾﾙ"), this);
  cancel_button_->setObjectName("CancelBtn");
  cancel_button_->setGeometry(311, 86, 75, 25);

  setTabOrder(check_plus_minus_, combo_gengo_);
  setTabOrder(combo_gengo_, combos_[0]);
  setTabOrder(combos_[0], combos_[1]);
  setTabOrder(combos_[1], combos_[2]);
  setTabOrder(combos_[2], edits_[0]);
  setTabOrder(edits_[0], edits_[1]);
  setTabOrder(edits_[1], edits_[2]);
  setTabOrder(edits_[2], ok_button_);
  setTabOrder(ok_button_, cancel_button_);

  // Absolute mode at first: the offset boxes and their up-downs are hidden.
  for (int tag = 0; tag < 3; ++tag) {
    edits_[tag]->setVisible(false);
    up_downs_[tag]->setVisible(false);
  }

  connect(check_plus_minus_, &QCheckBox::toggled, this, [this] { CheckBoxPlusMinusClick(); });
  connect(combo_gengo_, &QComboBox::currentIndexChanged, this, [this] { ComboBoxGengoChange(); });
  connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);
}

bool TDateJumpForm::PlusMinus() const { return check_plus_minus_->isChecked(); }

void TDateJumpForm::SetPlusMinus(bool checked) { check_plus_minus_->setChecked(checked); }

void TDateJumpForm::SetPart(int tag, int32_t value) noexcept {
  if (tag == kTagYear) {
    working_.Year = value;
  } else if (tag == kTagMonth) {
    working_.Month = value;
  } else {
    working_.Day = value;
  }
}

int32_t TDateJumpForm::Part(int tag) const noexcept {
  return tag == kTagYear ? working_.Year : tag == kTagMonth ? working_.Month : working_.Day;
}

void TDateJumpForm::WriteCombo(QComboBox* combo, const QString& text) {
  writing_ = true;
  combo->setEditText(text);
  writing_ = false;
}

void TDateJumpForm::WriteWorkingDate() {
  for (int tag = 0; tag < 3; ++tag) WriteCombo(combos_[tag], QString::number(Part(tag)));
}

void TDateJumpForm::FillYearList() {
  QComboBox* year_box = combos_[kTagYear];
  const TEraRule& era = kEraRules[std::clamp(combo_gengo_->currentIndex(), 0, kGengoCount - 1)];
  // Refilling an editable combo box clears its text; the text shown stays as it was.
  writing_ = true;
  const QString shown = year_box->currentText();
  year_box->clear();
  if (era.list_length == 0) {
    // Wide enough arithmetic: the working year may be any 32-bit number the user typed.
    const int64_t centre = working_.Year;
    for (int64_t year = centre - kWesternListReach; year <= centre + kWesternListReach; ++year) {
      year_box->addItem(QString::number(year));
    }
  } else {
    for (int32_t year = 1; year <= era.list_length; ++year) {
      year_box->addItem(QString::number(year));
    }
  }
  year_box->setEditText(shown);
  writing_ = false;
}

void TDateJumpForm::FormShow() {
  check_plus_minus_->setChecked(false);  // a change runs the handler: today, absolute mode
  {
    // Selecting the era here only sets the box; the year list is filled below.
    const QSignalBlocker blocker(combo_gengo_);
    combo_gengo_->setCurrentIndex(kGengoSeireki);
  }
  WriteWorkingDate();
  FillYearList();
  combos_[kTagYear]->setFocus();
}

void TDateJumpForm::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    // Centred on the screen the dialog opens on.
    QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
    FormShow();
  }
  QDialog::showEvent(event);
}

void TDateJumpForm::CheckBoxPlusMinusClick() {
  const bool relative = check_plus_minus_->isChecked();
  combo_gengo_->setVisible(!relative);
  for (int tag = 0; tag < 3; ++tag) {
    combos_[tag]->setVisible(!relative);
    edits_[tag]->setVisible(relative);
    up_downs_[tag]->setVisible(relative);
  }
  if (relative) {
    working_ = TDateRec{0, 0, 0};
    for (TUpDown* up_down : up_downs_) up_down->SetPosition(0);
    edits_[kTagYear]->setFocus();
  } else {
    working_ = today_;
    WriteWorkingDate();
    combos_[kTagYear]->setFocus();
  }
}

void TDateJumpForm::UpDownClick(int tag) {
  QLineEdit* edit = edits_[tag];
  if (up_downs_[tag]->Position() > 0 && !edit->text().startsWith(QLatin1Char('+'))) {
    edit->setText(QLatin1Char('+') + edit->text());
  }
}

void TDateJumpForm::ReportNotANumber(const QString& text, const std::function<void()>& empty_box) {
  notices_.Beep(TBeepKind::kExclamation);
  notices_.Warning(kNotANumberWarning);
  // Emptying the box is a change of its own and is reported once more; that report ends
  // here, so a box can never keep answering itself.
  if (emptying_ || text.isEmpty()) return;
  emptying_ = true;
  empty_box();
  emptying_ = false;
}

void TDateJumpForm::EditChange(int tag) {
  QLineEdit* edit = edits_[tag];
  const QString text = edit->text();
  int32_t value = 0;
  if (ReadInteger(text, value)) {
    SetPart(tag, value);
    return;
  }
  ReportNotANumber(text, [edit] { edit->clear(); });
}

void TDateJumpForm::ComboBoxChange(int tag) {
  QComboBox* combo = combos_[tag];
  const QString text = combo->currentText();
  int32_t value = 0;
  if (ReadInteger(text, value)) {
    if (tag != kTagYear) {
      SetPart(tag, value);
      return;
    }
    const int32_t era = std::clamp(combo_gengo_->currentIndex(), 0, kGengoCount - 1);
    // An era year so large that the Western year leaves 32 bits is no usable number either.
    const int64_t year = int64_t{value} + kEraRules[era].base;
    if (year <= INT32_MAX) {
      working_.Year = static_cast<int32_t>(year);
      return;
    }
  }
  ReportNotANumber(text, [this, combo] { combo->setEditText(QString()); });
}

void TDateJumpForm::ComboBoxGengoChange() {
  const int index = combo_gengo_->currentIndex();
  if (index < 0 || index >= kGengoCount) return;
  const TEraRule& era = kEraRules[index];
  if (index == kGengoSeireki) {
    WriteCombo(combos_[kTagYear], QString::number(working_.Year));
  } else if (working_.Year >= era.first_accepted && working_.Year <= era.last_accepted) {
    WriteCombo(combos_[kTagYear], QString::number(working_.Year - era.base));
  } else {
    working_.Year = era.base + 1;
    WriteCombo(combos_[kTagYear], QStringLiteral("1"));
  }
  FillYearList();
}

// ---------------------------------------------------------------------------------------
// TDateJumpDialog

bool TDateJumpDialog::Execute(QWidget* parent) {
  form_ = std::make_unique<TDateJumpForm>(notices_, today_, parent);
  form_->SetPlusMinus(relative_);
  form_->SetWorkingDate(date_);
  if (!caption_.empty()) form_->setWindowTitle(QString::fromStdString(caption_));
  const bool ok = form_->exec() == QDialog::Accepted;
  if (ok) {
    date_ = form_->WorkingDate();
    relative_ = form_->PlusMinus();
  }
  form_.reset();
  return ok;
}

}  // namespace pelo
