// A local tracking service on a free loopback port with a fresh data folder, and a plain HTTP client to
// talk to it, for the service's own tests.
#pragma once

#include "base/values/Dictionary.h"
#include "support/TempDir.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/TrackingService.h"
#include "json/JSONDecoder.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <optional>
#include <string>

class ServiceFixture : public testing::Test {
protected:
    void SetUp() override
    {
        m_service = std::make_unique<tracking_service::TrackingService>(m_folder.path());
        m_service->requestLog().setRecording(tracking_service::RequestLog::Recording::WithBodies);
        ASSERT_TRUE(m_service->start());
        m_client = std::make_unique<httplib::Client>("127.0.0.1", m_service->port());
        m_client->set_read_timeout(5, 0);
    }

    static std::string methodPath(const std::string& method) { return "/Server/Mobileservice.asmx/" + method; }

    httplib::Result call(const std::string& method, const std::string& body, const std::string& cookie = {})
    {
        httplib::Headers headers;
        if (!cookie.empty())
            headers.emplace("Cookie", cookie);
        return m_client->Post(methodPath(method).c_str(), headers, body, "application/json; charset=utf-8");
    }

    // Signs in to the demo account and returns the "name=value" part of the session cookie.
    std::string signIn()
    {
        auto reply = call("Login",
            std::string(R"({"LoginName":")") + tracking_service::DemoData::AccountName + R"(","Password":")"
                + tracking_service::DemoData::Password + R"(","Token":"t"})");
        std::string cookie = reply ? reply->get_header_value("Set-Cookie") : std::string();
        return cookie.substr(0, cookie.find(';'));
    }

    // The payload of a 200 reply, or nothing.
    static std::optional<base::Value> payload(const httplib::Result& reply)
    {
        if (!reply || reply->status != 200)
            return std::nullopt;
        auto object = json::objectFromJSONString(reply->body);
        if (!object || !object->dictionary() || !object->dictionary()->objectForKey("d"))
            return std::nullopt;
        return *object->dictionary()->objectForKey("d");
    }

    test::TempDir m_folder;
    std::unique_ptr<tracking_service::TrackingService> m_service;
    std::unique_ptr<httplib::Client> m_client;
};
