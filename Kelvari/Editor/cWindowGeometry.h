#pragma once

#include "cUserSettings.h"

#include <QByteArray>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWindow>

// Remembers one window's normal position, size and state across runs. Moves
// and resizes are committed after 500 ms of quiet, and only while the window
// is in its normal state, so that the geometry before a maximise survives.
// Stored as five big-endian 32-bit integers: x, y, width, height, state.
class cWindowGeometry : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSettleMs = 500;
    static constexpr int kRecordBytes = 20;

    cWindowGeometry(cUserSettings::eSetting setting, QObject* parent);

    static QRect DefaultGeometry() { return QRect(100, 100, 1024, 768); }
    static QByteArray Encode(const QRect& geometry, int windowState);
    // False for a record that is too short or holds no window: a size below one, or an edge past the
    // coordinates' range.
    static bool Decode(const QByteArray& record, QRect& geometry, int& windowState);
    // Pulls a window whose top corners lie on no screen onto the primary screen.
    static void FitToScreens(int& x, int& y, int& width, int& height);

    // Reads the stored record (never restoring a minimised state), then fits
    // the applied geometry to the screens.
    void Load();
    void Store() const;

    // Gives the window the applied geometry and follows it from now on.
    void Attach(QWindow* window);
    void Detach();
    QWindow* Window() const { return mWindow; }
    // Gives the followed window the remembered state.
    void ApplyWindowState();

    QRect Applied() const { return mApplied; }
    QRect Pending() const { return mPending; }
    int WindowState() const { return mWindowState; }

private slots:
    void SetX(int x);
    void SetY(int y);
    void SetWidth(int width);
    void SetHeight(int height);
    void WindowStateChanged();
    void ApplyChange();

private:
    void Report(int applied, int reported, void (QRect::*set)(int));

    const cUserSettings::eSetting mSetting;
    QRect mApplied = DefaultGeometry();
    QRect mPending = DefaultGeometry();
    int mWindowState = 0;
    QTimer mTimer;
    QPointer<QWindow> mWindow;
    QList<QMetaObject::Connection> mConnections;
};
