#pragma once

// A user-notice recorder for tests: keeps every beep, message and report in order, and
// answers questions from a queue of prepared answers (OK when the queue is empty).

#include <deque>
#include <string>
#include <vector>

#include "datafiles/Notices.h"

namespace pelo::test {

class RecordingNotices : public TUserNotices {
 public:
  enum class Kind { kBeep, kInformation, kWarning, kConfirm, kLoadErrors };
  struct Event {
    Kind kind;
    TBeepKind beep = TBeepKind::kPlain;
    std::string text;
    TLoadErrorReport report;
  };

  void Beep(TBeepKind kind) override { events.push_back({Kind::kBeep, kind, {}, {}}); }
  void Information(const std::string& text) override {
    events.push_back({Kind::kInformation, {}, text, {}});
  }
  void Warning(const std::string& text) override {
    events.push_back({Kind::kWarning, {}, text, {}});
  }
  bool Confirm(const std::string& text) override {
    events.push_back({Kind::kConfirm, {}, text, {}});
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowLoadErrors(const TLoadErrorReport& report) override {
    events.push_back({Kind::kLoadErrors, {}, {}, report});
  }

  // The texts of all message boxes and questions, in order.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const Event& e : events) {
      if (e.kind == Kind::kInformation || e.kind == Kind::kWarning || e.kind == Kind::kConfirm) {
        texts.push_back(e.text);
      }
    }
    return texts;
  }
  std::vector<TLoadErrorReport> Reports() const {
    std::vector<TLoadErrorReport> reports;
    for (const Event& e : events) {
      if (e.kind == Kind::kLoadErrors) reports.push_back(e.report);
    }
    return reports;
  }
  void Clear() { events.clear(); }

  std::vector<Event> events;
  std::deque<bool> answers;
};

}  // namespace pelo::test
