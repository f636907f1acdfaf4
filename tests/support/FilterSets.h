#pragma once

// The category filter a default page gives its schedule, written out by hand so the tests
// compare against it rather than against the program's own default.

#include "text/SmallSets.h"

namespace pelo::test {

inline TFilterSet DefaultPageFilter() {
  TFilterSet filter;
  filter[0] = {0};
  filter[4] = {0};
  filter[5] = {0, 1, 2};
  filter[6] = {0, 1, 2, 3};
  return filter;
}

}  // namespace pelo::test
