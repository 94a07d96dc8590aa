#include "app/app.h"
#include "app/prefmodule.h"
#include "framework/editfield.h"
#include "framework/printersetup.h"
#include "help/help.h"
#include "help/printing.h"
#include "tests/support/pdftext.h"
#include "tests/support/recordingservices.h"
#include "tests/support/testhome.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <numeric>

class tst_printing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void printsOnePagePerBlock_data();
    void printsOnePagePerBlock();
    void printsOnlyTheChosenPages_data();
    void printsOnlyTheChosenPages();
    void eachLineOnceAcrossPages_data();
    void eachLineOnceAcrossPages();
    void dateTextTakenAsTheCommandStarts();
    void footerFontByPath_data();
    void footerFontByPath();
    void cancelledPrintPrintsNothing();
    void unwritableOutputIsReported();
    void pageSetupKeepsTheConfirmedSetup();
    void commandsDuringAPrintDoNothing();
    void helpWindowBarRunsTheSameCommands();

private:
    // The person confirms the print dialog with output to a PDF file.
    void printToPdf();
    QList<PdfPage> printedPages() const;
    static QString dateTextOf(const QDateTime &moment);
    static QStringList dateTextsBetween(const QDateTime &first, const QDateTime &last);
    static int blocksOf(EditField *field);

    TestHome m_home;
    RecordingServices m_services;
    App m_app;
    QTemporaryDir m_dir;
    QString m_pdf;
    QPageLayout m_seenLayout;
};

void tst_printing::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_pdf = m_dir.filePath(QStringLiteral("help.pdf"));
    // A default size the Courier path's 10 cannot be mistaken for.
    QFont font = QApplication::font();
    font.setPointSize(13);
    QApplication::setFont(font);
}

void tst_printing::init()
{
    prefModule::PageSetup.clear();
    m_services.clear();
    m_services.onPageSetup = [](QPrinter &) { return false; };
    m_services.whileMessageShown = nullptr;
    QFile::remove(m_pdf);
    printToPdf();
}

void tst_printing::cleanup()
{
    if (Help *help = Help::openInstance())
        help->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!Help::openInstance());
    setPrintClock({});
}

void tst_printing::printToPdf()
{
    m_services.onPrint = [this](QPrinter &printer) {
        m_seenLayout = printer.pageLayout();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_pdf);
        return true;
    };
}

QList<PdfPage> tst_printing::printedPages() const
{
    QFile file(m_pdf);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readPdfPages(file.readAll());
}

QString tst_printing::dateTextOf(const QDateTime &moment)
{
    return QLocale().toString(moment.time(), QLocale::ShortFormat) + QStringLiteral(", ") +
           QLocale().toString(moment.date(), QLocale::ShortFormat);
}

// Every date text from one moment to the other. The short formats show seconds at the finest,
// so one text per second gives them all, across a minute, an hour or midnight.
QStringList tst_printing::dateTextsBetween(const QDateTime &first, const QDateTime &last)
{
    QStringList texts;
    for (QDateTime moment = first.addMSecs(-first.time().msec()); moment <= last;
         moment = moment.addSecs(1)) {
        const QString text = dateTextOf(moment);
        if (texts.isEmpty() || texts.back() != text)
            texts.append(text);
    }
    return texts;
}

// How many blocks of 672 points the field's text takes at 72 dots per inch, 492 wide.
int tst_printing::blocksOf(EditField *field)
{
    QImage device(8, 8, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(72 / 0.0254));
    device.setDotsPerMeterY(qRound(72 / 0.0254));
    QPainter g(&device);
    StyledTextPrinter stp = field->styledTextPrinter(&g, 492);
    int blocks = 0;
    while (!stp.isEOF()) {
        stp.DrawBlock(36, 36, 672);
        ++blocks;
    }
    return blocks;
}

void tst_printing::printsOnePagePerBlock_data()
{
    QTest::addColumn<bool>("replaceText");
    QTest::addColumn<QString>("text");

    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines.append(QStringLiteral("Line %1 of a help text that runs over several pages.").arg(i));
    QTest::newRow("the help text") << false << QString();
    QTest::newRow("several pages") << true << lines.join(u'\r');
    QTest::newRow("empty text") << true << QString();
}

