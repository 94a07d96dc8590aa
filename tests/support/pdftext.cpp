#include "tests/support/pdftext.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QtEndian>

namespace {

class PdfReader
{
public:
    explicit PdfReader(const QByteArray &pdf)
        : m_pdf(pdf)
    {
        static const QRegularExpression object(QStringLiteral("(?:^|\\n)(\\d+) 0 obj\\b"));
        const QString text = QString::fromLatin1(pdf);
        for (auto it = object.globalMatch(text); it.hasNext();) {
            const auto match = it.next();
            m_offsets.insert(match.captured(1).toInt(), match.capturedEnd());
        }
    }

    // The object's text up to "stream" or "endobj", whichever comes first.
    QByteArray dictionary(int number) const
    {
        const qsizetype start = m_offsets.value(number, -1);
        if (start < 0)
            return {};
        qsizetype end = m_pdf.indexOf("endobj", start);
        const qsizetype stream = m_pdf.indexOf("stream", start);
        if (stream >= 0 && stream < end)
            end = stream;
        return m_pdf.mid(start, end - start);
    }

    QByteArray stream(int number) const
    {
        const QByteArray dict = dictionary(number);
        const qsizetype start = m_offsets.value(number, -1);
        qsizetype data = m_pdf.indexOf("stream", start);
        if (start < 0 || data < 0)
            return {};
        data += 6;
        if (m_pdf.at(data) == '\r')
            ++data;
        if (m_pdf.at(data) == '\n')
            ++data;
        qsizetype length = -1;
        if (int ref = reference(dict, "/Length"); ref > 0)
            length = dictionary(ref).trimmed().toLongLong();
        else
            length = value(dict, "/Length").toLongLong();
        if (length < 0)
            return {};
        const QByteArray raw = m_pdf.mid(data, length);
        if (!dict.contains("/FlateDecode"))
            return raw;
        QByteArray sized(4, '\0');
        qToBigEndian(quint32(raw.size() * 8 + 1024), sized.data());
        return qUncompress(sized + raw);
    }

    // The number of the object that "key n 0 R" names, or 0.
    static int reference(const QByteArray &dict, const char *key)
    {
        const QRegularExpression pattern(QRegularExpression::escape(QLatin1String(key)) +
                                         QStringLiteral("\\s+(\\d+) 0 R"));
        const auto match = pattern.match(QString::fromLatin1(dict));
        return match.hasMatch() ? match.captured(1).toInt() : 0;
    }

