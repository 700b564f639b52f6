#include "platform/qt/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/qt/Env.h"

namespace sudoku::qt {
namespace {

const char kLockName[] = "/sudoku-game.lock";
const char kSocketName[] = "/sudoku-game.sock";

// Only a real folder of ours that nobody else may enter: anything else may hold files
// planted by another user.
bool IsPrivate(const std::string& folder) {
    struct stat st {};
    return lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
           (st.st_mode & 07777) == 0700;
}

bool SocketAddress(const std::string& folder, sockaddr_un& addr) {
    const std::string path = folder + kSocketName;
    addr = {};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// The hand-over works in a folder only where the socket's name fits an address and no folder,
// which the holder cannot clear away, sits in its place. Every copy judges a folder alike.
bool SocketNameUsable(const std::string& folder) {
    sockaddr_un addr;
    struct stat st {};
    if (!SocketAddress(folder, addr)) return false;
    return lstat(addr.sun_path, &st) == 0 ? !S_ISDIR(st.st_mode) : errno == ENOENT;
}

}  // namespace

InstanceLock::~InstanceLock() {
    if (listenFd_ >= 0) close(listenFd_);
    if (lockFd_ >= 0) close(lockFd_);
}

InstanceLock::Result InstanceLock::Acquire() {
    Result result = Result::NoPlace;
    const std::string runtime = Env("XDG_RUNTIME_DIR");
    runtimePrivate_ = !runtime.empty() && IsPrivate(runtime);
    if (runtimePrivate_ && TryFolder(runtime, result)) return result;
    fellBack_ = true;
    std::string cache = Env("XDG_CACHE_HOME");
    if (cache.empty() || cache[0] != '/') {
        const std::string home = Env("HOME");
        cache = home.empty() ? "" : home + "/.cache";
    }
    const std::string own = "/sudoku-" + std::to_string(geteuid());
    for (const std::string& base : {Env("TMPDIR"), std::string("/tmp"), cache}) {
        if (base.empty() || base[0] != '/') continue;
        if (base == cache) mkdir(base.c_str(), 0700);
        const std::string folder = base + own;
        mkdir(folder.c_str(), 0700);
        if (IsPrivate(folder) && TryFolder(folder, result)) return result;
    }
    folder_.clear();
    return Result::NoPlace;
}

bool InstanceLock::TryFolder(const std::string& folder, Result& result) {
    if (!SocketNameUsable(folder)) return false;
    const std::string path = folder + kLockName;
    for (int attempt = 0; attempt < 3; ++attempt) {
        // The lock works on a descriptor opened for reading only, as on a file root left behind.
        const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
        int fd = open(path.c_str(), O_RDWR | O_CREAT | flags, 0600);
        if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = open(path.c_str(), O_RDONLY | flags);
        // A file we may not even read, in a folder of ours: replace it.
        if (fd < 0 && errno == EACCES && unlink(path.c_str()) == 0) continue;
        if (fd < 0) return false;
        struct stat held {};
        if (fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            close(fd);
            return false;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            close(fd);
            if (error != EWOULDBLOCK) return false;
            folder_ = folder;
            result = Result::HeldByAnother;
            return true;
        }
        // Another copy may have replaced the file between our open and our lock.
        struct stat now {};
        if (stat(path.c_str(), &now) != 0 || now.st_ino != held.st_ino || now.st_dev != held.st_dev) {
            close(fd);
            continue;
        }
        // Bound at once: a later launch's message then waits in the kernel until we read it. A
        // folder where nobody could reach us is given up for the next one, as later copies do.
        if (!Bind(folder)) {
            close(fd);
            return false;
        }
        lockFd_ = fd;
        folder_ = folder;
        result = Result::Acquired;
        return true;
    }
    return false;
}

bool InstanceLock::Bind(const std::string& folder) {
    sockaddr_un addr;
    if (!SocketAddress(folder, addr)) return false;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    unlink(addr.sun_path);  // we hold the lock: a socket file here is a leftover
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return false;
    }
    listenFd_ = fd;
    return true;
}

bool InstanceLock::Tell(const std::string& message) const {
    sockaddr_un addr;
    if (folder_.empty() || !SocketAddress(folder_, addr)) return false;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // The holder binds its socket right after taking the lock, and its queue may be full for a
    // moment: a short wait covers both, a copy that never listens costs no more than that.
    bool sent = false;
    for (int attempt = 0; attempt < 50 && !sent; ++attempt) {
        if (attempt) usleep(10'000);
        sent = sendto(fd, message.data(), message.size(), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&addr),
                      sizeof addr) == static_cast<ssize_t>(message.size());
        if (!sent && errno != EAGAIN && errno != ECONNREFUSED && errno != ENOENT) break;
    }
    const int error = errno;
    close(fd);
    errno = error;
    return sent;
}

std::string InstanceLock::SocketPath() const { return folder_.empty() ? "" : folder_ + kSocketName; }

}  // namespace sudoku::qt
