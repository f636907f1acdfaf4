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

namespace {

constexpr TEraRule kClassicEraRules[] = {
    {"西暦", 0, INT32_MIN, INT32_MAX, 0}, {"明治", 1867, 1867, 1911, 45},
    {"大正", 1911, 1911, 1925, 15},       {"昭和", 1925, 1925, 1988, 65},
    {"平成", 1988, 1988, INT32_MAX, 50},
};

constexpr TEraRule kCurrentEraRules[] = {
    kClassicEraRules[kEraChoiceWestern], kClassicEraRules[kEraChoiceMeiji],
    kClassicEraRules[kEraChoiceTaisho],  kClassicEraRules[kEraChoiceShowa],
    {"平成", 1988, 1988, 2018, 31},      {"令和", 2018, 2018, INT32_MAX, 50},
};

constexpr int kClientWidth = 394;
constexpr int kClientHeight = 119;
constexpr int kStepButtonsWidth = 17;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// A strict decimal in 32 bits, "+" allowed; the empty text is not a number.
bool ReadInteger(const QString& text, int32_t& value) {
  return ParseInt32(text.toStdString(), value);
}

}  // namespace

std::span<const TEraRule> EraRules(TCalendarKind kind) noexcept {
  if (kind == TCalendarKind::kCurrent) return kCurrentEraRules;
  return kClassicEraRules;
}

// ---------------------------------------------------------------------------------------
// TStepButtons

TStepButtons::TStepButtons(QWidget* parent)
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
  setFixedWidth(kStepButtonsWidth);
}

void TStepButtons::Associate(QLineEdit* edit) {
  if (edit_ != nullptr) edit_->removeEventFilter(this);
  edit_ = edit;
  if (edit_ != nullptr) edit_->installEventFilter(this);
}

void TStepButtons::SetPosition(int position) {
  position_ = std::clamp(position, kMin, kMax);
  if (edit_ != nullptr) edit_->setText(QString::number(position_));
}

void TStepButtons::Step(int delta) {
  // A number typed into the edit counts as the position, so the step starts from what the
  // user sees; text that is no number leaves the last position.
  int32_t typed = 0;
  if (edit_ != nullptr && ReadInteger(edit_->text(), typed)) {
    position_ = static_cast<int>(std::clamp<int32_t>(typed, kMin, kMax));
  }
  SetPosition(position_ + delta);  // no wrap: the clamp stops at either end
  emit Clicked(delta);
}

