// The local tracking service on a free loopback port with a fresh data folder, signed in to the demo
// account, handing out the reply texts of its web methods as the application receives them; and the
// application's own sign-in to it, for tests of what one account's work does after another has signed in.
#pragma once

#include "base/loop/RunLoop.h"
#include "core/helpers/Helper.h"
#include "core/service/SignIn.h"
#include "core/state/SettingsKeys.h"
#include "support/TempDir.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/TrackingService.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <memory>
#include <string>

class LocalService {
public:
    LocalService()
        : m_service(m_folder.path())
    {
        m_service.requestLog().setRecording(tracking_service::RequestLog::Recording::WithBodies);
        EXPECT_TRUE(m_service.start());
        m_client = std::make_unique<httplib::Client>("127.0.0.1", m_service.port());
        auto login = post("Login",
            std::string(R"({"LoginName":")") + tracking_service::DemoData::AccountName + R"(","Password":")"
                + tracking_service::DemoData::Password + R"(","Token":""})");
        std::string cookie = login ? login->get_header_value("Set-Cookie") : std::string();
        m_cookie = cookie.substr(0, cookie.find(';'));
    }

    tracking_service::TrackingService& service() { return m_service; }
    const std::string& cookie() const { return m_cookie; }

    // The reply text of a web method, or "" when the call failed.
    std::string reply(const std::string& method, const std::string& body = {})
    {
        auto result = post(method, body);
        return result ? result->body : std::string();
    }

    // Runs the main loop until the service has received a request to `endpoint`. The service's threads post
    // nothing to the loop, so the wait looks again every few milliseconds; whether one came within 30 s.
    [[nodiscard]] bool waitForRequestTo(const std::string& endpoint)
    {
        auto received = [&] { return !m_service.requestLog().requestsTo(endpoint).empty(); };
        for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
             std::chrono::steady_clock::now() < deadline;)
            if (base::RunLoop::main().runUntil(received, base::Duration(0.005)))
                return true;
        return received();
    }

    // A second account with the demo account's password, so that only the account tells their copies apart.
    static constexpr const char* otherAccount = "other_parent";

    // Signs the account in as the login screen does (its own sign-in, with "kLoginName2" after it), the other
    // account made on the service first; whether the service accepted it.
    [[nodiscard]] bool signIn(const std::string& account)
    {
        if (account == otherAccount && !m_service.store().checkPassword(account, tracking_service::DemoData::Password)
            && !m_service.store().addAccount(account, tracking_service::DemoData::Password))
            return false;
        std::optional<core::SignIn::Outcome> outcome;
        core::SignIn::post(
            account, tracking_service::DemoData::Password, [&](core::SignIn::Outcome got) { outcome = got; });
        if (!base::RunLoop::main().runUntil([&] { return outcome.has_value(); }, std::chrono::seconds(30))
            || outcome != core::SignIn::Outcome::Accepted)
            return false;
        core::Helper::saveSettingValue(base::Value(account), core::SettingsKeys::LoginName2);
        return true;
    }

private:
    httplib::Result post(const std::string& method, const std::string& body)
    {
        httplib::Headers headers;
        if (!m_cookie.empty())
            headers.emplace("Cookie", m_cookie);
        return m_client->Post(("/Server/Mobileservice.asmx/" + method).c_str(), headers, body, "application/json");
    }

    test::TempDir m_folder;
    tracking_service::TrackingService m_service;
    std::unique_ptr<httplib::Client> m_client;
    std::string m_cookie;
};
