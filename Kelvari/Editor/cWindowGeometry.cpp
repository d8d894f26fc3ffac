#include "cWindowGeometry.h"

#include <QDataStream>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <limits>

cWindowGeometry::cWindowGeometry(cUserSettings::eSetting setting, QObject* parent)
    : QObject(parent)
    , mSetting(setting)
{
    mTimer.setSingleShot(true);
    connect(&mTimer, &QTimer::timeout, this, &cWindowGeometry::ApplyChange);
}

QByteArray cWindowGeometry::Encode(const QRect& geometry, int windowState)
{
    QByteArray record;
    QDataStream stream(&record, QIODevice::WriteOnly);
    stream << qint32(geometry.x()) << qint32(geometry.y()) << qint32(geometry.width()) << qint32(geometry.height())
           << qint32(windowState);
    return record;
}

bool cWindowGeometry::Decode(const QByteArray& record, QRect& geometry, int& windowState)
{
    if (record.size() < kRecordBytes)
        return false;
    QDataStream stream(record);
    qint32 x, y, width, height, state;
    stream >> x >> y >> width >> height >> state;
    // A settings file edited or damaged by hand may hold no window: nothing to see, or an edge past what a
    // coordinate can hold.
    constexpr qint64 kMaxCoordinate = std::numeric_limits<qint32>::max();
    if (width < 1 || height < 1 || x + qint64(width) > kMaxCoordinate || y + qint64(height) > kMaxCoordinate)
        return false;
    geometry = QRect(x, y, width, height);
    windowState = state;
    return true;
}

void cWindowGeometry::FitToScreens(int& x, int& y, int& width, int& height)
{
    const QPoint topLeft(x, y);
    const QPoint topRight(x + width, y);
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens)
    {
        const QRect available = screen->availableGeometry();
        if (available.contains(topLeft) || available.contains(topRight))
            return;
    }
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return;
    // The screen's size only, not its place on the desktop. A corner at the width (or height) itself already
    // lies one past the screen's last column (or row), so it is pulled back too.
    const int screenWidth = primary->availableGeometry().width();
    const int screenHeight = primary->availableGeometry().height();
    width = qMin(width, screenWidth);
    height = qMin(height, screenHeight);
    if (x < 0)
        x = 0;
    else if (x >= screenWidth)
        x = screenWidth - width;
    if (y < 0)
        y = 0;
    else if (y >= screenHeight)
        y = screenHeight - height;
}

void cWindowGeometry::Load()
{
    QRect stored;
    int state = 0;
    if (Decode(cUserSettings::ReadBytes(mSetting), stored, state))
    {
        mApplied = stored;
        mPending = stored;
        mWindowState = state & ~Qt::WindowMinimized;
    }
    int x = mApplied.x(), y = mApplied.y(), width = mApplied.width(), height = mApplied.height();
    FitToScreens(x, y, width, height);
    mApplied = QRect(x, y, width, height);
}

void cWindowGeometry::Store() const
{
    cUserSettings::Write(mSetting, Encode(mApplied, mWindowState));
}

void cWindowGeometry::Attach(QWindow* window)
{
    Detach();
    mWindow = window;
    if (!window)
        return;
    window->setGeometry(mApplied);
    mConnections << connect(window, &QWindow::windowStateChanged, this, &cWindowGeometry::WindowStateChanged)
                 << connect(window, &QWindow::xChanged, this, &cWindowGeometry::SetX)
                 << connect(window, &QWindow::yChanged, this, &cWindowGeometry::SetY)
                 << connect(window, &QWindow::widthChanged, this, &cWindowGeometry::SetWidth)
                 << connect(window, &QWindow::heightChanged, this, &cWindowGeometry::SetHeight);
}

void cWindowGeometry::Detach()
{
    for (const QMetaObject::Connection& connection : qAsConst(mConnections))
        disconnect(connection);
    mConnections.clear();
    mWindow = nullptr;
}

void cWindowGeometry::ApplyWindowState()
{
    if (mWindow)
        mWindow->setWindowStates(Qt::WindowStates(mWindowState));
}

void cWindowGeometry::Report(int applied, int reported, void (QRect::*set)(int))
{
    if (reported == applied)
        return;
    (mPending.*set)(reported);
    mTimer.start(kSettleMs);
}

void cWindowGeometry::SetX(int x)
{
    // Moving keeps the size: QRect::moveLeft, not setLeft.
    Report(mApplied.x(), x, &QRect::moveLeft);
}

void cWindowGeometry::SetY(int y)
{
    Report(mApplied.y(), y, &QRect::moveTop);
}

void cWindowGeometry::SetWidth(int width)
{
    Report(mApplied.width(), width, &QRect::setWidth);
}

void cWindowGeometry::SetHeight(int height)
{
    Report(mApplied.height(), height, &QRect::setHeight);
}

void cWindowGeometry::WindowStateChanged()
{
    if (mWindow)
        mWindowState = int(mWindow->windowStates());
}

void cWindowGeometry::ApplyChange()
{
    if (mWindowState == 0)
        mApplied = mPending;
    else
        mPending = mApplied;
}
