#include "platform/qt/QtServices.h"

#include <QCoreApplication>
#include <QTime>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#ifdef Q_OS_UNIX
#include <QFileInfo>
#include <QSocketNotifier>
#include <sys/socket.h>

#include "platform/qt/InstanceLock.h"
#include "platform/qt/LaunchGate.h"
#else
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#endif

namespace sudoku::qt {

void QtEventPump::ProcessEvents() {
    if (beforeEvents) beforeEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool IsWellFormedStartupId(const QByteArray& id) {
    if (id.isEmpty() || id.size() > kMaxStartupIdLength) return false;
    return std::all_of(id.begin(), id.end(), [](char c) { return c >= 0x20 && c < 0x7f; });
}

std::uint32_t StartupTime(const QByteArray& id) {
    const qsizetype at = id.lastIndexOf("_TIME");
    if (at < 0) return 0;
    bool ok = false;
    const qulonglong t = id.mid(at + 5).toULongLong(&ok);
    return ok && t <= 0xFFFFFFFFu ? static_cast<std::uint32_t>(t) : 0;
}

QtProcess::QtProcess() = default;
QtProcess::~QtProcess() = default;

#ifdef Q_OS_UNIX

bool QtProcess::AnotherInstanceRunning() {
    lock_ = std::make_unique<InstanceLock>();
    switch (lock_->Acquire()) {
        case InstanceLock::Result::HeldByAnother: {
            // Hand the launch over, so that the running copy comes to the front and completes it.
            QByteArray id = qgetenv("DESKTOP_STARTUP_ID"), token = qgetenv("XDG_ACTIVATION_TOKEN");
            if (!IsWellFormedStartupId(id)) id.clear();
            if (!IsWellFormedStartupId(token)) token.clear();
            if (!lock_->Tell(("DESKTOP_STARTUP_ID=" + id + "\nXDG_ACTIVATION_TOKEN=" + token).toStdString()))
                std::fprintf(stderr, "Судоку: игра уже запущена, но не принимает сообщений (%s: %s); "
                                     "её окно не выведено вперёд\n", lock_->SocketPath().c_str(), std::strerror(errno));
            return true;
        }
        case InstanceLock::Result::NoPlace:
            std::fputs("Судоку: нет личной папки для файла блокировки (XDG_RUNTIME_DIR, TMPDIR, /tmp, ~/.cache); "
                       "второй запуск не будет замечен\n", stderr);
            return false;
        case InstanceLock::Result::Acquired:
            break;
    }
    if (lock_->FellBack()) {
        std::fprintf(stderr, "Судоку: XDG_RUNTIME_DIR не задан или непригоден; файл блокировки в %s\n",
                     lock_->Folder().c_str());
        // The toolkit wants a private runtime folder too, and would create a missing one, where a
        // later copy would then look for the lock. A Wayland session keeps its own, and so does a
        // private folder that only the lock and its socket could not use.
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (!lock_->RuntimePrivate() &&
            (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || runtime.isEmpty() || !QFileInfo::exists(runtime)))
            qputenv("XDG_RUNTIME_DIR", lock_->Folder().c_str());
    }
    return false;
}

void QtProcess::ListenForLaunches(QObject* owner, std::function<void(const Launch&)> onLaunch) {
    const int fd = lock_ ? lock_->Listen() : -1;
    if (fd < 0) return;
    auto* gate = new LaunchGate(owner, std::move(onLaunch));
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [fd, gate] {
        // A batch at a time: under a steady flood the notifier fires again, and the window keeps
        // handling its other events in between.
        char buf[4096];
        ssize_t n;
        for (int i = 0; i < 64 && (n = recv(fd, buf, sizeof buf, MSG_DONTWAIT)) >= 0; ++i)
            gate->Add(QByteArray(buf, static_cast<qsizetype>(n)));
        gate->Flush();
    });
}

void QtProcess::EndNow() { std::_Exit(0); }  // the kernel drops the lock

#else

namespace {
std::unique_ptr<QLockFile> fileLock;
}

bool QtProcess::AnotherInstanceRunning() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir().mkpath(dir);
    fileLock = std::make_unique<QLockFile>(dir + QStringLiteral("/sudoku-game.lock"));
    fileLock->setStaleLockTime(0);
    return !fileLock->tryLock(0) && fileLock->error() == QLockFile::LockFailedError;
}

void QtProcess::ListenForLaunches(QObject*, std::function<void(const Launch&)>) {}

void QtProcess::EndNow() {
    if (fileLock) fileLock->unlock();
    std::_Exit(0);
}

#endif

float QtProcess::SecondsSinceMidnight() {
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

}  // namespace sudoku::qt
