#include "networking/http/NetworkActivityIndicatorManager.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/loop/RunLoop.h"
#include "networking/http/URLConnectionOperation.h"
#include "ui/view/Application.h"

#include <algorithm>

namespace networking {

namespace {
    bool hasRequestURL(const base::Notification& notification)
    {
        auto operation = notification.objectAs<URLConnectionOperation>();
        return operation && operation->request().url();
    }
} // namespace

NetworkActivityIndicatorManager& NetworkActivityIndicatorManager::sharedManager()
{
    BASE_ASSERT_MAIN_THREAD();
    static auto shared = make();
    return *shared;
}

std::shared_ptr<NetworkActivityIndicatorManager> NetworkActivityIndicatorManager::make()
{
    BASE_ASSERT_MAIN_THREAD();
    auto manager = std::make_shared<NetworkActivityIndicatorManager>(Private());
    auto& center = base::NotificationCenter::defaultCenter();
    std::weak_ptr<NetworkActivityIndicatorManager> weak = manager;
    center.addObserver(
        URLConnectionOperation::DidStartNotification, nullptr,
        [weak](const base::Notification& notification) {
            if (auto self = weak.lock())
                self->networkingOperationDidStart(notification);
        },
        manager.get());
    center.addObserver(
        URLConnectionOperation::DidFinishNotification, nullptr,
        [weak](const base::Notification& notification) {
            if (auto self = weak.lock())
                self->networkingOperationDidFinish(notification);
        },
        manager.get());
    return manager;
}

NetworkActivityIndicatorManager::NetworkActivityIndicatorManager(Private) { }

NetworkActivityIndicatorManager::~NetworkActivityIndicatorManager()
{
    base::NotificationCenter::defaultCenter().removeObservers(this);
    if (m_activityIndicatorVisibilityTimer)
        m_activityIndicatorVisibilityTimer->invalidate();
}

bool NetworkActivityIndicatorManager::isEnabled() const
{
    std::lock_guard lock(m_mutex);
    return m_enabled;
}

void NetworkActivityIndicatorManager::setEnabled(bool enabled)
{
    std::lock_guard lock(m_mutex);
    m_enabled = enabled;
}

int64_t NetworkActivityIndicatorManager::activityCount() const
{
    std::lock_guard lock(m_mutex);
    return m_activityCount;
}

void NetworkActivityIndicatorManager::setActivityCount(int64_t count)
{
    {
        std::lock_guard lock(m_mutex);
        m_activityCount = count;
    }
    updateNetworkActivityIndicatorVisibilityDelayed();
}

void NetworkActivityIndicatorManager::incrementActivityCount()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_activityCount;
    }
    updateNetworkActivityIndicatorVisibilityDelayed();
}

void NetworkActivityIndicatorManager::decrementActivityCount()
{
    {
        std::lock_guard lock(m_mutex);
        m_activityCount = std::max<int64_t>(m_activityCount - 1, 0);
    }
    updateNetworkActivityIndicatorVisibilityDelayed();
}

void NetworkActivityIndicatorManager::networkingOperationDidStart(const base::Notification& notification)
{
    if (hasRequestURL(notification))
        incrementActivityCount();
}

void NetworkActivityIndicatorManager::networkingOperationDidFinish(const base::Notification& notification)
{
    if (hasRequestURL(notification))
        decrementActivityCount();
}

void NetworkActivityIndicatorManager::updateNetworkActivityIndicatorVisibilityDelayed()
{
    if (!isEnabled())
        return;
    auto weak = weak_from_this();
    if (isNetworkActivityIndicatorVisible()) {
        base::RunLoop::main().post([weak] {
            if (auto self = weak.lock())
                self->updateNetworkActivityIndicatorVisibility();
        });
        return;
    }
    if (base::isMainThread()) {
        restartVisibilityTimer();
        return;
    }
    base::RunLoop::main().post([weak] {
        if (auto self = weak.lock())
            self->restartVisibilityTimer();
    });
}

void NetworkActivityIndicatorManager::restartVisibilityTimer()
{
    if (m_activityIndicatorVisibilityTimer)
        m_activityIndicatorVisibilityTimer->invalidate();
    m_activityIndicatorVisibilityTimer
        = base::Timer::scheduled(invisibilityDelay, false, [weak = weak_from_this()](base::Timer&) {
              if (auto self = weak.lock())
                  self->updateNetworkActivityIndicatorVisibility();
          });
}

void NetworkActivityIndicatorManager::updateNetworkActivityIndicatorVisibility()
{
    ui::Application::shared().setNetworkActivityIndicatorVisible(isNetworkActivityIndicatorVisible());
}

} // namespace networking
