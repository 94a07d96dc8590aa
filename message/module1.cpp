#include "message/module1.h"

namespace Module1 {

bool CopyBack = false;
StyledTextPrinter stp;
QImage P;
QImage MySnapshot;
QImage FilteredImage;

void release()
{
    stp = StyledTextPrinter();
    MySnapshot = QImage();
    FilteredImage = QImage();
    P = QImage();
}

} // namespace Module1
