#pragma once

#include "cIntProperty.h"

// The number of tabs of a tab container. It records the value about to be
// stored before the change protocol runs, so that a listener on
// ValueAboutToChange() sees both the old and the coming value.
class cNumberOfTabsProperty : public cIntProperty
{
    Q_OBJECT

public:
    cNumberOfTabsProperty(const QString& name, int value, QObject* parent);

    void SetIntValue(int value) override;
    int ComingValue() const { return mComingValue; }

private:
    int mComingValue;
};
