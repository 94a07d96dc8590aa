#include "tests/support/ordinaryuser.h"

#include <QDirIterator>
#include <QFile>

#include <grp.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

// Gives path and everything under it to the user and group, links themselves and not
// what they point at.
void giveTo(const QString &path, uid_t user, gid_t group)
{
    const auto give = [&](const QString &item) {
        if (lchown(QFile::encodeName(item).constData(), user, group) != 0)
            qFatal("cannot give %s to %u", qPrintable(item), unsigned(user));
    };
    give(path);
    QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        give(it.next());
}

} // namespace

OrdinaryUser::OrdinaryUser(const QString &home)
    : m_home(home)
    , m_wasRoot(geteuid() == 0)
{
    if (!m_wasRoot)
        return;
    m_group = getegid();
    m_groups.resize(getgroups(0, nullptr));
    m_groups.resize(getgroups(int(m_groups.size()), m_groups.data()));
    giveTo(m_home, kNobody, kNoGroup);
    // The groups first, while this process still may change them; the saved user stays root.
    m_ok = setgroups(0, nullptr) == 0 && setresgid(kNoGroup, kNoGroup, 0) == 0 &&
           setresuid(kNobody, kNobody, 0) == 0;
}

OrdinaryUser::~OrdinaryUser()
{
    if (!m_wasRoot)
        return;
    if (setresuid(0, 0, 0) != 0 || setresgid(m_group, m_group, m_group) != 0 ||
        setgroups(m_groups.size(), m_groups.constData()) != 0)
        qFatal("cannot become root again");
    // A change of user stops the process being dumpable, which tools that attach to it need.
    prctl(PR_SET_DUMPABLE, 1);
    giveTo(m_home, 0, m_group);
}
