#pragma once

#include <QString>

// Every address outside the program, in one place; each is a build setting (CMakeLists.txt).
namespace Addresses {

inline QString manifest()
{
    return QStringLiteral(TAVRELO_MANIFEST_URL);
}
inline QString webSite()
{
    return QStringLiteral(TAVRELO_WEBSITE_URL);
}
inline QString orderPage()
{
    return QStringLiteral(TAVRELO_ORDER_URL);
}
inline QString authorMail()
{
    return QStringLiteral(TAVRELO_AUTHOR_MAIL);
}

} // namespace Addresses
