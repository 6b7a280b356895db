#include "base/system/Bundle.h"
#include "base/system/Facts.h"
#include "base/values/Array.h"
#include "networking/http/HTTPClient.h"
#include "networking/operations/JSONRequestOperation.h"
#include "networking/operations/XMLRequestOperation.h"
#include "networking/plist/PropertyListSerialization.h"

#include <gtest/gtest.h>

using namespace networking;

namespace {

std::shared_ptr<HTTPClient> makeClient(const char* base = "http://api.example.com/v1/")
{
    return HTTPClient::clientWithBaseURL(*base::URL::parse(base));
}

std::string bodyOf(const net::URLRequest& request)
{
    return request.httpBody() ? std::string(request.httpBody()->begin(), request.httpBody()->end()) : std::string();
}

std::string header(const net::URLRequest& request, const char* name)
{
    const std::string* value = request.valueForHTTPHeaderField(name);
    return value ? *value : std::string("(absent)");
}

base::DictionaryRef parameters() { return base::Dictionary::make({ { "b", 1 }, { "a", "x y" } }); }

} // namespace

TEST(HTTPClientBaseURL, APathGetsItsTrailingSlashWhileRootsAndSlashedPathsStay)
{
    EXPECT_EQ(makeClient("http://h.example/api")->baseURL().absoluteString(), "http://h.example/api/");
    EXPECT_EQ(makeClient("http://h.example/api/")->baseURL().absoluteString(), "http://h.example/api/");
    EXPECT_EQ(makeClient("http://h.example")->baseURL().absoluteString(), "http://h.example");
}

TEST(HTTPClientDefaultHeaders, AcceptLanguageStopsAfterTheSixthLanguage)
{
    EXPECT_EQ(HTTPClient::acceptLanguageHeaderValue({ "en", "fr", "de", "it", "es", "pt", "ru" }),
        "en;q=1, fr;q=0.9, de;q=0.8, it;q=0.7, es;q=0.6, pt;q=0.5");
    EXPECT_EQ(HTTPClient::acceptLanguageHeaderValue({ "zh-Hans", "en" }), "zh-Hans;q=1, en;q=0.9");
    EXPECT_EQ(HTTPClient::acceptLanguageHeaderValue({}), "");
}

TEST(HTTPClientDefaultHeaders, AreMadeFromTheFactsAtCreation)
{
    base::Facts::current().setPreferredLanguages({ "de" });
    base::Facts::current().setModel("Test Model");
    base::Facts::current().setSystemName("Linux");
    base::Facts::current().setSystemVersion("6.1");
    base::Facts::current().setScreenScale(3.0);
    auto client = makeClient();
    base::Facts::current().reset();
    EXPECT_EQ(client->defaultValueForHeader("Accept-Language"), "de;q=1");
    auto& bundle = base::Bundle::main();
    EXPECT_EQ(client->defaultValueForHeader("User-Agent"),
        bundle.executableName() + "/" + bundle.version() + " (Test Model; Linux 6.1; Scale/3.00)");
}

TEST(HTTPClientDefaultHeaders, NothingRemovesAnEmptyTextKeepsAndNamesAreExact)
{
    auto client = makeClient();
    client->setDefaultHeader("Cookie", "");
    EXPECT_EQ(client->defaultValueForHeader("Cookie"), "");
    EXPECT_EQ(header(client->requestWithMethod("POST", "x", nullptr), "Cookie"), "");
    EXPECT_EQ(client->defaultValueForHeader("cookie"), std::nullopt);
    client->setDefaultHeader("Cookie", std::nullopt);
    EXPECT_EQ(header(client->requestWithMethod("POST", "x", nullptr), "Cookie"), "(absent)");
}

TEST(HTTPClientDefaultHeaders, AuthorizationHeaders)
{
    auto client = makeClient();
    client->setAuthorizationHeaderWithUsername("ann", "secret");
    EXPECT_EQ(client->defaultValueForHeader("Authorization"), "Basic YW5uOnNlY3JldA==");
    client->setAuthorizationHeaderWithToken("abc");
    EXPECT_EQ(client->defaultValueForHeader("Authorization"), "Token token=\"abc\"");
    client->clearAuthorizationHeader();
    EXPECT_EQ(client->defaultValueForHeader("Authorization"), std::nullopt);
}

TEST(HTTPClientRequests, AnAbsolutePathIgnoresTheBaseURL)
{
    auto request
        = makeClient()->requestWithMethod("POST", "https://other.example:8443/Server/x.asmx/Login?a=1", nullptr);
    EXPECT_EQ(request.url()->absoluteString(), "https://other.example:8443/Server/x.asmx/Login?a=1");
    EXPECT_EQ(makeClient()->requestWithMethod("GET", "users", nullptr).url()->absoluteString(),
        "http://api.example.com/v1/users");
    EXPECT_EQ(makeClient()->requestWithMethod("GET", std::nullopt, nullptr).url()->absoluteString(),
        "http://api.example.com/v1/");
}

