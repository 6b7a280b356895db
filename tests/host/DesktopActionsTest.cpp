// The desktop's keys and wheel as the application meets them: SDL events through the window host and the
// default input handler, reaching the platform's own actions (scrolling, answering alerts, going back).
#include "host/SDLHost.h"
#include "ui/alerts/AlertView.h"
#include "ui/controllers/ImagePickerController.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/Button.h"
#include "ui/controls/DatePicker.h"
#include "ui/controls/Label.h"
#include "ui/controls/NavigationBar.h"
#include "ui/controls/NavigationItem.h"
#include "ui/controls/PickerView.h"
#include "ui/controls/TextField.h"
#include "ui/scroll/ScrollView.h"
#include "ui/view/Application.h"
#include "ui/view/Screen.h"
#include "ui/view/Window.h"

#include "base/ClockFixture.h"
#include "support/DesktopEvents.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class Wheels : public ui::PickerViewDataSource, public ui::PickerViewDelegate {
public:
    size_t numberOfComponentsInPickerView(ui::PickerView&) override { return 2; }
    size_t pickerViewNumberOfRowsInComponent(ui::PickerView&, size_t) override { return 10; }
    void pickerViewDidSelectRow(ui::PickerView&, size_t row, size_t component) override
    {
        heard.push_back(std::to_string(component) + ":" + std::to_string(row));
    }
    std::vector<std::string> heard;
};

class Answers : public ui::AlertViewDelegate {
public:
    void alertViewClickedButtonAtIndex(ui::AlertView&, int index) override { clicked.push_back(index); }
    std::vector<int> clicked;
};

class DesktopActions : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        test::desktop::useOffscreenVideo();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        ui::Screen::main().setScale(2);
        ui::Application::shared().setInputHandler(nullptr);
        host = host::SDLHost::open({});
        ASSERT_TRUE(host);
        window = std::make_shared<ui::Window>();
        window->makeKeyAndVisible();
    }
    void TearDown() override
    {
        window.reset();
        host.reset();
        ManualClockTest::TearDown();
    }

    static void push(SDL_Event event) { SDL_PushEvent(&event); }
    // A held key comes again with its repeat mark.
    static void key(SDL_Keycode sym, bool repeat = false)
    {
        SDL_Event e {};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = sym;
        e.key.repeat = repeat;
        push(e);
    }
    // One step of the wheel at a window point: towards the user (-1) shows what comes later.
    static void wheel(int x, int y, float steps)
    {
        SDL_Event e {};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.preciseY = steps;
        e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
        e.wheel.mouseX = x;
        e.wheel.mouseY = y;
        push(e);
    }
    // The mouse moves to a window point.
    static void pointAt(int x, int y)
    {
        SDL_Event e {};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        push(e);
    }
    void frame() { clock->advance(base::Duration(1.0 / 60)); }
    void pass(double seconds)
    {
        for (int i = 0; i < seconds * 60; ++i)
            frame();
    }

    std::unique_ptr<host::SDLHost> host;
    std::shared_ptr<ui::Window> window;
};

