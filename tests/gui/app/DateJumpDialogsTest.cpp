// The date dialog: showing the form, era switching and the year lists, relative mode with the
// up-downs, the warning on non-numeric input, and the wrapper's modal runs.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "ChildWidgets.h"
#include "RecordingNotices.h"
#include "app/DateJumpDialogs.h"

namespace pelo {
namespace {

using test::Child;
using test::RecordingNotices;

constexpr TDateRec kToday{2024, 5, 1};

QString Q(const char* text) { return QString::fromUtf8(text); }

QStringList Items(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

// "1" up to count.
QStringList Numbers(int count) {
  QStringList numbers;
  for (int i = 1; i <= count; ++i) numbers << QString::number(i);
  return numbers;
}

// One warning as the user meets it: the exclamation beep, then the box.
std::vector<RecordingNotices::Kind> Warnings(int count) {
  std::vector<RecordingNotices::Kind> kinds;
  for (int i = 0; i < count; ++i) {
    kinds.push_back(RecordingNotices::Kind::kBeep);
    kinds.push_back(RecordingNotices::Kind::kWarning);
  }
  return kinds;
}

std::vector<RecordingNotices::Kind> Kinds(const RecordingNotices& notices) {
  std::vector<RecordingNotices::Kind> kinds;
  for (const auto& event : notices.events) {
    kinds.push_back(event.kind);
    if (event.kind == RecordingNotices::Kind::kBeep) {
      EXPECT_EQ(event.beep, TBeepKind::kExclamation);
    }
    if (event.kind == RecordingNotices::Kind::kWarning) {
      EXPECT_EQ(event.text, "数字を入力してください！");
    }
  }
  return kinds;
}

// The form as it opens on a cursor date (the show runs the form's show handler).
void Open(TDateJumpForm& dialog, TDateRec cursor) {
  dialog.hide();
  dialog.SetWorkingDate(cursor);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
}

struct EraCase {
  int32_t start_year;
  int era;
  int32_t working_year;
  const char* shown;
  int list_size;
};

// Each era picked on a form opened on 6/10 of the start year: the working year, the year
// shown and the era's year list, with no warning.
void CheckEraSwitching(TDateJumpForm& dialog, const RecordingNotices& notices,
                       const std::vector<EraCase>& cases) {
  for (const EraCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start_year << " era " << c.era);
    Open(dialog, {c.start_year, 6, 10});
    Child<QComboBox>(dialog, "EraBox")->setCurrentIndex(c.era);
    EXPECT_EQ(dialog.WorkingDate(), (TDateRec{c.working_year, 6, 10}));
    const QComboBox* year = Child<QComboBox>(dialog, "YearBox");
    EXPECT_EQ(year->currentText(), Q(c.shown));
    EXPECT_EQ(Items(year), Numbers(c.list_size));
    EXPECT_TRUE(notices.events.empty());
  }
}

class DateJumpFormTest : public ::testing::Test {
 protected:
  void Open(TDateRec cursor) { pelo::Open(dialog, cursor); }

