#include "framework/httpreplyparser.h"

#include <limits>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The leading decimal digits of the first line's second blank-separated field.
int statusOf(QByteArrayView line)
{
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < line.size() && isBlank(line[i]))
            ++i;
    };
    skipBlanks();
    while (i < line.size() && !isBlank(line[i]))
        ++i;
    skipBlanks();
    qint64 status = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        status = status * 10 + (line[i] - '0');
        if (status > std::numeric_limits<int>::max())
            return 0;
    }
    return int(status);
}

} // namespace

bool HTTPReplyParser::feed(QByteArrayView data)
{
    const qsizetype room = kMaxReply - m_taken;
    if (data.size() > room)
        data = data.first(room);
    m_taken += data.size();
    if (m_headerComplete) {
        m_content.append(data);
    } else {
        m_head.append(data);
        scanHead(false);
    }
    return !isFull();
}

void HTTPReplyParser::finish()
{
    if (m_headerComplete)
        return;
    scanHead(true);
    if (m_headerComplete)
        return;
    // The connection ended inside the header block: there is no content.
    if (m_lineStart < m_head.size())
        takeLine(QByteArrayView(m_head).sliced(m_lineStart));
    m_head.clear();
    m_scan = m_lineStart = 0;
}

void HTTPReplyParser::scanHead(bool atEnd)
{
    const QByteArrayView head(m_head);
    while (m_scan < head.size()) {
        const char c = head[m_scan];
        if (c != '\n' && c != '\r') {
            ++m_scan;
            continue;
        }
        qsizetype ending = 1;
        if (c == '\r') {
            // A CR at the end of what arrived may be the first half of CR LF.
            if (m_scan + 1 == head.size() && !atEnd)
                return;
            if (m_scan + 1 < head.size() && head[m_scan + 1] == '\n')
                ending = 2;
        }
        if (m_scan == m_lineStart) {
            m_headerComplete = true;
            m_content = m_head.sliced(m_scan + ending);
            m_head.clear();
            return;
        }
        takeLine(head.sliced(m_lineStart, m_scan - m_lineStart));
        m_scan += ending;
        m_lineStart = m_scan;
    }
}

void HTTPReplyParser::takeLine(QByteArrayView line)
{
    if (m_firstLine) {
        m_firstLine = false;
        m_status = statusOf(line);
        return;
    }
    const qsizetype colon = line.indexOf(':');
    if (colon < 0)
        return;
    m_headers.append({line.first(colon).trimmed().toByteArray(),
                      line.sliced(colon + 1).trimmed().toByteArray()});
}