    static QByteArray value(const QByteArray &dict, const char *key)
    {
        const QRegularExpression pattern(QRegularExpression::escape(QLatin1String(key)) +
                                         QStringLiteral("\\s*(/?[^\\s/<>\\[\\]]+)"));
        const auto match = pattern.match(QString::fromLatin1(dict));
        return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
    }

private:
    QByteArray m_pdf;
    QHash<int, qsizetype> m_offsets;
};

QList<int> references(const QByteArray &text)
{
    static const QRegularExpression ref(QStringLiteral("(\\d+) 0 R"));
    QList<int> numbers;
    for (auto it = ref.globalMatch(QString::fromLatin1(text)); it.hasNext();)
        numbers.append(it.next().captured(1).toInt());
    return numbers;
}

// bfchar and bfrange entries of a ToUnicode map, glyph code to text.
QHash<uint, QString> readCMap(const QByteArray &cmap)
{
    QHash<uint, QString> map;
    auto hexText = [](const QString &hex) {
        QString text;
        for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
            text.append(QChar(char16_t(hex.mid(i, 4).toUInt(nullptr, 16))));
        return text;
    };
    const QString text = QString::fromLatin1(cmap);
    static const QRegularExpression section(QStringLiteral("begin(bfchar|bfrange)(.*?)end\\1"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression hex(QStringLiteral("<([0-9A-Fa-f]*)>|\\[|\\]"));
    for (auto s = section.globalMatch(text); s.hasNext();) {
        const auto part = s.next();
        QStringList tokens;
        for (auto h = hex.globalMatch(part.captured(2)); h.hasNext();) {
            const auto m = h.next();
            tokens.append(m.captured(1).isNull() ? m.captured(0) : m.captured(1));
        }
        if (part.captured(1) == u"bfchar") {
            for (qsizetype i = 0; i + 1 < tokens.size(); i += 2)
                map.insert(tokens[i].toUInt(nullptr, 16), hexText(tokens[i + 1]));
            continue;
        }
        for (qsizetype i = 0; i + 2 < tokens.size();) {
            const uint low = tokens[i].toUInt(nullptr, 16);
            const uint high = tokens[i + 1].toUInt(nullptr, 16);
            if (tokens[i + 2] == u"[") {
                qsizetype j = i + 3;
                for (uint code = low; j < tokens.size() && tokens[j] != u"]"; ++j, ++code)
                    map.insert(code, hexText(tokens[j]));
                i = j + 1;
            } else {
                const QString first = hexText(tokens[i + 2]);
                for (uint code = low; code <= high && !first.isEmpty(); ++code) {
                    QString mapped = first;
                    mapped.back() = QChar(char16_t(first.back().unicode() + (code - low)));
                    map.insert(code, mapped);
                }
                i += 3;
            }
        }
    }
    return map;
}

struct Font
{
    QString name;
    QHash<uint, QString> toUnicode;
};

QList<PdfTextRun> readContent(const QByteArray &content, const QHash<QByteArray, Font> &fonts)
{
    QList<PdfTextRun> runs;
    QList<QByteArray> operands;
    PdfTextRun run;
    Font font;
    bool haveFont = false;
    QPointF position;
    bool inText = false;
    static const QRegularExpression token(QStringLiteral("<[0-9A-Fa-f]*>|/[^\\s/<>\\[\\]()]+|"
                                                         "[^\\s/<>\\[\\]()]+"));
    for (auto it = token.globalMatch(QString::fromLatin1(content)); it.hasNext();) {
        const QByteArray word = it.next().captured(0).toLatin1();
        if (word == "BT") {
            inText = true;
            run = PdfTextRun();
            position = QPointF();
        } else if (word == "ET") {
            if (inText && !run.text.isEmpty())
                runs.append(run);
            inText = false;
        } else if (word == "Tf" && operands.size() >= 2) {
            font = fonts.value(operands[operands.size() - 2].mid(1));
            haveFont = true;
            run.font = font.name;
            run.size = operands.back().toDouble();
        } else if (word == "Td" && operands.size() >= 2) {
            position +=
                QPointF(operands[operands.size() - 2].toDouble(), operands.back().toDouble());
        } else if (word == "Tm" && operands.size() >= 6) {
            position =
                QPointF(operands[operands.size() - 2].toDouble(), operands.back().toDouble());
        } else if (word == "Tj" && !operands.isEmpty() && haveFont) {
            // Qt's text matrix flips y, as its page matrix does.
            if (run.text.isEmpty())
                run.origin = QPointF(position.x(), -position.y());
            const QByteArray hex = operands.back().mid(1, operands.back().size() - 2);
            for (qsizetype i = 0; i + 4 <= hex.size(); i += 4) {
                QString glyph = font.toUnicode.value(hex.mid(i, 4).toUInt(nullptr, 16));
                glyph.replace(u'\t', u' ');
                run.text += glyph;
            }
        } else if (!word.isEmpty() &&
                   (word.front() == '<' || word.front() == '/' || word.front() == '-' ||
                    word.front() == '.' || (word.front() >= '0' && word.front() <= '9'))) {
            operands.append(word);
            continue;
        }
        operands.clear();
    }
    return runs;
}

} // namespace

QString PdfPage::text() const
{
    QStringList texts;
    for (const PdfTextRun &run : runs)
        texts.append(run.text);
    return texts.join(u'\n');
}

QList<PdfPage> readPdfPages(const QByteArray &pdf)
{
    if (!pdf.startsWith("%PDF-"))
        return {};
    PdfReader reader(pdf);
    static const QRegularExpression catalog(QStringLiteral("(\\d+) 0 obj\\s*<<\\s*/Type /Catalog"));
    const auto match = catalog.match(QString::fromLatin1(pdf));
    if (!match.hasMatch())
        return {};
    const int pagesObject =
        PdfReader::reference(reader.dictionary(match.captured(1).toInt()), "/Pages");
    const QByteArray pagesDict = reader.dictionary(pagesObject);
    const qsizetype kids = pagesDict.indexOf("/Kids");
    if (kids < 0)
        return {};
    const QByteArray kidList = pagesDict.mid(kids, pagesDict.indexOf(']', kids) - kids);

    QList<PdfPage> pages;
    for (int pageObject : references(kidList)) {
        const QByteArray page = reader.dictionary(pageObject);
        QByteArray resources = page;
        if (int ref = PdfReader::reference(page, "/Resources"); ref > 0)
            resources = reader.dictionary(ref);
        QHash<QByteArray, Font> fonts;
        const qsizetype fontList = resources.indexOf("/Font");
        if (fontList >= 0) {
            const QByteArray list =
                resources.mid(fontList, resources.indexOf(">>", fontList) - fontList);
            static const QRegularExpression entry(QStringLiteral("/(\\S+)\\s+(\\d+) 0 R"));
            for (auto it = entry.globalMatch(QString::fromLatin1(list)); it.hasNext();) {
                const auto font = it.next();
                const QByteArray dict = reader.dictionary(font.captured(2).toInt());
                Font read;
                read.name = QString::fromLatin1(PdfReader::value(dict, "/BaseFont").mid(1));
                if (int cmap = PdfReader::reference(dict, "/ToUnicode"); cmap > 0)
                    read.toUnicode = readCMap(reader.stream(cmap));
                fonts.insert(font.captured(1).toLatin1(), read);
            }
        }
        PdfPage read;
        read.runs = readContent(reader.stream(PdfReader::reference(page, "/Contents")), fonts);
        pages.append(read);
    }
    return pages;
}
