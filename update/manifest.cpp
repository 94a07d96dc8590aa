#include "update/manifest.h"

#include "framework/textnumber.h"

#include <QStringList>

namespace {

// The program's string functions: positions count from 1, 0 means "not found".

qsizetype inStr(qsizetype start, const QString &text, const QString &find)
{
    const qsizetype from = start > 0 ? start - 1 : 0;
    if (from > text.size())
        return 0;
    return text.indexOf(find, from, Qt::CaseInsensitive) + 1;
}

QString mid(const QString &text, qsizetype start, qsizetype length)
{
    if (length <= 0 || start < 1 || start > text.size())
        return QString();
    return text.mid(start - 1, length);
}

QString nthField(const QString &text, QChar separator, qsizetype n)
{
    const QStringList fields = text.split(separator);
    return n >= 1 && n <= fields.size() ? fields.at(n - 1) : QString();
}

} // namespace

namespace Manifest {

QString startTag(const QString &name)
{
    return u'<' + name + u'>';
}

QString endTag(const QString &name)
{
    return QStringLiteral("</") + name + u'>';
}

QString returnValue(const QString &body, const QString &name)
{
    const QString tag = startTag(name);
    const qsizetype s = inStr(0, body, tag);
    const qsizetype p = s + tag.size();
    const qsizetype e = inStr(p, body, endTag(name));
    return mid(body, p, e - p);
}

Values read(const QString &body)
{
    Values values;
    values.version = returnValue(body, QStringLiteral("CurrentVersion"));
    values.description = returnValue(body, QStringLiteral("Description"));
    values.free =
        returnValue(body, QStringLiteral("Free")).compare(u"Yes", Qt::CaseInsensitive) == 0;
    values.downloadAddress = returnValue(body, QStringLiteral("DownloadURLOSX"));
    return values;
}

bool isCurrent(const QString &version, int major, int minor, int bug)
{
    const int running[] = {major, minor, bug};
    for (int field = 1; field <= 3; ++field) {
        if (Val(nthField(version, u'.', field)) != double(running[field - 1]))
            return false;
    }
    return true;
}

} // namespace Manifest
