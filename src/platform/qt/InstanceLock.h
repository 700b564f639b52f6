#pragma once
#include <string>

namespace sudoku::qt {

// One copy per user: an advisory lock (flock) on a file in a private folder of this user.
// The kernel drops the lock when its holder ends, however it ends, so a file left behind
// means nothing. Beside the lock the running copy listens on a datagram socket, on which a
// later launch hands over its startup id before it ends.
class InstanceLock {
public:
    enum class Result { Acquired, HeldByAnother, NoPlace };

    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    // Tries the per-user folders in a fixed order, so that every copy settles on the same one.
    Result Acquire();
    // The folder used, whether it is a fallback for an unusable XDG_RUNTIME_DIR, whether that was
    // a private folder of ours all the same (say, with a folder in the socket's place), and the socket.
    const std::string& Folder() const { return folder_; }
    bool FellBack() const { return fellBack_; }
    bool RuntimePrivate() const { return runtimePrivate_; }
    std::string SocketPath() const;

    // The running copy: a non-blocking socket, bound as the lock is taken, that receives later
    // launches' messages; -1 if none.
    int Listen() const { return listenFd_; }
    // A later launch: hands its message to the running copy; false, with errno, if nobody listens.
    bool Tell(const std::string& message) const;

private:
    bool TryFolder(const std::string& folder, Result& result);
    bool Bind(const std::string& folder);

    int lockFd_ = -1;
    int listenFd_ = -1;
    std::string folder_;
    bool fellBack_ = false;
    bool runtimePrivate_ = false;
};

}  // namespace sudoku::qt
