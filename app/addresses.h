#pragma once

#include <QString>

// Every address outside the program, in one place; each is a build setting (CMakeLists.txt).
namespace Addresses {

namespace detail {
inline QString &manifestAddress()
{
    static QString address = QStringLiteral(TAVRELO_MANIFEST_URL);
    return address;
}
} // namespace detail

inline QString manifest()
{
    return detail::manifestAddress();
}
// Tests point the update check at their own server.
inline void setManifest(const QString &address)
{
    detail::manifestAddress() = address;
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
