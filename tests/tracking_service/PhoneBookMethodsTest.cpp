// The phone book's save method: a book the service takes replaces the stored one, so the next load shows it;
// anything it refuses leaves the stored book as it was.
#include "ServiceFixture.h"

#include "base/values/Array.h"

using tracking_service::DemoData;
using tracking_service::ServiceStore;

namespace {

class PhoneBookMethodsTest : public ServiceFixture {
protected:
    std::optional<base::Value> save(const std::string& entity)
    {
        return payload(call("LumetSetPhoneBook_V2", R"({"entity":)" + entity + "}", cookie));
    }

    std::vector<std::string> stored(const char* key)
    {
        std::vector<std::string> texts;
        auto book = m_service->store().document(DemoData::WatchSerialNumber, ServiceStore::PhoneBookDocument);
        const base::Value* list = book && book->dictionary() ? book->dictionary()->objectForKey(key) : nullptr;
        if (list && list->array()) {
            for (const base::Value& entry : *list->array())
                texts.push_back(entry.string() ? *entry.string() : "?");
        }
        return texts;
    }

    std::string cookie;
};

TEST_F(PhoneBookMethodsTest, ASavedBookIsWhatTheNextLoadShows)
{
    cookie = signIn();
    EXPECT_EQ(stored("Name"), (std::vector<std::string> { "Dad", "Mum", "Grandma" })) << "the demo book";

    auto answer = save(R"({"_id":"LW3600000001","PL":["1","2","","","","","","","","","","12"],)"
                       R"("Name":["a","b","","","","","","","","","","l"],"Icon":null})");
    EXPECT_EQ(answer, base::Value("命令提交成功"));
    EXPECT_EQ(stored("PL").size(), 12u) << "a book is kept whole, however long";
    EXPECT_EQ(stored("Name").back(), "l");

    auto book = payload(call("LumetGetPhoneBook_V2", R"({"Serialnumber":"LW3600000001"})", cookie));
    ASSERT_TRUE(book && book->dictionary());
    EXPECT_EQ(*book->dictionary()->objectForKey("PL")->array()->objectAtIndex(1).string(), "2");
    EXPECT_FALSE(book->dictionary()->objectForKey("Icon")) << "photos stay on the phone";
}

TEST_F(PhoneBookMethodsTest, ForeignDevicesAndMalformedBooksAreRefusedAndChangeNothing)
{
    m_service->store().addAccount("other", "pw");
    m_service->store().addDevice({ "OTHER0001", "other", "Other", 36, 1 });
    cookie = signIn();
    for (const char* entity : {
             R"({"_id":"OTHER0001","PL":["1"],"Name":["a"],"Icon":null})",
             R"({"_id":"NOPE","PL":["1"],"Name":["a"],"Icon":null})",
         }) {
        EXPECT_EQ(save(entity), base::Value("设置失败")) << entity;
    }
    // A book that is not the request's form is refused before the method sees it.
    for (const char* entity : {
             R"({"PL":["1"],"Name":["a"],"Icon":null})",
             R"({"_id":"LW3600000001","PL":"1","Name":["a"],"Icon":null})",
             R"({"_id":"LW3600000001","PL":["1"],"Name":[null],"Icon":null})",
             R"({"_id":"LW3600000001","PL":[1],"Name":["a"],"Icon":null})",
             R"({"_id":"LW3600000001","Name":["a"],"Icon":null})",
             R"("LW3600000001")",
         }) {
        EXPECT_EQ(call("LumetSetPhoneBook_V2", R"({"entity":)" + std::string(entity) + "}", cookie)->status, 500)
            << entity;
    }
    EXPECT_EQ(stored("PL"), (std::vector<std::string> { "13800138001", "13800138002", "13700137000" }));
    EXPECT_EQ(call("LumetSetPhoneBook_V2", R"({"entity":{"_id":"LW3600000001","PL":[],"Name":[]}})")->status, 401)
        << "only a signed-in account saves";
}

} // namespace
