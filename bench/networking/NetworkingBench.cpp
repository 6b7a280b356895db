// Web calls through HTTPClient beside plain libcurl, against one cpp-httplib server (256 workers) in a process
// of its own, so that its threads do not compete with the measured one: 2,000 sequential POSTs of a 200-byte
// JSON body over a kept-alive connection (libcurl: one reused easy handle), the same with a 64 KB JSON reply
// (500 calls) of ASCII device records, of records that carry a Chinese name (a sixth of the bytes) and of
// Chinese text, and 200 POSTs in flight at once (libcurl: one multi handle driven on this thread). Both sides
// write each call's parameters as its JSON body through the same writer (ours inside the client), and read
// each reply as text: ours checks that it is UTF-8, as the charset it declares says, and the libcurl side
// makes the same check on what it collected. Ours runs its transfers on the main loop's own poll; each case
// also reports, per call, how often the main thread blocked (its voluntary context switches) and its CPU time
// in user and kernel mode, the socket and timer events the loop handed to libcurl, and the C++ allocations.
#include "ReplyTexts.h"
#include "ServerProcess.h"
#include "base/loop/RunLoop.h"
#include "base/values/Dictionary.h"
#include "net/loading/MainLoopTransfers.h"
#include "networking/http/HTTPClient.h"
#include "json/JSONSerializer.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <curl/curl.h>
#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <new>
#include <simdjson.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <vector>

// Every C++ allocation of the process is counted (libcurl's own, through malloc, are not), so that a case can
// report the allocations one call costs.
namespace {
std::atomic<uint64_t> allocations { 0 };
}

void* operator new(size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

// The replaced operator new above allocates with malloc, so free is the matching release; GCC cannot see
// the replacement once it inlines these into callers and warns wrongly.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept { std::free(block); }

void operator delete(void* block, size_t) noexcept { std::free(block); }
#pragma GCC diagnostic pop

namespace {

constexpr int SequentialCalls = 2000;
constexpr int LargeReplyCalls = 500;
constexpr int CallsInFlight = 200;

class BenchServer {
public:
    BenchServer()
    {
        m_server.new_task_queue = [] { return new httplib::ThreadPool(256); };
        m_server.set_keep_alive_max_count(1000000);
        m_server.set_socket_options([this](socket_t socket) {
            int yes = 1;
            setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
            setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
            m_socket = socket;
        });
        m_server.Post(
            "/Server/Mobileservice.asmx/GetDeviceDetial", [](const httplib::Request&, httplib::Response& response) {
                response.set_content(
                    R"({"d":"{\"State\":\"1\",\"Battery\":\"87\"}"})", "application/json; charset=utf-8");
            });
        for (const bench::ReplyText& reply : bench::replyTexts())
            m_server.Post(std::string("/Server/Mobileservice.asmx/") + reply.name,
                [&reply](const httplib::Request&, httplib::Response& response) {
                    response.set_content(reply.text, "application/json; charset=utf-8");
                });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        ::listen(m_socket, 1024);
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::yield();
    }
    ~BenchServer()
    {
        m_server.stop();
        m_thread.join();
    }
    int port() const { return m_port; }

private:
    httplib::Server m_server;
    socket_t m_socket { -1 };
    int m_port { 0 };
    std::thread m_thread;
};

// The server process, started once and let go when the benchmarks end.
bench::ServerProcess& server()
{
    static bench::ServerProcess shared;
    return shared;
}

std::string methodURL(const char* method = "GetDeviceDetial")
{
    return "http://127.0.0.1:" + std::to_string(server().port()) + "/Server/Mobileservice.asmx/" + method;
}

// Parameters whose compact JSON text is exactly 200 bytes.
base::DictionaryRef parameters()
{
    auto make = [](size_t padding) {
        return base::Dictionary::make({ { "serialNumber", "8800123456789" }, { "loginName", "owner@example.com" },
            { "mapType", 1 }, { "note", std::string(padding, 'n') } });
    };
    size_t base = json::JSONString(base::Value(make(0)))->size();
    return make(200 - base);
}

// A call's body: its parameters written as JSON.
std::string body(const base::DictionaryRef& parameters) { return *json::JSONString(base::Value(parameters)); }

void setBody(CURL* easy, const std::string& payload)
{
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, payload.c_str());
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(payload.size()));
}

