// The number panels in the desktop window: Return in a panel's field moves on to the next field, and in its last
// field sends what the panel's confirming button sends, as a prompt that takes text answers Return.
#include "NumberScreenFixture.h"

#include "host/SDLHost.h"
#include "settings/numbers/CenterNumberVC.h"
#include "settings/numbers/FamilyNumberVC.h"
#include "settings/numbers/LikeNumberVC.h"
#include "settings/numbers/ListenNumberVC.h"
#include "support/DesktopEvents.h"
#include "ui/controls/TextField.h"

#include <functional>
#include <string>
#include <vector>

namespace {

using settings::LikeNumberVC;
using settings::NumberPanelParts;

// A panel as the test opens it: its fields in order, and the method its confirming button sends.
struct Panel {
    const char* name;
    std::function<std::vector<std::shared_ptr<ui::TextField>>()> open;
    const char* method;
};

class NumberPanelKeys : public test::NumberScreenTest {
protected:
    void SetUp() override
    {
        NumberScreenTest::SetUp();
        test::desktop::useOffscreenVideo();
        window = host::SDLHost::open({});
        ASSERT_TRUE(window);
    }
    void TearDown() override
    {
        window.reset();
        NumberScreenTest::TearDown();
    }

    // Shows the number screen of the device, for the watch's slot `bindWho`.
    std::shared_ptr<LikeNumberVC> numberScreen(const char* serialNumber, int bindWho = LikeNumberVC::Mother)
    {
        auto screen = LikeNumberVC::make();
        screen->setDeviceDetail(detailOf(serialNumber));
        screen->setBindWho(bindWho);
        present(screen);
        shownPanel = screen;
        return screen;
    }
    template <typename Screen> std::shared_ptr<Screen> presented(std::shared_ptr<Screen> screen)
    {
        present(screen);
        shownPanel = screen;
        return screen;
    }

    // Opens the panel, types a number into each field through the window, each followed by Return.
    void typeAndReturnIn(const Panel& panel)
    {
        SCOPED_TRACE(panel.name);
        auto fields = panel.open();
        ASSERT_FALSE(fields.empty());
        size_t before = requestsTo(panel.method);
        ASSERT_TRUE(fields.front()->becomeFirstResponder());
        for (size_t i = 0; i < fields.size(); ++i) {
            fields[i]->setText("");
            test::desktop::type(("1380000000" + std::to_string(i)).c_str());
            test::desktop::key(SDLK_RETURN);
            pass(0.5);
            if (i + 1 < fields.size()) {
                EXPECT_TRUE(fields[i + 1]->isFirstResponder()) << "Return moves on from field " << i;
                EXPECT_EQ(requestsTo(panel.method), before) << "nothing is sent from field " << i;
            }
        }
        EXPECT_TRUE(waitForRequests(panel.method, before + 1)) << "Return in the last field sends";
        EXPECT_EQ(fields.back()->text(), "1380000000" + std::to_string(fields.size() - 1));
        awaitReplies();
        while (shownAlert())
            takeAlertMessage();
        kit::ModalPresenter::sharedInstance()->hideAnimated(false);
        pass(0.5);
    }

    std::unique_ptr<host::SDLHost> window;
    // Kept while its view is shown.
    std::shared_ptr<ui::ViewController> shownPanel;
};

TEST_F(NumberPanelKeys, ReturnInEachPanelsLastFieldSendsWhatItsButtonSends)
{
    const Panel panels[] = {
        { "the listen number",
            [this] {
                auto listen = presented(settings::ListenNumberVC::make(detailOf(DemoData::Quenn6SerialNumber)));
                return std::vector { listen->parts().field };
            },
            "QuennSetPhoneNumber" },
        { "the centre number",
            [this] {
                auto centre = presented(settings::CenterNumberVC::make(detailOf(DemoData::Quenn3SerialNumber)));
                return std::vector { centre->parts().field };
            },
            settings::CenterNumberVC::QuennMethod },
        { "the Quenn family numbers",
            [this] {
                const auto& fields = numberScreen(DemoData::Quenn3SerialNumber)->quennFields();
                return std::vector(fields.begin(), fields.end());
            },
            "QuennSetPhoneNumber" },
        { "a Parvo row",
            [this] {
                auto screen = numberScreen(DemoData::ParvoSerialNumber);
                return std::vector { NumberPanelParts::fieldWithTag(
                    screen->likeNumberViewForParvo(), LikeNumberVC::listenFieldTag) };
            },
            "ParvoSetTelephoneNumberforWiretapping" },
        { "a watch's family-protection number",
            [this] {
                auto screen = numberScreen(DemoData::WatchSerialNumber, LikeNumberVC::Father);
                return std::vector { NumberPanelParts::fieldWithTag(
                    screen->lumetPanel(LikeNumberVC::Father), LikeNumberVC::lumetFieldTagOf(LikeNumberVC::Father)) };
            },
            "LumetSetManyPhoneConfig" },
        { "a family-number key",
            [this] {
                auto editor = presented(settings::FamilyNumberVC::make(detailOf(DemoData::Watch44SerialNumber), 1));
                return std::vector { editor->txtNumber() };
            },
            settings::FamilyNumberVC::Method },
    };
    for (const Panel& panel : panels)
        typeAndReturnIn(panel);
    // The family-number key keeps the state it had (listen): Return never turns it into a calling key.
    EXPECT_EQ(field(lastBody(settings::FamilyNumberVC::Method), "ButtonNo1_State"), "1");
}

} // namespace
