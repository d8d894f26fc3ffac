#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// A user image travelling with a copied layout.
struct sCopiedImage
{
    // Its id in the document it was copied from.
    QString resourceId;
    QString name;
    QImage image;
    QByteArray data;
    QString subtype;
};
