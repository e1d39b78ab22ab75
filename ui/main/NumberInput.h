#pragma once
#include <QString>

namespace tavrel::ui {

// The number at the start of a typed answer: leading blanks skipped, an optional sign, digits, a
// fraction and an exponent; an answer with no number counts as 0. "3.9" is 3.9, "  2" is 2,
// "x" is 0, "12abc" is 12.
double LeadingNumber(const QString& text);

}  // namespace tavrel::ui
