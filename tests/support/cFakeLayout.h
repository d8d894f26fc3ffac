#pragma once

#include "Kelvari/Common/QQmlObjectListModel.h"
#include "Kelvari/Common/cWidget.h"

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QString>

// A row of the stand-in config's layout list: an empty page with default
// details, enough for the layout editor page and the manager's thumbnail to show it.
class cFakeLayout : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name CONSTANT)
    Q_PROPERTY(QQmlObjectListModelBase* widgets READ widgets CONSTANT)
    Q_PROPERTY(QQuickItem* editContent MEMBER mEditContent)
    Q_PROPERTY(QObject* selectionManager READ selectionManager CONSTANT)
    Q_PROPERTY(bool selected MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool allUsers MEMBER mTrue CONSTANT)
    Q_PROPERTY(QString users MEMBER mNoText CONSTANT)
    Q_PROPERTY(bool allScenes MEMBER mTrue CONSTANT)
    Q_PROPERTY(QString scenes MEMBER mNoText CONSTANT)
    Q_PROPERTY(bool desktop MEMBER mTrue CONSTANT)
    Q_PROPERTY(bool phone MEMBER mTrue CONSTANT)
    Q_PROPERTY(bool tablet MEMBER mTrue CONSTANT)
    Q_PROPERTY(int orientation MEMBER mZero CONSTANT)
    Q_PROPERTY(bool fixedAspectRatio MEMBER mFalse NOTIFY fixedAspectRatioChanged)
    Q_PROPERTY(int aspectRatio1 MEMBER mZero NOTIFY aspectRatio1Changed)
    Q_PROPERTY(int aspectRatio2 MEMBER mZero NOTIFY aspectRatio2Changed)
    Q_PROPERTY(bool hasUndo MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool hasRedo MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool isPasteAllowed MEMBER mFalse CONSTANT)

public:
    explicit cFakeLayout(const QString& name, QObject* parent = nullptr)
        : QObject(parent)
        , mName(name)
        , mWidgets(new QQmlObjectListModel<cWidget>(this))
    {
    }

    QString name() const { return mName; }
    QQmlObjectListModelBase* widgets() const { return mWidgets; }
    QObject* selectionManager() const { return nullptr; }

    Q_INVOKABLE void registerContentItem(QQuickItem*, bool) {}
    Q_INVOKABLE void registerDropArea(QQuickItem*) {}
    Q_INVOKABLE void tabPressed() {}
    Q_INVOKABLE void backtabPressed() {}

signals:
    void createRequest(cWidget* widget, QQuickItem* parentItem, int containerLocation);
    void deleteRequest(QQuickItem* item);
    void fixedAspectRatioChanged();
    void aspectRatio1Changed();
    void aspectRatio2Changed();

private:
    QString mName;
    QQmlObjectListModel<cWidget>* mWidgets;
    QPointer<QQuickItem> mEditContent;
    bool mTrue = true;
    bool mFalse = false;
    int mZero = 0;
    QString mNoText;
};
