#pragma once

// What the benchmarks share: notices that answer nothing, and the text of a generated data
// file of the kinds of lines a long-kept schedule file holds.

#include <cstdio>
#include <string>

#include "datafiles/Notices.h"

namespace pelo::bench {

class QuietNotices : public pelo::TUserNotices {
 public:
  void Beep(pelo::TBeepKind) override {}
  void Information(const std::string&) override {}
  void Warning(const std::string&) override {}
  bool Confirm(const std::string&) override { return true; }
  void ShowLoadErrors(const pelo::TLoadErrorReport&) override {}
};

// Lines of the kinds a long-kept schedule file holds, in turn.
inline std::string LongKeptFileText(int lines) {
  // A week number past 5 makes a bad line now and then, as in real files.
  const char* const kinds[] = {
      "2024/%d/%d 10:00 打ち合わせ　第%d回",    //
      "%d/%d ｸﾘｽﾏｽ会の準備 &o(%%s)",            //
      "@2025/%d/%d 創立記念日 #%d",             //
      "B:%d/MO%d 定例会議 &!(HD)",              //
      "2023/%d/%d~2023/%d/20 出張（大阪）",     //
      "9:00~17:00 2024/%d/%d 研修 &&>(HD) %d",  //
      ";2022/%d/%d 取り消した予定 %d",          //
      "1950/%d/%d~2020/5/%d 祖父 &o(%%b2)",     //
      "%d/_ 月末の締め &x(経理,%d)",            //
      "ﾚ2024/%d/%d 済んだ用事 %d",
  };
  std::string text = "=?/?/? 既定 &o(%w)\r\n";
  char line[256];
  int written = 0;
  for (int i = 0; written < lines; ++i) {
    const int month = i % 12 + 1;
    const int day = i % 28 + 1;
    std::snprintf(line, sizeof line, kinds[i % 10], month, day, i % 5 + 1);
    text += line;
    text += "\r\n";
    ++written;
    if (i % 50 == 0 && written + 4 <= lines) {
      text += "%\r\n  添付のメモ\r\n二行目\r\n%\r\n";
      written += 4;
    }
  }
  return text;
}

}  // namespace pelo::bench
