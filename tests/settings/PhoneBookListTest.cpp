// The watch phone book: what it loads and shows, what each save sends and what the service then holds, and
// how every failing reply leaves the book, driven from the drawer menu against the local service.
#include "PhoneBookFixture.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "kit/drawer/DrawerBarButtonItem.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/NavigationItem.h"

namespace {

using tracking_service::Fault;

class PhoneBook : public test::PhoneBookTest {
protected:
    // Opens row `row` in the editor, puts the texts in and saves; the alert's message.
    std::string edit(int row, const std::string& name, const std::string& number)
    {
        openEditor(row);
        editor()->nameTextField()->setText(name);
        editor()->numberTextField()->setText(number);
        return saveAndTakeAlert();
    }
    void waitForTheList()
    {
        ASSERT_TRUE(pumpUntil([this] { return centreRoot()->navigationController()->topViewController() == book(); }));
    }
};

const std::vector<std::string> tenBlanks(10, "");

TEST_F(PhoneBook, TheMenuRowOpensTheWatchsBookWithItsThreeEntriesAndBlankRows)
{
    signInAndOpenBook();
    auto loads = service.requestLog().requestsTo(LoadMethod);
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].body, R"({"Serialnumber":"LW3600000001"})");
    EXPECT_TRUE(std::dynamic_pointer_cast<kit::DrawerBarButtonItem>(book()->navigationItem()->leftBarButtonItem()));

    auto table = book()->tableView();
    EXPECT_EQ(table->numberOfRowsInSection(0), 10);
    EXPECT_EQ(table->rectForRowAtIndexPath({ 0, 3 }).height(), 70);
    EXPECT_EQ(title(0), "Dad");
    EXPECT_EQ(detail(0), "13800138001");
    EXPECT_EQ(title(2), "Grandma");
    EXPECT_EQ(detail(2), "13700137000");
    for (int row = 3; row < 10; ++row) {
        EXPECT_EQ(title(row), "") << row;
        EXPECT_EQ(detail(row), "") << row;
    }
    cell(0);
    EXPECT_TRUE(textInRegion("Grandma", { 0, 64 + 140, 200, 70 })) << "row 2, under the bars";
    EXPECT_TRUE(textInRegion("13800138001", { 160, 64, 160, 70 })) << "the number on the right";

    // The head: the default picture redrawn at 50 points, cut to a circle.
    auto head = cell(1)->imageView();
    EXPECT_EQ(head->bounds().size, (gfx::Size { 50, 50 }));
    EXPECT_TRUE(
        test::ScreenProbe::near(colourAt(head, { 25, 4 }), gfx::Color::rgb(142 / 255.0, 178 / 255.0, 214 / 255.0)));
    EXPECT_TRUE(test::ScreenProbe::near(colourAt(head, { 1.5, 1.5 }), gfx::Color::white())) << "outside the circle";

    // Tapping a blank row opens the editor with empty texts.
    openEditor(5);
    EXPECT_EQ(editor()->index(), 5);
    EXPECT_EQ(editor()->nameTextField()->text(), "");
    EXPECT_EQ(editor()->numberTextField()->text(), "");
}

TEST_F(PhoneBook, EditingRowFourSendsTheWholeBookInOrderAndTheServiceKeepsIt)
{
    signInAndOpenBook();
    EXPECT_EQ(edit(4, "Aunt", "13900139000"), base::localized("setting_success"));
    waitForTheList();

    auto entity = lastSentEntity();
    ASSERT_TRUE(entity);
    std::vector<std::string> numbers { "13800138001", "13800138002", "13700137000", "", "13900139000", "", "", "", "",
        "" };
    std::vector<std::string> names { "Dad", "Mum", "Grandma", "", "Aunt", "", "", "", "", "" };
    EXPECT_EQ(texts(entity->objectForKey("PL")), numbers);
    EXPECT_EQ(texts(entity->objectForKey("Name")), names);
    EXPECT_EQ(*entity->objectForKey("_id"), base::Value(watch));
    ASSERT_TRUE(entity->objectForKey("Icon"));
    EXPECT_TRUE(entity->objectForKey("Icon")->isNull());
    EXPECT_EQ(storedList("PL"), numbers);
    EXPECT_EQ(storedList("Name"), names);
    EXPECT_EQ(title(4), "Aunt");
    EXPECT_EQ(detail(4), "13900139000");
}

