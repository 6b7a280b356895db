// Pictures of lists with their refresh views, pulled half way and refreshing, written to the build folder's
// snapshots/ for people to look at; each test also probes the rendered screen for what must show where.
#include "ListFixture.h"
#include "SnapshotProbes.h"

#include "host/HeadlessHost.h"
#include "kit/refresh/CustomPullToRefresh.h"
#include "kit/refresh/RefreshTableHeaderView.h"
#include "kit/refresh/ScrollViewRefresh.h"

#include <filesystem>

namespace {

using test::lightnessAt;
using test::shows;
using test::showsText;

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
    // The first row has come down by the pull; above it the arrow's lower half shows left of the middle.
    EXPECT_TRUE(showsText(*window, "Row 0", { 0, 52, 320, 44 }));
    EXPECT_TRUE(shows(*window, { 250, 36 }, gfx::Color::white()));
    EXPECT_LT(lightnessAt(*window, { 60, 30 }), 2.8);

    table->dragTo({ 0, -80 });
    table->releaseWithVelocity({ 0, 0 });
    advance(0.5);
    expectFrame("kit-refresh-header-refreshing");
    // Held open by 64 points: the refreshing text in the header's top half, the rows below it.
    EXPECT_TRUE(showsText(*window, "正在刷新数据...", { 0, 20, 320, 32 }));
    EXPECT_TRUE(showsText(*window, "Row 0", { 0, 84, 320, 44 }));
    EXPECT_FALSE(showsText(*window, "Row 0", { 0, 20, 320, 64 }));
}

TEST_F(RefreshSnapshot, DeviceListBackdropPulledThenRefreshing)
{
    auto table = makeTable(6);
    auto refresh = kit::CustomPullToRefresh::make(table, std::weak_ptr<kit::CustomPullToRefreshDelegate>());
    table->dragTo({ 0, -40 });
    table->dragTo({ 0, -60 });
    advance(0.3);
    expectFrame("kit-pull-to-refresh-engaged");
    const gfx::Color backdrop = test::ScreenProbe::colourAt(*window, { 5, 25 });
    EXPECT_LT(backdrop.r + backdrop.g + backdrop.b, 2.8) << "a grey backdrop above the content";
    EXPECT_TRUE(shows(*window, { 5, 75 }, backdrop));
    EXPECT_TRUE(showsText(*window, "Row 0", { 0, 80, 320, 44 }));
    // The white arrow just above the content, in the middle.
    EXPECT_GT(lightnessAt(*window, { 160, 65 }), backdrop.r + backdrop.g + backdrop.b + 0.5);
    table->releaseWithVelocity({ 0, 0 });
    advance(0.5);
    expectFrame("kit-pull-to-refresh-refreshing");
    // Held open by 30 points, the arrow hidden.
    EXPECT_TRUE(shows(*window, { 160, 40 }, backdrop));
    EXPECT_TRUE(showsText(*window, "Row 0", { 0, 50, 320, 44 }));
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
    // The header's blue-grey shows in the 40 points pulled, its status line in them, the rows below.
    EXPECT_TRUE(shows(*window, { 300, 25 }, gfx::Color::rgb(226 / 255.0, 231 / 255.0, 237 / 255.0)));
    EXPECT_TRUE(showsText(*window, header->statusLabel()->text(), { 0, 20, 320, 40 }));
    EXPECT_TRUE(showsText(*window, "Row 0", { 0, 60, 320, 44 }));
}

} // namespace
