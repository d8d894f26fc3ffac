#pragma once

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QStringList>

// Collects the warnings that the QML engine and the Qt modules write while tests run, so that a test can
// demand that a page loads and works without any. Messages still reach the previous handler.
class cQmlWarningLog : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList messages READ messages)

public:
    using QObject::QObject;
    ~cQmlWarningLog() override
    {
        if (sLog == this)
            qInstallMessageHandler(sPrevious);
    }

    QStringList messages() const
    {
        QMutexLocker lock(&sMutex);
        return mMessages;
    }
    // Starts collecting, on top of whatever handler the test framework has installed by then.
    Q_INVOKABLE void start()
    {
        if (sLog != this)
            sPrevious = qInstallMessageHandler(&cQmlWarningLog::Handler);
        sLog = this;
    }
    Q_INVOKABLE void clear()
    {
        QMutexLocker lock(&sMutex);
        mMessages.clear();
    }

private:
    static void Handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (sLog && (type == QtWarningMsg || type == QtCriticalMsg)) {
            QMutexLocker lock(&sMutex);
            sLog->mMessages.append(message);
        }
        if (sPrevious)
            sPrevious(type, context, message);
    }

    static inline QPointer<cQmlWarningLog> sLog;
    static inline QtMessageHandler sPrevious = nullptr;
    static inline QMutex sMutex;
    QStringList mMessages;
};
