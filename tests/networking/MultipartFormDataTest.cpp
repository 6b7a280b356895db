#include "LoopbackFixture.h"

#include "networking/http/HTTPClient.h"
#include "networking/http/NetworkingErrors.h"
#include "support/TempDir.h"

#include <atomic>
#include <fstream>

using namespace networking;
using namespace std::chrono_literals;

namespace {

const std::string B = HTTPBodyPart::Boundary;

// Reads a request's body stream from the main thread, letting the main loop run the provider meanwhile.
class BodyReader {
public:
    explicit BodyReader(std::shared_ptr<net::InputStream> stream)
        : m_stream(std::move(stream))
    {
        m_stream->open();
    }

    // Reads what is there now; true once the stream has ended or failed.
    bool readAvailable()
    {
        while (!m_ended && m_stream->hasBytesAvailable()) {
            uint8_t buffer[8192];
            ptrdiff_t count = m_stream->read(buffer, sizeof buffer);
            if (count <= 0) {
                m_ended = true;
                m_failed = count < 0;
                break;
            }
            m_chunks.push_back(static_cast<size_t>(count));
            m_body.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(count));
        }
        return m_ended;
    }
    bool readAll()
    {
        return base::RunLoop::main().runUntil([this] { return readAvailable(); }, 10s);
    }

    const std::string& body() const { return m_body; }
    const std::vector<size_t>& chunks() const { return m_chunks; }
    bool failed() const { return m_failed; }

private:
    std::shared_ptr<net::InputStream> m_stream;
    std::string m_body;
    std::vector<size_t> m_chunks;
    bool m_ended { false };
    bool m_failed { false };
};

class MultipartFormDataTest : public test::LoopbackFixture {
protected:
    std::shared_ptr<HTTPClient> m_client = HTTPClient::clientWithBaseURL(*base::URL::parse("http://api.example.com/"));
    test::TempDir m_folder;

    base::URL writeFile(const std::string& name, const std::string& contents)
    {
        std::ofstream(m_folder.path() / name, std::ios::binary) << contents;
        return base::URL::fileURL(m_folder.path() / name);
    }
};

} // namespace

TEST_F(MultipartFormDataTest, ASingleFieldHasTheExactWireFormatAndLength)
{
    auto request
        = m_client->multipartFormRequestWithMethod("POST", "upload", base::Dictionary::make({ { "a", "1" } }), {});
    std::string expected = "--" + B + "\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n--" + B + "--\r\n";
    EXPECT_EQ(*request.valueForHTTPHeaderField("Content-Type"), "multipart/form-data; boundary=" + B);
    EXPECT_EQ(*request.valueForHTTPHeaderField("Content-Length"), std::to_string(expected.size()));
    BodyReader reader(request.httpBodyStream());
    ASSERT_TRUE(reader.readAll());
    EXPECT_FALSE(reader.failed());
    EXPECT_EQ(reader.body(), expected);
}

TEST_F(MultipartFormDataTest, PartsFollowEachOtherWithTheirHeaders)
{
    auto request
        = m_client->multipartFormRequestWithMethod("POST", "upload", nullptr, [](StreamingMultipartFormData& form) {
              form.appendPartWithFormData(base::Data { 'x' }, "first");
              form.appendPartWithFileData(base::Data { 'y', 'z' }, "photo", "me.jpg", "image/jpeg");
          });
    std::string expected = "--" + B + "\r\nContent-Disposition: form-data; name=\"first\"\r\n\r\nx\r\n--" + B
        + "\r\nContent-Disposition: form-data; name=\"photo\"; filename=\"me.jpg\"\r\nContent-Type: "
          "image/jpeg\r\n\r\nyz"
        + "\r\n--" + B + "--\r\n";
    BodyReader reader(request.httpBodyStream());
    ASSERT_TRUE(reader.readAll());
    EXPECT_EQ(reader.body(), expected);
    EXPECT_EQ(*request.valueForHTTPHeaderField("Content-Length"), std::to_string(expected.size()));
}

TEST_F(MultipartFormDataTest, AFormWithoutPartsLeavesTheRequestAsItWas)
{
    auto request = m_client->multipartFormRequestWithMethod("POST", "upload", nullptr, {});
    EXPECT_EQ(*request.valueForHTTPHeaderField("Content-Type"), "application/json; charset=utf8");
    EXPECT_FALSE(request.valueForHTTPHeaderField("Content-Length"));
    EXPECT_FALSE(request.httpBodyStream());
}

TEST_F(MultipartFormDataTest, FilePartsNeedAReachableFileURL)
{
    net::URLRequest request(base::URL::parse("http://api.example.com/upload"));
    StreamingMultipartFormData form(request, base::TextEncoding::UTF8);
    base::Error notAFile;
    EXPECT_FALSE(form.appendPartWithFileURL(*base::URL::parse("http://h/x.jpg"), "photo", &notAFile));
    EXPECT_EQ(notAFile.code(), NetworkingErrors::MultipartPart);
    EXPECT_EQ(
        notAFile.userInfoValue(base::Error::LocalizedFailureReasonKey)->stringValue(), "Expected URL to be a file URL");
    base::Error missing;
    EXPECT_FALSE(form.appendPartWithFileURL(base::URL::fileURL(m_folder.path() / "none.jpg"), "photo", &missing));
    EXPECT_EQ(missing.userInfoValue(base::Error::LocalizedFailureReasonKey)->stringValue(), "File URL not reachable.");
    EXPECT_FALSE(form.bodyStream()->contentLength());
    EXPECT_TRUE(form.bodyStream()->isEmpty());
}

