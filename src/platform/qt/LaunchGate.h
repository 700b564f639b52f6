#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <utility>

#include "platform/qt/QtServices.h"

namespace sudoku::qt {

// A window manager kept busy by a flood of launches helps nobody: at most one raise per this.
constexpr int kRaiseIntervalMs = 100;
// Launches waiting for the next raise whose startup ids are kept; a flood drops the oldest.
constexpr qsizetype kMaxPendingIds = 16;

// Gathers the launches read from the socket (Add) and passes them on (Flush), at most once per interval.
class LaunchGate final : public QObject {
public:
    LaunchGate(QObject* owner, std::function<void(const Launch&)> onLaunch)
        : QObject(owner), onLaunch_(std::move(onLaunch)) {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Pass(); });
    }

    void Add(const QByteArray& message) {
        const QByteArray id = Field(message, "DESKTOP_STARTUP_ID");
        if (IsWellFormedStartupId(id) && !pending_.startupIds.contains(id)) {
            if (pending_.startupIds.size() == kMaxPendingIds) pending_.startupIds.removeFirst();
            pending_.startupIds.append(id);
        }
        const QByteArray token = Field(message, "XDG_ACTIVATION_TOKEN");
        if (IsWellFormedStartupId(token)) pending_.activationToken = token;
        any_ = true;
    }

    void Flush() {
        if (!any_ || timer_.isActive()) return;
        const qint64 since = last_.isValid() ? last_.elapsed() : kRaiseIntervalMs;
        if (since >= kRaiseIntervalMs) {
            Pass();
        } else {
            timer_.start(static_cast<int>(kRaiseIntervalMs - since));
        }
    }

private:
    static QByteArray Field(const QByteArray& message, const QByteArray& key) {
        for (const QByteArray& line : message.split('\n'))
            if (line.startsWith(key + '=')) return line.mid(key.size() + 1);
        return {};
    }

    void Pass() {
        const Launch launch = std::exchange(pending_, Launch{});
        any_ = false;
        last_.start();
        onLaunch_(launch);
    }

    std::function<void(const Launch&)> onLaunch_;
    Launch pending_;
    bool any_ = false;
    QElapsedTimer last_;
    QTimer timer_;
};

}  // namespace sudoku::qt
