#pragma once

#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Core/cZRNetMessage.h"

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

#include <memory>

// A bare ZRNet peer on 127.0.0.1, driven step by step from the test's thread
// with blocking calls. It frames with the project's codec but does only what the
// test tells it, so it can play a unit or an editor that breaks the protocol.
class cScriptedPeer
{
public:
    cScriptedPeer();

    // As a unit: listen, then take the next connection.
    bool Listen(const QHostAddress& address = QHostAddress(QHostAddress::LocalHost), quint16 port = 0);
    quint16 Port() const { return mServer.serverPort(); }
    bool Accept(int timeoutMs = 5000);
    // As an editor: connect to a unit's TCP port.
    bool ConnectTo(quint16 port);

    void Send(const cZRNetMessage& message);
    // What the peer does not take at once stays for WriteOn and later calls.
    void SendBytes(const QByteArray& bytes);
    // Goes on writing what is left unsent for at most timeoutMs; the bytes still unsent.
    qint64 WriteOn(int timeoutMs);
    // HELLO or HELLO ACK with the given version and this peer's UDP port.
    void Greet(UWORD method, UWORD version = kZRNetProtocolVersion);
    // The next frame from the peer; a greeting also teaches its UDP port.
    bool Receive(cZRNetMessage& message, int timeoutMs = 3000);
    // Receives frames until one with the method arrives.
    bool ReceiveMethod(UWORD method, cZRNetMessage& message, int timeoutMs = 3000);
    // To the UDP port the peer announced, from the announced port or from another one.
    void SendDatagram(const cZRNetMessage& message, bool fromAnnouncedPort = true);
    UWORD PeerUdpPort() const { return mPeerUdpPort; }
    // Sends what is left and then ends this side's stream, as a peer that closes does, while still reading.
    void StopSending();
    // True once the peer has closed the connection.
    bool WaitForClose(int timeoutMs = 3000);
    void Close();

    // As another editor on a unit: connects, greets, finds the config manager and logs in as the
    // administrator with the password as it travels; the manager's handle, or 65535 when a step fails.
    UWORD LogInToConfigManager(quint16 unitPort, const QByteArray& passwordHash);
    // As a unit hosting a config manager under the handle: takes the next connection, answers its greeting
    // and the find that follows it. False when the editor does not get that far.
    bool ServeConfigManager(UWORD manager);
    // A message from the manager to the object that sent the find that ServeConfigManager answered.
    cZRNetMessage FromManager(UWORD manager, UWORD method) const;
    // An upload chunk from the editor played here to the manager.
    static cZRNetMessage UploadChunk(UWORD manager, int index, int last, const QByteArray& data);

    static QByteArray Framed(const cZRNetMessage& message);

private:
    QTcpServer mServer;
    std::unique_ptr<QTcpSocket> mSocket;
    QUdpSocket mUdp;
    QUdpSocket mStrangerUdp;
    QByteArray mReceived;
    UWORD mPeerUdpPort = 0;
    UWORD mSeeker = kZRNetNoHandle;
};
