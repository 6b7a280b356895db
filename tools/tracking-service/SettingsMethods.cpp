#include "base/Array.h"
#include "base/Dictionary.h"
#include "tracking-service/ServiceMethods.h"
#include "tracking-service/ServiceRoutes.h"
#include "json/JSONDecoder.h"

namespace tracking_service {

namespace {

    base::Value conversation(ServiceStore& store, const std::string& account)
    {
        auto messages = store.document(account, ServiceStore::FeedbackDocument);
        return messages && messages->array() ? *messages : base::Value(base::Array::make());
    }

    base::Value reply(base::Value messages) { return base::Dictionary::make({ { "messages", std::move(messages) } }); }

} // namespace

void addSettingsMethods(WebMethodTable&) { }

// The conversation is kept per account (the empty name for a caller without a session) as an array of the
// posted message objects; both GET and POST answer {"messages": [...]}.
RouteReply answerFeedbackConversation(ServiceStore& store, const RouteRequest& request)
{
    if (request.httpMethod != "POST")
        return { 200, reply(conversation(store, request.account)) };
    auto message = json::objectFromJSONString(request.body);
    if (!message || !message->dictionary())
        return { 400, base::Dictionary::make({ { "Message", "Expected a JSON object." } }) };
    auto all = store.appendToDocument(request.account, ServiceStore::FeedbackDocument, *message);
    if (!all)
        return { 500, base::Dictionary::make({ { "Message", "The message could not be kept." } }) };
    return { 200, reply(std::move(*all)) };
}

} // namespace tracking_service