  RecordingNotices notices;
  TDateJumpForm dialog{notices, kToday};
  QCheckBox* relative = Child<QCheckBox>(dialog, "RelativeBox");
  QComboBox* era = Child<QComboBox>(dialog, "EraBox");
  QComboBox* year = Child<QComboBox>(dialog, "YearBox");
  QComboBox* month = Child<QComboBox>(dialog, "MonthBox");
  QComboBox* day = Child<QComboBox>(dialog, "DayBox");
  QLineEdit* edit_year = Child<QLineEdit>(dialog, "YearOffset");
  QLineEdit* edit_month = Child<QLineEdit>(dialog, "MonthOffset");
  QLineEdit* edit_day = Child<QLineEdit>(dialog, "DayOffset");
  TStepButtons* year_steps = Child<TStepButtons>(dialog, "YearSteps");
  TStepButtons* month_steps = Child<TStepButtons>(dialog, "MonthSteps");
  TStepButtons* day_steps = Child<TStepButtons>(dialog, "DaySteps");
};

TEST_F(DateJumpFormTest, TextsAndControlsOfTheForm) {
  EXPECT_EQ(dialog.windowTitle(), Q("年月日指定"));
  EXPECT_EQ(dialog.size(), QSize(394, 119));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  EXPECT_EQ(relative->text(), Q("日付ｶｰｿﾙのある年月日から±で指定する(&P)"));
  EXPECT_EQ(Items(era), QStringList({Q("西暦"), Q("明治"), Q("大正"), Q("昭和"), Q("平成")}));
  EXPECT_EQ(Items(month), Numbers(12));
  EXPECT_EQ(Items(day), Numbers(31));
  for (QComboBox* combo : {year, month, day}) EXPECT_TRUE(combo->isEditable());
  EXPECT_FALSE(era->isEditable());
  for (QLineEdit* edit : {edit_year, edit_month, edit_day}) {
    EXPECT_EQ(edit->text(), "0");
    EXPECT_FALSE(edit->testAttribute(Qt::WA_InputMethodEnabled));
  }
  for (TStepButtons* steps : {year_steps, month_steps, day_steps}) {
    EXPECT_TRUE(steps->isHidden());
  }
  const std::vector<std::pair<const char*, const char*>> labels = {
      {"YearUnit", "年"}, {"MonthUnit", "月"}, {"DayUnit", "日"}};
  for (const auto& [name, text] : labels) {
    const QLabel* label = Child<QLabel>(dialog, name);
    EXPECT_EQ(label->text(), Q(text));
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(label->font().pixelSize(), 16);
  }
  const auto* ok = Child<QPushButton>(dialog, "OkButton");
  const auto* cancel = Child<QPushButton>(dialog, "CancelButton");
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(cancel->text(), Q("ｷｬﾝｾﾙ"));
}

TEST_F(DateJumpFormTest, ShowingWritesTheCursorDateAndTheWesternYearList) {
  Open({2024, 3, 15});
  EXPECT_FALSE(relative->isChecked());
  EXPECT_EQ(era->currentIndex(), 0);
  EXPECT_EQ(year->currentText(), "2024");
  EXPECT_EQ(month->currentText(), "3");
  EXPECT_EQ(day->currentText(), "15");
  const QStringList years = Items(year);
  ASSERT_EQ(years.size(), 51);
  EXPECT_EQ(years.front(), "1999");
  EXPECT_EQ(years.back(), "2049");
  EXPECT_EQ(dialog.focusWidget(), year);
  EXPECT_EQ(dialog.WorkingDate(), (TDateRec{2024, 3, 15}));
  EXPECT_TRUE(notices.events.empty());
}

TEST_F(DateJumpFormTest, EraSwitching) {
  const std::vector<EraCase> cases = {
      {2024, kEraChoiceMeiji, 1868, "1", 45},    // outside 1867..1911: the era's first year
      {2024, kEraChoiceHeisei, 2024, "36", 50},  // 2024 - 1988
      {2024, kEraChoiceTaisho, 1912, "1", 15},    {2024, kEraChoiceShowa, 1926, "1", 65},
      {1920, kEraChoiceTaisho, 1920, "9", 15},    {1911, kEraChoiceMeiji, 1911, "44", 45},
      {1911, kEraChoiceTaisho, 1911, "0", 15},  // 1911 is accepted by 大正 as year 0
      {1867, kEraChoiceMeiji, 1867, "0", 45},     {1988, kEraChoiceShowa, 1988, "63", 65},
      {1989, kEraChoiceShowa, 1926, "1", 65},     {1987, kEraChoiceHeisei, 1989, "1", 50},
      {3000, kEraChoiceHeisei, 3000, "1012", 50},  // 平成 accepts any later year
  };
  CheckEraSwitching(dialog, notices, cases);
}

// The calendar of today offers 令和 and ends 平成 with its last full year, as 昭和 ends
// with 63 and 大正 with 14; the classic eras are as they were.
TEST(DateJumpFormCurrentTest, EraSwitchingWithReiwa) {
  RecordingNotices notices;
  TDateJumpForm dialog{notices, kToday, nullptr, TCalendarKind::kCurrent};
  QComboBox* era = Child<QComboBox>(dialog, "EraBox");
  QComboBox* year = Child<QComboBox>(dialog, "YearBox");
  EXPECT_EQ(Items(era),
            QStringList({Q("西暦"), Q("明治"), Q("大正"), Q("昭和"), Q("平成"), Q("令和")}));
  const std::vector<EraCase> cases = {
      {2024, kEraChoiceReiwa, 2024, "6", 50},   {2019, kEraChoiceReiwa, 2019, "1", 50},
      {2018, kEraChoiceReiwa, 2018, "0", 50},  // the year before, as year 0
      {2017, kEraChoiceReiwa, 2019, "1", 50},  // before it: the era's first year
      {3000, kEraChoiceReiwa, 3000, "982", 50}, {2018, kEraChoiceHeisei, 2018, "30", 31},
      {2024, kEraChoiceHeisei, 1989, "1", 31},  // 平成 takes no year after 2018
      {2024, kEraChoiceShowa, 1926, "1", 65},
  };
  CheckEraSwitching(dialog, notices, cases);
  // A 令和 year typed adds its base.
  era->setCurrentIndex(kEraChoiceReiwa);
  year->setEditText("8");
  EXPECT_EQ(dialog.WorkingDate().Year, 2026);
  EXPECT_TRUE(notices.events.empty());
}

TEST_F(DateJumpFormTest, BackToTheWesternEraShowsTheWorkingYearAndItsList) {
  Open({2024, 1, 1});
  era->setCurrentIndex(kEraChoiceMeiji);  // the working year becomes 1868
  era->setCurrentIndex(kEraChoiceWestern);
  EXPECT_EQ(year->currentText(), "1868");
  const QStringList years = Items(year);
  ASSERT_EQ(years.size(), 51);
  EXPECT_EQ(years.front(), "1843");
  EXPECT_EQ(years.back(), "1893");
}

TEST_F(DateJumpFormTest, YearMonthAndDayTypedOrPicked) {
  Open({1960, 4, 29});
  era->setCurrentIndex(kEraChoiceShowa);
  EXPECT_EQ(year->currentText(), "35");
  year->setEditText("64");
  EXPECT_EQ(dialog.WorkingDate(), (TDateRec{1989, 4, 29}));
  EXPECT_EQ(Items(year).back(), "65");

  era->setCurrentIndex(kEraChoiceHeisei);  // 1989 is 平成 1
  EXPECT_EQ(year->currentText(), "1");
  year->setCurrentIndex(30);  // picked from the list: 平成 31
  EXPECT_EQ(dialog.WorkingDate().Year, 2019);

  era->setCurrentIndex(kEraChoiceWestern);
  QTest::keyClick(year->lineEdit(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(year->lineEdit(), "1995");
  EXPECT_EQ(dialog.WorkingDate().Year, 1995);

  // Month and day typed or picked.
  month->setEditText("12");
  day->setCurrentIndex(30);
  EXPECT_EQ(dialog.WorkingDate(), (TDateRec{1995, 12, 31}));
  // The dialog does not judge the date; the schedule does when it jumps.
  day->setEditText("45");
  EXPECT_EQ(dialog.WorkingDate(), (TDateRec{1995, 12, 45}));
  EXPECT_TRUE(notices.events.empty());
}

TEST_F(DateJumpFormTest, TickingSwitchesToOffsetsAndUntickingToToday) {
  Open({2024, 3, 15});
  relative->setChecked(true);
  EXPECT_EQ(dialog.WorkingDate(), (TDateRec{0, 0, 0}));
  for (QComboBox* combo : {era, year, month, day}) EXPECT_TRUE(combo->isHidden());
  for (QLineEdit* edit : {edit_year, edit_month, edit_day}) {
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->text(), "0");
  }
  for (TStepButtons* steps : {year_steps, month_steps, day_steps}) {
    EXPECT_TRUE(steps->isVisible());
    EXPECT_EQ(steps->Position(), 0);
  }
  EXPECT_EQ(dialog.focusWidget(), edit_year);

  relative->setChecked(false);
  EXPECT_EQ(dialog.WorkingDate(), kToday);
  EXPECT_EQ(year->currentText(), "2024");
  EXPECT_EQ(month->currentText(), "5");
  EXPECT_EQ(day->currentText(), "1");
  for (QComboBox* combo : {era, year, month, day}) EXPECT_TRUE(combo->isVisible());
  for (TStepButtons* steps : {year_steps, month_steps, day_steps}) {
    EXPECT_TRUE(steps->isHidden());
  }
  EXPECT_EQ(dialog.focusWidget(), year);
  EXPECT_TRUE(notices.events.empty());
}

TEST_F(DateJumpFormTest, UpDownStepsShowASignedOffsetUpToTheEnds) {
  Open({2024, 3, 15});
  relative->setChecked(true);
  auto* up = year_steps->findChild<QToolButton*>("Up");
  auto* down = year_steps->findChild<QToolButton*>("Down");
  ASSERT_NE(up, nullptr);
  ASSERT_NE(down, nullptr);

  struct Step {
    QToolButton* button;
    const char* text;
    int32_t year;
  };
  const std::vector<Step> steps = {
      {up, "+1", 1}, {up, "+2", 2}, {down, "+1", 1}, {down, "0", 0}, {down, "-1", -1},
  };
  for (const Step& step : steps) {
    QTest::mouseClick(step.button, Qt::LeftButton);
    EXPECT_EQ(edit_year->text(), Q(step.text));
    EXPECT_EQ(dialog.WorkingDate(), (TDateRec{step.year, 0, 0}));
  }

  // The arrow keys in the edit step too.
  QTest::keyClick(edit_month, Qt::Key_Up);
  QTest::keyClick(edit_month, Qt::Key_Up);
  EXPECT_EQ(edit_month->text(), "+2");
  QTest::keyClick(edit_day, Qt::Key_Down);
  EXPECT_EQ(edit_day->text(), "-1");
  EXPECT_EQ(dialog.WorkingDate(), (TDateRec{-1, 2, -1}));

  // A number typed into the edit is where the next step starts.
  edit_year->setText("7");
  year_steps->Step(1);
  EXPECT_EQ(edit_year->text(), "+8");
  EXPECT_TRUE(notices.events.empty());
  // Stepping stops at the ends.
  for (const auto& [start, step, shown, value] :
       {std::tuple{"32767", 1, "+32767", 32767}, {"-32768", -1, "-32768", -32768}}) {
    edit_year->setText(start);
    year_steps->Step(step);
    EXPECT_EQ(edit_year->text(), shown);
    EXPECT_EQ(dialog.WorkingDate().Year, value);
  }
}

TEST_F(DateJumpFormTest, SignedNumbersTypedIntoTheOffsets) {
  Open({2024, 3, 15});
  relative->setChecked(true);
  const std::vector<std::pair<const char*, int32_t>> cases = {
      {"+3", 3}, {"-12", -12}, {"40000", 40000}, {"007", 7}, {"-2147483648", INT32_MIN}};
  for (const auto& [text, value] : cases) {
    edit_month->setText(text);
    EXPECT_EQ(dialog.WorkingDate().Month, value) << text;
  }
  EXPECT_TRUE(notices.events.empty());
}

TEST_F(DateJumpFormTest, NonNumbersInTheOffsetsAreWarnedAndTheBoxEmptied) {
  struct Case {
    const char* text;
    int warnings;  // emptying a box that held text is reported once more
  };
  const std::vector<Case> cases = {
      {"-", 2}, {"abc", 2}, {"+", 2}, {"12a", 2}, {"1 2", 2}, {"2147483648", 2}, {"", 1},
  };
  Open({2024, 3, 15});
  relative->setChecked(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    edit_day->setText("5");
    notices.Clear();
    edit_day->setText(c.text);
    EXPECT_EQ(edit_day->text(), "");
    EXPECT_EQ(Kinds(notices), Warnings(c.warnings));
    // The working value keeps its last number.
    EXPECT_EQ(dialog.WorkingDate().Day, 5);
  }
  // A minus typed alone as well.
  notices.Clear();
  edit_year->selectAll();
  QTest::keyClick(edit_year, Qt::Key_Minus);
  EXPECT_EQ(edit_year->text(), "");
  EXPECT_EQ(Kinds(notices), Warnings(2));
  EXPECT_EQ(dialog.WorkingDate().Year, 0);
}

TEST_F(DateJumpFormTest, NonNumbersInTheComboBoxes) {
  Open({2024, 3, 15});
  for (QComboBox* combo : {year, month, day}) {
    SCOPED_TRACE(combo->objectName().toStdString());
    notices.Clear();
    combo->setEditText("abc");
    EXPECT_EQ(combo->currentText(), "");
    EXPECT_EQ(Kinds(notices), Warnings(2));
  }
  EXPECT_EQ(dialog.WorkingDate(), (TDateRec{2024, 3, 15}));
}

TEST_F(DateJumpFormTest, EraYearBeyondThirtyTwoBitsIsNoNumber) {
  Open({2024, 3, 15});
  era->setCurrentIndex(kEraChoiceHeisei);
  year->setEditText("2147483000");  // + 1988 leaves 32 bits
  EXPECT_EQ(Kinds(notices), Warnings(2));
  EXPECT_EQ(dialog.WorkingDate().Year, 2024);
  notices.Clear();
  era->setCurrentIndex(kEraChoiceWestern);
  year->setEditText("2147483000");  // a Western year that fits
  EXPECT_TRUE(notices.events.empty());
  EXPECT_EQ(dialog.WorkingDate().Year, 2147483000);
  era->setCurrentIndex(kEraChoiceHeisei);
  era->setCurrentIndex(kEraChoiceWestern);  // the list around it stays within reach
  EXPECT_EQ(Items(year).back(), "2147483025");
}

// ---------------------------------------------------------------------------------------
// The wrapper's modal runs. The steps run inside the form's own event loop; whatever they
// leave open is closed so that a failing test never blocks.

void RunWithForm(TDateJumpDialog& wrapper, std::function<void(TDateJumpForm&)> steps) {
  QTimer::singleShot(0, [&wrapper, steps] {
    TDateJumpForm* form = wrapper.Form();
    if (form == nullptr) {
      ADD_FAILURE() << "the form is not running";
      return;
    }
    steps(*form);
    if (wrapper.Form() != nullptr && wrapper.Form()->isVisible()) {
      ADD_FAILURE() << "the steps left the form open";
      wrapper.Form()->done(QDialog::Rejected);
    }
  });
}

class DateJumpDialogTest : public ::testing::Test {
 protected:
  RecordingNotices notices;
  TDateJumpDialog wrapper{notices, kToday};
};

TEST_F(DateJumpDialogTest, AbsoluteRunTakesTheDateOverOnOk) {
  wrapper.SetDate({2024, 3, 15});
  RunWithForm(wrapper, [](TDateJumpForm& form) {
    EXPECT_EQ(form.windowTitle(), Q("年月日指定"));
    EXPECT_EQ(Child<QComboBox>(form, "YearBox")->currentText(), "2024");
    Child<QComboBox>(form, "EraBox")->setCurrentIndex(kEraChoiceHeisei);
    Child<QComboBox>(form, "YearBox")->setEditText("30");
    Child<QComboBox>(form, "MonthBox")->setEditText("7");
    QTest::mouseClick(Child<QPushButton>(form, "OkButton"), Qt::LeftButton);
  });
  EXPECT_TRUE(wrapper.Execute());
  EXPECT_EQ(wrapper.Date(), (TDateRec{2018, 7, 15}));
  EXPECT_FALSE(wrapper.Relative());
  EXPECT_EQ(wrapper.Form(), nullptr);
}

TEST_F(DateJumpDialogTest, RelativeRunGivesOffsetsAndTheNextRunOpensOnToday) {
  wrapper.SetDate({2024, 3, 15});
  RunWithForm(wrapper, [](TDateJumpForm& form) {
    QTest::mouseClick(Child<QCheckBox>(form, "RelativeBox"), Qt::LeftButton);
    auto* steps = Child<TStepButtons>(form, "YearSteps");
    QTest::mouseClick(steps->findChild<QToolButton*>("Up"), Qt::LeftButton);
    EXPECT_EQ(Child<QLineEdit>(form, "YearOffset")->text(), "+1");
    QTest::mouseClick(Child<QPushButton>(form, "OkButton"), Qt::LeftButton);
  });
  EXPECT_TRUE(wrapper.Execute());
  EXPECT_TRUE(wrapper.Relative());
  EXPECT_EQ(wrapper.Date(), (TDateRec{1, 0, 0}));

  // The main window puts the cursor date in again; after a relative run the form opens
  // unticked on today.
  wrapper.SetDate({2024, 3, 15});
  RunWithForm(wrapper, [](TDateJumpForm& form) {
    EXPECT_FALSE(Child<QCheckBox>(form, "RelativeBox")->isChecked());
    QStringList shown;
    for (const char* box : {"EraBox", "YearBox", "MonthBox", "DayBox"})
      shown << Child<QComboBox>(form, box)->currentText();
    EXPECT_EQ(shown, QStringList({Q("西暦"), "2024", "5", "1"}));
    EXPECT_EQ(form.WorkingDate(), kToday);
    QTest::mouseClick(Child<QPushButton>(form, "OkButton"), Qt::LeftButton);
  });
  EXPECT_TRUE(wrapper.Execute());
  EXPECT_FALSE(wrapper.Relative());
  EXPECT_EQ(wrapper.Date(), kToday);
  EXPECT_TRUE(notices.events.empty());
}

TEST_F(DateJumpDialogTest, CancelLeavesTheWrapperUnchanged) {
  struct Case {
    bool relative;
    bool escape;  // Escape or the cancel button
  };
  wrapper.SetCaption("移動先の年月日");  // replaces the form's own
  for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}}) {
    wrapper.SetDate({2000, 1, 2});
    wrapper.SetRelative(c.relative);
    RunWithForm(wrapper, [c](TDateJumpForm& form) {
      EXPECT_EQ(form.windowTitle(), Q("移動先の年月日"));
      QTest::mouseClick(Child<QCheckBox>(form, "RelativeBox"), Qt::LeftButton);
      Child<QLineEdit>(form, "DayOffset")->setText("9");
      if (c.escape) {
        QTest::keyClick(&form, Qt::Key_Escape);
      } else {
        QTest::mouseClick(Child<QPushButton>(form, "CancelButton"), Qt::LeftButton);
      }
    });
    EXPECT_FALSE(wrapper.Execute());
    EXPECT_EQ(wrapper.Date(), (TDateRec{2000, 1, 2}));
    EXPECT_EQ(wrapper.Relative(), c.relative);
    EXPECT_EQ(wrapper.Form(), nullptr);
  }
}