TEST_F(DesktopActions, TheWheelScrollsTheInnermostViewThatCanMoveAndTurnsPickerWheels)
{
    auto outer = std::make_shared<ui::ScrollView>(gfx::Rect { 0, 0, 320, 300 });
    outer->setContentSize({ 320, 400 });
    // Only as long as it is high: it cannot scroll vertically, so the wheel goes on to the outer view.
    auto inner = std::make_shared<ui::ScrollView>(gfx::Rect { 0, 0, 320, 100 });
    inner->setContentSize({ 640, 100 });
    outer->addSubview(inner);
    window->addSubview(outer);
    auto wheels = std::make_shared<Wheels>();
    auto picker = std::make_shared<ui::PickerView>(gfx::Rect { 0, 340, 320, 216 });
    picker->setDataSource(wheels);
    picker->setDelegate(wheels);
    window->addSubview(picker);
    frame();

    wheel(100, 50, -1);
    frame();
    EXPECT_EQ(outer->contentOffset(), gfx::Point(0, 40));
    EXPECT_EQ(inner->contentOffset(), gfx::Point(0, 0));
    wheel(100, 50, 2);
    wheel(100, 50, -5);
    frame();
    EXPECT_EQ(outer->contentOffset(), gfx::Point(0, 100)) << "within the content, no rubber band";

    // Each step turns the right wheel one row, whatever a row's height; one step back is one row back, and
    // half steps (a touchpad's) add up to one.
    for (int step = 0; step < 8; ++step)
        wheel(250, 450, -1);
    frame();
    EXPECT_EQ(picker->selectedRowInComponent(1), 8);
    EXPECT_EQ(picker->selectedRowInComponent(0), 0);
    wheel(250, 450, 1);
    frame();
    EXPECT_EQ(picker->selectedRowInComponent(1), 7);
    wheel(250, 450, 0.5);
    wheel(250, 450, 0.5);
    frame();
    EXPECT_EQ(picker->selectedRowInComponent(1), 6);
    EXPECT_EQ(wheels->heard,
        (std::vector<std::string> { "1:1", "1:2", "1:3", "1:4", "1:5", "1:6", "1:7", "1:8", "1:7", "1:6" }));
}

TEST_F(DesktopActions, OneStepOfTheWheelTurnsATimePickerOneRow)
{
    auto picker = std::make_shared<ui::DatePicker>(gfx::Rect { 0, 300, 320, 216 });
    window->addSubview(picker);
    frame();
    for (double x : { 80.0, 240.0 }) {
        for (int step = 0; step < 4; ++step)
            wheel(static_cast<int>(x), 400, -1);
    }
    frame();
    EXPECT_EQ(picker->countDownDuration(), 4 * 3600 + 4 * 60) << "four hours and four minutes";
}

TEST_F(DesktopActions, ThePageEndAndArrowKeysScrollTheListUnderTheMouseAsTheWheelDoes)
{
    auto list = std::make_shared<ui::ScrollView>(gfx::Rect { 0, 0, 320, 300 });
    list->setContentSize({ 320, 2000 });
    window->addSubview(list);
    auto field = std::make_shared<ui::TextField>(gfx::Rect { 20, 400, 280, 30 });
    field->setText("abc");
    window->addSubview(field);
    frame();
    auto offsetAfter = [&](SDL_Keycode sym) {
        key(sym);
        frame();
        return list->contentOffset().y;
    };

    // Without the mouse over the window nothing scrolls.
    EXPECT_EQ(offsetAfter(SDLK_DOWN), 0);
    pointAt(100, 500);
    EXPECT_EQ(offsetAfter(SDLK_PAGEDOWN), 0) << "the mouse is not over the list";
    pointAt(100, 150);
    EXPECT_EQ(offsetAfter(SDLK_DOWN), 40) << "a row: one step of the wheel";
    EXPECT_EQ(offsetAfter(SDLK_PAGEDOWN), 300) << "a page: the list's height, less a step kept in sight";
    EXPECT_EQ(offsetAfter(SDLK_END), 1700);
    EXPECT_EQ(offsetAfter(SDLK_PAGEDOWN), 1700);
    EXPECT_EQ(offsetAfter(SDLK_UP), 1660);
    EXPECT_EQ(offsetAfter(SDLK_PAGEUP), 1400);
    EXPECT_EQ(offsetAfter(SDLK_HOME), 0);

    // While a field is edited the caret keys are its own; the page keys still scroll.
    ASSERT_TRUE(field->becomeFirstResponder());
    field->setSelectedRange({ 1, 0 });
    EXPECT_EQ(offsetAfter(SDLK_END), 0);
    EXPECT_EQ(field->selectedRange().location, 3u);
    EXPECT_EQ(offsetAfter(SDLK_PAGEDOWN), 260);
}

