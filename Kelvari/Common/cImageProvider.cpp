#include "cImageProvider.h"

#include "cConfigBase.h"
#include "cCurrentConfigSource.h"
#include "ZRNet/Core/DebugTrace.h"

#include <QColor>
#include <QMutexLocker>
#include <QPainter>
#include <QSvgRenderer>
#include <QThread>
#include <algorithm>
#include <cfloat>
#include <cmath>

namespace
{
const QString PreserveAspectFitOption = QStringLiteral("preserveAspectFit");

// The target scaled down, proportions kept, until it is within the provider's bounds.
QSize Bounded(const QSize& target)
{
    const qint64 pixels = qint64(target.width()) * target.height();
    double scale = 1.0;
    scale = std::min(scale, double(cImageProvider::mMaxSide) / target.width());
    scale = std::min(scale, double(cImageProvider::mMaxSide) / target.height());
    scale = std::min(scale, std::sqrt(double(cImageProvider::mMaxPixels) / double(pixels)));
    if (scale >= 1.0)
        return target;
    return QSize(std::max(1, int(target.width() * scale)), std::max(1, int(target.height() * scale)));
}
}

cImageProvider::cImageProvider(const cCurrentConfigSource& application)
    : QQuickImageProvider(QQuickImageProvider::Image), mApplication(application),
      mConfigThread(QThread::currentThread())
{
}

QImage cImageProvider::requestImage(const QString& id, QSize* size, const QSize& requestedSize)
{
    QStringList options = id.split(QLatin1Char(':'));
    const QString resourceId = options.takeFirst();

    if (resourceId == cConfigBase::DefaultImageId())
        return DefaultImage(size);
    if (cConfigBase::IsDrawingId(resourceId))
    {
        QSvgRenderer renderer(cConfigBase::DrawingPath(resourceId));
        return GetSvgImage(renderer, size, requestedSize, options);
    }
    return ConfigImage(resourceId, size, requestedSize, options);
}

QImage cImageProvider::DefaultImage(QSize* size)
{
    // The default picture is built in and drawn at its own size: rendered once,
    // not once for each of a page's many image widgets.
    QMutexLocker lock(&mDefaultImageMutex);
    if (mDefaultImage.isNull())
    {
        QSvgRenderer renderer(cConfigBase::DefaultImagePath());
        const QSize natural = renderer.defaultSize();
        if (natural.width() < 1 || natural.height() < 1)
            return DummyImage(size);
        mDefaultImage = RenderSvg(renderer, natural, nullptr);
    }
    if (size)
        *size = mDefaultImage.size();
    return mDefaultImage;
}

QImage cImageProvider::ConfigImage(const QString& resourceId, QSize* size, const QSize& requestedSize,
                                   const QStringList& options) const
{
    if (QThread::currentThread() != mConfigThread)
    {
        ZR_ERROR("Image '%s' requested off the config's thread", qUtf8Printable(resourceId));
        return DummyImage(size);
    }
    const cConfigBase* config = mApplication.CurrentConfig();
    if (!config)
        return DummyImage(size);

    const QByteArray svgData = config->GetSvgData(resourceId);
    if (!svgData.isEmpty())
    {
        QSvgRenderer renderer(svgData);
        return GetSvgImage(renderer, size, requestedSize, options);
    }
    const QImage image = config->GetImage(resourceId);
    if (image.width() > 0)
    {
        if (size)
            *size = image.size();
        return image;
    }
    return DummyImage(size);
}

QImage cImageProvider::GetSvgImage(QSvgRenderer& renderer, QSize* size, const QSize& requestedSize,
                                   const QStringList& options) const
{
    if (requestedSize.width() < 1 || requestedSize.height() < 1)
        return DummyImage(size);

    QSize target = requestedSize;
    if (options.contains(PreserveAspectFitOption))
    {
        const QRectF viewBox = renderer.viewBoxF();
        const double exactRatio = viewBox.width() > 0 ? viewBox.height() / viewBox.width() : 0.0;
        const float ratio = exactRatio > 0 && exactRatio <= FLT_MAX ? float(exactRatio) : 0.0f;
        // An empty or unreadable view box has no proportions to keep.
        if (!(ratio > 0))
        {
            if (size)
                *size = QSize(0, 0);
            return QImage();
        }
        const float requestedHeight = float(requestedSize.height());
        const float height = std::trunc(float(requestedSize.width()) * ratio);
        // Single-precision sides may round above the requested int; the
        // request bounds them before they are truncated.
        if (requestedHeight < height)
            target = QSize(int(std::min(double(requestedHeight / ratio), double(requestedSize.width()))),
                           requestedSize.height());
        else
            target = QSize(requestedSize.width(), int(std::min(double(height), double(requestedSize.height()))));
    }
    return RenderSvg(renderer, target, size);
}

QImage cImageProvider::RenderSvg(QSvgRenderer& renderer, QSize target, QSize* size)
{
    if (target.width() > 0 && target.height() > 0)
        target = Bounded(target);
    QImage image(target, QImage::Format_ARGB32);
    if (!image.isNull())
    {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
    }
    if (size)
        *size = image.size();
    return image;
}

QImage cImageProvider::DummyImage(QSize* size) const
{
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(QColor(255, 0, 0, 255));
    if (size)
        *size = image.size();
    return image;
}
