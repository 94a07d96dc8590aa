#include "framework/printersetup.h"

#include <QPageLayout>
#include <QPrinter>
#include <QTest>

class tst_printersetup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void restoresTheSetup_data();
    void restoresTheSetup();
    void rejectsOtherText_data();
    void rejectsOtherText();
};

void tst_printersetup::restoresTheSetup_data()
{
    QTest::addColumn<QString>("printerName");
    QTest::addColumn<QPageSize>("pageSize");
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::addColumn<QMarginsF>("margins");
    QTest::addColumn<QPageLayout::Unit>("units");

    QTest::newRow("A4 portrait, no margins")
        << QString() << QPageSize(QPageSize::A4) << QPageLayout::Portrait << QMarginsF()
        << QPageLayout::Point;
    QTest::newRow("Letter landscape, inches")
        << QString() << QPageSize(QPageSize::Letter) << QPageLayout::Landscape
        << QMarginsF(0.5, 0.75, 0.25, 1) << QPageLayout::Inch;
    QTest::newRow("custom size, millimetres")
        << QString() << QPageSize(QSizeF(100, 150), QPageSize::Millimeter, QStringLiteral("Card"))
        << QPageLayout::Portrait << QMarginsF(5, 6, 7, 8) << QPageLayout::Millimeter;
    QTest::newRow("a named printer, A5")
        << QStringLiteral("Office \"Laser\" 2") << QPageSize(QPageSize::A5)
        << QPageLayout::Landscape << QMarginsF(10, 10, 10, 10) << QPageLayout::Point;
}

void tst_printersetup::restoresTheSetup()
{
    QFETCH(QString, printerName);
    QFETCH(QPageSize, pageSize);
    QFETCH(QPageLayout::Orientation, orientation);
    QFETCH(QMarginsF, margins);
    QFETCH(QPageLayout::Unit, units);

    QPrinter chosen;
    chosen.setOutputFormat(QPrinter::PdfFormat);
    if (!printerName.isEmpty())
        chosen.setPrinterName(printerName);
    QVERIFY(chosen.setPageSize(pageSize));
    QVERIFY(chosen.setPageOrientation(orientation));
    QVERIFY(chosen.setPageMargins(margins, units));
    const QString setup = printerSetupString(chosen);

    QPrinter restored;
    restored.setOutputFormat(QPrinter::PdfFormat);
    QVERIFY(setPrinterSetupString(restored, setup));
    QCOMPARE(restored.printerName(), chosen.printerName());
    QCOMPARE(restored.pageLayout().pageSize(), chosen.pageLayout().pageSize());
    QCOMPARE(restored.pageLayout().orientation(), orientation);
    QCOMPARE(restored.pageLayout().units(), units);
    QCOMPARE(restored.pageLayout().margins(), margins);
    QCOMPARE(printerSetupString(restored), setup);
}

void tst_printersetup::rejectsOtherText_data()
{
    QTest::addColumn<QString>("setup");

    QTest::newRow("empty") << QString();
    QTest::newRow("not JSON") << QStringLiteral("paper=A4");
    QTest::newRow("no margins") << QStringLiteral(
        R"({"printer":"","pageSize":0,"orientation":0,"marginUnits":1})");
    QTest::newRow("orientation out of range")
        << QStringLiteral(R"({"printer":"","pageSize":0,"orientation":7,"margins":[0,0,0,0],)"
                          R"("marginUnits":1})");
}

void tst_printersetup::rejectsOtherText()
{
    QFETCH(QString, setup);

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::B5));
    const QString before = printerSetupString(printer);
    QVERIFY(!setPrinterSetupString(printer, setup));
    QCOMPARE(printerSetupString(printer), before);
}

QTEST_MAIN(tst_printersetup)
#include "tst_printersetup.moc"
