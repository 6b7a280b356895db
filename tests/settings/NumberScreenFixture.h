// Shared set-up of the number screens' tests: signed in to the local service as the demo account, with
// helpers that fetch a demo device's record, read what the service stores and what a request carried, show
// a number screen in the modal presenter and wait for the outcome alert.
#pragma once

#include "base/text/Localization.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "kit/modal/ModalPresenter.h"
#include "settings/numbers/NumberPanelParts.h"
#include "support/ScreenFixture.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/Fault.h"
#include "json/JSONDecoder.h"

#include <gtest/gtest.h>

namespace test {

class NumberScreenTest : public ScreenTest {
protected:
    using DemoData = tracking_service::DemoData;
    using Fault = tracking_service::Fault;

    void SetUp() override
    {
        ScreenTest::SetUp();
        launchAndSignIn();
    }

    // A field of one configuration of the service's stored detail, as JSON text ("null" for null).
    std::string stored(const std::string& serialNumber, const char* configuration, const char* key)
    {
        auto detail = service.store().document(serialNumber, "detail");
        const base::DictionaryRef& fields = detail ? detail->dictionary() : nullptr;
        const base::Value* config = fields ? fields->objectForKey(configuration) : nullptr;
        const base::Value* value = config && config->dictionary() ? config->dictionary()->objectForKey(key) : nullptr;
        if (!value)
            return "<absent>";
        return value->isNull() ? "null" : value->stringValue();
    }

    // The body of the last request to the method.
    base::DictionaryRef lastBody(const std::string& method)
    {
        auto requests = service.requestLog().requestsTo(method);
        if (requests.empty())
            return nullptr;
        auto body = json::objectFromJSONString(requests.back().body);
        return body ? body->dictionary() : nullptr;
    }
    static std::string field(const base::DictionaryRef& body, const char* key)
    {
        const base::Value* value = body ? body->objectForKey(key) : nullptr;
        if (!value)
            return "<absent>";
        return value->isNull() ? "null" : value->stringValue();
    }

    bool presenterShown() { return kit::ModalPresenter::sharedInstance()->window() != nullptr; }
    void present(const std::shared_ptr<ui::ViewController>& screen)
    {
        settings::NumberPanelParts::present(screen);
        pumpUntil([this] { return presenterShown(); });
        pass(0.5);
    }
    // Waits for the outcome alert and dismisses it; its message, or "" when none came.
    std::string outcome()
    {
        pumpUntil([] { return shownAlert() != nullptr; });
        return takeAlertMessage();
    }
    static std::string text(const char* key) { return base::localized(key); }
};

} // namespace test
