#include "cLayoutOnlineMode.h"

#include "cApplicationBase.h"
#include "cLayout.h"
#include "cLayoutConfig.h"
#include "cTestWindowLogin.h"
#include "Kelvari/Common/cKelvariConfigClient.h"
#include "Kelvari/Common/cWidget.h"
#include "ZRNet/Core/DebugTrace.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/ZRNetProtocol.h"

cLayoutOnlineMode::cLayoutOnlineMode(cLayout& layout, cLayoutConfig& config)
    : QObject(&layout), mLayout(layout), mConfig(config)
{
}

cLayoutOnlineMode::~cLayoutOnlineMode() = default;

void cLayoutOnlineMode::SetOnline(const QString& host)
{
    SetOffline();
    ++mClientNumber;
    SyscallMessagesPollLock();
    auto* client = new cKelvariConfigClient(kConfigClientName);
    SyscallMessagesPollUnLock();
    mClient.reset(client);
    mState = eSeeking;
    ConnectClient(&cKelvariConfigClient::SeekSuccessful, &cLayoutOnlineMode::ConfigClientFound, eSeeking);
    ConnectClient(&cKelvariConfigClient::SeekFailed, &cLayoutOnlineMode::ConfigClientNotFound, eSeeking);
    ConnectClient(&cKelvariConfigClient::Authenticated, &cLayoutOnlineMode::Authenticated, eLoggingIn);
    ConnectClient(&cKelvariConfigClient::AuthenticationFailed, &cLayoutOnlineMode::AuthenticationFailed, eLoggingIn);
    const QByteArray path = host.toLocal8Bit() + '/' + kConfigManagerName;
    // Nobody ever answers a client that could not register (no messaging layer, or the name still taken).
    if (client->Handle() == kZRNetNoHandle)
        emit client->SeekFailed();
    else
        client->SeekObject(path.constData());
}

// Under the registry lock, so that the client is not handed a message while it goes.
void cLayoutOnlineMode::SetOffline()
{
    mState = eOffline;
    SyscallMessagesPollLock();
    ReleaseClient();
    TakeWidgetsOffline();
    SyscallMessagesPollUnLock();
}

void cLayoutOnlineMode::WidgetEntered(cWidget* widget)
{
    if (!widget)
        return;
    mWidgetsOffPage.removeAll(widget);
    if (mState == eOnline && !widget->IsOnline())
        widget->SetOnline(mClient);
}

void cLayoutOnlineMode::WidgetLeft(cWidget* widget)
{
    if (widget && widget->IsOnline() && !mWidgetsOffPage.contains(widget))
        mWidgetsOffPage.append(widget);
}

// Queued also for a signal sent inside one of our own calls, so that no slot
// releases the client while the client is still running.
void cLayoutOnlineMode::ConnectClient(void (cKelvariConfigClient::*signal)(), void (cLayoutOnlineMode::*slot)(),
                                      eState state)
{
    const quint64 number = mClientNumber;
    connect(
        mClient.get(), signal, this,
        [this, number, slot, state] {
            if (number == mClientNumber && mState == state)
                (this->*slot)();
        },
        Qt::QueuedConnection);
}

void cLayoutOnlineMode::ConfigClientFound()
{
    mState = eLoggingIn;
    static const std::string kNoPassword;
    const cTestWindowLogin* login = mConfig.TestWindowLogin();
    mClient->Authenticate(cApplicationBase::GetHashedString(login ? login->TestWindowUsername() : QString()),
                          login ? login->TestWindowPasswordHash() : kNoPassword);
}

void cLayoutOnlineMode::ConfigClientNotFound()
{
    ZR_NOTIFY("Layout '%s': the unit's config manager was not found", qPrintable(mLayout.name()));
    mState = eOffline;
    SyscallMessagesPollLock();
    ReleaseClient();
    SyscallMessagesPollUnLock();
    emit ConfigClientNotFoundSignal();
}

void cLayoutOnlineMode::Authenticated()
{
    mState = eOnline;
    if (cTestWindowLogin* login = mConfig.TestWindowLogin())
        login->TestWindowLoginAccepted();
    for (cWidget* widget : mLayout.GetWidgets()->Items())
        widget->SetOnline(mClient);
}

// A log-in that ended without the unit's answer (the connection went, the
// unit fell silent) says nothing about the password: it is reported as a
// config manager that cannot be reached, not as a refused login.
void cLayoutOnlineMode::AuthenticationFailed()
{
    if (mClient && mClient->FailureReasonCode() != eConfigFailureIncorrectPassword)
    {
        ConfigClientNotFound();
        return;
    }
    ZR_NOTIFY("Layout '%s': the unit refused the test window's login", qPrintable(mLayout.name()));
    mState = eRefused;
    if (cTestWindowLogin* login = mConfig.TestWindowLogin())
        login->TestWindowLoginRefused();
    emit AuthenticationFailedSignal();
}

void cLayoutOnlineMode::ReleaseClient()
{
    ++mClientNumber;
    mClient.reset();
}

void cLayoutOnlineMode::TakeWidgetsOffline()
{
    for (cWidget* widget : mLayout.GetWidgets()->Items())
        widget->SetOffline();
    for (const QPointer<cWidget>& widget : mWidgetsOffPage)
    {
        if (widget)
            widget->SetOffline();
    }
    mWidgetsOffPage.clear();
}
