#pragma once

#include "sCopiedImage.h"

#include <QList>

class cConfigBase;
class cImageResource;
class cLayout;

// The user images a copied layout uses. Resource ids restart in every new or
// opened document, so the pictures travel with the copy and are given ids in
// the document the layout is pasted into.
class cCopiedLayoutImages
{
public:
    // Keeps a copy of every user image the layout uses, anywhere in its widget tree.
    void Copy(const cLayout& layout, const cConfigBase& config);
    // Gives each kept image an id in the target document and points the pasted
    // layout's image properties at it: an identical image already there is
    // reused, any other becomes a new resource, returned for the caller to insert.
    QList<cImageResource*> Fit(cLayout& pasted, cConfigBase& config) const;

private:
    QList<sCopiedImage> mImages;
};
