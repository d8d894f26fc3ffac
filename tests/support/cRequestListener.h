#pragma once

#include <QObject>
#include <QStringList>
#include <QTcpServer>

// A web server's stand-in on 127.0.0.1 that answers nothing and records what reaches it: the first line of
// each request, or "connection" while none has come. Tests use its addresses where nothing may be fetched.
class cRequestListener : public QObject
{
public:
    explicit cRequestListener(QObject* parent = nullptr);

    bool Listen();
    // An address on this listener, ending in the name.
    QString Address(const QString& name) const;
    QStringList Requests() const { return mRequests; }

private:
    void Accept();

    QTcpServer mServer;
    QStringList mRequests;
};