TEST_F(DesktopActions, EscapeAndReturnAnswerTheAlertInFrontAndGoNoFurther)
{
    auto answers = std::make_shared<Answers>();
    auto navigation = ui::NavigationController::withRootViewController(std::make_shared<ui::ViewController>());
    window->setRootViewController(navigation);
    navigation->pushViewController(std::make_shared<ui::ViewController>(), false);

    std::vector<std::shared_ptr<ui::AlertView>> alerts;
    for (SDL_Keycode answer : { SDLK_RETURN, SDLK_ESCAPE }) {
        alerts.push_back(
            std::make_shared<ui::AlertView>("title", "message", answers, "cancel", std::vector<std::string> { "ok" }));
        alerts.back()->show();
        key(answer);
        frame();
        EXPECT_FALSE(alerts.back()->isVisible());
    }
    auto notice = std::make_shared<ui::AlertView>("title", "message", answers, "ok");
    notice->show();
    key(SDLK_RETURN);
    frame();
    EXPECT_EQ(answers->clicked, (std::vector<int> { 0, 0, 0 })) << "Return: the emphasised button, Cancel";

    // In a prompt that takes text the confirming button is the emphasised one, and Return presses it; Escape
    // still cancels.
    for (SDL_Keycode answer : { SDLK_RETURN, SDLK_ESCAPE }) {
        auto prompt
            = std::make_shared<ui::AlertView>("title", "message", answers, "cancel", std::vector<std::string> { "ok" });
        prompt->setAlertViewStyle(ui::AlertViewStyle::PlainTextInput);
        prompt->show();
        EXPECT_TRUE(prompt->buttonAtIndex(1)->titleLabel()->font().isBold());
        EXPECT_FALSE(prompt->buttonAtIndex(0)->titleLabel()->font().isBold());
        test::desktop::type("typed");
        key(answer);
        frame();
        EXPECT_FALSE(prompt->isVisible());
        EXPECT_EQ(prompt->textFieldAtIndex(0)->text(), "typed");
    }
    EXPECT_EQ(answers->clicked, (std::vector<int> { 0, 0, 0, 1, 0 }));

    // Without a cancel button Escape leaves the alert up, and the screen behind stays where it is.
    auto choice = std::make_shared<ui::AlertView>(
        "title", "message", answers, std::nullopt, std::vector<std::string> { "a", "b" });
    choice->show();
    key(SDLK_ESCAPE);
    pass(1);
    EXPECT_TRUE(choice->isVisible());
    EXPECT_EQ(navigation->viewControllers().size(), 2u);
    choice->dismissWithClickedButtonIndex(0, false);
}

TEST_F(DesktopActions, AHeldEscapeOrReturnAnswersOnceAndTheRepeatsGoNowhere)
{
    auto answers = std::make_shared<Answers>();
    auto navigation = ui::NavigationController::withRootViewController(std::make_shared<ui::ViewController>());
    window->setRootViewController(navigation);
    for (SDL_Keycode held : { SDLK_RETURN, SDLK_ESCAPE }) {
        navigation->pushViewController(std::make_shared<ui::ViewController>(), false);
        auto behind = std::make_shared<ui::AlertView>("behind", "message", answers, "cancel");
        auto front = std::make_shared<ui::AlertView>("front", "message", answers, "cancel");
        behind->show();
        front->show();
        key(held);
        for (int repeat = 0; repeat < 5; ++repeat)
            key(held, true);
        pass(1);
        EXPECT_FALSE(front->isVisible());
        EXPECT_TRUE(behind->isVisible());
        behind->dismissWithClickedButtonIndex(0, false);
        key(held, true);
        pass(1);
        EXPECT_EQ(navigation->viewControllers().size(), 2u) << "a repeat does not go back";
        navigation->popViewController(false);
    }
    EXPECT_EQ(answers->clicked, (std::vector<int> { 0, 0 }));
}

