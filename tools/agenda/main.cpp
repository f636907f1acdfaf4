// pelo-agenda: prints, day by day, what Pelo's schedule grid shows for the given data files,
// or the calendar information of each day.

#include <iostream>
#include <string>
#include <vector>

#include "AgendaRun.h"

int main(int argc, char** argv) {
  return pelo::agenda::RunAgenda({argv + 1, argv + argc}, std::cout, std::cerr);
}
