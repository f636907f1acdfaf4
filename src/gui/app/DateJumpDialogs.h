#pragma once

// The date dialog: the modal form TDateJumpForm, where the user names a date either absolutely
// (Western year or a year of one of the eras since 明治) or as signed offsets from the cursor date,
// and the wrapper TDateJumpDialog that carries the date and the mode between the main window and
// one run of the form.

#include <QDialog>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include "calendar/CalendarKinds.h"
#include "calendar/Dates.h"
#include "datafiles/Notices.h"
#include "schedule/ScheduleModels.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace pelo {

inline constexpr const char* kDateJumpCaption = "年月日指定";
inline constexpr const char* kNotANumberWarning = "数字を入力してください！";

// The choices of the era box, in its order; named apart from the calendar's era table, whose
// numbers are positions in the full list of eras.
enum TEraChoice : int {
  kEraChoiceWestern = 0,  // 西暦
  kEraChoiceMeiji = 1,
  kEraChoiceTaisho = 2,
  kEraChoiceShowa = 3,
  kEraChoiceHeisei = 4,
  kEraChoiceReiwa = 5,  // the calendar of today's only
};

struct TEraRule {
  const char* name;
  int32_t base;            // year of the era + base = Western year
  int32_t first_accepted;  // Western years kept when switching to the era
  int32_t last_accepted;
  int32_t list_length;  // years 1..list_length in the year list (0: the Western list)
};

// The era box's choices of a calendar, indexed by TEraChoice: the classic one ends with 平成,
// which takes any later year; the calendar of today ends 平成 with 2019 and adds 令和.
std::span<const TEraRule> EraRules(TCalendarKind kind) noexcept;

// Why the cursor cannot go to a date, kNone when it can: the form asks before it closes.
using TDateRefusal = std::function<TCursorNotice(TDateRec)>;

// Half the length of the Western year list: working year - 25 .. working year + 25.
inline constexpr int32_t kWesternListReach = 25;

// Step buttons attached to an edit box: two arrow buttons (and the arrow keys inside the
// edit) step a position in -32768..32767 without wrapping and write it into the edit as
// decimal text.
class TStepButtons : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMin = -32768;
  static constexpr int kMax = 32767;

  explicit TStepButtons(QWidget* parent = nullptr);

  void Associate(QLineEdit* edit);
  int Position() const noexcept { return position_; }
  // Sets the position (clamped) and writes it into the edit.
  void SetPosition(int position);
  // One click on an arrow: delta +1 (up) or -1 (down).
  void Step(int delta);

 signals:
  void Clicked(int delta);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* up_button_;
  QToolButton* down_button_;
  QLineEdit* edit_ = nullptr;
  int position_ = 0;
};

class TDateJumpForm : public QDialog {
  Q_OBJECT

 public:
  // The parts of the date, indexing the year, month and day controls.
  static constexpr int kYearPart = 0;
  static constexpr int kMonthPart = 1;
  static constexpr int kDayPart = 2;

  // Non-numeric input is answered through notices (beep and warning box). today is where
  // leaving the relative mode puts the working date; the calendar's kind chooses the eras.
  TDateJumpForm(TUserNotices& notices, TDateRec today, QWidget* parent = nullptr,
                TCalendarKind kind = TCalendarKind::kClassic);

  TDateRec WorkingDate() const noexcept { return working_; }
  void SetWorkingDate(TDateRec date) noexcept { working_ = date; }
  // Offsets from the cursor date ("±" ticked) rather than a date.
  bool Relative() const;
  // Ticks or unticks the "±" box; a change switches the mode.
  void SetRelative(bool relative);
  // OK with a date the cursor cannot go to shows why and keeps the form open with what was
  // typed; without a refusal every date closes it.
  void SetDateRefusal(TDateRefusal refusal) { refusal_ = std::move(refusal); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateModeBox();
  QWidget* CreateDateFrame();
  void CreateDateFields(QWidget* frame);
  void CreateButtons();
  void ChainTabOrder();
  void ConnectControls();

  // Each showing starts in absolute mode on today's date, in Western years.
  void PrepareToShow();
  // Shows the date boxes or the offset boxes as the "±" box says, on today's date or on no
  // offset.
  void SwitchMode();
  // A positive offset gets its "+".
  void OffsetStepped(int part);
  void OffsetEdited(int part);
  void DateBoxEdited(int part);
  void EraChosen();
  // OK: closes the form unless its date is refused.
  void Confirm();

  void SetPart(int part, int32_t value) noexcept;
  int32_t Part(int part) const noexcept;
  // Writes a number into a date box without running its change handler: the dialog's own
  // writes restate the working date and must not be read back (an era base would be added).
  void WriteDateBox(QComboBox* box, const QString& text);
  void WriteWorkingDate();
  void FillYearList();
  void ReportNotANumber(const QString& text, const std::function<void()>& empty_box);
  // The rule of the era chosen in the box (西暦 while none is).
  const TEraRule& ChosenEra() const noexcept;

  TUserNotices& notices_;
  TDateRec today_;
  std::span<const TEraRule> era_rules_;
  TDateRefusal refusal_;
  TDateRec working_;
  bool writing_ = false;   // the dialog itself is writing into a date box
  bool emptying_ = false;  // a box is being emptied after a warning

  QCheckBox* relative_box_ = nullptr;
  QComboBox* era_box_ = nullptr;
  std::array<QComboBox*, 3> date_boxes_{};
  std::array<QLineEdit*, 3> offset_edits_{};
  std::array<TStepButtons*, 3> offset_steps_{};
  QPushButton* ok_button_ = nullptr;
  QPushButton* cancel_button_ = nullptr;
};

// The wrapper kept by the main window: the date handed to and taken from the form, the mode
// of the last run closed with OK, and an optional caption.
class TDateJumpDialog {
 public:
  // today: handed to the form (see TDateJumpForm).
  TDateJumpDialog(TUserNotices& notices, TDateRec today) : notices_(notices), today_(today) {}
  TDateJumpDialog(const TDateJumpDialog&) = delete;
  TDateJumpDialog& operator=(const TDateJumpDialog&) = delete;

  // Absolute mode: a calendar date. Relative mode: offsets in years, months and days.
  TDateRec Date() const noexcept { return date_; }
  void SetDate(TDateRec date) noexcept { date_ = date; }
  bool Relative() const noexcept { return relative_; }
  void SetRelative(bool relative) noexcept { relative_ = relative; }
  const std::string& Caption() const noexcept { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  // The calendar whose eras the next run offers.
  void SetCalendarKind(TCalendarKind kind) noexcept { kind_ = kind; }
  // Handed to each run's form (see TDateJumpForm::SetDateRefusal).
  void SetDateRefusal(TDateRefusal refusal) { refusal_ = std::move(refusal); }

  // Runs the form modally; true when it was closed with OK (the date and the mode are then
  // taken over). Cancel leaves the wrapper as it was.
  bool Execute(QWidget* parent = nullptr);

  // The form while Execute runs, else null.
  TDateJumpForm* Form() const noexcept { return form_.get(); }

 private:
  TUserNotices& notices_;
  TDateRec today_;
  TDateRec date_;
  TCalendarKind kind_ = TCalendarKind::kClassic;
  bool relative_ = false;
  std::string caption_;
  TDateRefusal refusal_;
  std::unique_ptr<TDateJumpForm> form_;
};

}  // namespace pelo
