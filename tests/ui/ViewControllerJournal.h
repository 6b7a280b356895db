// A view controller that writes its callbacks into a shared journal as "<name> <callback>", for the
// appearance and containment tests.
#pragma once

#include "ui/view/View.h"
#include "ui/controllers/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace test {

using Journal = std::vector<std::string>;

class JournalingController : public ui::ViewController {
public:
    JournalingController(std::string name, std::shared_ptr<Journal> journal)
        : m_name(std::move(name))
        , m_journal(std::move(journal))
    {
    }

    bool forwardsAutomatically = true;

    void loadView() override
    {
        note("loadView");
        ui::ViewController::loadView();
    }
    void viewDidLoad() override { note("viewDidLoad"); }
    void viewWillAppear(bool) override { note("willAppear"); }
    void viewDidAppear(bool) override { note("didAppear"); }
    void viewWillDisappear(bool) override { note("willDisappear"); }
    void viewDidDisappear(bool) override { note("didDisappear"); }
    void willMoveToParentViewController(const std::shared_ptr<ui::ViewController>& parent) override
    {
        note(parent ? "willMoveTo " + name(parent) : "willMoveTo none");
    }
    void didMoveToParentViewController(const std::shared_ptr<ui::ViewController>& parent) override
    {
        note(parent ? "didMoveTo " + name(parent) : "didMoveTo none");
    }
    bool shouldAutomaticallyForwardAppearanceMethods() const override { return forwardsAutomatically; }

    static std::string name(const std::shared_ptr<ui::ViewController>& controller)
    {
        auto journaling = std::dynamic_pointer_cast<JournalingController>(controller);
        return journaling ? journaling->m_name : "?";
    }

private:
    void note(const std::string& what) { m_journal->push_back(m_name + " " + what); }

    std::string m_name;
    std::shared_ptr<Journal> m_journal;
};

} // namespace test
