#include "settings/about/AboutVCViewController.h"

#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "base/loop/MainThread.h"
#include "core/helpers/Helper.h"
#include "core/state/Logout.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/controllers/NavigationController.h"
#include "ui/input/SwipeGestureRecognizer.h"

namespace settings {

namespace {

    constexpr gfx::Color green = gfx::Color::rgb(0.52, 0.8, 0.05);
    constexpr gfx::Color logoutRed = gfx::Color::rgb(0.85, 0.26, 0.22);

    AboutVCViewController::PurchaseScreenFactory& purchaseFactory()
    {
        static AboutVCViewController::PurchaseScreenFactory factory;
        return factory;
    }

    std::shared_ptr<ui::Label> makeCentredLabel(const gfx::Rect& frame, const gfx::Font& font, gfx::Color colour)
    {
        auto label = std::make_shared<ui::Label>(frame);
        label->setFont(font);
        label->setTextColor(colour);
        label->setTextAlignment(gfx::TextAlignment::Center);
        return label;
    }

} // namespace

std::shared_ptr<AboutVCViewController> AboutVCViewController::make()
{
    BASE_ASSERT_MAIN_THREAD();
    return std::make_shared<AboutVCViewController>();
}

void AboutVCViewController::setPurchaseScreenFactory(PurchaseScreenFactory factory)
{
    BASE_ASSERT_MAIN_THREAD();
    purchaseFactory() = std::move(factory);
}

const std::shared_ptr<ui::Label>& AboutVCViewController::lblVersion()
{
    view();
    return m_lblVersion;
}

const std::shared_ptr<ui::Label>& AboutVCViewController::aboutappname()
{
    view();
    return m_aboutappname;
}

const std::shared_ptr<ui::Button>& AboutVCViewController::logoutButton()
{
    view();
    return m_logoutButton;
}

const std::shared_ptr<ui::Button>& AboutVCViewController::purchaseButton()
{
    view();
    return m_purchaseButton;
}

void AboutVCViewController::viewDidLoad()
{
    view()->setBackgroundColor(gfx::Color::rgb(0.94, 0.95, 0.93));
    setTitle(base::localized("about"));
    auto swipe = std::make_shared<ui::SwipeGestureRecognizer>([weak = ui::weakFrom(this)](ui::GestureRecognizer&) {
        if (auto self = weak.lock())
            self->didSwipe();
    });
    swipe->setDirection(ui::SwipeGestureRecognizer::Right);
    view()->addGestureRecognizer(swipe);

    double width = view()->bounds().width();
    auto logo = std::make_shared<ui::ImageView>(gfx::Image::named("login_logo"));
    logo->setFrame({ (width - 90) / 2, 110, 90, 90 });
    view()->addSubview(logo);
    m_aboutappname = makeCentredLabel({ 20, 214, width - 40, 28 }, gfx::Font::boldSystem(20), gfx::Color::black());
    m_aboutappname->setText(base::localized("app_name"));
    view()->addSubview(m_aboutappname);
    m_lblVersion = makeCentredLabel({ 20, 246, width - 40, 22 }, gfx::Font::system(15), gfx::Color::darkGray());
    m_lblVersion->setText(base::LocalizedFormat::format(base::localized("version"), { core::Helper::appVersion() }));
    view()->addSubview(m_lblVersion);

    m_purchaseButton = makeButton(330, "permanent_service", green, &AboutVCViewController::openPurchase);
    m_purchaseButton->setHidden(!purchaseFactory());
    m_logoutButton = makeButton(390, "logout", logoutRed, &AboutVCViewController::clickLogout);
}

std::shared_ptr<ui::Button> AboutVCViewController::makeButton(
    double y, const char* titleKey, gfx::Color colour, void (AboutVCViewController::*action)())
{
    auto button = std::make_shared<ui::Button>(gfx::Rect { 30, y, view()->bounds().width() - 60, 44 });
    button->setTitle(base::localized(titleKey), ui::ControlState::Normal);
    button->setTitleColor(gfx::Color::white(), ui::ControlState::Normal);
    button->setBackgroundColor(colour);
    button->layer()->setCornerRadius(6);
    button->addAction(
        [weak = ui::weakFrom(this), action](ui::Control&) {
            if (auto self = weak.lock())
                (self.get()->*action)();
        },
        ui::ControlEvent::TouchUpInside);
    view()->addSubview(button);
    return button;
}

void AboutVCViewController::didSwipe()
{
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

void AboutVCViewController::clickLogout() { core::Logout::logOutKeepingPushToken(); }

void AboutVCViewController::openPurchase()
{
    auto navigation = navigationController();
    auto screen = purchaseFactory() ? purchaseFactory()() : nullptr;
    if (navigation && screen)
        navigation->pushViewController(screen, true);
}

} // namespace settings
