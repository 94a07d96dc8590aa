#pragma once

#include <QString>

// The leading number of a text, as a double: blanks may lead, then an optional sign, digits
// with an optional fraction and exponent. 0 when the text starts with no number; a number
// too large for a double is infinite, one too small is 0. Files of other programs (the
// preferences, the update manifest) are read through it, so it takes any text.
double Val(const QString &text);
