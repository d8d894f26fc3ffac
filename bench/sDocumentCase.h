#pragma once

#include <QByteArray>
#include <QList>

// One generated config of the document benchmark: layouts of widgets of ten
// kinds (a third of them inside four tab containers of three tabs per layout)
// and embedded PNGs of random noise that the image widgets use in turn.
struct sDocumentCase
{
    const char* name;
    const char* description;
    int layouts;
    int widgetsPerLayout;
    // Only image widgets, none in tab containers.
    bool imagesOnly;
    int pictures;
    // Width and height of each noise picture.
    int pictureSize;
    // Every widget has the id 1 but the first, which has the largest id a file can hold.
    bool repeatedIds;

    // The cases the benchmark reports, in order.
    static const QList<sDocumentCase>& All();
    // The case of that name, or null.
    static const sDocumentCase* Find(const QByteArray& name);

    QByteArray Generate() const;
};
