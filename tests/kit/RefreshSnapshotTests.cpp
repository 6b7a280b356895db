// Pictures of lists with their refresh views, pulled half way and refreshing, written to the build folder's
// snapshots/ for people to look at; each test also checks that its frame was written.
#include "ListFixture.h"

#include "host/HeadlessHost.h"
#include "kit/CustomPullToRefresh.h"
#include "kit/RefreshTableHeaderView.h"
#include "kit/ScrollViewRefresh.h"

#include <filesystem>

namespace {

class RefreshSnapshot : public test::ListTest {
protected:
    void SetUp() override
    {
        test::ListTest::SetUp();
        window->setBackgroundColor(gfx::Color::white());
    }

    void expectFrame(const std::string& name)
    {
        auto path = host.writeFrame(name);
        ASSERT_TRUE(path);
        EXPECT_TRUE(std::filesystem::exists(*path));
    }

    gfx::TextMeasurer::Override realText { nullptr };
    host::HeadlessHost host { LUMET_SNAPSHOT_DIR };
};

TEST_F(RefreshSnapshot, PhoneBookHeaderPulledHalfWayThenRefreshing)
{
    auto table = makeTable(12);
    kit::addHeaderWithCallback(
        *table, [] {}, "snapshot");
    turn();
    table->dragTo({ 0, -16 });
    table->dragTo({ 0, -32 });
    advance(0.3);
    expectFrame("kit-refresh-header-pulled-half");

    table->dragTo({ 0, -80 });
    table->releaseWithVelocity({ 0, 0 });
    advance(0.5);
    expectFrame("kit-refresh-header-refreshing");
}

TEST_F(RefreshSnapshot, DeviceListBackdropPulledThenRefreshing)
{
    auto table = makeTable(6);
    auto refresh = kit::CustomPullToRefresh::make(table, std::weak_ptr<kit::CustomPullToRefreshDelegate>());
    table->dragTo({ 0, -40 });
    table->dragTo({ 0, -60 });
    advance(0.3);
    expectFrame("kit-pull-to-refresh-engaged");
    table->releaseWithVelocity({ 0, 0 });
    advance(0.5);
    expectFrame("kit-pull-to-refresh-refreshing");
}

TEST_F(RefreshSnapshot, TableHeaderPulledHalfWay)
{
    auto table = makeTable(12);
    auto header = kit::RefreshTableHeaderView::make({ 0, -480, 320, 480 });
    table->addSubview(header);
    table->dragTo({ 0, -40 });
    header->refreshScrollViewDidScroll(*table);
    advance(0.3);
    expectFrame("kit-refresh-table-header-pulled-half");
}

} // namespace
