#include "LoopbackFixture.h"

#include "base/values/Array.h"
#include "base/loop/MainThread.h"
#include "networking/operations/JSONRequestOperation.h"
#include "networking/operations/PropertyListRequestOperation.h"
#include "networking/operations/XMLRequestOperation.h"

#include <atomic>

using namespace networking;

namespace {

// Records the elements an XML reply holds.
class ElementRecorder : public XMLParserDelegate {
public:
    std::vector<std::string> elements;
    std::string text;
    void didStartElement(XMLParser&, const std::string& name, const std::string&, const std::string&,
        const Attributes& attributes) override
    {
        elements.push_back(name + (attributes.empty() ? "" : "@" + attributes.begin()->second));
    }
    void foundCharacters(XMLParser&, const std::string& characters) override { text += characters; }
};

class ContentTypedOperationTest : public test::LoopbackFixture {
protected:
    void SetUp() override
    {
        LoopbackFixture::SetUp();
        m_server.server().Get("/reply", [this](const httplib::Request&, httplib::Response& response) {
            response.status = m_status;
            response.set_content(m_body, m_type.c_str());
        });
        m_server.start();
    }

    void serve(std::string body, std::string type, int status = 200)
    {
        m_body = std::move(body);
        m_type = std::move(type);
        m_status = status;
    }

    net::URLRequest request() const { return net::URLRequest(base::URL::parse(m_server.url("/reply"))); }

    std::string m_body;
    std::string m_type;
    int m_status { 200 };
};

struct JSONOutcome {
    int successes { 0 };
    int failures { 0 };
    bool onMain { true };
    std::optional<base::Value> json;
    std::optional<base::Error> error;
};

std::shared_ptr<JSONRequestOperation> jsonOperation(const net::URLRequest& request, JSONOutcome& outcome)
{
    return JSONRequestOperation::JSONRequestOperationWithRequest(
        request,
        [&outcome](const auto&, const auto&, const std::optional<base::Value>& json) {
            ++outcome.successes;
            outcome.onMain = outcome.onMain && base::isMainThread();
            outcome.json = json;
        },
        [&outcome](const auto&, const auto&, const base::Error& error, const auto&) {
            ++outcome.failures;
            outcome.onMain = outcome.onMain && base::isMainThread();
            outcome.error = error;
        });
}

} // namespace

TEST_F(ContentTypedOperationTest, JSONRepliesAreReadIntoValues)
{
    serve(R"({"d":[1,"two"]})", "application/json");
    JSONOutcome outcome;
    jsonOperation(request(), outcome)->start();
    ASSERT_TRUE(waitFor([&] { return outcome.successes + outcome.failures > 0; }));
    ASSERT_EQ(outcome.successes, 1);
    EXPECT_TRUE(outcome.onMain);
    ASSERT_TRUE(outcome.json && outcome.json->isDictionary());
    EXPECT_EQ(outcome.json->dictionary()->objectForKey("d")->array()->count(), 2u);
}

TEST_F(ContentTypedOperationTest, UTF8ServedAsTextJSONWithoutACharsetIsNotGarbled)
{
    serve(R"({"name":"Zoë 小明"})", "text/json");
    JSONOutcome outcome;
    jsonOperation(request(), outcome)->start();
    ASSERT_TRUE(waitFor([&] { return outcome.successes + outcome.failures > 0; }));
    ASSERT_EQ(outcome.successes, 1);
    EXPECT_EQ(outcome.json->dictionary()->objectForKey("name")->stringValue(), "Zoë 小明");
}

TEST_F(ContentTypedOperationTest, ANamedCharsetIsHonoured)
{
    serve(std::string("{\"name\":\"Zo\xEB\"}"), "text/javascript; charset=iso-8859-1");
    JSONOutcome outcome;
    jsonOperation(request(), outcome)->start();
    ASSERT_TRUE(waitFor([&] { return outcome.successes + outcome.failures > 0; }));
    ASSERT_EQ(outcome.successes, 1);
    EXPECT_EQ(outcome.json->dictionary()->objectForKey("name")->stringValue(), "Zoë");
}

TEST_F(ContentTypedOperationTest, ASingleSpaceSucceedsWithNoValue)
{
    serve(" ", "application/json");
    JSONOutcome outcome;
    jsonOperation(request(), outcome)->start();
    ASSERT_TRUE(waitFor([&] { return outcome.successes + outcome.failures > 0; }));
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(outcome.json, std::nullopt);
}

