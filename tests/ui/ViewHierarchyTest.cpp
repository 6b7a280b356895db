#include "ui/view/View.h"
#include "ui/view/Window.h"

#include "UITestFixture.h"

#include <string>
#include <vector>

using gfx::Rect;

namespace {

class ViewHierarchy : public test::UITest { };

std::vector<ui::View*> order(const ui::View& parent)
{
    std::vector<ui::View*> views;
    for (const auto& v : parent.subviews())
        views.push_back(v.get());
    return views;
}

// The layers of the subviews must stay in the subviews' order.
void expectLayersFollowSubviews(const ui::View& parent)
{
    std::vector<ui::Layer*> expected;
    for (const auto& v : parent.subviews())
        expected.push_back(v->layer().get());
    std::vector<ui::Layer*> actual;
    for (const auto& l : parent.layer()->sublayers()) {
        if (std::find(expected.begin(), expected.end(), l.get()) != expected.end())
            actual.push_back(l.get());
    }
    EXPECT_EQ(actual, expected);
}

class Journal : public ui::View {
public:
    Journal(std::string name, std::vector<std::string>& log)
        : m_name(std::move(name))
        , m_log(log)
    {
    }
    void willMoveToSuperview(const std::shared_ptr<ui::View>& s) override
    {
        m_log.push_back(m_name + ".willMoveToSuperview(" + (s ? "view" : "nil") + ")");
    }
    void didMoveToSuperview() override { m_log.push_back(m_name + ".didMoveToSuperview"); }
    void willMoveToWindow(const std::shared_ptr<ui::Window>& w) override
    {
        m_log.push_back(m_name + ".willMoveToWindow(" + (w ? "window" : "nil") + ")");
    }
    void didMoveToWindow() override { m_log.push_back(m_name + ".didMoveToWindow"); }
    void didAddSubview(const std::shared_ptr<ui::View>&) override { m_log.push_back(m_name + ".didAddSubview"); }
    void willRemoveSubview(const std::shared_ptr<ui::View>&) override
    {
        m_log.push_back(m_name + ".willRemoveSubview");
    }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

} // namespace

TEST_F(ViewHierarchy, OrderingOperationsKeepViewsAndLayersInStep)
{
    auto parent = std::make_shared<ui::View>();
    auto a = std::make_shared<ui::View>(), b = std::make_shared<ui::View>(), c = std::make_shared<ui::View>();
    auto d = std::make_shared<ui::View>();
    parent->addSubview(a);
    parent->addSubview(b);
    parent->addSubview(c);
    parent->layer()->addSublayer(std::make_shared<ui::Layer>());

    parent->addSubview(a); // again: to the front
    EXPECT_EQ(order(*parent), (std::vector<ui::View*> { b.get(), c.get(), a.get() }));
    parent->insertSubviewBelow(d, c.get());
    EXPECT_EQ(order(*parent), (std::vector<ui::View*> { b.get(), d.get(), c.get(), a.get() }));
    parent->insertSubviewAbove(b, a.get());
    EXPECT_EQ(order(*parent), (std::vector<ui::View*> { d.get(), c.get(), a.get(), b.get() }));
    parent->insertSubviewAtIndex(a, 0);
    EXPECT_EQ(order(*parent), (std::vector<ui::View*> { a.get(), d.get(), c.get(), b.get() }));
    parent->bringSubviewToFront(d.get());
    parent->sendSubviewToBack(b.get());
    EXPECT_EQ(order(*parent), (std::vector<ui::View*> { b.get(), a.get(), c.get(), d.get() }));
    parent->exchangeSubviewAtIndex(0, 3);
    EXPECT_EQ(order(*parent), (std::vector<ui::View*> { d.get(), a.get(), c.get(), b.get() }));
    expectLayersFollowSubviews(*parent);
    EXPECT_EQ(parent->layer()->sublayers().size(), 5u);
}

TEST_F(ViewHierarchy, MovingBetweenSuperviewsAndRefusingCycles)
{
    auto first = std::make_shared<ui::View>(), second = std::make_shared<ui::View>();
    auto child = std::make_shared<ui::View>();
    first->addSubview(child);
    second->addSubview(child);
    EXPECT_TRUE(first->subviews().empty());
    EXPECT_EQ(child->superview(), second);
    EXPECT_EQ(child->layer()->superlayer(), second->layer());

    child->addSubview(second); // second is child's ancestor
    EXPECT_TRUE(child->subviews().empty());
    EXPECT_TRUE(child->isDescendantOfView(second.get()));
    EXPECT_FALSE(second->isDescendantOfView(child.get()));

    child->removeFromSuperview();
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_TRUE(second->layer()->sublayers().empty());
}

TEST_F(ViewHierarchy, SuperviewsKeepSubviewsAliveAndNotTheOtherWay)
{
    auto parent = std::make_shared<ui::View>();
    std::weak_ptr<ui::View> weakChild;
    {
        auto child = std::make_shared<ui::View>();
        weakChild = child;
        parent->addSubview(child);
    }
    EXPECT_FALSE(weakChild.expired());
    auto child = weakChild.lock();
    parent.reset();
    EXPECT_EQ(child->superview(), nullptr);
}

TEST_F(ViewHierarchy, HooksComeInOrderWhenMovingIntoAndOutOfAWindow)
{
    std::vector<std::string> log;
    auto window = std::make_shared<ui::Window>();
    auto container = std::make_shared<Journal>("container", log);
    auto view = std::make_shared<Journal>("view", log);
    auto inner = std::make_shared<Journal>("inner", log);
    window->addSubview(container);
    view->addSubview(inner);
    log.clear();

    container->addSubview(view);
    EXPECT_EQ(log,
        (std::vector<std::string> { "view.willMoveToSuperview(view)", "view.willMoveToWindow(window)",
            "inner.willMoveToWindow(window)", "view.didMoveToWindow", "inner.didMoveToWindow",
            "view.didMoveToSuperview", "container.didAddSubview" }));
    EXPECT_EQ(inner->window(), window);

    log.clear();
    view->removeFromSuperview();
    EXPECT_EQ(log,
        (std::vector<std::string> { "view.willMoveToSuperview(nil)", "view.willMoveToWindow(nil)",
            "inner.willMoveToWindow(nil)", "container.willRemoveSubview", "view.didMoveToWindow",
            "inner.didMoveToWindow", "view.didMoveToSuperview" }));
    EXPECT_EQ(inner->window(), nullptr);
}

TEST_F(ViewHierarchy, WindowsIgnoreRemovalAndAreTheirOwnWindow)
{
    auto window = std::make_shared<ui::Window>();
    auto parent = std::make_shared<ui::View>();
    window->removeFromSuperview();
    EXPECT_EQ(window->window(), window);
    EXPECT_EQ(window->autoresizingMask(), ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    EXPECT_EQ(window->frame(), ui::Screen::main().bounds());
}

TEST_F(ViewHierarchy, TagsAndTintAreFoundThroughTheTree)
{
    auto root = std::make_shared<ui::View>();
    auto branch = std::make_shared<ui::View>();
    auto leaf = std::make_shared<ui::View>();
    root->addSubview(branch);
    branch->addSubview(leaf);
    leaf->setTag(7);
    EXPECT_EQ(root->viewWithTag(7), leaf);
    EXPECT_EQ(root->viewWithTag(8), nullptr);

    EXPECT_EQ(leaf->tintColor(), ui::View::defaultTintColor());
    branch->setTintColor(gfx::Color::red());
    EXPECT_EQ(leaf->tintColor(), gfx::Color::red());
    root->setTintAdjustmentMode(ui::TintAdjustmentMode::Dimmed);
    EXPECT_EQ(leaf->tintAdjustmentMode(), ui::TintAdjustmentMode::Dimmed);
    EXPECT_EQ(leaf->tintColor(), gfx::Color::fromWhite(0.299, 1));
    leaf->setTintAdjustmentMode(ui::TintAdjustmentMode::Normal);
    EXPECT_EQ(leaf->tintColor(), gfx::Color::red());
}

TEST_F(ViewHierarchy, TintChangesAreToldToTheViewsThatInheritThem)
{
    class Counting : public ui::View {
    public:
        int changes { 0 };
        void tintColorDidChange() override { ++changes; }
    };
    auto root = std::make_shared<Counting>();
    auto inheriting = std::make_shared<Counting>();
    auto own = std::make_shared<Counting>();
    root->addSubview(inheriting);
    root->addSubview(own);
    own->setTintColor(gfx::Color::green());
    own->changes = 0;

    root->setTintColor(gfx::Color::red());
    EXPECT_EQ(root->changes, 1);
    EXPECT_EQ(inheriting->changes, 1);
    EXPECT_EQ(own->changes, 0);
    root->setTintAdjustmentMode(ui::TintAdjustmentMode::Dimmed);
    EXPECT_EQ(own->changes, 1);

    // Moving to a tree with another tint tells the moved view.
    auto elsewhere = std::make_shared<ui::View>();
    elsewhere->addSubview(inheriting);
    EXPECT_EQ(inheriting->changes, 3);
}
