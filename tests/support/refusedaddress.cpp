#include "tests/support/refusedaddress.h"

#include <QTcpServer>

QString refusedAddress(const QString &path)
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return QString();
    const quint16 port = server.serverPort();
    server.close();
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
}
