#include "ui/input/ResponderInputHandler.h"
#include "ui/view/Window.h"

#include "UITestFixture.h"

#include <string>
#include <vector>

using gfx::Rect;

namespace {

class Pad : public ui::View {
public:
    Pad(const Rect& frame, std::string name, std::vector<std::string>& log)
        : ui::View(frame)
        , m_name(std::move(name))
        , m_log(log)
    {
    }
    void touchesBegan(const ui::TouchSet& touches, const ui::Event*) override { note("began", touches); }
    void touchesMoved(const ui::TouchSet& touches, const ui::Event*) override { note("moved", touches); }
    void touchesEnded(const ui::TouchSet& touches, const ui::Event*) override { note("ended", touches); }

private:
    void note(const char* phase, const ui::TouchSet& touches)
    {
        gfx::Point p = touches.front()->locationInView(this);
        m_log.push_back(m_name + " " + phase + " " + std::to_string(int(p.x)) + "," + std::to_string(int(p.y)));
    }
    std::string m_name;
    std::vector<std::string>& m_log;
};

class ResponderInput : public test::UITest {
protected:
    void send(ui::TouchPhase phase, gfx::Point at) { handler.touch({ 0, phase, at, clock->now() }); }
    ui::ResponderInputHandler handler;
    std::vector<std::string> log;
};

} // namespace

TEST_F(ResponderInput, TouchesStayWithTheViewTheyWentDownIn)
{
    auto window = std::make_shared<ui::Window>();
    auto pad = std::make_shared<Pad>(Rect(0, 100, 100, 100), "pad", log);
    window->addSubview(pad);
    window->makeKeyAndVisible();

    send(ui::TouchPhase::Began, { 10, 110 });
    pad->setUserInteractionEnabled(false);
    send(ui::TouchPhase::Moved, { 200, 300 });
    send(ui::TouchPhase::Ended, { 200, 300 });
    send(ui::TouchPhase::Began, { 10, 110 });
    EXPECT_EQ(log, (std::vector<std::string> { "pad began 10,10", "pad moved 200,200", "pad ended 200,200" }));
    window->setHidden(true);
}

TEST_F(ResponderInput, TheFrontVisibleWindowCoveringThePointTakesIt)
{
    auto back = std::make_shared<ui::Window>();
    back->addSubview(std::make_shared<Pad>(Rect(0, 0, 320, 568), "back", log));
    back->makeKeyAndVisible();
    auto front = std::make_shared<ui::Window>(Rect(0, 300, 320, 268));
    front->addSubview(std::make_shared<Pad>(Rect(0, 0, 320, 268), "front", log));
    front->setHidden(false);

    send(ui::TouchPhase::Began, { 5, 310 });
    send(ui::TouchPhase::Ended, { 5, 310 });
    send(ui::TouchPhase::Began, { 5, 5 });
    send(ui::TouchPhase::Ended, { 5, 5 });
    front->setHidden(true);
    send(ui::TouchPhase::Began, { 5, 310 });
    EXPECT_EQ(log,
        (std::vector<std::string> {
            "front began 5,10", "front ended 5,10", "back began 5,5", "back ended 5,5", "back began 5,310" }));
    back->setHidden(true);
}
