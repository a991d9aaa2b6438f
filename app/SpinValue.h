#pragma once
// Reading and writing the text of a counter field.
#include <QString>

// The text read as a signed 32-bit integer: leading spaces, one optional sign, then either
// decimal digits or a hexadecimal pattern after "$", "x", "X", "0x" or "0X" (at most eight
// significant digits, two's complement). Anything else, or a value out of range, reads as 0.
double SpinValueOf(const QString& text);

// The value rounded to an integer, halves to the even neighbour, in plain decimal.
// 64-bit, so that stepping up from the largest 32-bit value writes 2147483648.
QString SpinTextOf(double value);
