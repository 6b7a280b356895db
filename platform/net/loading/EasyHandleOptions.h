// net::EasyHandleOptions: what a pooled easy handle was last set to, so that the next connection sets only the
// options that differ. libcurl keeps every option of a handle from one transfer to the next, and setting one
// again to the value it holds costs a call and, for a string, a copy. Each setter sets its options when the
// wanted values differ from those recorded (or none are recorded yet) and records them; a value held by
// pointer (the body, the header list) is compared by address, as libcurl reads it only during a transfer.
//
// The handle's callbacks and its error messages go through the object itself, set once on the handle by
// attach: the connection using the handle names itself as the owner, which the callbacks' data leads to.
//
// Used by one connection at a time on the main thread; lives with its handle in the pool.
//
//   options.attach(easy);                          // once, and again after curl_easy_reset with forget()
//   options.setOwner(this);
//   options.setURL(easy, url);                     // a call only when the URL differs from the last one
//   auto* self = static_cast<Connection*>(EasyHandleOptions::ownerOf(callbackData));
#pragma once

#include <curl/curl.h>

#include <optional>
#include <string>

namespace net {

class EasyHandleOptions {
public:
    // How a request's method and body are put to libcurl.
    struct MethodAndBody {
        // The body's length, or -1 when a stream announces none (or nothing is sent).
        curl_off_t bodyLength { -1 };
        // The body's bytes; null when there is none or a stream supplies it.
        const char* fields { nullptr };
        bool head { false };
        bool sendsBody { false };
        // A method libcurl would not send by itself; null for none.
        const char* customMethod { nullptr };
    };

    // Points the handle's callback data and error buffer at this object.
    void attach(CURL* easy);
    void setOwner(void* owner) { m_owner = owner; }
    static void* ownerOf(void* callbackData) { return static_cast<EasyHandleOptions*>(callbackData)->m_owner; }
    char* errorBuffer() { return m_errorBuffer; }

    void setURL(CURL* easy, const std::string& url);
    void setConnectTimeout(CURL* easy, long milliseconds);
    void setVerifiesServer(CURL* easy, bool verifies);
    // The user and password (both null for none) and the authentication scheme.
    void setCredential(CURL* easy, const char* user, const char* password, long scheme);
    void setMethodAndBody(CURL* easy, const MethodAndBody& wanted);
    void setHeaders(CURL* easy, curl_slist* headers);

    // After curl_easy_reset: nothing is known of the handle's options any more.
    void forget();

private:
    struct Method {
        bool head;
        bool sendsBody;
        std::optional<std::string> custom;
    };
    struct Body {
        curl_off_t length;
        const char* fields;
    };

    void* m_owner { nullptr };
    char m_errorBuffer[CURL_ERROR_SIZE] {};
    std::optional<std::string> m_url;
    std::optional<long> m_connectTimeout;
    std::optional<bool> m_verifiesServer;
    // Known to be libcurl's own: no user, no password, basic authentication.
    bool m_withoutCredential { false };
    std::optional<Method> m_method;
    std::optional<Body> m_body;
    std::optional<curl_slist*> m_headers;
};

} // namespace net