std::shared_ptr<networking::HTTPClient> serviceClient()
{
    auto client = networking::HTTPClient::clientWithBaseURL(*base::URL::parse("https://service.example.com/"));
    client->setDefaultHeader("Accept", "application/json");
    client->setDefaultHeader("Cookie", "ASP.NET_SessionId=bench");
    client->setParameterEncoding(networking::HTTPClient::JSONParameterEncoding);
    return client;
}

// The header fields ours sends: the client's defaults (its language and user agent among them), the body's
// type and no "100-continue", so that both sides put the same request on the wire.
curl_slist* curlHeaders()
{
    auto client = serviceClient();
    curl_slist* headers = nullptr;
    for (const char* name : { "Accept", "Accept-Language", "Cookie", "User-Agent" }) {
        std::string line = std::string(name) + ": " + client->defaultValueForHeader(name).value_or("");
        headers = curl_slist_append(headers, line.c_str());
    }
    for (const char* line : { "Content-Type: application/json; charset=utf-8", "Expect:" })
        headers = curl_slist_append(headers, line);
    return headers;
}

size_t collect(char* data, size_t size, size_t count, void* target)
{
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

void setUpEasy(CURL* easy, const std::string& url, curl_slist* headers, std::string* reply)
{
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, reply);
    curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
}

rusage mainThreadUsage()
{
    rusage usage {};
    getrusage(RUSAGE_THREAD, &usage);
    return usage;
}

double microseconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) * 1e6 + static_cast<double>(time.tv_usec);
}

struct Tally {
    rusage usage = mainThreadUsage();
    uint64_t events = net::MainLoopTransfers::shared().eventsHandled();
    uint64_t allocations = ::allocations.load();
};

// The main thread's wakes (how often it blocked) and its CPU time in user and kernel mode, the loop's socket
// and timer events, and the C++ allocations, per call.
void countPerCall(benchmark::State& state, const Tally& before, int calls)
{
    Tally after;
    double made = static_cast<double>(state.iterations() * calls);
    state.counters["main_wakes_per_call"] = static_cast<double>(after.usage.ru_nvcsw - before.usage.ru_nvcsw) / made;
    state.counters["main_user_us_per_call"]
        = (microseconds(after.usage.ru_utime) - microseconds(before.usage.ru_utime)) / made;
    state.counters["main_system_us_per_call"]
        = (microseconds(after.usage.ru_stime) - microseconds(before.usage.ru_stime)) / made;
    state.counters["loop_events_per_call"] = static_cast<double>(after.events - before.events) / made;
    state.counters["allocs_per_call"] = static_cast<double>(after.allocations - before.allocations) / made;
}

void sequentialOurs(benchmark::State& state, const char* method, int calls)
{
    auto client = serviceClient();
    auto payload = parameters();
    std::string url = methodURL(method);
    Tally before;
    for (auto _ : state) {
        int done = 0;
        bool failed = false;
        std::function<void()> next;
        next = [&] {
            client->postPath(
                url, payload,
                [&](const auto& operation, const networking::ResponseObject&) {
                    benchmark::DoNotOptimize(operation->responseString());
                    if (++done < calls)
                        next();
                },
                [&](const auto&, const base::Error&) { failed = true; });
        };
        next();
        bool finished
            = base::RunLoop::main().runUntil([&] { return done == calls || failed; }, std::chrono::seconds(120));
        if (failed)
            state.SkipWithError("a call failed");
        else if (!finished)
            state.SkipWithError("the calls did not finish in time");
    }
    countPerCall(state, before, calls);
    state.SetItemsProcessed(state.iterations() * calls);
}