void tst_printing::printsOnePagePerBlock()
{
    QFETCH(bool, replaceText);
    QFETCH(QString, text);

    int blocks = 1;
    if (replaceText) {
        EditField *field = Help::instance()->EditField1;
        field->setText(text);
        blocks = qMax(blocksOf(field), 1);
    }
    const QDateTime before = QDateTime::currentDateTime();
    QCOMPARE(m_app.dispatchMenu(QStringLiteral("FilePrint"), nullptr), std::optional(true));
    const QDateTime after = QDateTime::currentDateTime();

    Help *help = Help::openInstance();
    QVERIFY2(help && help->isVisible(), "the help window stays open");
    if (!replaceText)
        blocks = qMax(blocksOf(help->EditField1), 1);
    if (replaceText && !text.isEmpty())
        QVERIFY(blocks >= 3);

    const QList<PdfPage> pages = printedPages();
    QCOMPARE(pages.size(), blocks);
    QString dateText;
    for (int i = 0; i < pages.size(); ++i) {
        const QList<PdfTextRun> &runs = pages[i].runs;
        QVERIFY(runs.size() >= 2);
        // The footer is drawn last on every page.
        const PdfTextRun &label = runs[runs.size() - 2];
        const PdfTextRun &date = runs.back();
        QCOMPARE(label.text, QStringLiteral("page %1").arg(i + 1));
        QCOMPARE(label.origin, QPointF(40, 720));
        QCOMPARE(date.origin, QPointF(100, 720));
        if (i == 0) {
            dateText = date.text;
            // Taken as the command started, however long the printing then took.
            const QStringList texts = dateTextsBetween(before, after);
            QVERIFY2(texts.contains(dateText),
                     qPrintable(dateText + QStringLiteral(" is none of: ") +
                                texts.join(QStringLiteral("; "))));
        }
        QCOMPARE(date.text, dateText);
        QCOMPARE(runs.size() > 2, !text.isEmpty() || !replaceText);
    }
    if (!replaceText)
        QVERIFY(pages.front().text().contains(QStringLiteral("Tavrelo")));
    QVERIFY(m_services.messages.isEmpty());
}

void tst_printing::printsOnlyTheChosenPages_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("wholePrint"); // pages
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QList<int>>("printed"); // the pages of the whole print that go out
    QTest::addColumn<QString>("message");

    // Two lines of 250 points fill a block of 672: three pages, each opening with its number.
    QString three;
    for (const char *line : {"1a", "1b", "2a", "2b", "3a", "3b"})
        three += QStringLiteral("<p style='margin:0; font-size:250pt'>%1</p>").arg(line);
    const QString none;
    QTest::newRow("all") << three << 3 << 0 << 0 << QList<int>{1, 2, 3} << none;
    QTest::newRow("2 to 2") << three << 3 << 2 << 2 << QList<int>{2} << none;
    QTest::newRow("1 to 1") << three << 3 << 1 << 1 << QList<int>{1} << none;
    QTest::newRow("3 to 3, the last page") << three << 3 << 3 << 3 << QList<int>{3} << none;
    QTest::newRow("2 to 3") << three << 3 << 2 << 3 << QList<int>{2, 3} << none;
    QTest::newRow("2 to 9, past the end") << three << 3 << 2 << 9 << QList<int>{2, 3} << none;
    QTest::newRow("4 to 5, beyond the last page")
        << three << 3 << 4 << 5 << QList<int>{}
        << QStringLiteral("The help has only 3 pages, so nothing was printed.");
    QTest::newRow("2 to 2 of an empty text")
        << QString() << 1 << 2 << 2 << QList<int>{}
        << QStringLiteral("The help has only 1 page, so nothing was printed.");
}

