#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTimer>

class QTcpSocket;

// Checks that a unit accepts TCP connections on a port: one connect attempt,
// closed again at once, with a time limit. Runs on its owner's thread without blocking it.
class cReachabilityProbe : public QObject
{
    Q_OBJECT

public:
    explicit cReachabilityProbe(QObject* parent = nullptr);

    // The outcome is always reported after Start has returned. Starting again
    // abandons the attempt under way without a report.
    void Start(const QHostAddress& address, quint16 port, int timeoutMs);
    void Cancel();
    bool Running() const;

signals:
    void Reachable();
    // The reason is a text for the user.
    void Unreachable(const QString& reason);

private:
    void Connected();
    void Failed();
    void TimedOut();

    QTcpSocket* mSocket = nullptr;
    QTimer mTimer;
    QHostAddress mAddress;
    int mTimeoutMs = 0;
};
