#pragma once

#include "framework/styledtextprinter.h"

#include <QImage>

// The state the main window's handlers share.
namespace Module1 {

// True only during the reveal's own repaint: that paint draws no text over the backdrop.
extern bool CopyBack;
// The printer of the text drawn last; it lets go of its painter as that paint ends.
extern StyledTextPrinter stp;
// The capture last saved.
extern QImage P;
// The capture last read by the reveal, kept for the next one to draw into.
extern QImage MySnapshot;
// The reveal picture, the backdrop while the pointer rests on "See Secret".
extern QImage FilteredImage;

// Frees the printer and the pictures, in that order; run at the end of the run, while the
// fonts and pictures they hold can still be freed.
void release();

} // namespace Module1
