// kit::PullToRefreshDelegate: what a pull-to-refresh engine asks its owner about each edge of the scroll view
// (whether it may refresh, how far a pull must go to engage, how wide the inset that holds the refresh area
// open is) and tells it as a pull engages, disengages and starts refreshing. The engine keeps its delegate
// weakly; the three questions must be answered, the three reports are optional. Main thread.
//
//   bool pullToRefreshControllerCanRefreshInDirection(kit::PullToRefreshController&, int d) override
//   { return d == kit::RefreshDirection::Top; }
#pragma once

#include "kit/refresh/RefreshEngine.h"

namespace kit {

class PullToRefreshController;

class PullToRefreshDelegate {
public:
    virtual ~PullToRefreshDelegate() = default;

    virtual bool pullToRefreshControllerCanRefreshInDirection(PullToRefreshController&, int direction) = 0;
    // Points beyond the edge the content must be pulled to engage.
    virtual double pullToRefreshControllerRefreshableInsetForDirection(PullToRefreshController&, int direction) = 0;
    // The inset that holds the refresh area open while refreshing.
    virtual double pullToRefreshControllerRefreshingInsetForDirection(PullToRefreshController&, int direction) = 0;

    // The pull has gone past the threshold during a drag: releasing now will refresh.
    virtual void pullToRefreshControllerCanEngageRefreshDirection(PullToRefreshController&, int /*direction*/) { }
    // The pull came back inside the threshold.
    virtual void pullToRefreshControllerDidDisengageRefreshDirection(PullToRefreshController&, int /*direction*/) { }
    // The direction has started refreshing (released while engaged, or started by program).
    virtual void pullToRefreshControllerDidEngageRefreshDirection(PullToRefreshController&, int /*direction*/) { }
};

} // namespace kit