// A page printed from a range is the page of that number in the whole print: its text, its
// footer, its fonts, at the same places. A range beyond the last page prints nothing at all,
// not a blank page, and says why.
void tst_printing::printsOnlyTheChosenPages()
{
    QFETCH(QString, html);
    QFETCH(int, wholePrint);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QList<int>, printed);
    QFETCH(QString, message);

    Help::instance()->EditField1->setHtml(html);
    const QDateTime chosen(QDate(2031, 3, 9), QTime(9, 5));
    setPrintClock([chosen] { return chosen; });

    m_app.dispatchMenu(QStringLiteral("FilePrint"), nullptr);
    const QList<PdfPage> whole = printedPages();
    QCOMPARE(whole.size(), wholePrint);
    QFile::remove(m_pdf);

    m_services.printFromPage = from;
    m_services.printToPage = to;
    QCOMPARE(m_app.dispatchMenu(QStringLiteral("FilePrint"), nullptr), std::optional(true));

    const QList<PdfPage> pages = printedPages();
    QCOMPARE(pages.size(), printed.size());
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const int number = printed[i];
        const QList<PdfTextRun> &runs = pages[i].runs;
        QCOMPARE(runs.size(), 4);
        QCOMPARE(runs.front().text, QStringLiteral("%1a").arg(number));
        QCOMPARE(runs[2].text, QStringLiteral("page %1").arg(number));
        QCOMPARE(runs[3].text, dateTextOf(chosen));
        const QList<PdfTextRun> &expected = whole[number - 1].runs;
        QCOMPARE(runs.size(), expected.size());
        for (qsizetype r = 0; r < runs.size(); ++r) {
            QCOMPARE(runs[r].text, expected[r].text);
            QCOMPARE(runs[r].font, expected[r].font);
            QCOMPARE(runs[r].size, expected[r].size);
            QCOMPARE(runs[r].origin, expected[r].origin);
        }
    }
    if (printed.isEmpty())
        QVERIFY2(!QFile::exists(m_pdf), "no blank page");
    QCOMPARE(m_services.messages, message.isEmpty() ? QStringList() : QStringList{message});
}

void tst_printing::eachLineOnceAcrossPages_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("html");
    QTest::addColumn<int>("items"); // numbered #1, #2, ... in the order they are written

    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines.append(QStringLiteral("#%1 is a line of a help text that runs over pages.").arg(i));
    QTest::newRow("a paragraph per line") << lines.join(u'\r') << false << 150;

    QStringList words;
    for (int i = 1; i <= 1500; ++i)
        words.append(QStringLiteral("#%1").arg(i));
    QTest::newRow("one paragraph wrapped over pages") << words.join(u' ') << false << 1500;

    // Lines of uneven height, so the page breaks fall at uneven places.
    const int sizes[] = {8, 14, 23};
    QString sized;
    for (int i = 1; i <= 90; ++i) {
        sized +=
            QStringLiteral("<p style='margin:0; font-size:%1pt'>#%2 in a line of its own size</p>")
                .arg(sizes[i % 3])
                .arg(i);
    }
    QTest::newRow("paragraphs of several sizes") << sized << true << 90;
}

// Every line reaches the PDF once, also where a page breaks: nothing hidden outside the text
// block for a search or a screen reader to find twice, nothing lost between two pages.
void tst_printing::eachLineOnceAcrossPages()
{
    QFETCH(QString, text);
    QFETCH(bool, html);
    QFETCH(int, items);

    EditField *field = Help::instance()->EditField1;
    if (html)
        field->setHtml(text);
    else
        field->setText(text);
    m_app.dispatchMenu(QStringLiteral("FilePrint"), nullptr);

    const QList<PdfPage> pages = printedPages();
    QVERIFY(pages.size() >= 3);
    QList<int> printed;
    static const QRegularExpression item(QStringLiteral("#(\\d+)"));
    for (const PdfPage &page : pages) {
        // All but the footer, which is drawn last.
        for (qsizetype i = 0; i + 2 < page.runs.size(); ++i) {
            for (auto it = item.globalMatch(page.runs[i].text); it.hasNext();)
                printed.append(it.next().captured(1).toInt());
        }
    }
    QList<int> expected(items);
    std::iota(expected.begin(), expected.end(), 1);
    QCOMPARE(printed, expected);
}

