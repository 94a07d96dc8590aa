#pragma once

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Gives the offscreen platform the screens described in json (its configuration file's
// form), through a file in dir. Call it before the application object exists.
inline bool useOffscreenScreens(const QTemporaryDir &dir, const QByteArray &json)
{
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size())
        return false;
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    return true;
}

// A test program's main on the screens described in json.
template <class Test> int execOnScreens(int argc, char *argv[], const QByteArray &json)
{
    QTemporaryDir dir;
    if (!useOffscreenScreens(dir, json))
        return 1;
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}
