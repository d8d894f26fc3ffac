#pragma once

#include "sCopiedImage.h"

#include <QList>
#include <QSet>
#include <QString>

class cConfigBase;
class cImageResource;
class cLayout;
class cWidget;

// The user images a copied layout or copied widgets use. Resource ids restart
// in every new or opened document, so the pictures travel with the copy and
// are given ids in the document it is pasted into.
class cCopiedLayoutImages
{
public:
    // Keeps a copy of every user image the layout uses, anywhere in its widget tree.
    void Copy(const cLayout& layout, const cConfigBase& config);
    // The same for the widgets and everything inside them.
    void Copy(const QList<cWidget*>& widgets, const cConfigBase& config);
    // Gives each kept image that the pasted widgets use an id in the target
    // document and points their image properties at it: an identical image
    // already there is reused, any other becomes a new resource, returned for
    // the caller to insert. A user image id that named no image when copied
    // is given one that names none in the target document.
    QList<cImageResource*> Fit(cLayout& pasted, cConfigBase& config) const;
    QList<cImageResource*> Fit(const QList<cWidget*>& pasted, cConfigBase& config) const;

private:
    QList<sCopiedImage> mImages;
    // User image ids the copied widgets named that named no image (deleted, or left out by a read).
    QSet<QString> mGoneIds;
};