TEST(HTTPClientRequests, EveryRequestCarriesTheFixedContentTypeThatReplacesADefaultOne)
{
    auto client = makeClient();
    client->setDefaultHeader("content-type", "text/plain");
    client->setParameterEncoding(HTTPClient::PropertyListParameterEncoding);
    auto request = client->requestWithMethod("POST", "x", nullptr);
    EXPECT_EQ(header(request, "Content-Type"), "application/json; charset=utf8");
    EXPECT_FALSE(request.httpBody());
    EXPECT_EQ(request.allHTTPHeaderFields().size(), 3u) << "Accept-Language, User-Agent and one Content-Type";
}

TEST(HTTPClientRequests, TheDefaultsAreASnapshot)
{
    auto client = makeClient();
    client->setDefaultHeader("Cookie", "a=1");
    auto request = client->requestWithMethod("POST", "x", nullptr);
    client->setDefaultHeader("Cookie", "a=2");
    EXPECT_EQ(header(request, "Cookie"), "a=1");
    EXPECT_EQ(header(client->requestWithMethod("POST", "x", nullptr), "Cookie"), "a=2") << "the next call's";
    client->setDefaultHeader("Cookie", std::nullopt);
    EXPECT_FALSE(client->requestWithMethod("POST", "x", nullptr).valueForHTTPHeaderField("Cookie"));
}

TEST(HTTPClientRequests, JSONParametersGoInACompactBodyWithTheCharset)
{
    auto client = makeClient();
    client->setParameterEncoding(HTTPClient::JSONParameterEncoding);
    auto request = client->requestWithMethod("POST", "x", base::Dictionary::make({ { "a", 1 }, { "b", "two" } }));
    EXPECT_EQ(header(request, "Content-Type"), "application/json; charset=utf-8");
    EXPECT_EQ(bodyOf(request), R"({"a":1,"b":"two"})");
    EXPECT_EQ(bodyOf(client->requestWithMethod("POST", "x", base::Dictionary::make())), "{}");
}

TEST(HTTPClientRequests, FormParametersGoInTheBodyAsAQueryString)
{
    auto client = makeClient();
    auto request = client->requestWithMethod("PUT", "x", parameters());
    EXPECT_EQ(header(request, "Content-Type"), "application/x-www-form-urlencoded; charset=utf-8");
    EXPECT_EQ(bodyOf(request), "a=x%20y&b=1");
    EXPECT_EQ(bodyOf(client->requestWithMethod("PATCH", "x", parameters())), "a=x%20y&b=1");
}

TEST(HTTPClientRequests, PropertyListParametersGoInAnXMLBody)
{
    auto client = makeClient();
    client->setParameterEncoding(HTTPClient::PropertyListParameterEncoding);
    auto request = client->requestWithMethod("POST", "x", parameters());
    EXPECT_EQ(header(request, "Content-Type"), "application/x-plist; charset=utf-8");
    auto list = PropertyListSerialization::propertyListWithData(*request.httpBody(), 0);
    ASSERT_TRUE(list);
    EXPECT_EQ(*list, base::Value(parameters()));
}

TEST(HTTPClientRequests, AnUnknownEncodingSendsNoBody)
{
    auto client = makeClient();
    client->setParameterEncoding(7);
    auto request = client->requestWithMethod("POST", "x", parameters());
    EXPECT_EQ(header(request, "Content-Type"), "application/json; charset=utf8");
    EXPECT_FALSE(request.httpBody());
}

TEST(HTTPClientRequests, GetHeadAndDeleteParametersGoInTheQuery)
{
    auto client = makeClient();
    auto get = client->requestWithMethod("GET", "items", parameters());
    EXPECT_EQ(get.url()->absoluteString(), "http://api.example.com/v1/items?a=x%20y&b=1");
    EXPECT_FALSE(get.httpBody());
    EXPECT_EQ(header(get, "Content-Type"), "application/json; charset=utf8");
    auto withQuery = client->requestWithMethod("GET", "items?page=2", parameters());
    EXPECT_EQ(withQuery.url()->absoluteString(), "http://api.example.com/v1/items?page=2&a=x%20y&b=1");
    EXPECT_EQ(client->requestWithMethod("DELETE", "items", parameters()).url()->query(), "a=x%20y&b=1");
    EXPECT_EQ(client->requestWithMethod("HEAD", "items", parameters()).url()->query(), "a=x%20y&b=1");
    EXPECT_EQ(client->requestWithMethod("get", "items", parameters()).url()->query(), std::nullopt)
        << "the method is compared with its case";
}