TEST_F(ContentTypedOperationTest, BadJSONAndBadStatusFail)
{
    serve("{\"d\":", "application/json");
    JSONOutcome broken;
    auto operation = jsonOperation(request(), broken);
    operation->start();
    ASSERT_TRUE(waitFor([&] { return broken.successes + broken.failures > 0; }));
    EXPECT_EQ(broken.failures, 1);
    EXPECT_EQ(broken.error->domain(), "JSONErrorDomain");
    EXPECT_TRUE(operation->JSONError());

    serve(R"({"d":1})", "application/json", 404);
    JSONOutcome missing;
    auto notFound = jsonOperation(request(), missing);
    notFound->start();
    ASSERT_TRUE(waitFor([&] { return missing.successes + missing.failures > 0; }));
    EXPECT_EQ(missing.failures, 1);
    EXPECT_EQ(missing.error->code(), -1011);
    EXPECT_FALSE(notFound->JSONError()) << "the body of a refused reply is never read";
}

TEST_F(ContentTypedOperationTest, PropertyListRepliesAreReadInEitherFormat)
{
    auto expected = base::Value(base::Dictionary::make({ { "count", 3 }, { "name", "Lumet" } }));
    for (auto format : { PropertyListFormat::XML, PropertyListFormat::Binary }) {
        auto bytes = *PropertyListSerialization::dataWithPropertyList(expected, format);
        serve(std::string(bytes.begin(), bytes.end()), "application/x-plist");
        std::optional<base::Value> list;
        int calls = 0;
        auto operation = PropertyListRequestOperation::propertyListRequestOperationWithRequest(
            request(),
            [&](const auto&, const auto&, const std::optional<base::Value>& received) {
                list = received;
                ++calls;
            },
            [&](const auto&, const auto&, const base::Error&, const auto&) { ++calls; });
        operation->start();
        ASSERT_TRUE(waitFor([&] { return calls > 0; }));
        ASSERT_TRUE(list);
        EXPECT_EQ(*list, expected);
        EXPECT_EQ(operation->propertyListFormat(), format);
    }
}

TEST_F(ContentTypedOperationTest, XMLRepliesComeWithAParserTheReceiverRuns)
{
    serve(R"(<?xml version="1.0"?><devices><device id="7">Watch</device></devices>)", "text/xml");
    auto recorder = std::make_shared<ElementRecorder>();
    bool parsed = false;
    XMLRequestOperation::XMLParserRequestOperationWithRequest(
        request(),
        [&](const auto&, const auto&, const std::shared_ptr<XMLParser>& parser) {
            parser->setDelegate(recorder);
            parsed = parser->parse();
        },
        nullptr)
        ->start();
    ASSERT_TRUE(waitFor([&] { return parsed; }));
    EXPECT_EQ(recorder->elements, (std::vector<std::string> { "devices", "device@7" }));
    EXPECT_EQ(recorder->text, "Watch");
}

TEST(XMLParser, MalformedDocumentsAndEntityTricksFailWithoutReadingAnythingElse)
{
    auto parse = [](const std::string& text) {
        XMLParser parser(base::Data(text.begin(), text.end()));
        auto recorder = std::make_shared<ElementRecorder>();
        parser.setDelegate(recorder);
        bool ok = parser.parse();
        return std::pair(ok, recorder->text);
    };
    EXPECT_FALSE(parse("<a><b></a>").first);
    auto external = parse(R"(<?xml version="1.0"?><!DOCTYPE a [<!ENTITY e SYSTEM "file:///etc/passwd">]><a>&e;</a>)");
    EXPECT_EQ(external.second.find("root:"), std::string::npos);
    std::string laughs = R"(<?xml version="1.0"?><!DOCTYPE a [<!ENTITY l0 "lol">)";
    for (int i = 1; i < 12; ++i) {
        std::string previous = "&l" + std::to_string(i - 1) + ";";
        std::string tenfold;
        for (int copy = 0; copy < 10; ++copy)
            tenfold += previous;
        laughs += "<!ENTITY l" + std::to_string(i) + " \"" + tenfold + "\">";
    }
    laughs += "]><a>&l11;</a>";
    EXPECT_FALSE(parse(laughs).first) << "an expansion bomb is refused";
}

TEST(XMLParser, AbortingStopsTheParseWithAnError)
{
    class Aborter : public XMLParserDelegate {
        void didStartElement(
            XMLParser& parser, const std::string&, const std::string&, const std::string&, const Attributes&) override
        {
            ++starts;
            parser.abortParsing();
        }

    public:
        int starts { 0 };
    };
    std::string text = "<a><b/><c/></a>";
    XMLParser parser(base::Data(text.begin(), text.end()));
    auto aborter = std::make_shared<Aborter>();
    parser.setDelegate(aborter);
    EXPECT_FALSE(parser.parse());
    EXPECT_EQ(aborter->starts, 1);
    EXPECT_EQ(parser.parserError()->code(), XMLParser::AbortedError);
    EXPECT_FALSE(parser.parse()) << "a parser runs once";
}
