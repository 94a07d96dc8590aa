#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh HOME for one test program: the Desktop and the configuration folder exist and are
// empty, and no XDG variable points elsewhere.
class TestHome
{
public:
    TestHome();
    ~TestHome();

    QString path() const { return m_dir.path(); }
    QString desktop() const;
    QString preferences() const;
    // Empties the Desktop and the preferences folder again.
    void reset() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome;
};
