#pragma once

#include <QColor>

namespace quorvant {

// The contrast of two colours as WCAG 2 defines it: from 1 (the same) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// The program's warning red (the check marks, the genre list's message) as it reads on
// `background`: at least 4.5:1 (WCAG AA for text). Where the red itself falls short (a dark
// palette), it is mixed with white, or with black on a light background, just as far as needed.
QColor WarningColour(const QColor& background);

// Black or white, whichever reads better on `colour` (a sign drawn on the warning red).
QColor SignColour(const QColor& colour);

}  // namespace quorvant
