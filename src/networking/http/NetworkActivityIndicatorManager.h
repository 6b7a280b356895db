// networking::NetworkActivityIndicatorManager: shows the status bar's network activity indicator while request
// operations run. It counts the operations that have started and not yet finished (from their start and
// finish notifications, for operations whose request has a URL), shows the indicator as soon as the count is
// positive and hides it 0.17 s after the count returns to zero, unless activity resumes meanwhile. It is off
// until enabled: while off it counts but never touches the indicator. The count may change on any thread;
// the indicator changes only on the main thread.
//
//   networking::NetworkActivityIndicatorManager::sharedManager().setEnabled(true);
//   // ... every request operation that runs now shows the indicator while it runs
#pragma once

#include "base/loop/Notification.h"
#include "base/time/Timer.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace networking {

class NetworkActivityIndicatorManager : public std::enable_shared_from_this<NetworkActivityIndicatorManager> {
    struct Private {
        explicit Private() = default;
    };

public:
    // How long the indicator stays after the last operation has finished.
    static constexpr base::Duration invisibilityDelay { 0.17 };

    // Made on first use; lives as long as the process.
    static NetworkActivityIndicatorManager& sharedManager();
    // A manager of its own, listening to every operation.
    static std::shared_ptr<NetworkActivityIndicatorManager> make();

    explicit NetworkActivityIndicatorManager(Private);
    ~NetworkActivityIndicatorManager();
    NetworkActivityIndicatorManager(const NetworkActivityIndicatorManager&) = delete;
    NetworkActivityIndicatorManager& operator=(const NetworkActivityIndicatorManager&) = delete;

    bool isEnabled() const;
    // Enabling does not touch the indicator until the count next changes.
    void setEnabled(bool enabled);

    int64_t activityCount() const;
    void setActivityCount(int64_t count);
    void incrementActivityCount();
    // Never below 0.
    void decrementActivityCount();
    bool isNetworkActivityIndicatorVisible() const { return activityCount() > 0; }

private:
    void networkingOperationDidStart(const base::Notification& notification);
    void networkingOperationDidFinish(const base::Notification& notification);
    void updateNetworkActivityIndicatorVisibilityDelayed();
    void updateNetworkActivityIndicatorVisibility();
    void restartVisibilityTimer();

    mutable std::mutex m_mutex;
    int64_t m_activityCount { 0 };
    bool m_enabled { false };
    // Main thread only.
    std::shared_ptr<base::Timer> m_activityIndicatorVisibilityTimer;
};

} // namespace networking
