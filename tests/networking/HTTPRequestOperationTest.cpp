#include "LoopbackFixture.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "net/http/URLErrors.h"
#include "net/streams/FileOutputStream.h"
#include "networking/http/ContentTypeSet.h"
#include "networking/http/HTTPRequestOperation.h"
#include "networking/http/NetworkingErrors.h"
#include "networking/operations/JSONRequestOperation.h"
#include "networking/operations/XMLRequestOperation.h"
#include "support/TempDir.h"

#include <atomic>

using namespace networking;
using namespace std::chrono_literals;

namespace {

// A subclass made only for these tests, so that changing its class-level settings touches no other test.
class TestOperation : public HTTPRequestOperation {
public:
    using HTTPRequestOperation::HTTPRequestOperation;
    static HTTPOperationClass& operationClass()
    {
        static HTTPOperationClass descriptor({ .name = "TestOperation",
            .superclass = &HTTPRequestOperation::operationClass(),
            .make = [](net::URLRequest request) { return std::make_shared<TestOperation>(std::move(request)); },
            .acceptableStatusCodes = std::nullopt,
            .acceptableContentTypes = std::nullopt,
            .pathExtensions = {} });
        return descriptor;
    }
    const HTTPOperationClass& httpClass() const override { return operationClass(); }
};

class HTTPRequestOperationTest : public test::LoopbackFixture {
protected:
    void SetUp() override
    {
        LoopbackFixture::SetUp();
        m_server.server().Get(R"(/status/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            response.status = std::stoi(request.matches[1].str());
            // Replies of these kinds have no body; a server that sent one would break the kept-alive connection.
            if (response.status != 204 && response.status != 304)
                response.set_content("status body", "text/plain");
        });
        m_server.server().Get("/typed", [](const httplib::Request& request, httplib::Response& response) {
            response.set_content(request.get_param_value("body"), request.get_param_value("type").c_str());
        });
        m_server.server().Get("/long", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(std::string(5000, 'x'), "text/plain");
        });
        m_server.server().Get(
            "/untyped", [](const httplib::Request&, httplib::Response& response) { response.body = "caf\xC3\xA9"; });
        // Announces 5000 bytes and sends the first 1000 of them, the rest only once the gate opens.
        m_server.server().Get("/announced", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider(5000, "text/plain", [this](size_t offset, size_t, httplib::DataSink& sink) {
                if (offset > 0)
                    m_gate.wait();
                std::string part(offset > 0 ? 4000 : 1000, 'x');
                return sink.write(part.data(), part.size());
            });
        });
    }

    template <typename Operation = HTTPRequestOperation> std::shared_ptr<Operation> run(const std::string& path)
    {
        auto operation = std::make_shared<Operation>(net::URLRequest(base::URL::parse(m_server.url(path))));
        runToEnd(operation);
        return operation;
    }

    void runToEnd(const std::shared_ptr<HTTPRequestOperation>& operation)
    {
        std::atomic<bool> done { false };
        operation->setCompletionBlock([&done] {
            done = true;
            base::RunLoop::main().post([] {});
        });
        operation->start();
        EXPECT_TRUE(waitFor([&] { return done.load(); }));
    }
};

std::string typed(const char* body, const char* type) { return std::string("/typed?body=") + body + "&type=" + type; }

} // namespace

TEST_F(HTTPRequestOperationTest, ABodyLongerThanTheMemoryLimitFailsInsteadOfGrowing)
{
    m_server.start();
    auto capped = std::make_shared<HTTPRequestOperation>(net::URLRequest(base::URL::parse(m_server.url("/long"))));
    EXPECT_EQ(capped->maximumBodyBytesInMemory(), size_t(64) << 20);
    capped->setMaximumBodyBytesInMemory(4999);
    runToEnd(capped);
    ASSERT_TRUE(capped->error());
    EXPECT_EQ(capped->error()->code(), net::URLErrors::DataLengthExceedsMaximum);

    // Refused by its announced length, before a byte of it is read.
    auto announced
        = std::make_shared<HTTPRequestOperation>(net::URLRequest(base::URL::parse(m_server.url("/announced"))));
    announced->setMaximumBodyBytesInMemory(4999);
    runToEnd(announced);
    ASSERT_TRUE(announced->error());
    EXPECT_EQ(announced->error()->code(), net::URLErrors::DataLengthExceedsMaximum);
    EXPECT_EQ(announced->totalBytesRead(), 0);

    auto exact = std::make_shared<HTTPRequestOperation>(net::URLRequest(base::URL::parse(m_server.url("/long"))));
    exact->setMaximumBodyBytesInMemory(5000);
    runToEnd(exact);
    EXPECT_FALSE(exact->error());
    EXPECT_EQ(exact->responseData()->size(), 5000u);
}

