#include "ui/view/UpdateCycle.h"
#include "base/loop/RunLoop.h"
#include "gfx/drawing/CurrentContext.h"
#include "ui/view/View.h"
#include "ui/view/Window.h"

#include "UITestFixture.h"

#include <algorithm>
#include <functional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using gfx::Rect;

namespace {

// A view that writes down its layouts and drawings in a shared log.
class Logged : public ui::View {
public:
    Logged(std::string name, std::vector<std::string>& log, const Rect& frame = { 0, 0, 40, 40 })
        : ui::View(frame)
        , m_name(std::move(name))
        , m_log(log)
    {
    }
    void layoutSubviews() override { m_log.push_back(m_name + ".layout"); }
    void drawRect(const Rect&) override
    {
        m_log.push_back(m_name + ".draw");
        sawContext = gfx::CurrentContext::get() != nullptr;
    }
    bool sawContext { false };

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

class UpdateCycle : public test::UITest {
protected:
    // A logged view in the fixture's window, laid out and drawn once; the log starts empty after.
    std::shared_ptr<Logged> viewDrawnOnce(std::vector<std::string>& log)
    {
        m_window = std::make_shared<ui::Window>();
        auto view = std::make_shared<Logged>("view", log);
        m_window->addSubview(view);
        turn();
        log.clear();
        return view;
    }

    std::shared_ptr<ui::Window> m_window;
};

class Undrawn : public ui::View {
public:
    using ui::View::View;
    int draws { 0 };
    void drawRect(const Rect& rect) override
    {
        ++draws;
        ui::View::drawRect(rect);
    }
};

// A view that draws a fill or nothing, as told, and writes down on what kind of surface it was asked.
class MaybeDrawn : public ui::View {
public:
    explicit MaybeDrawn(bool draws)
        : ui::View(Rect(0, 0, 30, 20))
        , m_draws(draws)
    {
    }
    void drawRect(const Rect& rect) override
    {
        gfx::Context* context = gfx::CurrentContext::get();
        surfaces.push_back(cairo_surface_get_type(cairo_get_target(context->cairo())));
        if (!m_draws)
            return ui::View::drawRect(rect);
        context->setFillColor(gfx::Color::red());
        context->fillRect(rect);
    }
    std::vector<cairo_surface_type_t> surfaces;

private:
    bool m_draws;
};

// A connected pair of sockets whose reading end the main loop watches, as it watches a reply's connection:
// arrive() makes a reply ready to read, and the handler logs "reply" once for each.
class WatchedReply {
public:
    explicit WatchedReply(std::vector<std::string>& log)
    {
        if (socketpair(AF_UNIX, SOCK_STREAM, 0, m_ends) != 0)
            m_ends[0] = m_ends[1] = -1;
        m_watch = base::RunLoop::main().watchDescriptor(m_ends[0], POLLIN, [this, &log](short) {
            char byte;
            if (read(m_ends[0], &byte, 1) != 1)
                return;
            log.push_back("reply");
            if (onRead)
                onRead();
        });
    }
    ~WatchedReply()
    {
        base::RunLoop::main().unwatchDescriptor(m_watch);
        close(m_ends[0]);
        close(m_ends[1]);
    }
    WatchedReply(const WatchedReply&) = delete;
    WatchedReply& operator=(const WatchedReply&) = delete;

