#pragma once

// The viewer's answer to the core's user notices: system beeps, message boxes captioned with
// the program's name, and the load-error report window.

#include <QPointer>
#include <QWidget>
#include <string>

#include "datafiles/Notices.h"

namespace pelo {

inline constexpr const char* kNoticeCaption = "ぺろん";

class TQtNotices : public TUserNotices {
 public:
  // The boxes open over parent (which may be null, and may go away before the notices do).
  explicit TQtNotices(QWidget* parent = nullptr) : parent_(parent) {}

  void SetParent(QWidget* parent) { parent_ = parent; }

  void Beep(TBeepKind kind) override;
  void Information(const std::string& text) override;
  void Warning(const std::string& text) override;
  bool Confirm(const std::string& text) override;
  void ShowLoadErrors(const TLoadErrorReport& report) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace pelo