TEST_F(HTTPRequestOperationTest, StatusCodesInsideTwoHundredToTwoNinetyNineSucceed)
{
    m_server.start();
    for (int code : { 200, 204, 299 })
        EXPECT_FALSE(run("/status/" + std::to_string(code))->error()) << code;
    for (int code : { 300, 304, 404, 500 }) {
        auto error = run("/status/" + std::to_string(code))->error();
        ASSERT_TRUE(error) << code;
        EXPECT_EQ(error->code(), NetworkingErrors::BadServerResponse);
        EXPECT_EQ(error->localizedDescription(), "Expected status code in (200-299), got " + std::to_string(code));
    }
}

TEST_F(HTTPRequestOperationTest, TheBaseClassAcceptsEveryContentTypeIncludingNone)
{
    m_server.start();
    EXPECT_FALSE(run(typed("x", "image/png"))->error());
    EXPECT_FALSE(run("/untyped")->error());
}

TEST_F(HTTPRequestOperationTest, SubclassesRefuseOtherContentTypesUnlessTheBodyIsEmpty)
{
    m_server.start();
    auto wrongType = run<JSONRequestOperation>(typed("%3Ca/%3E", "text/xml"));
    ASSERT_TRUE(wrongType->error());
    EXPECT_EQ(wrongType->error()->code(), NetworkingErrors::CannotDecodeContentData);
    EXPECT_NE(wrongType->error()->localizedDescription().find("got text/xml"), std::string::npos);
    EXPECT_FALSE(run<JSONRequestOperation>(typed("", "text/xml"))->HTTPError());
}

TEST_F(HTTPRequestOperationTest, TheStatusCodeErrorWinsOverTheContentTypeError)
{
    m_server.start();
    auto operation = run<JSONRequestOperation>("/status/404");
    ASSERT_TRUE(operation->error());
    EXPECT_EQ(operation->error()->code(), NetworkingErrors::BadServerResponse);
}

TEST_F(HTTPRequestOperationTest, TextWithoutCharsetIsLatinOneJSONIsUTF8AndANamedCharsetWins)
{
    m_server.start();
    auto plain = run(typed("caf%C3%A9", "text/plain"));
    EXPECT_EQ(plain->responseStringEncoding(), base::TextEncoding::ISOLatin1);
    EXPECT_EQ(plain->responseString(), "caf\xC3\x83\xC2\xA9");
    auto json = run(typed("caf%C3%A9", "application/json"));
    EXPECT_EQ(json->responseStringEncoding(), base::TextEncoding::UTF8);
    EXPECT_EQ(json->responseString(), "caf\xC3\xA9");
    // Text in UTF-8 is the received bytes themselves, read where they lie rather than copied.
    EXPECT_EQ(static_cast<const void*>(json->responseString()->data()), json->responseBody()->data());
    auto html = run(typed("caf%C3%A9", "text/html%3B%20charset=utf-8"));
    EXPECT_EQ(html->responseString(), "caf\xC3\xA9");
    auto unknown = run(typed("caf%C3%A9", "application/json%3B%20charset=x-unheard-of"));
    EXPECT_EQ(unknown->responseStringEncoding(), base::TextEncoding::UTF8);
    auto invalid = run(typed("caf%E9", "application/json"));
    EXPECT_EQ(invalid->responseString(), std::nullopt) << "not valid UTF-8";
}

