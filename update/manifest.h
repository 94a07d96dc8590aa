#pragma once

#include <QString>

// Reading the update manifest: a plain text search for an element's exact start and end tags
// (positions from 1, letter case ignored, as the program's string functions have it), not an
// XML parse, and the comparison of its version with the running one.
namespace Manifest {

struct Values
{
    QString version;
    QString description;
    bool free = false;
    QString downloadAddress;
};

QString startTag(const QString &name);
QString endTag(const QString &name);

// The characters after the first start tag up to the first end tag after it. A missing start
// tag reads from the position that is the tag's length; an end tag that does not follow
// gives the empty text.
QString returnValue(const QString &body, const QString &name);

// CurrentVersion, Description, Free ("Yes" means free) and DownloadURLOSX.
Values read(const QString &body);

// Field by field, each read as a number; equal only when all three are equal. Fields after
// the third are ignored, missing ones count as 0.
bool isCurrent(const QString &version, int major, int minor, int bug);

} // namespace Manifest
