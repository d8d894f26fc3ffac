#pragma once

#include "cCopiedLayoutImages.h"
#include "sCopiedWidget.h"

#include <QList>
#include <QObject>

// The widgets last copied or cut from any layout of a document, with the user
// images they show, shared by all its layouts; every layout follows Changed()
// to enable its paste.
class cWidgetCopyBuffer : public QObject
{
    Q_OBJECT

public:
    explicit cWidgetCopyBuffer(QObject* parent = nullptr) : QObject(parent) {}

    bool IsEmpty() const { return mRecords.isEmpty(); }
    // Paste updates the records' offsets in place.
    QList<sCopiedWidget>& Records() { return mRecords; }
    // The buffer outlives a New or Open, whose resource ids start again.
    cCopiedLayoutImages& Images() { return mImages; }
    void Replace(const QList<sCopiedWidget>& records)
    {
        mRecords = records;
        emit Changed();
    }

signals:
    void Changed();

private:
    QList<sCopiedWidget> mRecords;
    cCopiedLayoutImages mImages;
};