TEST_F(HTTPRequestOperationTest, CallbackQueuesDecideWhereTheBlocksRun)
{
    m_server.start();
    auto operation
        = std::make_shared<HTTPRequestOperation>(net::URLRequest(base::URL::parse(m_server.url("/status/200"))));
    auto queue = base::DispatchQueue::makeSerial("test.callbacks");
    operation->setSuccessCallbackQueue(queue);
    std::atomic<bool> onMainThread { true };
    std::atomic<bool> bodyShared { false };
    std::atomic<int> calls { 0 };
    operation->setCompletionBlockWithSuccess(
        [&](const auto&, const ResponseObject& object) {
            onMainThread = base::isMainThread();
            EXPECT_EQ(std::get<base::Value>(object),
                base::Value(base::Data { 's', 't', 'a', 't', 'u', 's', ' ', 'b', 'o', 'd', 'y' }));
            // The object shares the reply's body rather than holding a second copy of it.
            bodyShared = std::get<base::Value>(object).data() == operation->reply()->body.get();
            ++calls;
            base::RunLoop::main().post([] {});
        },
        [&](const auto&, const base::Error&) { ++calls; });
    operation->start();
    ASSERT_TRUE(waitFor([&] { return calls.load() > 0; }));
    EXPECT_FALSE(onMainThread.load());
    EXPECT_TRUE(bodyShared.load());
    EXPECT_EQ(calls.load(), 1);
}

TEST_F(HTTPRequestOperationTest, StartAndFinishAreAnnouncedOnTheMainQueueAndTheStateMovesForward)
{
    m_server.start();
    auto operation
        = std::make_shared<HTTPRequestOperation>(net::URLRequest(base::URL::parse(m_server.url("/status/200"))));
    EXPECT_EQ(operation->state(), URLConnectionOperation::State::Ready);
    EXPECT_NE(operation->description().find("state: isReady, cancelled: NO request:"), std::string::npos);
    std::vector<std::string> heard;
    auto& center = base::NotificationCenter::defaultCenter();
    auto started = center.addObserver(URLConnectionOperation::DidStartNotification, operation.get(),
        [&](const base::Notification&) { heard.push_back("start"); });
    auto finished = center.addObserver(URLConnectionOperation::DidFinishNotification, operation.get(),
        [&](const base::Notification&) { heard.push_back("finish"); });
    operation->start();
    ASSERT_TRUE(waitFor([&] { return heard.size() == 2; }));
    center.removeObserver(started);
    center.removeObserver(finished);
    EXPECT_EQ(heard, (std::vector<std::string> { "start", "finish" }));
    EXPECT_TRUE(operation->isFinished());
    operation->cancel();
    EXPECT_FALSE(operation->isCancelled()) << "a finished operation cannot be cancelled";
}

TEST_F(HTTPRequestOperationTest, ACancelledOperationThatNeverStartedFinishesWithTheCancellationError)
{
    m_server.start();
    auto operation
        = std::make_shared<HTTPRequestOperation>(net::URLRequest(base::URL::parse(m_server.url("/status/200"))));
    operation->cancel();
    operation->cancel();
    std::atomic<int> failures { 0 };
    operation->setCompletionBlockWithSuccess({}, [&](const auto&, const base::Error& error) {
        EXPECT_EQ(error.code(), base::Error::URLCancelled);
        EXPECT_EQ(error.userInfoValue(base::Error::FailingURLKey)->stringValue(), m_server.url("/status/200"));
        ++failures;
    });
    operation->start();
    ASSERT_TRUE(waitFor([&] { return failures.load() > 0; }));
    EXPECT_EQ(failures.load(), 1);
    EXPECT_TRUE(m_server.received().empty());
}

TEST_F(HTTPRequestOperationTest, PausingAsksForTheRestOfTheBodyOnResume)
{
    m_server.server().Get("/download", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("ETag", "\"v1\"");
        response.set_content(std::string(1000, 'd'), "application/octet-stream");
    });
    m_server.start();
    auto operation = run("/download");
    operation->pause();
    EXPECT_EQ(*operation->request().valueForHTTPHeaderField("Range"), "bytes=1000-");
    EXPECT_EQ(*operation->request().valueForHTTPHeaderField("If-Range"), "\"v1\"");
    EXPECT_TRUE(operation->isFinished()) << "a finished operation does not pause";
}

