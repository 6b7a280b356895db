// The routes beside the web methods: the store lookup and the feedback conversation.
#include "ServiceFixture.h"

#include "base/values/Array.h"

using tracking_service::Fault;

namespace {

using RoutesTest = ServiceFixture;

std::optional<base::Value> bodyOf(const httplib::Result& reply)
{
    return reply ? json::objectFromJSONString(reply->body) : std::nullopt;
}

TEST_F(RoutesTest, LookupAnswersTheStoresRecordShapeAndIsLogged)
{
    auto reply = m_client->Get("/lookup?id=123456");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);
    EXPECT_EQ(reply->get_header_value("Content-Type"), "application/json; charset=utf-8");
    auto record = bodyOf(reply);
    ASSERT_TRUE(record && record->dictionary());
    const base::Value* results = record->dictionary()->objectForKey("results");
    ASSERT_TRUE(results && results->array());

    auto requests = m_service->requestLog().requestsTo("lookup");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].queryParameters.find("id")->second, "123456");

    m_service->faults().set("lookup", Fault::nonJsonBody());
    EXPECT_FALSE(bodyOf(m_client->Get("/lookup?id=123456")));
}

TEST_F(RoutesTest, FeedbackMessagesAreKeptPerAccount)
{
    std::string cookie = signIn();
    httplib::Headers signedIn { { "Cookie", cookie } };
    auto post = [&](const httplib::Headers& headers, const std::string& body) {
        return m_client->Post("/feedback/conversation", headers, body, "application/json");
    };
    EXPECT_EQ(post(signedIn, R"({"content":"The map is slow"})")->status, 200);
    EXPECT_EQ(post(signedIn, R"({"content":"Thanks"})")->status, 200);
    EXPECT_EQ(post(signedIn, "not json")->status, 400);
    EXPECT_EQ(post(signedIn, "[1]")->status, 400);
    EXPECT_EQ(post({}, R"({"content":"anonymous"})")->status, 200);

    auto mine = bodyOf(m_client->Get("/feedback/conversation", signedIn));
    ASSERT_TRUE(mine && mine->dictionary());
    const auto& messages = mine->dictionary()->objectForKey("messages")->array();
    ASSERT_TRUE(messages);
    ASSERT_EQ(messages->count(), 2u);
    EXPECT_EQ(*messages->objectAtIndex(1).dictionary()->objectForKey("content"), base::Value("Thanks"));

    auto anonymous = bodyOf(m_client->Get("/feedback/conversation"));
    ASSERT_TRUE(anonymous && anonymous->dictionary());
    EXPECT_EQ(anonymous->dictionary()->objectForKey("messages")->array()->count(), 1u);
}

} // namespace
