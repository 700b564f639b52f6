#include "platform/qt/QtServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTime>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sudoku::qt {

void QtEventPump::ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

QtProcess::QtProcess() = default;
QtProcess::~QtProcess() = default;

QString QtProcess::LockPath() {
    QString dir;
#ifdef Q_OS_UNIX
    // The per-user runtime folder; without one, a private folder of this user in the temp folder.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QString::fromLocal8Bit(runtime)).exists()) {
        dir = QString::fromLocal8Bit(runtime);
    } else {
        dir = QDir::tempPath() + QStringLiteral("/runtime-") + QString::number(getuid());
        mkdir(QFile::encodeName(dir).constData(), 0700);
        // The toolkit looks for the same folder; naming it spares a warning on stderr.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
    }
#else
    dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir().mkpath(dir);
#endif
    return dir + QStringLiteral("/sudoku-game.lock");
}

bool QtProcess::AnotherInstanceRunning() {
    lock_ = std::make_unique<QLockFile>(LockPath());
    lock_->setStaleLockTime(0);  // a lock whose holder is gone is taken over
    if (lock_->tryLock(0)) return false;
    // Only a lock held by a live copy means another copy; a folder we cannot write does not.
    return lock_->error() == QLockFile::LockFailedError;
}

float QtProcess::SecondsSinceMidnight() {
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

void QtProcess::EndNow() {
    if (lock_) lock_->unlock();
    std::_Exit(0);
}

}  // namespace sudoku::qt