bool TStepButtons::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress && isVisible()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
      Step(key->key() == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TStepButtons::resizeEvent(QResizeEvent* event) {
  const int half = height() / 2;
  up_button_->setGeometry(0, 0, width(), half);
  down_button_->setGeometry(0, half, width(), height() - half);
  QWidget::resizeEvent(event);
}

// ---------------------------------------------------------------------------------------
// TDateJumpForm

TDateJumpForm::TDateJumpForm(TUserNotices& notices, TDateRec today, QWidget* parent,
                             TCalendarKind kind)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      notices_(notices),
      today_(today),
      era_rules_(EraRules(kind)) {
  setObjectName("DateJumpForm");
  setWindowTitle(Utf8(kDateJumpCaption));
  QFont form_font(Utf8("ＭＳ Ｐゴシック"));
  form_font.setPixelSize(12);
  setFont(form_font);
  setFixedSize(kClientWidth, kClientHeight);
  CreateModeBox();
  CreateDateFields(CreateDateFrame());
  CreateButtons();
  ChainTabOrder();
  // Absolute mode at first: the offset boxes and their step buttons are hidden.
  for (int part = 0; part < 3; ++part) {
    offset_edits_[part]->setVisible(false);
    offset_steps_[part]->setVisible(false);
  }
  ConnectControls();
}

void TDateJumpForm::CreateModeBox() {
  relative_box_ = new QCheckBox(Utf8("日付ｶｰｿﾙのある年月日から±で指定する(&P)"), this);
  relative_box_->setObjectName("RelativeBox");
  relative_box_->setGeometry(8, 6, 378, 20);
}

QWidget* TDateJumpForm::CreateDateFrame() {
  auto* frame = new QFrame(this);
  frame->setObjectName("DateFrame");
  frame->setFrameShape(QFrame::Box);
  frame->setFrameShadow(QFrame::Sunken);
  frame->setGeometry(8, 30, 378, 46);

  era_box_ = new QComboBox(frame);
  era_box_->setObjectName("EraBox");
  for (const TEraRule& era : era_rules_) era_box_->addItem(Utf8(era.name));
  era_box_->setGeometry(8, 12, 68, 22);
  return frame;
}

void TDateJumpForm::CreateDateFields(QWidget* frame) {
  // x and width of the year, month and day fields inside the frame.
  constexpr std::array<std::pair<int, int>, 3> kFields = {{{84, 76}, {188, 56}, {272, 56}}};
  static const std::array<const char*, 3> kPartNames = {"Year", "Month", "Day"};
  static const std::array<const char*, 3> kUnits = {"年", "月", "日"};
  QFont unit_font = font();
  unit_font.setPixelSize(16);
  unit_font.setBold(true);

  for (int part = 0; part < 3; ++part) {
    const auto [x, width] = kFields[part];
    const QString name = QLatin1String(kPartNames[part]);

    // The offset edit and its step buttons lie where the date box is; one shows at a time.
    auto* edit = new QLineEdit(QStringLiteral("0"), frame);
    edit->setObjectName(name + "Offset");
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setGeometry(x, 12, width - kStepButtonsWidth, 22);
    offset_edits_[part] = edit;

    auto* steps = new TStepButtons(frame);
    steps->setObjectName(name + "Steps");
    steps->setGeometry(x + width - kStepButtonsWidth, 12, kStepButtonsWidth, 22);
    steps->Associate(edit);
    offset_steps_[part] = steps;

    auto* box = new QComboBox(frame);
    box->setObjectName(name + "Box");
    box->setEditable(true);
    // What the user types stays what he typed: no completion, no items added on Enter.
    box->setCompleter(nullptr);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setGeometry(x, 12, width, 22);
    date_boxes_[part] = box;

    auto* unit = new QLabel(Utf8(kUnits[part]), frame);
    unit->setObjectName(name + "Unit");
    unit->setFont(unit_font);
    unit->setGeometry(x + width + 2, 12, 22, 22);
  }
  const QSignalBlocker month_blocker(date_boxes_[kMonthPart]);
  for (int month = 1; month <= 12; ++month)
    date_boxes_[kMonthPart]->addItem(QString::number(month));
  const QSignalBlocker day_blocker(date_boxes_[kDayPart]);
  for (int day = 1; day <= 31; ++day) date_boxes_[kDayPart]->addItem(QString::number(day));
}

void TDateJumpForm::CreateButtons() {
  ok_button_ = new QPushButton(QStringLiteral("OK"), this);
  ok_button_->setObjectName("OkButton");
  ok_button_->setGeometry(228, 86, 75, 25);
  ok_button_->setDefault(true);
  cancel_button_ = new QPushButton(Utf8("ｷｬﾝｾﾙ"), this);
  cancel_button_->setObjectName("CancelButton");
  cancel_button_->setGeometry(311, 86, 75, 25);
}

void TDateJumpForm::ChainTabOrder() {
  const std::array<QWidget*, 10> chain = {
      relative_box_,    era_box_,         date_boxes_[0],   date_boxes_[1], date_boxes_[2],
      offset_edits_[0], offset_edits_[1], offset_edits_[2], ok_button_,     cancel_button_};
  for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void TDateJumpForm::ConnectControls() {
  for (int part = 0; part < 3; ++part) {
    connect(offset_edits_[part], &QLineEdit::textChanged, this,
            [this, part] { OffsetEdited(part); });
    connect(offset_steps_[part], &TStepButtons::Clicked, this,
            [this, part] { OffsetStepped(part); });
    connect(date_boxes_[part], &QComboBox::editTextChanged, this, [this, part] {
      if (!writing_) DateBoxEdited(part);
    });
  }
  connect(relative_box_, &QCheckBox::toggled, this, [this] { SwitchMode(); });
  connect(era_box_, &QComboBox::currentIndexChanged, this, [this] { EraChosen(); });
  connect(ok_button_, &QPushButton::clicked, this, &TDateJumpForm::Confirm);
  connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);
}

bool TDateJumpForm::Relative() const { return relative_box_->isChecked(); }

void TDateJumpForm::SetRelative(bool relative) { relative_box_->setChecked(relative); }

void TDateJumpForm::SetPart(int part, int32_t value) noexcept {
  if (part == kYearPart) {
    working_.Year = value;
  } else if (part == kMonthPart) {
    working_.Month = value;
  } else {
    working_.Day = value;
  }
}

int32_t TDateJumpForm::Part(int part) const noexcept {
  return part == kYearPart ? working_.Year : part == kMonthPart ? working_.Month : working_.Day;
}

void TDateJumpForm::WriteDateBox(QComboBox* box, const QString& text) {
  writing_ = true;
  box->setEditText(text);
  writing_ = false;
}

void TDateJumpForm::WriteWorkingDate() {
  for (int part = 0; part < 3; ++part) WriteDateBox(date_boxes_[part], QString::number(Part(part)));
}

void TDateJumpForm::FillYearList() {
  QComboBox* year_box = date_boxes_[kYearPart];
  const TEraRule& era = ChosenEra();
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

void TDateJumpForm::PrepareToShow() {
  relative_box_->setChecked(false);  // a change runs the handler: today, absolute mode
  {
    // Selecting the era here only sets the box; the year list is filled below.
    const QSignalBlocker blocker(era_box_);
    era_box_->setCurrentIndex(kEraChoiceWestern);
  }
  WriteWorkingDate();
  FillYearList();
  date_boxes_[kYearPart]->setFocus();
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
    PrepareToShow();
  }
  QDialog::showEvent(event);
}

void TDateJumpForm::SwitchMode() {
  const bool relative = relative_box_->isChecked();
  era_box_->setVisible(!relative);
  for (int part = 0; part < 3; ++part) {
    date_boxes_[part]->setVisible(!relative);
    offset_edits_[part]->setVisible(relative);
    offset_steps_[part]->setVisible(relative);
  }
  if (relative) {
    working_ = TDateRec{0, 0, 0};
    for (TStepButtons* steps : offset_steps_) steps->SetPosition(0);
    offset_edits_[kYearPart]->setFocus();
  } else {
    working_ = today_;
    WriteWorkingDate();
    date_boxes_[kYearPart]->setFocus();
  }
}

void TDateJumpForm::OffsetStepped(int part) {
  QLineEdit* edit = offset_edits_[part];
  if (offset_steps_[part]->Position() > 0 && !edit->text().startsWith(QLatin1Char('+'))) {
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

void TDateJumpForm::OffsetEdited(int part) {
  QLineEdit* edit = offset_edits_[part];
  const QString text = edit->text();
  int32_t value = 0;
  if (ReadInteger(text, value)) {
    SetPart(part, value);
    return;
  }
  ReportNotANumber(text, [edit] { edit->clear(); });
}

void TDateJumpForm::DateBoxEdited(int part) {
  QComboBox* box = date_boxes_[part];
  const QString text = box->currentText();
  int32_t value = 0;
  if (ReadInteger(text, value)) {
    if (part != kYearPart) {
      SetPart(part, value);
      return;
    }
    // An era year so large that the Western year leaves 32 bits is no usable number either.
    const int64_t year = int64_t{value} + ChosenEra().base;
    if (year <= INT32_MAX) {
      working_.Year = static_cast<int32_t>(year);
      return;
    }
  }
  ReportNotANumber(text, [box] { box->setEditText(QString()); });
}

const TEraRule& TDateJumpForm::ChosenEra() const noexcept {
  const int index = era_box_->currentIndex();
  const bool listed = index >= 0 && static_cast<std::size_t>(index) < era_rules_.size();
  return era_rules_[listed ? static_cast<std::size_t>(index) : std::size_t{kEraChoiceWestern}];
}

void TDateJumpForm::EraChosen() {
  const int index = era_box_->currentIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= era_rules_.size()) return;
  const TEraRule& era = era_rules_[static_cast<std::size_t>(index)];
  if (index == kEraChoiceWestern) {
    WriteDateBox(date_boxes_[kYearPart], QString::number(working_.Year));
  } else if (working_.Year >= era.first_accepted && working_.Year <= era.last_accepted) {
    WriteDateBox(date_boxes_[kYearPart], QString::number(working_.Year - era.base));
  } else {
    working_.Year = era.base + 1;
    WriteDateBox(date_boxes_[kYearPart], QStringLiteral("1"));
  }
  FillYearList();
}

void TDateJumpForm::Confirm() {
  // Offsets always land on a day that exists; the schedule says if they leave its range.
  const TCursorNotice refusal = refusal_ && !Relative() ? refusal_(working_) : TCursorNotice::kNone;
  if (refusal == TCursorNotice::kNone) {
    accept();
    return;
  }
  // The same beep and box as the schedule's refusal, but the typed date stays to be mended.
  notices_.Beep(TBeepKind::kPlain);
  notices_.Information(CursorNoticeText(refusal));
  date_boxes_[kDayPart]->setFocus();
}

// ---------------------------------------------------------------------------------------
// TDateJumpDialog

bool TDateJumpDialog::Execute(QWidget* parent) {
  form_ = std::make_unique<TDateJumpForm>(notices_, today_, parent, kind_);
  form_->SetRelative(relative_);
  form_->SetWorkingDate(date_);
  form_->SetDateRefusal(refusal_);
  if (!caption_.empty()) form_->setWindowTitle(QString::fromStdString(caption_));
  const bool ok = form_->exec() == QDialog::Accepted;
  if (ok) {
    date_ = form_->WorkingDate();
    relative_ = form_->Relative();
  }
  form_.reset();
  return ok;
}

}  // namespace pelo
