#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <array>

// What reading a config file left out of the document or changed in it, for
// the user to hear of before a save writes the file again without it.
class cConfigReadReport
{
public:
    // Why an element of the widget tree was left out; it takes every widget inside it along.
    enum class eLeftOut
    {
        WidgetWithoutId,
        WidgetWithLargestId,
        WidgetWithoutType,
        WidgetWithoutSize,
        WidgetWithNegativeSize,
        TabPastMaximum,
        // Neither a Widget nor a Tab where the file holds those.
        ElementNotKnown,
    };

    void Clear() { *this = cConfigReadReport(); }
    // Widgets nested deeper than the limit, counted with every widget inside them.
    void AddWidgetsTooDeep(int count, int limit);
    // One element left out, with the number of widgets inside it.
    void AddLeftOut(eLeftOut reason, int widgetsInside);
    void AddPictureTooLarge(const QString& name, const QSize& limit);
    void AddPictureUnreadable(const QString& name);
    void AddPictureWithoutId(const QString& name);
    void AddResourceOfUnknownType(const QString& name);
    // A widget whose id an earlier one had, given a fresh id.
    void AddWidgetRenumbered() { ++mWidgetsRenumbered; }

    int WidgetsTooDeep() const { return mWidgetsTooDeep; }
    int PicturesLeftOut() const
    {
        return mPicturesTooLarge.size() + mPicturesUnreadable.size() + mPicturesWithoutId.size();
    }
    int WidgetsRenumbered() const { return mWidgetsRenumbered; }
    // One line for each kind of loss or change; empty when the read took everything as it was.
    QString Text() const;

private:
    struct sLeftOut
    {
        int elements = 0;
        int widgetsInside = 0;
    };

    int mWidgetsTooDeep = 0;
    int mNestingLimit = 0;
    std::array<sLeftOut, static_cast<size_t>(eLeftOut::ElementNotKnown) + 1> mLeftOut{};
    QStringList mPicturesTooLarge;
    QSize mPictureLimit;
    QStringList mPicturesUnreadable;
    QStringList mPicturesWithoutId;
    QStringList mResourcesOfUnknownType;
    int mWidgetsRenumbered = 0;
};
