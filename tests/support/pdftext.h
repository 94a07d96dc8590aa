#pragma once

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QString>

// The text drawn on the pages of a PDF that Qt wrote: enough of the format to read back what
// QPdfEngine puts there (Flate streams, Type0 fonts with a ToUnicode map, hex strings shown
// with Tj). Not a reader for PDF files in general.
struct PdfTextRun
{
    QString text;
    QString font; // the font's BaseFont name, e.g. "NimbusSans-Bold"
    qreal size = 0;
    QPointF origin; // in the painter's coordinates of the page
};

struct PdfPage
{
    QList<PdfTextRun> runs;
    QString text() const; // the runs joined by line feeds
};

// Empty when the bytes are not a PDF that this reader understands.
QList<PdfPage> readPdfPages(const QByteArray &pdf);
