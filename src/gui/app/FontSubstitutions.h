#pragma once

// The Windows font names that data and page files use, mapped onto the IPA fonts. Fontconfig
// knows none of these names, and without the mapping Japanese text falls back glyph by glyph.

namespace pelo {

// Installs the substitutions for the whole program (call once after the application object
// exists, before any widget picks its font).
void InstallFontSubstitutions();

}  // namespace pelo
