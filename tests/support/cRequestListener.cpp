#include "cRequestListener.h"

#include <QTcpSocket>

cRequestListener::cRequestListener(QObject* parent)
    : QObject(parent)
{
    connect(&mServer, &QTcpServer::newConnection, this, &cRequestListener::Accept);
}

bool cRequestListener::Listen()
{
    return mServer.listen(QHostAddress::LocalHost, 0);
}

QString cRequestListener::Address(const QString& name) const
{
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(mServer.serverPort()).arg(name);
}

void cRequestListener::Accept()
{
    while (QTcpSocket* socket = mServer.nextPendingConnection())
    {
        const int entry = mRequests.size();
        mRequests << QStringLiteral("connection");
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, entry] {
            if (socket->canReadLine())
                mRequests[entry] = QString::fromLatin1(socket->readLine()).trimmed();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}
