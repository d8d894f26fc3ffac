#include "cUnixSignalManager.h"

#include "ZRNet/Core/DebugTrace.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler may only read lock-free atomics");

// [0] is written by the signal handler, [1] read on the Qt side; -1 until the pair exists.
// Created once and never closed, so the handler can never write into a closed or reused descriptor.
std::atomic<int> SignalFileDescriptor[2] = {{-1}, {-1}};

bool EnsureSocketPair()
{
    static QMutex mutex;
    QMutexLocker locker(&mutex);
    if (SignalFileDescriptor[0].load() >= 0)
        return true;
    int descriptors[2];
    // Non-blocking: a full socket must drop a signal rather than hang the handler, and a
    // spurious wake-up must not hang the reader.
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, descriptors) != 0)
    {
        ZR_ERROR("Couldn't create signal socketpair");
        return false;
    }
    SignalFileDescriptor[1].store(descriptors[1]);
    SignalFileDescriptor[0].store(descriptors[0]);
    return true;
}
}

cUnixSignalManager::cUnixSignalManager(QObject* parent)
    : QObject(parent)
{
    if (!EnsureSocketPair())
        return;
    mNotifier = new QSocketNotifier(SignalFileDescriptor[1].load(), QSocketNotifier::Read, this);
    connect(mNotifier, &QSocketNotifier::activated, this, &cUnixSignalManager::HandleSigInt);
}

int cUnixSignalManager::SetUpUnixHandler()
{
    // Without the pair a caught signal would vanish, so no handler is installed before it exists.
    if (!EnsureSocketPair())
    {
        ZR_ERROR("Error setting up unix signal handler");
        return 1;
    }
    struct sigaction action = {};
    action.sa_handler = &cUnixSignalManager::UnixSignalHandler;
    sigemptyset(&action.sa_mask);
    // Restarting keeps blocking calls on other threads from failing with EINTR.
    action.sa_flags = SA_RESTART;
    for (int signalNumber : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1})
    {
        if (sigaction(signalNumber, &action, nullptr) != 0)
        {
            ZR_ERROR("Error setting up unix signal handler");
            return 1;
        }
    }
    return 0;
}

void cUnixSignalManager::UnixSignalHandler(int signalNumber)
{
    // Only async-signal-safe work here: an atomic load and write(); errno is kept for the interrupted code.
    if (signalNumber == SIGUSR1)
        return;
    const int descriptor = SignalFileDescriptor[0].load();
    if (descriptor < 0)
        return;
    const int savedErrno = errno;
    [[maybe_unused]] const ssize_t written = write(descriptor, &signalNumber, sizeof signalNumber);
    errno = savedErrno;
}

void cUnixSignalManager::HandleSigInt()
{
    if (!mNotifier)
        return;
    mNotifier->setEnabled(false);
    int signalNumber = 0;
    const ssize_t received = read(SignalFileDescriptor[1].load(), &signalNumber, sizeof signalNumber);
    QCoreApplication* application = QCoreApplication::instance();
    // Quit in the application's thread: QCoreApplication::quit() is not thread-safe in Qt 5.
    if (received > 0 && application)
        QMetaObject::invokeMethod(application, [] { QCoreApplication::quit(); });
    mNotifier->setEnabled(true);
}