TEST_F(MultipartFormDataTest, DataHoldingTheBoundaryFailsTheBuild)
{
    base::Error error;
    std::string clash = "abc--" + B + "def";
    auto request = m_client->multipartFormRequestWithMethod(
        "POST", "upload", nullptr,
        [&](StreamingMultipartFormData& form) {
            form.appendPartWithFormData(base::Data(clash.begin(), clash.end()), "note");
        },
        &error);
    EXPECT_EQ(error.code(), NetworkingErrors::MultipartPart);
    EXPECT_NE(error.localizedDescription().find("\"note\""), std::string::npos);
    EXPECT_FALSE(request.httpBodyStream());
}

TEST_F(MultipartFormDataTest, AFieldTheEncodingCannotWriteFailsTheBuild)
{
    m_client->setStringEncoding(base::TextEncoding::ASCII);
    base::Error error;
    m_client->multipartFormRequestWithMethod(
        "POST", "upload", base::Dictionary::make({ { "greeting", "Grüße" } }), {}, &error);
    EXPECT_EQ(error.code(), NetworkingErrors::InapplicableStringEncoding);
    EXPECT_NE(error.localizedDescription().find("greeting"), std::string::npos);
}

TEST_F(MultipartFormDataTest, AnUploadReachesTheServerPartByPart)
{
    std::string voice(100000, 'v');
    m_server.server().Post("/upload", [&](const httplib::Request& request, httplib::Response& response) {
        EXPECT_EQ(request.get_file_value("serial").content, "8800");
        EXPECT_EQ(request.get_file_value("voice").filename, "message.amr");
        EXPECT_EQ(request.get_file_value("voice").content == voice, true);
        response.set_content("stored", "text/plain");
    });
    m_server.start();
    auto fileURL = writeFile("message.amr", voice);
    base::Error error;
    auto request = m_client->multipartFormRequestWithMethod("POST", m_server.url("/upload"),
        base::Dictionary::make({ { "serial", 8800 } }),
        [&](StreamingMultipartFormData& form) { EXPECT_TRUE(form.appendPartWithFileURL(fileURL, "voice", &error)); });
    ASSERT_TRUE(error.isEmpty());
    std::optional<std::string> reply;
    m_client->enqueueHTTPRequestOperation(m_client->HTTPRequestOperationWithRequest(
        request, [&](const auto& operation, const ResponseObject&) { reply = operation->responseString(); },
        [&](const auto&, const base::Error& failure) { reply = "failed: " + failure.description(); }));
    ASSERT_TRUE(waitFor([&] { return reply.has_value(); }));
    EXPECT_EQ(reply, "stored");
    EXPECT_EQ(m_server.received().size(), 1u);
}

TEST_F(MultipartFormDataTest, APartThatFailsWhileStreamingFailsTheCallNamingIt)
{
    std::atomic<bool> handled { false };
    m_server.server().Post("/upload", [&](const httplib::Request&, httplib::Response& response) {
        handled = true;
        response.set_content("stored", "text/plain");
    });
    m_server.start();
    auto fileURL = writeFile("message.amr", std::string(50000, 'v'));
    auto request = m_client->multipartFormRequestWithMethod("POST", m_server.url("/upload"), nullptr,
        [&](StreamingMultipartFormData& form) { EXPECT_TRUE(form.appendPartWithFileURL(fileURL, "voice")); });
    // The file shrinks after it was added: the form can no longer be what its length announced.
    std::filesystem::resize_file(fileURL.filePath(), 100);
    std::optional<base::Error> failure;
    int successes = 0;
    m_client->enqueueHTTPRequestOperation(m_client->HTTPRequestOperationWithRequest(
        request, [&](const auto&, const ResponseObject&) { ++successes; },
        [&](const auto&, const base::Error& error) { failure = error; }));
    ASSERT_TRUE(waitFor([&] { return failure.has_value() || successes > 0; }));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->domain(), NetworkingErrors::Domain);
    EXPECT_EQ(failure->code(), NetworkingErrors::MultipartPart);
    EXPECT_NE(failure->localizedDescription().find("\"voice\""), std::string::npos);
    EXPECT_FALSE(handled.load()) << "the server never got a whole form";
}

TEST_F(MultipartFormDataTest, ThrottlingWaitsOnTheRunLoopBetweenPacketsNeverBlockingIt)
{
    auto request
        = m_client->multipartFormRequestWithMethod("POST", "upload", nullptr, [](StreamingMultipartFormData& form) {
              form.throttleBandwidthWithPacketSize(1024, 0.2s);
              form.appendPartWithFileData(base::Data(3000, 'p'), "photo", "p.jpg", "image/jpeg");
          });
    BodyReader reader(request.httpBodyStream());
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return !reader.readAvailable() && !reader.body().empty(); }, 10s));
    size_t firstPacket = reader.body().size();
    EXPECT_GT(firstPacket, 0u);
    EXPECT_LE(firstPacket, 1024u);
    // The size check below tells whether a packet came early.
    for (int turn = 0; turn < 5; ++turn)
        (void)base::RunLoop::main().runUntil([&] { return reader.readAvailable(); }, 0s);
    EXPECT_EQ(reader.body().size(), firstPacket) << "the next packet waits for the delay";
    int delays = 0;
    while (!reader.readAvailable() && delays < 20) {
        m_clock->advance(0.2s);
        ++delays;
    }
    EXPECT_TRUE(reader.readAvailable());
    EXPECT_EQ(reader.body().size(),
        request.valueForHTTPHeaderField("Content-Length")
            ? std::stoul(*request.valueForHTTPHeaderField("Content-Length"))
            : 0);
    EXPECT_GE(delays, 3);
    for (size_t chunk : reader.chunks())
        EXPECT_LE(chunk, 1024u);
}