TEST_F(HTTPRequestOperationTest, APausedOperationResumesWithANewConnection)
{
    m_server.server().Get("/hold", [this](const httplib::Request& request, httplib::Response& response) {
        if (request.has_header("Range")) {
            response.set_content("rest", "text/plain");
            return;
        }
        m_gate.wait();
    });
    m_server.start();
    auto operation = std::make_shared<HTTPRequestOperation>(net::URLRequest(base::URL::parse(m_server.url("/hold"))));
    std::atomic<bool> done { false };
    operation->setCompletionBlock([&done] {
        done = true;
        base::RunLoop::main().post([] {});
    });
    operation->start();
    operation->pause();
    EXPECT_TRUE(operation->isPaused());
    EXPECT_EQ(*operation->request().valueForHTTPHeaderField("Range"), "bytes=0-");
    operation->resume();
    ASSERT_TRUE(waitFor([&] { return done.load(); }));
    EXPECT_EQ(operation->responseString(), "rest");
}

TEST_F(HTTPRequestOperationTest, PausingAndResumingManyTimesMidTransferKeepsTheBodyWhole)
{
    // The server's threads may still be writing a paused, abandoned transfer when the test ends, so
    // they share the body rather than borrow it from this frame.
    auto shared = std::make_shared<std::string>(4 << 20, '\0');
    for (size_t index = 0; index < shared->size(); ++index)
        (*shared)[index] = static_cast<char>((index * 7 + index / 251) & 0xff);
    const std::string& file = *shared;
    // The second half waits until the test has paused at least once while the first half arrived.
    const size_t half = file.size() / 2;
    m_server.server().Get("/large", [this, shared, half](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(shared->size(), "application/octet-stream",
            [this, shared, half](size_t offset, size_t length, httplib::DataSink& sink) {
                if (offset >= half)
                    m_gate.wait();
                return sink.write(shared->data() + offset, std::min<size_t>(length, 64 << 10));
            });
    });
    m_server.start();
    auto operation = std::make_shared<HTTPRequestOperation>(net::URLRequest(base::URL::parse(m_server.url("/large"))));
    std::atomic<bool> done { false };
    operation->setCompletionBlock([&done] {
        done = true;
        base::RunLoop::main().post([] {});
    });
    // Each report of arriving bytes pauses and resumes at once, while the network thread keeps writing
    // chunks: a chunk must be kept or asked for again, never both.
    int pauses = 0;
    operation->setDownloadProgressBlock([&](int64_t, int64_t, int64_t) {
        if (pauses < 40 && !operation->isPaused() && !operation->isFinished()) {
            operation->pause();
            operation->resume();
            ++pauses;
        }
        auto kept = operation->outputStream()->dataWrittenToMemory();
        if (pauses == 40 || (kept && kept->size() >= half))
            m_gate.open();
    });
    operation->start();
    ASSERT_TRUE(waitFor([&] { return done.load(); }));
    EXPECT_GT(pauses, 0);
    EXPECT_FALSE(operation->error());
    auto body = operation->responseData();
    ASSERT_TRUE(body);
    ASSERT_EQ(body->size(), file.size());
    EXPECT_TRUE(std::equal(body->begin(), body->end(), file.begin(),
        [](uint8_t got, char expected) { return got == static_cast<uint8_t>(expected); }));
}

TEST_F(HTTPRequestOperationTest, ABodyWrittenToAFileReportsItsOffsetAndAFailedWriteFailsTheOperation)
{
    m_server.server().Get("/file", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(std::string(5000, 'f'), "application/octet-stream");
    });
    m_server.start();
    test::TempDir folder;
    auto operation = std::make_shared<HTTPRequestOperation>(net::URLRequest(base::URL::parse(m_server.url("/file"))));
    auto file = net::OutputStream::toFile(folder.path() / "voice.amr", false);
    operation->setOutputStream(file);
    std::atomic<bool> done { false };
    operation->setCompletionBlock([&done] {
        done = true;
        base::RunLoop::main().post([] {});
    });
    operation->start();
    ASSERT_TRUE(waitFor([&] { return done.load(); }));
    EXPECT_FALSE(operation->error());
    EXPECT_EQ(file->fileCurrentOffset(), 5000u);
    EXPECT_EQ(std::filesystem::file_size(folder.path() / "voice.amr"), 5000u);

    auto failing = std::make_shared<HTTPRequestOperation>(net::URLRequest(base::URL::parse(m_server.url("/file"))));
    auto full = std::make_shared<net::FileOutputStream>(folder.path() / "full.amr", false);
    full->setWriteFunction([](int, const void*, size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    });
    failing->setOutputStream(full);
    std::atomic<bool> failed { false };
    failing->setCompletionBlock([&failed] {
        failed = true;
        base::RunLoop::main().post([] {});
    });
    failing->start();
    ASSERT_TRUE(waitFor([&] { return failed.load(); }));
    ASSERT_TRUE(failing->error());
    EXPECT_EQ(failing->error()->code(), base::Error::URLCannotWriteToFile);
    EXPECT_EQ(failing->error()->underlyingError()->code(), ENOSPC);
}