TEST_F(DesktopActions, EscapeGoesBackOneScreenThroughTheScreensOwnBackButton)
{
    auto root = std::make_shared<ui::ViewController>();
    auto navigation = ui::NavigationController::withRootViewController(root);
    window->setRootViewController(navigation);
    navigation->pushViewController(std::make_shared<ui::ViewController>(), false);
    key(SDLK_ESCAPE);
    pass(1);
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
    key(SDLK_ESCAPE);
    pass(1);
    EXPECT_EQ(navigation->topViewController(), root) << "the first screen has nowhere to go back to";

    int backs = 0;
    auto custom = std::make_shared<ui::ViewController>();
    custom->navigationItem()->setLeftBarButtonItem(std::make_shared<ui::BarButtonItem>(
        "back", ui::BarButtonItemStyle::Plain, [&](ui::BarButtonItem&) { ++backs; }));
    navigation->pushViewController(custom, false);
    key(SDLK_ESCAPE);
    pass(1);
    EXPECT_EQ(backs, 1);
    EXPECT_EQ(navigation->topViewController(), custom) << "the screen's own back decides";

    // A navigation controller presented with one screen closes through that screen's left button.
    int closes = 0;
    auto sheet = std::make_shared<ui::ViewController>();
    sheet->navigationItem()->setLeftBarButtonItem(std::make_shared<ui::BarButtonItem>(
        "close", ui::BarButtonItemStyle::Plain, [&](ui::BarButtonItem&) { ++closes; }));
    custom->presentViewController(ui::NavigationController::withRootViewController(sheet), false);
    key(SDLK_ESCAPE);
    pass(1);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(backs, 1);
    custom->dismissViewController(false);

    // The photo picker's Cancel stands on the right of its bar; Escape answers it all the same.
    class Cancels : public ui::ImagePickerControllerDelegate {
    public:
        void imagePickerControllerDidCancel(ui::ImagePickerController& picker) override
        {
            ++count;
            picker.dismissViewController(false);
        }
        int count = 0;
    };
    auto cancels = std::make_shared<Cancels>();
    auto picker = std::make_shared<ui::ImagePickerController>();
    picker->setPickerDelegate(cancels);
    custom->presentViewController(picker, false);
    pass(1);
    key(SDLK_ESCAPE);
    pass(1);
    EXPECT_EQ(cancels->count, 1);
    EXPECT_FALSE(custom->presentedViewController());
    EXPECT_EQ(navigation->topViewController(), custom);
}

// The points of the bar's middle line, top line and bottom line (one point inside each edge) whose clicks reach
// `button`: the first and last x of the run of points on the middle line, and whether the top and bottom lines
// reach it over that whole run.
struct HitRun {
    double first { -1 };
    double last { -1 };
    bool wholeHeight { true };
};

HitRun hitRunOf(const ui::Window& window, const ui::NavigationBar& bar, const std::shared_ptr<ui::View>& button)
{
    gfx::Rect b = bar.convertRectTo(bar.bounds(), nullptr);
    auto reaches = [&](double x, double y) {
        auto hit = const_cast<ui::Window&>(window).hitTest({ x, y }, nullptr);
        return hit && (hit == button || hit->isDescendantOfView(button.get()));
    };
    HitRun run;
    for (double x = b.minX() + 0.5; x < b.maxX(); x += 1) {
        if (!reaches(x, b.midY())) {
            if (run.first >= 0)
                break;
            continue;
        }
        if (run.first < 0)
            run.first = x;
        run.last = x;
        run.wholeHeight = run.wholeHeight && reaches(x, b.minY() + 0.5) && reaches(x, b.maxY() - 0.5);
    }
    return run;
}

