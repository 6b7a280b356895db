#include "base/values/Array.h"
#include "core/service/ServiceProtocol.h"
#include "tracking-service/ServiceMethods.h"

namespace tracking_service {

using core::ServiceProtocol;

namespace {

    // Stored messages keep their file address relative to the service ("/Tools/..."), so that they stay
    // right whatever port the service runs on; the reply carries the absolute address.
    base::Value withAbsoluteUrl(const base::Value& message, const std::string& serviceRoot)
    {
        const auto& fields = message.dictionary();
        const base::Value* url = fields ? fields->objectForKey(ServiceProtocol::MessageUrlKey) : nullptr;
        if (!url || !url->string() || !url->string()->starts_with('/'))
            return message;
        auto copy = fields->mutableCopy();
        copy->setObject(base::Value(serviceRoot + *url->string()), ServiceProtocol::MessageUrlKey);
        return base::Value(copy->copy());
    }

    base::Value popMessages(WebMethodCall& call)
    {
        auto sent = call.store.sendMessages(call.account);
        std::vector<base::Value> messages;
        for (const base::Value& message : sent.messages)
            messages.push_back(withAbsoluteUrl(message, call.serviceRoot));
        if (!sent.positions.empty()) {
            call.afterReply = [&store = call.store, positions = std::move(sent.positions)](
                                  bool written) { store.finishDelivery(positions, written); };
        }
        return base::Array::make(std::move(messages));
    }

} // namespace

void addMessageMethods(WebMethodTable& table)
{
    table.add(ServiceProtocol::PopMessagesMethod, WebMethodTable::Access::SignedIn, popMessages);
}

} // namespace tracking_service
