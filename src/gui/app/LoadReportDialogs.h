#pragma once

// The load-error report window: the bad lines of one data file under a heading, shown
// modally after the file has been read.

#include <QDialog>
#include <string>
#include <vector>

#include "datafiles/Notices.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace pelo {

inline constexpr const char* kLoadReportCaption = "ねりかｴﾗｰ情報";
inline constexpr const char* kLoadReportMessage = "ﾃﾞｰﾀﾌｧｲﾙの読み込み中にｴﾗｰが発生しました！";

class TLoadReportDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 490;
  static constexpr int kClientHeight = 267;
  static constexpr int kBottomHeight = 35;
  static constexpr int kCloseRightGap = 20;

  explicit TLoadReportDialog(QWidget* parent = nullptr);

  // One line of the list per report line, in order.
  void SetLines(const std::vector<std::string>& lines);
  // A heading that is not empty replaces the message's own text.
  void SetHeading(const std::string& heading);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* CreateBody();
  void CreateButtonBar();
  // Keeps the close button right-aligned in the button bar.
  void PlaceCloseButton();

  QWidget* button_bar_ = nullptr;
  QLabel* message_ = nullptr;
  QPlainTextEdit* lines_ = nullptr;
  QPushButton* close_button_ = nullptr;
};

// Shows one report: the exclamation beep through notices, then the window, modally. True
// when it was closed with the OK result (the close button cancels).
bool ExecuteLoadReportDialog(const TLoadErrorReport& report, TUserNotices& notices,
                             QWidget* parent = nullptr);

}  // namespace pelo
