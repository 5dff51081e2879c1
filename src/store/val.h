#pragma once
// The numeric value of the leading digits of a text, as the controls' Tags
// and the month index hold numbers: leading blanks skipped, an optional sign,
// then digits; anything else ends the number, and no digits at all give 0.

#include <QString>

namespace store {

long Val(const QString& text);

}  // namespace store
