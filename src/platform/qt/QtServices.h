#pragma once
#include <QLockFile>
#include <memory>

#include "platform/Controls.h"

namespace sudoku::qt {

class QtEventPump final : public EventPump {
public:
    void ProcessEvents() override;
};

// Single instance through a lock file in the per-user runtime folder. A lock
// left by a copy that was killed is taken over at the next start.
class QtProcess final : public Process {
public:
    QtProcess();
    ~QtProcess() override;
    bool AnotherInstanceRunning() override;
    float SecondsSinceMidnight() override;
    void EndNow() override;
    static QString LockPath();

private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace sudoku::qt
