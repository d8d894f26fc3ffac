#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// What reading a config file left out of the document or changed in it, for
// the user to hear of before a save writes the file again without it.
class cConfigReadReport
{
public:
    void Clear() { *this = cConfigReadReport(); }
    // Widgets nested deeper than the limit, counted with every widget inside them.
    void AddWidgetsTooDeep(int count, int limit);
    void AddPictureTooLarge(const QString& name, const QSize& limit);
    void AddPictureUnreadable(const QString& name);
    // A widget whose id an earlier one had, given a fresh id.
    void AddWidgetRenumbered() { ++mWidgetsRenumbered; }

    int WidgetsTooDeep() const { return mWidgetsTooDeep; }
    int PicturesLeftOut() const { return mPicturesTooLarge.size() + mPicturesUnreadable.size(); }
    int WidgetsRenumbered() const { return mWidgetsRenumbered; }
    // One line for each kind of loss or change; empty when the read took everything as it was.
    QString Text() const;

private:
    int mWidgetsTooDeep = 0;
    int mNestingLimit = 0;
    QStringList mPicturesTooLarge;
    QSize mPictureLimit;
    QStringList mPicturesUnreadable;
    int mWidgetsRenumbered = 0;
};