TEST_F(DateJumpDialogTest, ARefusedDateKeepsTheFormOpenWithWhatWasTyped) {
  struct Case {
    bool relative;
    TCursorNotice refusal;
    std::vector<std::string> messages;  // each after a plain beep; none: the form closed
  };
  const Case cases[] = {
      {false, TCursorNotice::kNonexistent, {"日付が存在しません。"}},
      {false, TCursorNotice::kOutOfRange, {kCalendarRangeMessage}},
      {false, TCursorNotice::kNone, {}},
      // Offsets always name a day; the schedule answers for its range itself.
      {true, TCursorNotice::kNonexistent, {}},
  };
  for (const Case& c : cases) {
    notices.Clear();
    std::vector<TDateRec> asked;
    wrapper.SetDateRefusal([&asked, &c](TDateRec date) {
      asked.push_back(date);
      return c.refusal;
    });
    QStringList typed;  // what the boxes hold after OK, while the form stays
    RunWithForm(wrapper, [&c, &typed](TDateJumpForm& form) {
      if (c.relative) QTest::mouseClick(Child<QCheckBox>(form, "RelativeBox"), Qt::LeftButton);
      Child<QComboBox>(form, "EraBox")->setCurrentIndex(kEraChoiceHeisei);
      for (const auto& [box, text] :
           {std::pair{"YearBox", "38"}, {"MonthBox", "2"}, {"DayBox", "30"}})
        Child<QComboBox>(form, box)->setEditText(text);
      QTest::mouseClick(Child<QPushButton>(form, "OkButton"), Qt::LeftButton);
      if (!form.isVisible()) return;
      for (const char* box : {"YearBox", "MonthBox", "DayBox"})
        typed << Child<QComboBox>(form, box)->currentText();
      form.reject();
    });
    const std::string trace = CursorNoticeText(c.refusal);
    EXPECT_EQ(wrapper.Execute(), c.messages.empty()) << trace;
    EXPECT_EQ(typed, c.messages.empty() ? QStringList() : QStringList({"38", "2", "30"})) << trace;
    const std::vector<TDateRec> typed_date = {{2026, 2, 30}};  // 平成38年
    EXPECT_EQ(asked, c.relative ? std::vector<TDateRec>{} : typed_date) << trace;
    EXPECT_EQ(notices.Messages(), c.messages) << trace;
    if (c.messages.empty()) continue;
    EXPECT_EQ(notices.events.front().kind, RecordingNotices::Kind::kBeep) << trace;
    EXPECT_EQ(notices.events.front().beep, TBeepKind::kPlain) << trace;
  }
}

TEST_F(DateJumpDialogTest, EnterInTheYearBoxPressesOk) {
  wrapper.SetDate({2024, 3, 15});
  RunWithForm(wrapper, [](TDateJumpForm& form) {
    QComboBox* year = Child<QComboBox>(form, "YearBox");
    year->setEditText("1999");
    QTest::keyClick(year->lineEdit(), Qt::Key_Return);
  });
  EXPECT_TRUE(wrapper.Execute());
  EXPECT_EQ(wrapper.Date(), (TDateRec{1999, 3, 15}));
}

}  // namespace
}  // namespace pelo
