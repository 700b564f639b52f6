#pragma once
#include <QByteArray>
#include <QObject>
#include <functional>
#include <memory>

#include "app/Controls.h"

namespace sudoku::qt {

class QtEventPump final : public EventPump {
public:
    void ProcessEvents() override;
};

class InstanceLock;

// What a later launch hands over to the running copy: the launcher's startup id (X11) or
// activation token (Wayland), so that the running copy can complete the launch.
struct Launch {
    QByteArray startupId;
    QByteArray activationToken;
};

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
