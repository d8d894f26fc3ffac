#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class cKelvariConfigClient;
class cLayout;
class cLayoutConfig;
class cWidget;

// Runs one layout page live against a unit: a config client of its own finds
// the unit's config manager, logs in with the test window's login and, once
// logged in, is shared with every widget of the page. Only the newest client
// counts: an answer of an older one, or one that comes after SetOffline, is
// dropped, and a client is released before the next one is made, because
// both would register under the same name.
class cLayoutOnlineMode : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* kConfigClientName = "KelvariConfigClient_1";

    cLayoutOnlineMode(cLayout& layout, cLayoutConfig& config);
    ~cLayoutOnlineMode() override;

    bool IsOnline() const { return mState == eOnline; }
    // Starts over with a new client that seeks the config manager on the unit at host.
    void SetOnline(const QString& host);
    // Takes the page's widgets, and those that left the page while online, offline.
    void SetOffline();
    // A widget created, pasted or put back while online goes online at once.
    void WidgetEntered(cWidget* widget);
    // A widget deleted while online stays online, but still goes offline with the page.
    void WidgetLeft(cWidget* widget);

signals:
    void ConfigClientNotFoundSignal();
    void AuthenticationFailedSignal();

private slots:
    void ConfigClientFound();
    void ConfigClientNotFound();
    void Authenticated();
    void AuthenticationFailed();

private:
    enum eState
    {
        eOffline,
        eSeeking,
        eLoggingIn,
        eOnline,
        eRefused,
    };

    void ReleaseClient();
    void ConnectClient(void (cKelvariConfigClient::*signal)(), void (cLayoutOnlineMode::*slot)(), eState state);
    void TakeWidgetsOffline();

    cLayout& mLayout;
    cLayoutConfig& mConfig;
    eState mState = eOffline;
    std::shared_ptr<cKelvariConfigClient> mClient;
    // Tells the current client's answers from those of released ones still queued.
    quint64 mClientNumber = 0;
    QList<QPointer<cWidget>> mWidgetsOffPage;
};