// The footers show the moment "Print Help" was chosen, however long the dialog stays open or the
// pages take: a clock that moves on at every reading, and a dialog that lasts two days.
void tst_printing::dateTextTakenAsTheCommandStarts()
{
    QStringList lines(120, QStringLiteral("A line of text."));
    Help::instance()->EditField1->setText(lines.join(u'\r'));
    const QDateTime chosen(QDate(2031, 3, 9), QTime(9, 5));
    QDateTime now = chosen;
    setPrintClock([&now] {
        const QDateTime read = now;
        now = now.addDays(1).addSecs(3 * 3600 + 7 * 60);
        return read;
    });
    const auto confirm = m_services.onPrint;
    m_services.onPrint = [&](QPrinter &printer) {
        now = now.addDays(2).addSecs(5 * 3600 + 11 * 60);
        return confirm(printer);
    };
    m_app.dispatchMenu(QStringLiteral("FilePrint"), nullptr);

    const QList<PdfPage> pages = printedPages();
    QVERIFY(pages.size() >= 2);
    for (const PdfPage &page : pages)
        QCOMPARE(page.runs.back().text, dateTextOf(chosen));
}

void tst_printing::footerFontByPath_data()
{
    QTest::addColumn<bool>("setupStored");
    QTest::addColumn<int>("firstFooterSize");

    QTest::newRow("no stored setup: Courier 10 from page 1") << false << 10;
    QTest::newRow("stored setup: the printer's defaults on page 1")
        << true << QApplication::font().pointSize();
}

void tst_printing::footerFontByPath()
{
    QFETCH(bool, setupStored);
    QFETCH(int, firstFooterSize);

    QStringList lines(120, QStringLiteral("A line of text."));
    Help::instance()->EditField1->setText(lines.join(u'\r'));
    if (setupStored) {
        QPrinter landscape;
        landscape.setOutputFormat(QPrinter::PdfFormat);
        landscape.setPageSize(QPageSize(QPageSize::Letter));
        landscape.setPageOrientation(QPageLayout::Landscape);
        prefModule::PageSetup = printerSetupString(landscape);
    }
    m_app.dispatchMenu(QStringLiteral("FilePrint"), nullptr);
    QCOMPARE(m_seenLayout.orientation(),
             setupStored ? QPageLayout::Landscape : QPrinter().pageLayout().orientation());

    const QList<PdfPage> pages = printedPages();
    QVERIFY(pages.size() >= 2);
    QString labelFont;
    for (const PdfPage &page : pages) {
        const PdfTextRun &label = page.runs[page.runs.size() - 2];
        const PdfTextRun &date = page.runs.back();
        // Size and colour carry over from page to page; the footer sets only the family and
        // takes bold off.
        QCOMPARE(label.size, qreal(firstFooterSize));
        QCOMPARE(date.size, qreal(firstFooterSize));
        QVERIFY2(!label.font.contains(QLatin1String("Bold")), qPrintable(label.font));
        QCOMPARE(date.font, label.font);
        if (labelFont.isEmpty())
            labelFont = label.font;
        QCOMPARE(label.font, labelFont);
        // The same 540 by 720 layout, whatever the paper.
        QCOMPARE(label.origin, QPointF(40, 720));
    }
}

void tst_printing::cancelledPrintPrintsNothing()
{
    m_services.onPrint = [this](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_pdf);
        return false;
    };
    QCOMPARE(m_app.dispatchMenu(QStringLiteral("FilePrint"), nullptr), std::optional(true));
    QCOMPARE(m_services.printDialogs, 1);
    QVERIFY(!QFile::exists(m_pdf));
    QVERIFY(m_services.messages.isEmpty());
    QVERIFY2(!Help::openInstance(), "nothing to print, so no help window was needed");
}

void tst_printing::unwritableOutputIsReported()
{
    m_services.onPrint = [this](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(QStringLiteral("missing/help.pdf")));
        return true;
    };
    QCOMPARE(m_app.dispatchMenu(QStringLiteral("FilePrint"), nullptr), std::optional(true));
    QCOMPARE(m_services.messages, QStringList{QStringLiteral("The help could not be printed.")});
}

