#pragma once

#include <QImage>
#include <QMutex>
#include <QQuickImageProvider>
#include <QSize>
#include <QString>
#include <QStringList>

class cCurrentConfigSource;
class QSvgRenderer;
class QThread;

// Serves "image://imageProvider/<id>[:option...]": the default picture, the
// built-in drawings and the current config's images, with a 20 x 20 red
// placeholder whenever nothing is found. Drawings are rendered at the size
// asked for, proportions kept with the option "preserveAspectFit".
class cImageProvider : public QQuickImageProvider
{
public:
    // No rendering is larger than this many pixels a side, nor than
    // mMaxPixels in all; a larger request is scaled down, proportions kept.
    static constexpr int mMaxSide = 8192;
    static constexpr qint64 mMaxPixels = qint64(4096) * 4096;

    explicit cImageProvider(const cCurrentConfigSource& application);

    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;

    // Renders a drawing into a transparent image of the requested size, or
    // of the largest size with the drawing's proportions that fits inside it.
    QImage GetSvgImage(QSvgRenderer& renderer, QSize* size, const QSize& requestedSize,
                       const QStringList& options) const;
    QImage DummyImage(QSize* size) const;

private:
    QImage DefaultImage(QSize* size);
    static QImage RenderSvg(QSvgRenderer& renderer, QSize target, QSize* size);
    QImage ConfigImage(const QString& resourceId, QSize* size, const QSize& requestedSize,
                       const QStringList& options) const;

    const cCurrentConfigSource& mApplication;
    // The config lives on this thread and is read without a lock.
    QThread* const mConfigThread;
    // Requests may come from the pixmap reader's thread too.
    QMutex mDefaultImageMutex;
    QImage mDefaultImage;
};
