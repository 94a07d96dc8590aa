#include "update/manifest.h"

#include <QTest>

// Reading the manifest's elements by their tags, and comparing its version with the running one.
class tst_manifest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tags();
    void returnValue_data();
    void returnValue();
    void version_data();
    void version();
    void free_data();
    void free();
    void read();
};

void tst_manifest::tags()
{
    QCOMPARE(Manifest::startTag(QStringLiteral("Free")), QStringLiteral("<Free>"));
    QCOMPARE(Manifest::endTag(QStringLiteral("Free")), QStringLiteral("</Free>"));
}

void tst_manifest::returnValue_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");

    const QString description = QStringLiteral("Description");
    const QString version = QStringLiteral("CurrentVersion");

    QTest::newRow("plain") << QStringLiteral("<a><Description>New!</Description></a>")
                           << description << QStringLiteral("New!");
    QTest::newRow("first wins")
        << QStringLiteral("<Description>one</Description><Description>two</Description>")
        << description << QStringLiteral("one");
    QTest::newRow("blanks and line breaks kept")
        << QStringLiteral("<CurrentVersion> 2.2.0\n</CurrentVersion>") << version
        << QStringLiteral(" 2.2.0\n");
    QTest::newRow("entity not decoded") << QStringLiteral("<Description>a &amp; b</Description>")
                                        << description << QStringLiteral("a &amp; b");
    QTest::newRow("empty element")
        << QStringLiteral("<Free></Free>") << QStringLiteral("Free") << QString();
    QTest::newRow("letter case of tags ignored")
        << QStringLiteral("<description>x</DESCRIPTION>") << description << QStringLiteral("x");
    // s = 0, so reading starts at position L, the start tag's length.
    QTest::newRow("missing start tag") << QStringLiteral("0123456789ABCDEFGHIJ</CurrentVersion>")
                                       << version << QStringLiteral("FGHIJ");
    QTest::newRow("missing start tag, Description")
        << QStringLiteral("abcdefghijklm</Description>") << description << QStringLiteral("m");
    QTest::newRow("start tag with an attribute")
        << QStringLiteral("<Free a=\"1\">Yes</Free>") << QStringLiteral("Free")
        << QStringLiteral(" a=\"1\">Yes");
    QTest::newRow("missing both tags")
        << QStringLiteral("<other>2.1.0</other>") << version << QString();
    QTest::newRow("stray end tag before the start tag")
        << QStringLiteral("</Free><Free>Yes</Free>") << QStringLiteral("Free")
        << QStringLiteral("Yes");
    QTest::newRow("end tag only before start tag")
        << QStringLiteral("</CurrentVersion><CurrentVersion>2.1.0") << version << QString();
    QTest::newRow("empty body") << QString() << version << QString();
    QTest::newRow("nested tags not recognised")
        << QStringLiteral("<Description><b>x</b></Description>") << description
        << QStringLiteral("<b>x</b>");
}

void tst_manifest::returnValue()
{
    QFETCH(QString, body);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QCOMPARE(Manifest::returnValue(body, name), value);
}

void tst_manifest::version_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("current");

    // Against a running version of 2.1.0.
    QTest::newRow("2.1.0") << QStringLiteral("2.1.0") << true;
    QTest::newRow("2.1: third field missing") << QStringLiteral("2.1") << true;
    QTest::newRow("2.1.0.7: fourth field ignored") << QStringLiteral("2.1.0.7") << true;
    QTest::newRow("02.01.00: read as numbers") << QStringLiteral("02.01.00") << true;
    QTest::newRow("2.1.0 with trailing text") << QStringLiteral("2.1.0 beta") << true;
    QTest::newRow("2.0.9: older is offered too") << QStringLiteral("2.0.9") << false;
    QTest::newRow("3.1.0") << QStringLiteral("3.1.0") << false;
    QTest::newRow("2.2.0") << QStringLiteral("2.2.0") << false;
    QTest::newRow("2.1.1") << QStringLiteral("2.1.1") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("not a number") << QStringLiteral("v2.1.0") << false;
    QTest::newRow("huge field") << QStringLiteral("2.1.") + QString(400, u'9') << false;
    QTest::newRow("field too small to tell from 0") << QStringLiteral("2.1.1e-999") << true;
}

void tst_manifest::version()
{
    QFETCH(QString, version);
    QFETCH(bool, current);
    QCOMPARE(Manifest::isCurrent(version, 2, 1, 0), current);
}

void tst_manifest::free_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("free");

    QTest::newRow("Yes") << QStringLiteral("<Free>Yes</Free>") << true;
    QTest::newRow("yes: case ignored") << QStringLiteral("<Free>yes</Free>") << true;
    QTest::newRow("No") << QStringLiteral("<Free>No</Free>") << false;
    QTest::newRow("empty") << QStringLiteral("<Free></Free>") << false;
    QTest::newRow("blank before") << QStringLiteral("<Free> Yes</Free>") << false;
    QTest::newRow("line break after") << QStringLiteral("<Free>Yes\n</Free>") << false;
    QTest::newRow("missing") << QStringLiteral("<CurrentVersion>2.2</CurrentVersion>") << false;
}

void tst_manifest::free()
{
    QFETCH(QString, body);
    QFETCH(bool, free);
    QCOMPARE(Manifest::read(body).free, free);
}

void tst_manifest::read()
{
    const Manifest::Values values = Manifest::read(
        QStringLiteral("<DownloadURLOSX>http://www.brinmoor.example/tavrelo.zip</DownloadURLOSX>"
                       "<Free>Yes</Free><Description>Faster.</Description>"
                       "<CurrentVersion>2.2.0</CurrentVersion>"));
    QCOMPARE(values.version, QStringLiteral("2.2.0"));
    QCOMPARE(values.description, QStringLiteral("Faster."));
    QVERIFY(values.free);
    QCOMPARE(values.downloadAddress, QStringLiteral("http://www.brinmoor.example/tavrelo.zip"));
}

QTEST_GUILESS_MAIN(tst_manifest)
#include "tst_manifest.moc"