void tst_printing::pageSetupKeepsTheConfirmedSetup()
{
    QList<int> dialogsAtNotice;
    m_services.whileMessageShown = [&](const QString &) {
        dialogsAtNotice.append(m_services.pageSetupDialogs);
    };
    QPageLayout seenBySecondDialog;
    m_services.onPageSetup = [](QPrinter &printer) {
        printer.setPageSize(QPageSize(QPageSize::A5));
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setPageMargins(QMarginsF(20, 15, 10, 5), QPageLayout::Millimeter);
        return true;
    };
    QCOMPARE(m_app.dispatchMenu(QStringLiteral("FilePageSetup"), nullptr), std::optional(false));
    const QString confirmed = prefModule::PageSetup;
    QVERIFY(!confirmed.isEmpty());

    m_services.onPageSetup = [&](QPrinter &printer) {
        seenBySecondDialog = printer.pageLayout();
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageOrientation(QPageLayout::Portrait);
        return false;
    };
    QCOMPARE(m_app.dispatchMenu(QStringLiteral("FilePageSetup"), nullptr), std::optional(false));

    QCOMPARE(m_services.messages, QStringList(2, QStringLiteral("Select Portrait Layout.")));
    QCOMPARE(dialogsAtNotice, (QList<int>{0, 1}));
    QCOMPARE(prefModule::PageSetup, confirmed);
    QCOMPARE(seenBySecondDialog.pageSize().id(), QPageSize::A5);

    m_app.dispatchMenu(QStringLiteral("FilePrint"), nullptr);
    QCOMPARE(m_seenLayout.pageSize().id(), QPageSize::A5);
    QCOMPARE(m_seenLayout.orientation(), QPageLayout::Landscape);
    QCOMPARE(m_seenLayout.margins(QPageLayout::Millimeter), QMarginsF(20, 15, 10, 5));
    QCOMPARE(printedPages().size(), 1);
    QVERIFY2(QDir(m_home.preferences()).isEmpty(), "the page setup is never written to disk");
}

void tst_printing::commandsDuringAPrintDoNothing()
{
    QStringList lines(120, QStringLiteral("A line of text."));
    Help::instance()->EditField1->setText(lines.join(u'\r'));
    const int blocks = blocksOf(Help::instance()->EditField1);

    bool chosen = false;
    const auto confirm = m_services.onPrint;
    m_services.onPrint = [&](QPrinter &printer) {
        // Chosen by the person while the pages go out.
        if (m_services.printDialogs == 1) {
            QTimer::singleShot(0, &m_app, [&] {
                chosen = true;
                m_app.dispatchMenu(QStringLiteral("FilePrint"), nullptr);
                m_app.dispatchMenu(QStringLiteral("FilePageSetup"), nullptr);
                // The pages already laid out still go out.
                Help::instance()->close();
            });
        }
        return confirm(printer);
    };
    m_app.dispatchMenu(QStringLiteral("FilePrint"), nullptr);

    QVERIFY(chosen);
    QCOMPARE(m_services.printDialogs, 1);
    QCOMPARE(m_services.pageSetupDialogs, 0);
    QVERIFY(m_services.messages.isEmpty());
    QCOMPARE(printedPages().size(), blocks);
}

void tst_printing::helpWindowBarRunsTheSameCommands()
{
    Help *help = Help::instance();
    help->show();
    help->EditField1->setFocus();
    QCOMPARE(m_app.dispatchMenu(QStringLiteral("FilePageSetup"), help), std::optional(false));
    QCOMPARE(m_app.dispatchMenu(QStringLiteral("FilePrint"), help), std::optional(true));
    QCOMPARE(m_services.pageSetupDialogs, 1);
    QCOMPARE(m_services.printDialogs, 1);
    QCOMPARE(printedPages().size(), 1);
}

QTEST_MAIN(tst_printing)
#include "tst_printing.moc"
