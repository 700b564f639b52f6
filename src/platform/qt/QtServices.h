#pragma once
#include <QByteArray>
#include <QList>
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/Controls.h"

namespace sudoku::qt {

class QtEventPump final : public EventPump {
public:
    void ProcessEvents() override;
    // Run first each time: a long task's progress reaches screen readers before the events.
    std::function<void()> beforeEvents;
};

class InstanceLock;

// What later launches hand over to the running copy: the launchers' startup ids (X11) and
// activation token (Wayland), so that the running copy can complete the launches. Launches
// that arrive close together come as one.
struct Launch {
    QList<QByteArray> startupIds;  // well-formed ones only, oldest first
    QByteArray activationToken;    // the newest
};

// A startup id or activation token we pass on: 1 to kMaxStartupIdLength printable ASCII
// characters, so nothing can be slipped into the lines of a message.
constexpr qsizetype kMaxStartupIdLength = 200;
bool IsWellFormedStartupId(const QByteArray& id);
// The launch's X server time from a startup id ending in "_TIME<n>"; 0 when it has none.
std::uint32_t StartupTime(const QByteArray& id);

// Single instance through a lock that the kernel drops when its holder ends. A second copy
// passes its launch to the running one and ends.
class QtProcess final : public Process {
public:
    QtProcess();
    ~QtProcess() override;
    bool AnotherInstanceRunning() override;
    float SecondsSinceMidnight() override;
    void EndNow() override;
    // The running copy hears of later launches; the listener lives as long as owner.
    void ListenForLaunches(QObject* owner, std::function<void(const Launch&)> onLaunch);

private:
    std::unique_ptr<InstanceLock> lock_;
};

}  // namespace sudoku::qt
