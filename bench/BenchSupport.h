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

// The 100,000 lines of bench/startup-time.sh's file, in the same turn of kinds: mostly
// repeating entries, every one of which parses.
inline std::string StartupFileText(int lines = 100000) {
  std::string text;
  char line[256];
  for (int i = 0; i < lines; ++i) {
    const int m = i % 12 + 1;
    const int d = i % 28 + 1;
    const int y = 1990 + i % 50;
    switch (i % 10) {
      case 0:
        std::snprintf(line, sizeof line, "%d/%d/%d 10:00 打ち合わせ 第%d回", y, m, d, i);
        break;
      case 1:
        std::snprintf(line, sizeof line, "%d/%d 記念日 %d &o(%%s)", m, d, i);
        break;
      case 2:
        std::snprintf(line, sizeof line, "%d 月例の点検 %d", d, i);
        break;
      case 3:
        std::snprintf(line, sizeof line, "B:%d/MO%d 定例会議 %d", m, i % 4 + 1, i);
        break;
      case 4:
        std::snprintf(line, sizeof line, "%d/%d/%d~%d/%d/20 出張 %d", y, m, d % 19 + 1, y, m, i);
        break;
      case 5:
        std::snprintf(line, sizeof line, "9:00~17:00 %d/%d/%d 研修 %d &&>(HD)", y, m, d, i);
        break;
      case 6:
        std::snprintf(line, sizeof line, "%d/%d/%d 予定 %d", 2020 + i % 10, m, d, i);
        break;
      case 7:
        std::snprintf(line, sizeof line, "%d^/%d/%d 誕生日 %d &o(%%g)", 1950 + i % 60, m, d, i);
        break;
      case 8:
        std::snprintf(line, sizeof line, "%d/_ 月末の締め %d", m, i);
        break;
      default:
        std::snprintf(line, sizeof line, "%d/%d 年中行事 %d", m, d, i);
    }
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace pelo::bench
