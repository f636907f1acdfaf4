#pragma once

// Short texts of parsed date expressions for the tables of the entry tests:
//   "0/12/25^(1/0/0)"            value 0/12/25, step one year
//   "0/1/31+(0/0/1)^(1/0/2)"     with an adjustment
//   "R0/0/1 ~ R0/0/3"            relative sides of a period
//   "2000/1/1, 0/2/1^(1/0/0)"    two date sets

#include <string>

#include "DateLabels.h"
#include "calendar/Dates.h"
#include "entries/DateSets.h"

namespace pelo::test {

inline std::string DescribeParts(const TDateParts* parts) {
  if (parts == nullptr) return "none";
  std::string text = parts->Relative() ? "R" : "";
  text += parts->Value() ? DateLabel(*parts->Value()) : "-";
  if (const TDateRec* adjust = parts->Get(kAdjustPart)) text += "+(" + DateLabel(*adjust) + ")";
  if (parts->Step()) text += "^(" + DateLabel(*parts->Step()) + ")";
  return text;
}

inline std::string DescribeSet(const TDateSet& set) {
  std::string text = DescribeParts(set.Start());
  if (set.HasEnd()) text += " ~ " + DescribeParts(set.End());
  return text;
}

inline std::string DescribeList(const TDateSetList* list) {
  if (list == nullptr) return "none";
  std::string text;
  for (const TDateSet& set : list->Items()) {
    if (!text.empty()) text += ", ";
    text += DescribeSet(set);
  }
  return text;
}

}  // namespace pelo::test
