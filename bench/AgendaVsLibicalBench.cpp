// pelo-agenda against libical's RRULE iterator on the same 1,000 recurring rules and the same
// span, 2024/1/1..2026/12/31: 200 each of a yearly date, the 25th of every month, the second
// Monday of every month, every Monday and every day of one month (the rules file of
// bench/agenda-files.py). The agenda is the whole run in-process (file read, walk, rows, TSV
// text); libical only iterates the rules and counts the days in the span. The figure is the
// ratio of the two times (goal: 0.06 and less). Counter: the days found, the same on both.
#include <benchmark/benchmark.h>
#include <libical/ical.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "AgendaRun.h"
#include "text/Cp932.h"

namespace {

constexpr int kRuleGroups = 200;

// The rules file's lines, as bench/agenda-files.py writes them.
std::string RulesText() {
  std::string text;
  for (int i = 0; i < kRuleGroups; ++i) {
    const int m = i % 12 + 1;
    const int d = i % 28 + 1;
    const int y = 2023 + i % 4;
    const int last = m == 2 ? 28 : 30;
    text += std::to_string(m) + "/" + std::to_string(d) + " 記念日 " + std::to_string(i) + "\r\n";
    text += "25 給料日 " + std::to_string(i) + "\r\n";
    text += "MO2 定例会議 " + std::to_string(i) + "\r\n";
    text += "MO 燃えるゴミ " + std::to_string(i) + "\r\n";
    text += std::to_string(y) + "/" + std::to_string(m) + "/1~" + std::to_string(y) + "/" +
            std::to_string(m) + "/" + std::to_string(last) + " 工事期間 " + std::to_string(i) +
            "\r\n";
  }
  return text;
}

// The same rules as RRULEs with their first days (from 2023, the agenda's window).
struct TRule {
  std::string rrule;
  std::string start;
};

std::string IcalDate(int year, int month, int day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
  return text;
}

std::vector<TRule> Rrules() {
  std::vector<TRule> rules;
  for (int i = 0; i < kRuleGroups; ++i) {
    const int m = i % 12 + 1;
    const int d = i % 28 + 1;
    const int y = 2023 + i % 4;
    const int last = m == 2 ? 28 : 30;
    rules.push_back(
        {"FREQ=YEARLY;BYMONTH=" + std::to_string(m) + ";BYMONTHDAY=" + std::to_string(d),
         IcalDate(2023, m, d)});
    rules.push_back({"FREQ=MONTHLY;BYMONTHDAY=25", IcalDate(2023, 1, 25)});
    rules.push_back({"FREQ=MONTHLY;BYDAY=2MO", IcalDate(2023, 1, 9)});
    rules.push_back({"FREQ=WEEKLY;BYDAY=MO", IcalDate(2023, 1, 2)});
    rules.push_back({"FREQ=DAILY;UNTIL=" + IcalDate(y, m, last), IcalDate(y, m, 1)});
  }
  return rules;
}

void BM_AgendaTsv(benchmark::State& state) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "pelo-bench-agenda";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "rules.nrk").string();
  const std::string bytes = pelo::EncodeCp932(RulesText());
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  const std::vector<std::string> args{"--format", "tsv",  "--today",    "2024/1/1", "--from",
                                      "2024/1/1", "--to", "2026/12/31", path};
  std::size_t rows = 0;
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream err;
    pelo::agenda::RunAgenda(args, out, err);
    const std::string text = out.str();
    rows = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  }
  state.counters["days"] = static_cast<double>(rows);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AgendaTsv)->Unit(benchmark::kMillisecond);

void BM_LibicalRrules(benchmark::State& state) {
  const std::vector<TRule> rules = Rrules();
  const icaltimetype first = icaltime_from_string("20240101");
  const icaltimetype last = icaltime_from_string("20261231");
  std::size_t days = 0;
  for (auto _ : state) {
    days = 0;
    for (const TRule& rule : rules) {
      const icalrecurrencetype recurrence = icalrecurrencetype_from_string(rule.rrule.c_str());
      icalrecur_iterator* it =
          icalrecur_iterator_new(recurrence, icaltime_from_string(rule.start.c_str()));
      for (icaltimetype day = icalrecur_iterator_next(it);
           !icaltime_is_null_time(day) && icaltime_compare(day, last) <= 0;
           day = icalrecur_iterator_next(it)) {
        if (icaltime_compare(day, first) >= 0) ++days;
      }
      icalrecur_iterator_free(it);
    }
  }
  state.counters["days"] = static_cast<double>(days);
}
BENCHMARK(BM_LibicalRrules)->Unit(benchmark::kMillisecond);

}  // namespace