    void arrive() const { [[maybe_unused]] auto written = write(m_ends[1], "r", 1); }
    std::function<void()> onRead;

private:
    int m_ends[2] { -1, -1 };
    base::RunLoop::WatchId m_watch {};
};

// Logs "frame" for each frame the update cycle shows while it lives.
class LoggedFrames {
public:
    explicit LoggedFrames(std::vector<std::string>& log)
        : m_id(ui::UpdateCycle::main().addFrameListener([&log] { log.push_back("frame"); }))
    {
    }
    ~LoggedFrames() { ui::UpdateCycle::main().removeFrameListener(m_id); }
    LoggedFrames(const LoggedFrames&) = delete;
    LoggedFrames& operator=(const LoggedFrames&) = delete;

private:
    uint64_t m_id;
};

// A logged view that, while it draws, may make a reply arrive.
class DrawnWhileReplyArrives : public Logged {
public:
    DrawnWhileReplyArrives(std::string name, std::vector<std::string>& log, const Rect& frame)
        : Logged(std::move(name), log, frame)
    {
    }
    void drawRect(const Rect& rect) override
    {
        Logged::drawRect(rect);
        if (reply)
            reply->arrive();
    }
    const WatchedReply* reply { nullptr };
};

class UpdateCycleGivingWay : public UpdateCycle {
protected:
    // Twelve such views one under another in the fixture's window, laid out and drawn once; the log starts
    // empty after.
    std::vector<std::shared_ptr<DrawnWhileReplyArrives>> viewsDrawnOnce(std::vector<std::string>& log)
    {
        m_window = std::make_shared<ui::Window>();
        std::vector<std::shared_ptr<DrawnWhileReplyArrives>> views;
        for (int index = 0; index < 12; ++index) {
            views.push_back(std::make_shared<DrawnWhileReplyArrives>(
                "v" + std::to_string(index), log, Rect(0, 4.0 * index, 40, 4)));
            m_window->addSubview(views.back());
        }
        turn();
        log.clear();
        return views;
    }
};

} // namespace

TEST_F(UpdateCycle, LayoutIsCoalescedAndRunsAtTheEndOfTheTurn)
{
    std::vector<std::string> log;
    auto view = std::make_shared<Logged>("view", log);
    view->setNeedsLayout();
    view->setNeedsLayout();
    EXPECT_TRUE(log.empty());
    turn();
    EXPECT_EQ(log, (std::vector<std::string> { "view.layout" }));
    EXPECT_FALSE(view->needsLayout());
    turn();
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(UpdateCycle, ResizingOrAddingASubviewMarksForLayoutButMovingDoesNot)
{
    std::vector<std::string> log;
    auto view = std::make_shared<Logged>("view", log);
    turn();
    view->setCenter({ 100, 100 });
    turn();
    EXPECT_TRUE(log.empty());
    view->setFrame({ 0, 0, 50, 50 });
    turn();
    view->addSubview(std::make_shared<ui::View>());
    turn();
    EXPECT_EQ(log, (std::vector<std::string> { "view.layout", "view.layout" }));
}

TEST_F(UpdateCycle, SuperviewsAreLaidOutBeforeSubviewsAndLayoutBeforeDisplay)
{
    std::vector<std::string> log;
    auto window = std::make_shared<ui::Window>();
    auto outer = std::make_shared<Logged>("outer", log);
    auto inner = std::make_shared<Logged>("inner", log);
    window->addSubview(outer);
    outer->addSubview(inner);
    turn();
    log.clear();

    inner->setNeedsLayout();
    inner->setNeedsDisplay();
    outer->setNeedsLayout();
    turn();
    EXPECT_EQ(log, (std::vector<std::string> { "outer.layout", "inner.layout", "inner.draw" }));
}

TEST_F(UpdateCycle, DrawingHappensOnlyInAWindowButNeedsNoScreen)
{
    std::vector<std::string> log;
    auto view = std::make_shared<Logged>("view", log);
    view->setNeedsDisplay();
    turn();
    EXPECT_TRUE(log.empty());

    // Nothing is shown (the window is hidden), yet a view in a window is drawn into a context.
    auto window = std::make_shared<ui::Window>();
    window->addSubview(view);
    turn();
    EXPECT_EQ(log, (std::vector<std::string> { "view.layout", "view.draw" }));
    EXPECT_TRUE(view->sawContext);
    ASSERT_TRUE(view->layer()->contents());
    EXPECT_EQ(view->layer()->contents()->pixelWidth(), 80);

    view->setNeedsDisplay();
    view->setNeedsDisplay();
    turn();
    EXPECT_EQ(std::count(log.begin(), log.end(), "view.draw"), 2);
}

TEST_F(UpdateCycle, ViewsWithoutTheirOwnDrawingAreNotAskedAgain)
{
    auto window = std::make_shared<ui::Window>();
    auto view = std::make_shared<Undrawn>(Rect(0, 0, 10, 10));
    window->addSubview(view);
    turn();
    view->setNeedsDisplay();
    turn();
    EXPECT_EQ(view->draws, 1);
    EXPECT_FALSE(view->layer()->contents());
}

// Finding out that a view draws nothing costs no bitmap once a view of its class was seen drawing nothing; a
// view of that class that draws after all is drawn again on a bitmap, and its class gets bitmaps from then on.
TEST_F(UpdateCycle, AClassSeenDrawingNothingIsAskedWithoutABitmap)
{
    using Surfaces = std::vector<cairo_surface_type_t>;
    auto window = std::make_shared<ui::Window>();
    auto displayed = [&](bool draws) {
        auto view = std::make_shared<MaybeDrawn>(draws);
        window->addSubview(view);
        turn();
        return view;
    };
    auto first = displayed(false);
    EXPECT_EQ(first->surfaces, Surfaces { CAIRO_SURFACE_TYPE_IMAGE });
    auto second = displayed(false);
    EXPECT_EQ(second->surfaces, Surfaces { CAIRO_SURFACE_TYPE_RECORDING });
    EXPECT_FALSE(second->layer()->contents());

    auto drawing = displayed(true);
    EXPECT_EQ(drawing->surfaces, (Surfaces { CAIRO_SURFACE_TYPE_RECORDING, CAIRO_SURFACE_TYPE_IMAGE }));
    ASSERT_TRUE(drawing->layer()->contents());
    EXPECT_EQ(drawing->layer()->contents()->pixelWidth(), 60);
    EXPECT_EQ(displayed(false)->surfaces, Surfaces { CAIRO_SURFACE_TYPE_IMAGE });
}

TEST_F(UpdateCycle, AViewOfNoSizeIsStillAskedToDraw)
{
    std::vector<std::string> log;
    auto window = std::make_shared<ui::Window>();
    auto view = std::make_shared<Logged>("empty", log, Rect(0, 0, 0, 0));
    window->addSubview(view);
    turn();
    EXPECT_EQ(std::count(log.begin(), log.end(), "empty.draw"), 1);
    EXPECT_TRUE(view->sawContext);
}

TEST_F(UpdateCycle, RedrawModeRedrawsOnResize)
{
    std::vector<std::string> log;
    auto view = viewDrawnOnce(log);
    view->setFrame({ 0, 0, 30, 30 });
    turn();
    EXPECT_EQ(log, (std::vector<std::string> { "view.layout" }));
    view->setContentMode(ui::ContentMode::Redraw);
    view->setFrame({ 0, 0, 20, 20 });
    turn();
    EXPECT_EQ(log, (std::vector<std::string> { "view.layout", "view.layout", "view.draw" }));
}

TEST_F(UpdateCycle, LayoutIfNeededLaysOutTheMarkedSubtreeAtOnce)
{
    std::vector<std::string> log;
    auto outer = std::make_shared<Logged>("outer", log);
    auto inner = std::make_shared<Logged>("inner", log);
    outer->addSubview(inner);
    outer->layoutIfNeeded();
    EXPECT_EQ(log, (std::vector<std::string> { "outer.layout", "inner.layout" }));
    turn();
    EXPECT_EQ(log.size(), 2u);
}

// A turn that leaves a task due hands its passes to the next turn, so that the task's changes are drawn in
// the same pass; a stream of due tasks still gets a pass every other turn.
TEST_F(UpdateCycle, PassesWaitOneTurnForDueWorkButNeverTwo)
{
    std::vector<std::string> log;
    auto view = viewDrawnOnce(log);

    auto& loop = base::RunLoop::main();
    int posts = 0;
    std::function<void()> repost = [&] {
        view->setNeedsDisplay();
        log.push_back("task");
        if (++posts < 4)
            loop.post(repost);
    };
    loop.post(repost);
    turn();
    EXPECT_EQ(log, (std::vector<std::string> { "task", "task", "view.draw", "task", "task", "view.draw" }));
}

TEST_F(UpdateCycle, AReplyReadyToReadIsHandledBeforeThePassesAndTheFrame)
{
    std::vector<std::string> log;
    auto view = viewDrawnOnce(log);
    WatchedReply reply(log);
    LoggedFrames frames(log);

    base::RunLoop::main().post([&] {
        view->setNeedsDisplay();
        reply.arrive();
        log.push_back("task");
    });
    turn();
    // The reply goes first, and what it changes would be drawn in the same pass.
    EXPECT_EQ(log, (std::vector<std::string> { "task", "reply", "view.draw", "frame" }));
}

TEST_F(UpdateCycleGivingWay, ADisplayPassGivesWayToAReplyAndFinishesBeforeTheFrame)
{
    std::vector<std::string> log;
    WatchedReply reply(log);
    auto views = viewsDrawnOnce(log);
    LoggedFrames frames(log);

    for (auto& view : views)
        view->setNeedsDisplay();
    views.front()->reply = &reply;
    turn();

    // Every view is drawn once, the reply is read before the last of them, and the frame shows them all.
    auto at = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry) - log.begin(); };
    ASSERT_EQ(std::count(log.begin(), log.end(), "reply"), 1);
    for (int index = 0; index < 12; ++index)
        EXPECT_EQ(std::count(log.begin(), log.end(), "v" + std::to_string(index) + ".draw"), 1) << index;
    EXPECT_GT(at("reply"), at("v0.draw"));
    EXPECT_LT(at("reply"), at("v11.draw"));
    EXPECT_EQ(log.back(), "frame");
    EXPECT_EQ(std::count(log.begin(), log.end(), "frame"), 1);
}

TEST_F(UpdateCycleGivingWay, ReplyAfterReplyCannotKeepDrawingOrTheFrameAway)
{
    std::vector<std::string> log;
    WatchedReply reply(log);
    auto views = viewsDrawnOnce(log);
    LoggedFrames frames(log);

    // A chain of replies, each arriving as the one before is read and changing every view.
    int replies = 0;
    reply.onRead = [&] {
        if (++replies == 30)
            return;
        for (auto& view : views)
            view->setNeedsDisplay();
        reply.arrive();
    };
    reply.arrive();
    for (int turns = 0; replies < 30 && turns < 100; ++turns)
        turn();

    auto nth = [&](const std::string& entry, int n) {
        auto at = log.begin();
        for (int seen = 0; at != log.end(); ++at)
            if (*at == entry && ++seen == n)
                break;
        return at - log.begin();
    };
    EXPECT_EQ(replies, 30);
    EXPECT_LT(nth("v11.draw", 1), nth("reply", 8)) << "drawing waited for the whole chain";
    EXPECT_LT(nth("frame", 1), nth("reply", 8)) << "the frame waited for the whole chain";
}
