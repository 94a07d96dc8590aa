#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <sys/types.h>

// File modes do not bind root, and root is who runs the tests on CI. While it lives, a test
// run as root works as an ordinary user instead: nobody (uid and gid 65534), as the real and
// the effective user, without root's groups or powers, and the home and all in it belong to
// nobody. Root is kept only as the saved user, to come back to afterwards, which no check of
// a file looks at. Run as anyone else, it changes nothing.
class OrdinaryUser
{
    Q_DISABLE_COPY_MOVE(OrdinaryUser)

public:
    explicit OrdinaryUser(const QString &home);
    ~OrdinaryUser();

    // False when root could not become nobody.
    bool ok() const { return m_ok; }

private:
    QString m_home;
    bool m_wasRoot = false;
    bool m_ok = true;
    gid_t m_group = 0;
    QList<gid_t> m_groups;
};