// Every button of a navigation bar takes clicks in at least 44 x 44 points, whatever it shows: a back button
// showing its chevron alone (a long title), "Back" or the screen below's title, and an item of one letter or a
// custom view smaller than a finger. The whole run of points that reach it is measured, and clicks at both of
// its ends act.
TEST_F(DesktopActions, EveryBarButtonTakesClicksInAtLeastAFingersSquare)
{
    constexpr double finger = 44;
    struct Back {
        const char* belowTitle;
        const char* title;
        const char* shows;
    };
    for (const Back& back :
        { Back { "Home", "A", "\u2039 Home" }, Back { "A much longer home title", "A title", "\u2039 Back" },
            Back { "Home", "Parent-child challenge, a title wider than the room", "\u2039" } }) {
        SCOPED_TRACE(back.shows);
        auto below = std::make_shared<ui::ViewController>();
        below->setTitle(back.belowTitle);
        auto navigation = ui::NavigationController::withRootViewController(below);
        window->setRootViewController(navigation);
        auto top = std::make_shared<ui::ViewController>();
        top->setTitle(back.title);
        auto bar = navigation->navigationBar();
        HitRun run;
        for (bool atStart : { true, false }) {
            navigation->pushViewController(top, false);
            pass(1);
            auto button = bar->backButton();
            ASSERT_TRUE(button);
            EXPECT_EQ(button->titleForState(ui::ControlState::Normal), back.shows);
            run = hitRunOf(*window, *bar, button);
            EXPECT_GE(run.last - run.first + 1, finger);
            EXPECT_TRUE(run.wholeHeight);
            gfx::Rect b = bar->convertRectTo(bar->bounds(), nullptr);
            test::desktop::click({ atStart ? run.first + 1 : run.last - 1, atStart ? b.minY() + 2 : b.maxY() - 2 });
            pass(1);
            EXPECT_EQ(navigation->viewControllers().size(), 1u) << "the click pops the screen";
        }
    }

    int taps = 0;
    auto count = [&](ui::BarButtonItem&) { ++taps; };
    auto small = std::make_shared<ui::Button>(gfx::Rect { 0, 0, 12, 12 });
    small->addAction([&](ui::Control&) { ++taps; }, ui::ControlEvent::TouchUpInside);
    struct Item {
        const char* name;
        std::shared_ptr<ui::BarButtonItem> item;
        bool right;
    };
    for (const Item& each :
        { Item { "a letter on the left", std::make_shared<ui::BarButtonItem>("i", ui::BarButtonItemStyle::Plain, count),
              false },
            Item { "a letter on the right",
                std::make_shared<ui::BarButtonItem>("i", ui::BarButtonItemStyle::Done, count), true },
            Item { "a small custom view", std::make_shared<ui::BarButtonItem>(small), true } }) {
        SCOPED_TRACE(each.name);
        auto screen = std::make_shared<ui::ViewController>();
        screen->setTitle("Title");
        if (each.right)
            screen->navigationItem()->setRightBarButtonItem(each.item);
        else
            screen->navigationItem()->setLeftBarButtonItem(each.item);
        auto navigation = ui::NavigationController::withRootViewController(screen);
        window->setRootViewController(navigation);
        pass(1);
        auto bar = navigation->navigationBar();
        HitRun run = hitRunOf(*window, *bar, each.item->view());
        EXPECT_GE(run.last - run.first + 1, finger);
        EXPECT_TRUE(run.wholeHeight);
        int before = taps;
        gfx::Rect b = bar->convertRectTo(bar->bounds(), nullptr);
        test::desktop::click({ run.first + 1, b.minY() + 2 });
        test::desktop::click({ run.last - 1, b.maxY() - 2 });
        pass(1);
        EXPECT_EQ(taps, before + 2);
    }
}

TEST_F(DesktopActions, AReturnNoAlertTakesGoesToTheFieldBeingEdited)
{
    class Returns : public ui::TextFieldDelegate {
    public:
        bool textFieldShouldReturn(ui::TextField&) override
        {
            ++count;
            return true;
        }
        int count = 0;
    };
    auto returns = std::make_shared<Returns>();
    auto field = std::make_shared<ui::TextField>(gfx::Rect { 20, 100, 280, 30 });
    field->setDelegate(returns);
    window->addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
    key(SDLK_RETURN);
    frame();
    EXPECT_EQ(returns->count, 1);
}

TEST_F(DesktopActions, AClickInTheFieldBeingEditedPutsTheCaretWhereItLands)
{
    auto field = std::make_shared<ui::TextField>(gfx::Rect { 20, 100, 280, 30 });
    field->setText("abcdef");
    window->addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
    field->setSelectedRange({ 3, 0 });
    gfx::Point between = field->convertPointTo(
        { field->caretRect().minX() + 1, field->bounds().midY() }, nullptr); // between "c" and "d"
    field->setSelectedRange({ 0, 0 });
    frame();

    test::desktop::click(between);
    frame();
    EXPECT_EQ(field->selectedRange().location, 3u);
    EXPECT_EQ(field->selectedRange().length, 0u);
    test::desktop::type("X");
    frame();
    EXPECT_EQ(field->text(), "abcXdef");
}

} // namespace
