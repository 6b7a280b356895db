#include "net/loading/EasyHandleOptions.h"

namespace net {

void EasyHandleOptions::attach(CURL* easy)
{
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_READDATA, this);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, m_errorBuffer);
}

void EasyHandleOptions::setURL(CURL* easy, const std::string& url)
{
    if (m_url == url)
        return;
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    m_url = url;
}

void EasyHandleOptions::setConnectTimeout(CURL* easy, long milliseconds)
{
    if (m_connectTimeout == milliseconds)
        return;
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, milliseconds);
    m_connectTimeout = milliseconds;
}

void EasyHandleOptions::setVerifiesServer(CURL* easy, bool verifies)
{
    if (m_verifiesServer == verifies)
        return;
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, verifies ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, verifies ? 2L : 0L);
    m_verifiesServer = verifies;
}

void EasyHandleOptions::setCredential(CURL* easy, const char* user, const char* password, long scheme)
{
    // A credential is set every time (it is rare, and its strings are not kept here).
    bool withoutCredential = !user && !password && scheme == CURLAUTH_BASIC;
    if (withoutCredential && m_withoutCredential)
        return;
    curl_easy_setopt(easy, CURLOPT_USERNAME, user);
    curl_easy_setopt(easy, CURLOPT_PASSWORD, password);
    curl_easy_setopt(easy, CURLOPT_HTTPAUTH, scheme);
    m_withoutCredential = withoutCredential;
}

void EasyHandleOptions::setMethodAndBody(CURL* easy, const MethodAndBody& wanted)
{
    bool bodyChanged = !m_body || m_body->length != wanted.bodyLength || m_body->fields != wanted.fields;
    bool methodChanged = !m_method || m_method->head != wanted.head || m_method->sendsBody != wanted.sendsBody
        || m_method->custom.has_value() != (wanted.customMethod != nullptr)
        || (wanted.customMethod && *m_method->custom != wanted.customMethod);
    // The body's options first: setting them makes libcurl's method POST, which the method's own options then
    // settle. Only a request that sends a body has one to change (the others have no length and no bytes), and
    // its method's options settle to POST too: a new body alone needs them not again.
    if (bodyChanged) {
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, wanted.bodyLength);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, wanted.fields);
        m_body = Body { wanted.bodyLength, wanted.fields };
    }
    if (!methodChanged)
        return;
    curl_easy_setopt(easy, CURLOPT_NOBODY, wanted.head ? 1L : 0L);
    if (!wanted.head)
        curl_easy_setopt(easy, wanted.sendsBody ? CURLOPT_POST : CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, wanted.customMethod);
    m_method = Method { wanted.head, wanted.sendsBody,
        wanted.customMethod ? std::optional<std::string>(wanted.customMethod) : std::nullopt };
}

void EasyHandleOptions::setHeaders(CURL* easy, curl_slist* headers)
{
    if (m_headers == headers)
        return;
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    m_headers = headers;
}

void EasyHandleOptions::forget()
{
    m_url.reset();
    m_connectTimeout.reset();
    m_verifiesServer.reset();
    m_withoutCredential = false;
    m_method.reset();
    m_body.reset();
    m_headers.reset();
}

} // namespace net
