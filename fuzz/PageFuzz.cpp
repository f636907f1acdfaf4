// Arbitrary bytes as a page-settings file, read into a page. Beyond not crashing, the read
// must keep its promises: names and texts within their lengths, a failed read changing only
// the name, and the result not depending on what the page held before.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "schedule/IniFiles.h"
#include "schedule/Pages.h"
#include "text/Texts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelo;
  const TIniFile ini =
      TIniFile::FromBytes(std::string_view(reinterpret_cast<const char*>(data), size));

  TPage page(768);
  TPage before = page;
  const bool read = page.Read(ini, kPageSection);
  if (SjisWidth(page.PageName) > TPage::kMaxNameWidth) std::abort();
  for (const std::string& font : page.Schedule.Fonts) {
    if (SjisWidth(font) > TPage::kMaxTextWidth) std::abort();
  }
  if (!read) {
    before.PageName = "@@@";
    if (!(page == before)) std::abort();
    return 0;
  }

  TPage other(599);
  other.Reset(kPresetDaily, 599);
  if (!other.Read(ini, kPageSection) || !(other == page)) std::abort();
  return 0;
}
