#pragma once

#include <QColor>
#include <QQuickItem>

// A meter's lit bar: the item filled in one flat colour from its bottom up to
// the level, a fraction of its height from 0 to 1.
class cMeterClipItem : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QColor colour READ colour WRITE setColour NOTIFY colourChanged)
    Q_PROPERTY(qreal level READ level WRITE setLevel NOTIFY levelChanged)

public:
    explicit cMeterClipItem(QQuickItem* parent = nullptr);

    QColor colour() const { return mColour; }
    void setColour(const QColor& colour);
    qreal level() const { return mLevel; }
    // Kept within 0 to 1.
    void setLevel(qreal level);

signals:
    void colourChanged();
    void levelChanged();

protected:
    QSGNode* updatePaintNode(QSGNode* node, UpdatePaintNodeData* data) override;

private:
    QColor mColour = Qt::green;
    qreal mLevel = 0;
};
