#include "cCappedBuffer.h"

cCappedBuffer::cCappedBuffer(QByteArray* bytes, qint64 maxSize) : QBuffer(bytes), mMaxSize(maxSize) {}

qint64 cCappedBuffer::writeData(const char* data, qint64 length)
{
    if (pos() + length > mMaxSize)
    {
        mOverflowed = true;
        return -1;
    }
    return QBuffer::writeData(data, length);
}
