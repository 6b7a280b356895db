// A phone-book entry saved from its editor under every way the service can fail, answers held past the
// time-out included: each save sends one request, shows "setting_failed", and the entry stays on the list to
// go out with the next save, which the service then takes.
#include "PhoneBookFixture.h"

namespace {

using tracking_service::Fault;

class PhoneBookWriteFaults : public test::PhoneBookTest { };

TEST_F(PhoneBookWriteFaults, NoFailedSaveReadsAsSavedOrLosesTheEntry)
{
    signInAndOpenBook();
    const std::pair<const char*, Fault> faults[] = { { "status 500", Fault::status(500) },
        { "dropped connection", Fault::dropConnection() }, { "not JSON", Fault::nonJsonBody() },
        { "no payload", Fault::noPayload() }, { "null payload", Fault::nullPayload() }, { "refusal", Fault::refusal() },
        { "a number", Fault::payload(base::Value(3)) }, { "answer after the time-out", Fault::held() } };
    int attempt = 0;
    for (const auto& [kind, fault] : faults) {
        SCOPED_TRACE(kind);
        std::string name = "Kept " + std::to_string(++attempt);
        size_t sent = service.requestLog().requestsTo(SaveMethod).size();
        underFault(SaveMethod, fault, [&] {
            openEditor(3);
            editor()->nameTextField()->setText(name);
            editor()->numberTextField()->setText("1390000000" + std::to_string(attempt));
            EXPECT_EQ(saveAndTakeAlert(), base::localized("setting_failed"));
        });
        EXPECT_EQ(service.requestLog().requestsTo(SaveMethod).size(), sent + 1);
        ASSERT_TRUE(pumpUntil([this] { return centreRoot()->navigationController()->topViewController() == book(); }));
        EXPECT_EQ(title(3), name) << "the entry stays on the list";
    }
    openEditor(0);
    EXPECT_EQ(saveAndTakeAlert(), base::localized("setting_success"));
    EXPECT_EQ(storedList("Name").at(3), "Kept " + std::to_string(attempt)) << "it went out with the next save";
}

} // namespace
