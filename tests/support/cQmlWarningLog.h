#pragma once

#include <QObject>
#include <QStringList>

// Collects the warnings that the QML engine and the Qt modules write while
// tests run, so that a Qt Quick test can demand that a page loads and works
// without any. Messages still reach the previous handler.
class cQmlWarningLog : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList messages READ messages NOTIFY messagesChanged)

public:
    explicit cQmlWarningLog(QObject* parent = nullptr);
    ~cQmlWarningLog() override;

    QStringList messages() const;
    // Starts collecting, on top of whatever handler the test framework has installed by then.
    Q_INVOKABLE void start();
    Q_INVOKABLE void clear();

signals:
    void messagesChanged();

private:
    static void Handler(QtMsgType type, const QMessageLogContext& context, const QString& message);

    QStringList mMessages;
};