TEST(HTTPClientRequests, BuildFailuresAreReportedNotHidden)
{
    auto client = makeClient();
    base::Error badPath;
    auto request = client->requestWithMethod("POST", "http://bad host/", nullptr, &badPath);
    EXPECT_FALSE(request.url());
    EXPECT_EQ(badPath.code(), base::Error::URLBadURL);

    client->setParameterEncoding(HTTPClient::PropertyListParameterEncoding);
    base::Error unwritable;
    auto withNull
        = client->requestWithMethod("POST", "x", base::Dictionary::make({ { "a", base::Value() } }), &unwritable);
    EXPECT_FALSE(withNull.httpBody());
    EXPECT_FALSE(unwritable.isEmpty());

    client->setStringEncoding(base::TextEncoding::ASCII);
    client->setParameterEncoding(HTTPClient::FormURLParameterEncoding);
    base::Error unencodable;
    auto form = client->requestWithMethod("POST", "x", base::Dictionary::make({ { "name", "Grüße" } }), &unencodable);
    EXPECT_FALSE(form.httpBody());
    EXPECT_FALSE(unencodable.isEmpty());
}

TEST(HTTPClientOperationClasses, OnlyRequestOperationClassesRegisterAndTheLastIsTriedFirst)
{
    auto client = makeClient();
    EXPECT_TRUE(client->registerHTTPOperationClass(XMLRequestOperation::operationClass()));
    EXPECT_TRUE(client->registerHTTPOperationClass(JSONRequestOperation::operationClass()));
    EXPECT_TRUE(client->registerHTTPOperationClass(XMLRequestOperation::operationClass()));
    EXPECT_EQ(client->registeredHTTPOperationClassNames(),
        (std::vector<std::string> { "XMLRequestOperation", "JSONRequestOperation" }));
    static HTTPOperationClass stranger({ .name = "StrangerOperation",
        .superclass = nullptr,
        .make = {},
        .acceptableStatusCodes = std::nullopt,
        .acceptableContentTypes = std::nullopt,
        .pathExtensions = {} });
    EXPECT_FALSE(client->registerHTTPOperationClass(stranger));
    client->unregisterHTTPOperationClass(JSONRequestOperation::operationClass());
    EXPECT_EQ(client->registeredHTTPOperationClassNames(), std::vector<std::string> { "XMLRequestOperation" });
}

TEST(HTTPClientOperationClasses, TheApplicationsRequestsRunAsPlainRequestOperations)
{
    auto client = makeClient();
    ASSERT_TRUE(client->registerHTTPOperationClass(XMLRequestOperation::operationClass()));
    client->setDefaultHeader("Accept", "application/json");
    auto plain
        = client->HTTPRequestOperationWithRequest(client->requestWithMethod("POST", "Login.php", nullptr), {}, {});
    EXPECT_EQ(&plain->httpClass(), &HTTPRequestOperation::operationClass());
    auto xml = client->HTTPRequestOperationWithRequest(client->requestWithMethod("POST", "feed.xml", nullptr), {}, {});
    EXPECT_EQ(&xml->httpClass(), &XMLRequestOperation::operationClass());
}

TEST(HTTPClientCopies, CarryTheSettingsButNotTheCredentialAndAreIndependent)
{
    auto client = makeClient();
    client->setParameterEncoding(HTTPClient::JSONParameterEncoding);
    client->setDefaultHeader("Accept", "application/json");
    ASSERT_TRUE(client->registerHTTPOperationClass(XMLRequestOperation::operationClass()));
    client->setAllowsInvalidSSLCertificate(true);
    auto copy = client->copy();
    EXPECT_EQ(copy->baseURL(), client->baseURL());
    EXPECT_EQ(copy->parameterEncoding(), HTTPClient::JSONParameterEncoding);
    EXPECT_EQ(copy->registeredHTTPOperationClassNames(), client->registeredHTTPOperationClassNames());
    EXPECT_FALSE(copy->allowsInvalidSSLCertificate());
    EXPECT_NE(copy->operationQueue(), client->operationQueue());
    copy->setDefaultHeader("Accept", "text/xml");
    EXPECT_EQ(client->defaultValueForHeader("Accept"), "application/json");
}

TEST(HTTPClientDescription, NamesTheBaseURLAndHeaders)
{
    auto client = makeClient();
    std::string text = client->description();
    EXPECT_TRUE(text.starts_with("<HTTPClient: 0x"));
    EXPECT_NE(text.find("baseURL: http://api.example.com/v1/"), std::string::npos);
    EXPECT_NE(text.find("User-Agent"), std::string::npos);
}
