#include "cScriptedPeer.h"

#include "ZRNet/Core/cFrameCodec.h"

#include <QCryptographicHash>
#include <QElapsedTimer>

#include <algorithm>

#include <sys/socket.h>

cScriptedPeer::cScriptedPeer()
{
    mUdp.bind(QHostAddress(QHostAddress::LocalHost), 0);
    mStrangerUdp.bind(QHostAddress(QHostAddress::LocalHost), 0);
}

bool cScriptedPeer::Listen(const QHostAddress& address, quint16 port)
{
    return mServer.listen(address, port);
}

bool cScriptedPeer::Accept(int timeoutMs)
{
    if (!mServer.hasPendingConnections() && !mServer.waitForNewConnection(timeoutMs))
        return false;
    mSocket.reset(mServer.nextPendingConnection());
    mReceived.clear();
    return mSocket != nullptr;
}

namespace
{
// The handle that the editor played here gives as its source.
const UWORD kEditorHandle = 2;
}

UWORD cScriptedPeer::LogInToConfigManager(quint16 unitPort, const QByteArray& passwordHash)
{
    cZRNetMessage received;
    if (!ConnectTo(unitPort))
        return kZRNetNoHandle;
    Greet(eMethodHello);
    cZRNetMessage find(0, kZRNetRegistryHandle, kEditorHandle, eMethodFindObject);
    find.AppendString(kConfigManagerName);
    Send(find);
    if (!ReceiveMethod(eMethodFoundObject, received))
        return kZRNetNoHandle;
    const UWORD manager = received.GetUWord(0);
    cZRNetMessage logIn(0, manager, kEditorHandle, eConfigMethodLogIn);
    logIn.AppendString(QCryptographicHash::hash("Admin", QCryptographicHash::Keccak_512).toBase64().constData());
    logIn.AppendString(passwordHash.constData());
    Send(logIn);
    return ReceiveMethod(eConfigMethodLogInReply, received) && received.GetUByte(0) == 1 ? manager : kZRNetNoHandle;
}

bool cScriptedPeer::ServeConfigManager(UWORD manager)
{
    cZRNetMessage find;
    if (!Accept() || !ReceiveMethod(eMethodHello, find))
        return false;
    Greet(eMethodHelloAck);
    if (!ReceiveMethod(eMethodFindObject, find))
        return false;
    mSeeker = find.Source();
    cZRNetMessage found = FromManager(kZRNetRegistryHandle, eMethodFoundObject);
    found.AppendUWord(manager);
    found.AppendUWord(0);
    found.AppendString(find.GetString(0).c_str());
    Send(found);
    return true;
}

cZRNetMessage cScriptedPeer::FromManager(UWORD manager, UWORD method) const
{
    return cZRNetMessage(0, mSeeker, manager, method);
}

cZRNetMessage cScriptedPeer::UploadChunk(UWORD manager, int index, int last, const QByteArray& data)
{
    cZRNetMessage chunk(0, manager, kEditorHandle, eConfigMethodUploadChunk);
    chunk.AppendUWord(UWORD(index));
    chunk.AppendUWord(UWORD(last));
    chunk.AppendBytes(data.constData(), size_t(data.size()));
    return chunk;
}

bool cScriptedPeer::ConnectTo(quint16 port)
{
    mSocket = std::make_unique<QTcpSocket>();
    mReceived.clear();
    mSocket->connectToHost(QHostAddress::LocalHost, port);
    return mSocket->waitForConnected(3000);
}

QByteArray cScriptedPeer::Framed(const cZRNetMessage& message)
{
    QByteArray bytes(static_cast<int>(cFrameCodec::FramedSize(message)), Qt::Uninitialized);
    cFrameCodec::Frame(message, reinterpret_cast<UBYTE*>(bytes.data()));
    return bytes;
}

void cScriptedPeer::Send(const cZRNetMessage& message)
{
    SendBytes(Framed(message));
}

void cScriptedPeer::SendBytes(const QByteArray& bytes)
{
    mSocket->write(bytes);
    mSocket->waitForBytesWritten(1000);
}

qint64 cScriptedPeer::WriteOn(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (mSocket->bytesToWrite() > 0 && timer.elapsed() < timeoutMs)
        mSocket->waitForBytesWritten(std::max(1, timeoutMs - int(timer.elapsed())));
    return mSocket->bytesToWrite();
}

void cScriptedPeer::Greet(UWORD method, UWORD version)
{
    cZRNetMessage greeting = cFrameCodec::UtilityMessage(method);
    greeting.AppendUWord(version);
    greeting.AppendUWord(mUdp.localPort());
    Send(greeting);
}

bool cScriptedPeer::Receive(cZRNetMessage& message, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (true)
    {
        mReceived += mSocket->readAll();
        size_t consumed = 0;
        std::string error;
        if (cFrameCodec::Parse(reinterpret_cast<const UBYTE*>(mReceived.constData()), size_t(mReceived.size()),
                               message, consumed, error) == cFrameCodec::eFrameComplete)
        {
            mReceived.remove(0, int(consumed));
            if ((message.Method() == eMethodHello || message.Method() == eMethodHelloAck) && message.Length() >= 4)
                mPeerUdpPort = message.GetUWord(2);
            return true;
        }
        const int left = timeoutMs - int(timer.elapsed());
        if (left <= 0 || mSocket->state() != QAbstractSocket::ConnectedState || !mSocket->waitForReadyRead(left))
            return false;
    }
}

bool cScriptedPeer::ReceiveMethod(UWORD method, cZRNetMessage& message, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (Receive(message, std::max(0, timeoutMs - int(timer.elapsed()))))
    {
        if (message.Method() == method)
            return true;
    }
    return false;
}

void cScriptedPeer::SendDatagram(const cZRNetMessage& message, bool fromAnnouncedPort)
{
    QUdpSocket& socket = fromAnnouncedPort ? mUdp : mStrangerUdp;
    socket.writeDatagram(Framed(message), QHostAddress::LocalHost, mPeerUdpPort);
}

bool cScriptedPeer::WaitForClose(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (mSocket->state() == QAbstractSocket::ConnectedState && timer.elapsed() < timeoutMs)
    {
        mSocket->waitForReadyRead(50);
        mReceived += mSocket->readAll();
    }
    return mSocket->state() != QAbstractSocket::ConnectedState;
}

void cScriptedPeer::StopSending()
{
    WriteOn(10000);
    ::shutdown(int(mSocket->socketDescriptor()), SHUT_WR);
}

void cScriptedPeer::Close()
{
    mSocket->disconnectFromHost();
    if (mSocket->state() != QAbstractSocket::UnconnectedState)
        mSocket->waitForDisconnected(1000);
}
