#include "settings/numbers/FamilyProtection.h"

#include "base/text/Localization.h"
#include "base/loop/MainThread.h"
#include "kit/drawer/DrawerBarButtonItem.h"
#include "kit/drawer/DrawerController.h"
#include "kit/drawer/DrawerLookup.h"
#include "settings/numbers/LikeNumberVC.h"
#include "settings/numbers/NumberPanelParts.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/NavigationBar.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/NavigationItem.h"

namespace settings {

namespace {

    constexpr gfx::Color background = gfx::Color::rgb(0.94, 0.95, 0.93);
    constexpr gfx::Color disc = gfx::Color::rgb(0.86, 0.93, 0.78);
    constexpr double side = 100;

    // The slot's bindWho, or nothing for a tag that names no slot.
    std::optional<int> bindWhoOf(int tag)
    {
        switch (tag) {
        case FamilyProtection::fatherTag:
            return LikeNumberVC::Father;
        case FamilyProtection::motherTag:
            return LikeNumberVC::Mother;
        case FamilyProtection::sosTag:
            return LikeNumberVC::SOS;
        case FamilyProtection::listenTag:
            return LikeNumberVC::Listen;
        default:
            return std::nullopt;
        }
    }

} // namespace

std::shared_ptr<FamilyProtection> FamilyProtection::make() { return std::make_shared<FamilyProtection>(); }

const std::shared_ptr<ui::Button>& FamilyProtection::btnFather()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_buttons[0];
}

const std::shared_ptr<ui::Button>& FamilyProtection::btnMother()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_buttons[1];
}

const std::shared_ptr<ui::Button>& FamilyProtection::btnSOS()
{
    view();
    return m_buttons[2];
}

const std::shared_ptr<ui::Button>& FamilyProtection::btnListen()
{
    view();
    return m_buttons[3];
}

void FamilyProtection::viewDidLoad()
{
    view()->setBackgroundColor(background);
    if (auto navigation = navigationController()) {
        gfx::TextAttributes white;
        white.font = gfx::Font::boldSystem(17);
        white.color = gfx::Color::white();
        navigation->navigationBar()->setTitleTextAttributes(white);
    }
    setTitle(base::localized("family_protect"));
    setupLeftMenuButton();
    const std::pair<int, const char*> slots[]
        = { { fatherTag, "dad" }, { motherTag, "mum" }, { sosTag, "sos" }, { listenTag, "listen" } };
    const char* captions[] = { "father", "mother", "sos", "listen" };
    for (int i = 0; i < 4; ++i) {
        auto index = static_cast<size_t>(i);
        m_buttons[index] = makeSlotButton(i, slots[i].first, slots[i].second);
        view()->addSubview(m_buttons[index]);
        gfx::Rect frame = m_buttons[index]->frame();
        m_labels[index] = std::make_shared<ui::Label>(gfx::Rect { frame.minX() - 10, frame.maxY() + 8, side + 20, 22 });
        m_labels[index]->setTextAlignment(gfx::TextAlignment::Center);
        m_labels[index]->setFont(gfx::Font::system(16));
        m_labels[index]->setText(base::localized(captions[i]));
        view()->addSubview(m_labels[index]);
    }
}

std::shared_ptr<ui::Button> FamilyProtection::makeSlotButton(int index, int tag, const char* imageName)
{
    double width = view()->bounds().width();
    double x = index % 2 == 0 ? width / 2 - side - 25 : width / 2 + 25;
    double y = 120 + (index / 2) * (side + 70);
    auto button = std::make_shared<ui::Button>(gfx::Rect { x, y, side, side });
    button->setTag(tag);
    button->setBackgroundColor(disc);
    button->layer()->setCornerRadius(side / 2);
    button->setImage(gfx::Image::named(imageName), ui::ControlState::Normal);
    button->addAction(
        [weak = ui::weakFrom(this)](ui::Control& control) {
            if (auto self = weak.lock())
                self->familybutton(static_cast<ui::Button&>(control));
        },
        ui::ControlEvent::TouchUpInside);
    return button;
}

void FamilyProtection::setupLeftMenuButton()
{
    auto toggle = kit::DrawerBarButtonItem::make([weak = ui::weakFrom(this)](ui::BarButtonItem&) {
        if (auto self = weak.lock())
            self->leftDrawerButtonPress();
    });
    navigationItem()->setLeftBarButtonItem(toggle, true);
}

void FamilyProtection::leftDrawerButtonPress()
{
    if (auto drawer = kit::drawerControllerOf(*this))
        drawer->toggleDrawerSide(kit::DrawerSide::Left, true);
}

void FamilyProtection::familybutton(const ui::Button& button)
{
    auto bindWho = bindWhoOf(button.tag());
    if (!bindWho)
        return;
    m_likeNumberVC = LikeNumberVC::make();
    m_likeNumberVC->setDeviceDetail(m_deviceDetail);
    m_likeNumberVC->setBindWho(*bindWho);
    NumberPanelParts::present(m_likeNumberVC);
}

} // namespace settings
