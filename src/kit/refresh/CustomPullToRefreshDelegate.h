// kit::CustomPullToRefreshDelegate: the owner of a CustomPullToRefresh, asked to refresh when a pull at the
// top (direction 0) or the bottom (direction 2) is released, or when a refresh is started by program. Kept
// weakly. Main thread.
//
//   void customPullToRefreshShouldRefresh(kit::CustomPullToRefresh& refresh, int direction) override
//   { direction == kit::RefreshDirection::Top ? reload() : loadMore(); }
#pragma once

namespace kit {

class CustomPullToRefresh;

class CustomPullToRefreshDelegate {
public:
    virtual ~CustomPullToRefreshDelegate() = default;
    virtual void customPullToRefreshShouldRefresh(CustomPullToRefresh&, int direction) = 0;
};

} // namespace kit