TEST_F(PhoneBook, NullEntriesShowEmptyAndALongBookIsListedAsTenButSentWhole)
{
    std::vector<base::Value> numbers { "1", base::Value::null(), "   " };
    std::vector<base::Value> names { base::Value::null(), "Bob", "   " };
    for (int i = 3; i < 12; ++i) {
        numbers.push_back(std::to_string(100 + i));
        names.push_back("n" + std::to_string(i));
    }
    storeBook(base::Dictionary::make(
        { { "PL", base::Array::make(std::move(numbers)) }, { "Name", base::Array::make(std::move(names)) } }));
    signInAndOpenBook();
    EXPECT_EQ(book()->tableView()->numberOfRowsInSection(0), 10);
    EXPECT_EQ(title(0), "");
    EXPECT_EQ(detail(1), "");
    EXPECT_EQ(title(2), "   ") << "blanks are shown as they are";
    EXPECT_EQ(title(9), "n9");

    openEditor(0);
    EXPECT_EQ(editor()->nameTextField()->text(), "");
    EXPECT_EQ(edit(0, "Ann", "1"), base::localized("setting_success"));
    auto sent = texts(lastSentEntity()->objectForKey("Name"));
    ASSERT_EQ(sent.size(), 12u);
    EXPECT_EQ(sent[0], "Ann");
    EXPECT_EQ(sent[1], "Bob");
    EXPECT_EQ(sent[11], "n11");
    EXPECT_EQ(texts(lastSentEntity()->objectForKey("PL"))[1], "");
}

TEST_F(PhoneBook, ANullOrEmptyBookIsATrueEmptyBookThatCanBeFilled)
{
    service.faults().set(LoadMethod, Fault::nullPayload());
    signInAndOpenBook();
    EXPECT_TRUE(book()->isLoaded());
    EXPECT_EQ(title(0), "");
    EXPECT_EQ(edit(0, "Ann", "123"), base::localized("setting_success"));
    std::vector<std::string> names = tenBlanks;
    names[0] = "Ann";
    EXPECT_EQ(storedList("Name"), names);

    service.faults().remove(LoadMethod);
    storeBook(base::Dictionary::make({ { "PL", base::Array::make() }, { "Name", base::Array::make() } }));
    waitForTheList();
    openBook();
    EXPECT_EQ(title(0), "");
    EXPECT_EQ(edit(1, "Bo", "2"), base::localized("setting_success"));
    names = tenBlanks;
    names[1] = "Bo";
    EXPECT_EQ(storedList("Name"), names);
}

TEST_F(PhoneBook, AFailedFirstLoadSendsNoSaveAndKeepsTheEditorOpenWithItsText)
{
    // Under the bars, where the first row would be.
    const gfx::Rect failureLineBand { 0, 64, 320, 60 };
    launchAndSignIn();
    for (const Fault& fault : { Fault::status(500), Fault::dropConnection(), Fault::nonJsonBody(), Fault::noPayload(),
             Fault::payload(base::Value(3)), Fault::refusal() }) {
        SCOPED_TRACE(static_cast<int>(fault.kind));
        service.faults().set(LoadMethod, fault);
        openBook();
        EXPECT_FALSE(book()->isLoaded());
        EXPECT_EQ(title(0), "");
        pass(2.1);
        const char* said = fault.kind == Fault::Kind::DropConnection ? "bad_netword" : "load_failed";
        EXPECT_TRUE(textInRegion(base::localized(said), failureLineBand)) << "said after the notice has gone";
        EXPECT_EQ(edit(0, "Ann", "123"), base::localized("setting_failed"));
        EXPECT_EQ(requestsTo(SaveMethod), 0u) << "the watch's book is not overwritten with blanks";
        EXPECT_EQ(centreRoot()->navigationController()->topViewController(), editor());
        EXPECT_EQ(editor()->nameTextField()->text(), "Ann");
        centreRoot()->navigationController()->popViewController(false);
    }
    EXPECT_EQ(storedList("Name"), (std::vector<std::string> { "Dad", "Mum", "Grandma" }));

    // Once the book has come, the failure is no longer said and the same edit goes out.
    service.faults().remove(LoadMethod);
    book()->getPhoneBook();
    ASSERT_TRUE(pumpUntil([&] { return book()->isLoaded() && !book()->isLoading(); }));
    EXPECT_EQ(title(0), "Dad");
    EXPECT_FALSE(textInRegion(base::localized("load_failed"), failureLineBand));
    openBook();
    EXPECT_EQ(edit(0, "Ann", "123"), base::localized("setting_success"));
    EXPECT_EQ(storedList("Name")[0], "Ann");
}

