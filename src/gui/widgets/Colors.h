#pragma once

// Colours of the program are 32-bit values with red in the lowest byte, then green, then blue
// (0x00BBGGRR); the Qt layer paints with QColor. These two turn one into the other.

#include <QColor>
#include <cstdint>

namespace pelo {

// The top byte is ignored; the result is always opaque.
QColor ToQColor(uint32_t bgr);
// Alpha is dropped: the program's colours carry none.
uint32_t FromQColor(const QColor& color);

}  // namespace pelo