void sequentialCurl(benchmark::State& state, const char* method, int calls)
{
    std::string url = methodURL(method);
    auto callParameters = parameters();
    curl_slist* headers = curlHeaders();
    CURL* easy = curl_easy_init();
    std::string reply;
    setUpEasy(easy, url, headers, &reply);
    Tally before;
    for (auto _ : state) {
        for (int call = 0; call < calls; ++call) {
            std::string payload = body(callParameters);
            setBody(easy, payload);
            reply.clear();
            if (curl_easy_perform(easy) != CURLE_OK || !simdjson::validate_utf8(reply.data(), reply.size())) {
                state.SkipWithError("a call failed");
                break;
            }
            benchmark::DoNotOptimize(reply);
        }
    }
    countPerCall(state, before, calls);
    curl_easy_cleanup(easy);
    curl_slist_free_all(headers);
    state.SetItemsProcessed(state.iterations() * calls);
}

void inFlightOurs(benchmark::State& state)
{
    auto client = serviceClient();
    auto payload = parameters();
    std::string url = methodURL();
    Tally before;
    for (auto _ : state) {
        int done = 0;
        bool failed = false;
        for (int call = 0; call < CallsInFlight; ++call)
            client->postPath(
                url, payload, [&](const auto&, const networking::ResponseObject&) { ++done; },
                [&](const auto&, const base::Error&) {
                    failed = true;
                    ++done;
                });
        bool finished
            = base::RunLoop::main().runUntil([&] { return done == CallsInFlight; }, std::chrono::seconds(120));
        if (failed)
            state.SkipWithError("a call failed");
        else if (!finished)
            state.SkipWithError("the calls did not finish in time");
    }
    countPerCall(state, before, CallsInFlight);
    state.SetItemsProcessed(state.iterations() * CallsInFlight);
}

void inFlightCurl(benchmark::State& state)
{
    std::string url = methodURL();
    auto callParameters = parameters();
    curl_slist* headers = curlHeaders();
    CURLM* multi = curl_multi_init();
    std::vector<CURL*> handles(CallsInFlight);
    std::vector<std::string> payloads(CallsInFlight);
    std::vector<std::string> replies(CallsInFlight);
    for (int call = 0; call < CallsInFlight; ++call) {
        handles[call] = curl_easy_init();
        setUpEasy(handles[call], url, headers, &replies[call]);
    }
    Tally before;
    for (auto _ : state) {
        for (int call = 0; call < CallsInFlight; ++call) {
            payloads[call] = body(callParameters);
            setBody(handles[call], payloads[call]);
            replies[call].clear();
            curl_multi_add_handle(multi, handles[call]);
        }
        int running = 0;
        do {
            curl_multi_perform(multi, &running);
            if (running)
                curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
        } while (running);
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
            if (message->msg == CURLMSG_DONE && message->data.result != CURLE_OK)
                state.SkipWithError("a call failed");
        }
        for (CURL* handle : handles)
            curl_multi_remove_handle(multi, handle);
    }
    countPerCall(state, before, CallsInFlight);
    for (CURL* handle : handles)
        curl_easy_cleanup(handle);
    curl_multi_cleanup(multi);
    curl_slist_free_all(headers);
    state.SetItemsProcessed(state.iterations() * CallsInFlight);
}

} // namespace

int main(int argc, char** argv)
{
    if (bench::startedToServe(argc, argv)) {
        BenchServer served;
        bench::serveUntilReleased(served.port());
        return 0;
    }
    curl_global_init(CURL_GLOBAL_DEFAULT);
    server();
    benchmark::RegisterBenchmark("SequentialPost/ours/2000x200B", sequentialOurs, "GetDeviceDetial", SequentialCalls)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SequentialPost/libcurl/2000x200B", sequentialCurl, "GetDeviceDetial", SequentialCalls)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    for (const bench::ReplyText& reply : bench::replyTexts()) {
        std::string input = std::to_string(LargeReplyCalls) + "x" + reply.name;
        benchmark::RegisterBenchmark(("LargeReply/ours/" + input).c_str(), sequentialOurs, reply.name, LargeReplyCalls)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(
            ("LargeReply/libcurl/" + input).c_str(), sequentialCurl, reply.name, LargeReplyCalls)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("InFlight/ours/200x200B", inFlightOurs)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("InFlight/libcurl/200x200B", inFlightCurl)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Our kept-alive connections close before the server goes.
    net::MainLoopTransfers::shared().stop();
    return 0;
}