TEST_F(PhoneBook, PullingRefreshesWithTheThreeTextsAndAFailedRefreshIsSaidAndKeepsTheRows)
{
    signInAndOpenBook();
    auto table = book()->tableView();
    auto header = kit::header(*table);
    ASSERT_TRUE(header);
    gfx::Point start = test::ScreenProbe::toScreen(*table, { 160, 200 });
    ui::TouchDriver finger;
    finger.down(start).moveTo({ start.x, start.y + 30 }, 0.1s, 3);
    EXPECT_EQ(header->statusLabel()->text(), base::localized("down_to_refresh"));
    finger.moveTo({ start.x, start.y + 160 }, 0.2s, 8);
    EXPECT_EQ(header->statusLabel()->text(), base::localized("release_to_refresh"));
    EXPECT_TRUE(textInRegion(base::localized("release_to_refresh"), { 0, 64, 320, 160 }));

    service.faults().set(LoadMethod, Fault::delay(1s));
    storeBook(
        base::Dictionary::make({ { "PL", base::Array::make({ "555" }) }, { "Name", base::Array::make({ "Eve" }) } }));
    finger.up();
    ASSERT_TRUE(pumpUntil([&] { return book()->isLoading(); }));
    EXPECT_EQ(header->statusLabel()->text(), base::localized("loading"));
    clock->advance(400ms);
    EXPECT_TRUE(textInRegion(base::localized("loading"), { 0, 64, 320, 64 })) << "held open under the bars";
    EXPECT_EQ(title(0), "Dad") << "the rows stay while the refresh is under way";
    ASSERT_TRUE(pumpUntil([&] { return !book()->isLoading(); }));
    EXPECT_EQ(title(0), "Eve");
    EXPECT_EQ(title(1), "");
    pass(1);
    EXPECT_FALSE(header->isRefreshing());

    // A failed refresh says so, by the network notice when the service could not be reached.
    for (const Fault& fault :
        { Fault::status(500), Fault::noPayload(), Fault::nonJsonBody(), Fault::payload(3), Fault::dropConnection() }) {
        SCOPED_TRACE(static_cast<int>(fault.kind));
        service.faults().set(LoadMethod, fault);
        book()->getPhoneBook();
        ASSERT_TRUE(pumpUntil([&] { return !book()->isLoading(); }));
        clock->advance(0.6s);
        const char* said = fault.kind == Fault::Kind::DropConnection ? "bad_netword" : "load_failed";
        EXPECT_TRUE(textInRegion(base::localized(said), { 0, 0, 320, 568 }));
        EXPECT_EQ(title(0), "Eve");
        EXPECT_TRUE(book()->isLoaded());
        pass(2);
        EXPECT_FALSE(textInRegion(base::localized(said), { 0, 0, 320, 568 })) << "the rows it has stand";
    }
}

TEST_F(PhoneBook, ARefusedOrFailedSaveKeepsTheEntryForTheNextSave)
{
    signInAndOpenBook();
    for (const Fault& fault : { Fault::status(500), Fault::dropConnection(), Fault::nonJsonBody(), Fault::noPayload(),
             Fault::nullPayload(), Fault::payload(base::Value(3)), Fault::refusal() }) {
        SCOPED_TRACE(static_cast<int>(fault.kind));
        service.faults().set(SaveMethod, fault);
        openEditor(3);
        editor()->clickSave();
        ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
        EXPECT_EQ(shownAlert()->title(), base::localized("prompt"));
        EXPECT_EQ(takeAlertMessage(), base::localized("setting_failed"));
        waitForTheList();
    }
    service.faults().remove(SaveMethod);
    std::string kept = edit(7, "Zoe", "777");
    EXPECT_EQ(kept, base::localized("setting_success"));
    EXPECT_EQ(storedList("Name")[7], "Zoe");

    service.faults().set(SaveMethod, Fault::refusal());
    EXPECT_EQ(edit(8, "Max", "888"), base::localized("setting_failed"));
    waitForTheList();
    EXPECT_EQ(title(8), "Max") << "the entry stays on screen";
    service.faults().remove(SaveMethod);
    EXPECT_EQ(edit(9, "Sam", "999"), base::localized("setting_success"));
    EXPECT_EQ(storedList("Name")[8], "Max") << "and goes out with the next save";
}

TEST_F(PhoneBook, APhotoShowsOnItsRowForItsWatchOnly)
{
    auto picture = offerPicture();
    signInAndOpenBook();
    openEditor(2);
    pick(openPicker(settings::EditPhoneBookVC::PhotoLibraryButton), picture);
    EXPECT_TRUE(std::filesystem::exists(base::Paths::documents() / "phoneBook_LW3600000001_2.png"));
    centreRoot()->navigationController()->popViewController(false);
    book()->tableView()->reloadData();

    gfx::Color sky = gfx::Color::rgb(120 / 255.0, 190 / 255.0, 240 / 255.0);
    EXPECT_TRUE(test::ScreenProbe::near(colourAt(cell(2)->imageView(), { 25, 4 }), sky, 6.0 / 255));
    EXPECT_TRUE(test::ScreenProbe::near(colourAt(cell(2)->imageView(), { 1.5, 1.5 }), gfx::Color::white()));
    EXPECT_FALSE(test::ScreenProbe::near(colourAt(cell(1)->imageView(), { 25, 4 }), sky, 6.0 / 255));
    EXPECT_EQ(requestsTo(SaveMethod), 0u) << "the photo never goes to the server";

    // Another watch on the same phone keeps its default heads.
    core::Singleton::shared().setLastSerialnumber(tracking_service::DemoData::Watch27SerialNumber);
    book()->tableView()->reloadData();
    EXPECT_FALSE(test::ScreenProbe::near(colourAt(cell(2)->imageView(), { 25, 4 }), sky, 6.0 / 255));
}

} // namespace