TEST_F(HTTPRequestOperationTest, DownloadProgressCountsEveryByteOnTheMainThread)
{
    m_server.server().Get("/big", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(std::string(200000, 'b'), "application/octet-stream");
    });
    m_server.start();
    auto operation = std::make_shared<HTTPRequestOperation>(net::URLRequest(base::URL::parse(m_server.url("/big"))));
    int64_t lastTotal = 0;
    int64_t expected = 0;
    bool onMain = true;
    operation->setDownloadProgressBlock([&](int64_t, int64_t total, int64_t expectedLength) {
        lastTotal = total;
        expected = expectedLength;
        onMain = onMain && base::isMainThread();
    });
    operation->start();
    ASSERT_TRUE(waitFor([&] { return lastTotal == 200000; }));
    EXPECT_EQ(expected, 200000);
    EXPECT_TRUE(onMain);
    EXPECT_EQ(operation->totalBytesRead(), 200000);
}

TEST(HTTPOperationClassSettings, AddingContentTypesToAClassWithoutThemLimitsItToThoseTypes)
{
    auto& testClass = TestOperation::operationClass();
    EXPECT_EQ(testClass.acceptableContentTypes(), std::nullopt);
    testClass.addAcceptableContentTypes({ "application/x-lumet" });
    EXPECT_EQ(testClass.acceptableContentTypes(), ContentTypeSet { "application/x-lumet" });
    EXPECT_EQ(HTTPRequestOperation::operationClass().acceptableContentTypes(), std::nullopt)
        << "the superclass keeps its own";
    testClass.addAcceptableStatusCodes(IndexSet { 304 });
    EXPECT_EQ(testClass.acceptableStatusCodes().rangeListString(), "200-299,304");
    EXPECT_EQ(HTTPRequestOperation::operationClass().acceptableStatusCodes().rangeListString(), "200-299");
}

TEST(HTTPOperationClassSettings, RequestsAreMatchedByExtensionOrAcceptedType)
{
    auto request = [](const char* url, const char* accept) {
        net::URLRequest made(base::URL::parse(url));
        if (accept)
            made.setValue(accept, "Accept");
        return made;
    };
    auto& xml = XMLRequestOperation::operationClass();
    EXPECT_FALSE(xml.canProcessRequest(request("http://h/a.php", "application/json")));
    EXPECT_TRUE(xml.canProcessRequest(request("http://h/a.xml", "application/json")));
    EXPECT_TRUE(xml.canProcessRequest(request("http://h/a", "text/xml;q=0.9")));
    EXPECT_TRUE(xml.canProcessRequest(request("http://h/a", "application/xml, text/html;q=0.9")));
    EXPECT_FALSE(xml.canProcessRequest(request("http://h/a", nullptr)));
    EXPECT_FALSE(xml.canProcessRequest(request("http://h/a.XML", nullptr))) << "extensions compare with their case";
    EXPECT_TRUE(HTTPRequestOperation::operationClass().canProcessRequest(request("http://h/a", nullptr)));
}

TEST(ContentTypeSet, SplitsAtCommasAndDropsParameters)
{
    std::string header = "text/html, application/xhtml+xml;q=0.9, */*;q=0.8, ,";
    EXPECT_EQ(contentTypeSetFromHeader(&header), (ContentTypeSet { "text/html", "application/xhtml+xml", "*/*" }));
    EXPECT_EQ(contentTypeSetFromHeader(nullptr), std::nullopt);
}

TEST(IndexSet, RangeTextGroupsRuns)
{
    EXPECT_EQ(IndexSet::range(200, 100).rangeListString(), "200-299");
    EXPECT_EQ((IndexSet { 1, 3, 4, 5, 9 }).rangeListString(), "1,3-5,9");
    EXPECT_EQ(IndexSet().rangeListString(), "");
}
