#include "framework/textnumber.h"

#include <QLocale>

#include <limits>

namespace {

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

} // namespace

double Val(const QString &text)
{
    // Blanks may lead; then an optional sign, digits with an optional fraction and exponent.
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text.at(i)))
        ++i;
    const qsizetype start = i;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    const qsizetype digitsStart = i;
    while (i < n && isAsciiDigit(text.at(i)))
        ++i;
    qsizetype mantissaDigits = i - digitsStart;
    if (i < n && text.at(i) == u'.') {
        ++i;
        const qsizetype fractionStart = i;
        while (i < n && isAsciiDigit(text.at(i)))
            ++i;
        mantissaDigits += i - fractionStart;
    }
    if (mantissaDigits == 0)
        return 0;
    if (i < n && (text.at(i) == u'e' || text.at(i) == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text.at(j) == u'+' || text.at(j) == u'-'))
            ++j;
        const qsizetype exponentStart = j;
        while (j < n && isAsciiDigit(text.at(j)))
            ++j;
        if (j > exponentStart)
            i = j;
    }
    bool ok = false;
    const QString number = text.mid(start, i - start);
    const double value = QLocale::c().toDouble(number, &ok);
    if (ok)
        return value;
    // Well-formed but beyond a double: a huge exponent overflows, a tiny one underflows.
    if (number.contains(QLatin1String("e-"), Qt::CaseInsensitive))
        return 0;
    const double huge = std::numeric_limits<double>::infinity();
    return number.startsWith(u'-') ? -huge : huge;
}
