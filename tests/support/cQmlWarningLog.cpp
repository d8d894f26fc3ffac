#include "cQmlWarningLog.h"

#include <QMetaObject>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>

namespace
{
QPointer<cQmlWarningLog> gLog;
QtMessageHandler gPrevious = nullptr;
QMutex gMutex;
}

cQmlWarningLog::cQmlWarningLog(QObject* parent)
    : QObject(parent)
{
}

cQmlWarningLog::~cQmlWarningLog()
{
    if (gLog == this) {
        qInstallMessageHandler(gPrevious);
        gLog = nullptr;
    }
}

void cQmlWarningLog::start()
{
    if (gLog == this)
        return;
    gLog = this;
    gPrevious = qInstallMessageHandler(&cQmlWarningLog::Handler);
}

void cQmlWarningLog::clear()
{
    QMutexLocker lock(&gMutex);
    mMessages.clear();
    emit messagesChanged();
}

QStringList cQmlWarningLog::messages() const
{
    QMutexLocker lock(&gMutex);
    return mMessages;
}

void cQmlWarningLog::Handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (gLog && (type == QtWarningMsg || type == QtCriticalMsg)) {
        QMutexLocker lock(&gMutex);
        gLog->mMessages.append(message);
        QMetaObject::invokeMethod(gLog, "messagesChanged", Qt::QueuedConnection);
    }
    if (gPrevious)
        gPrevious(type, context, message);
}
