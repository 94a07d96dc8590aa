#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>

// The header lines of a reply in the order they came: name and value, as bytes.
using InternetHeaders = QList<QPair<QByteArray, QByteArray>>;

// Reads an HTTP/1.0 reply from bytes fed in pieces of any size: the header block up to its
// first empty line (lines end in CR LF, LF or CR), the status from the second field of the
// first line, and everything after the empty line as the raw content. Touches no socket.
class HTTPReplyParser final
{
public:
    // A manifest is a few hundred bytes; no honest reply to this client comes near this.
    static constexpr qsizetype kMaxReply = 1024 * 1024;

    // Takes in the next bytes. Returns false once kMaxReply bytes have been taken in; what
    // lies beyond the cap is dropped.
    bool feed(QByteArrayView data);
    // The connection has ended: a line still open counts as ended.
    void finish();

    bool isFull() const { return m_taken >= kMaxReply; }

    // 0 until the first line has ended, or when it carries no number in its second field.
    int status() const { return m_status; }
    const InternetHeaders &headers() const { return m_headers; }
    const QByteArray &content() const { return m_content; }

private:
    void scanHead(bool atEnd);
    void takeLine(QByteArrayView line);

    QByteArray m_head;
    qsizetype m_scan = 0;
    qsizetype m_lineStart = 0;
    bool m_firstLine = true;
    bool m_headerComplete = false;
    qsizetype m_taken = 0;
    int m_status = 0;
    InternetHeaders m_headers;
    QByteArray m_content;
};
