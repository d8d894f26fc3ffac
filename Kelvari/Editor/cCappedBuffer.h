#pragma once

#include <QBuffer>

// A buffer over a byte array that refuses any write taking it past a size,
// so that a writer reports a failure where a byte array too large to exist
// would end the program.
class cCappedBuffer : public QBuffer
{
public:
    cCappedBuffer(QByteArray* bytes, qint64 maxSize);

    // Whether a write was refused for the size.
    bool Overflowed() const { return mOverflowed; }

protected:
    qint64 writeData(const char* data, qint64 length) override;

private:
    const qint64 mMaxSize;
    bool mOverflowed = false;
};
