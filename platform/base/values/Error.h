// base::Error: a failure report with a domain, an integer code and user info (a Value dictionary of texts and
// numbers), plus an optional underlying error. Returned through a trailing `base::Error* error = nullptr`
// out-slot or carried by failure callbacks; never thrown.
//
//   if (error) *error = base::Error(base::Error::URLDomain, base::Error::URLBadURL,
//   {{base::Error::LocalizedDescriptionKey, "bad URL"}});
#pragma once

#include "base/values/Dictionary.h"
#include "base/values/Value.h"

#include <memory>
#include <string>

namespace base {

class Error {
public:
    // Domains.
    static constexpr const char* URLDomain = "URLErrorDomain";
    static constexpr const char* FoundationDomain = "FoundationErrorDomain";
    static constexpr const char* POSIXDomain = "POSIXErrorDomain";

    // User-info keys.
    static constexpr const char* LocalizedDescriptionKey = "LocalizedDescription";
    static constexpr const char* LocalizedFailureReasonKey = "LocalizedFailureReason";
    static constexpr const char* LocalizedRecoverySuggestionKey = "LocalizedRecoverySuggestion";
    static constexpr const char* FailingURLKey = "FailingURL";
    static constexpr const char* FailingURLStringKey = "FailingURLString";
    static constexpr const char* FilePathKey = "FilePath";
    static constexpr const char* StringEncodingKey = "StringEncoding";

    // Codes of the URL domain.
    static constexpr long URLUnknown = -1;
    static constexpr long URLCancelled = -999;
    static constexpr long URLBadURL = -1000;
    static constexpr long URLTimedOut = -1001;
    static constexpr long URLUnsupportedURL = -1002;
    static constexpr long URLCannotFindHost = -1003;
    static constexpr long URLCannotConnectToHost = -1004;
    static constexpr long URLNetworkConnectionLost = -1005;
    static constexpr long URLNotConnectedToInternet = -1009;
    static constexpr long URLBadServerResponse = -1011;
    static constexpr long URLUserCancelledAuthentication = -1012;
    static constexpr long URLCannotDecodeContentData = -1016;
    static constexpr long URLCannotParseResponse = -1017;
    static constexpr long URLSecureConnectionFailed = -1200;
    static constexpr long URLServerCertificateUntrusted = -1202;
    static constexpr long URLCannotCreateFile = -3000;
    static constexpr long URLCannotWriteToFile = -3003;

    Error() = default;
    Error(std::string domain, long code, Dictionary::Pairs userInfo = {},
        std::shared_ptr<const Error> underlying = nullptr);
    Error(std::string domain, long code, DictionaryRef userInfo, std::shared_ptr<const Error> underlying = nullptr);

    // A default-constructed error, as an out-slot holds before anything failed.
    bool isEmpty() const { return m_domain.empty(); }
    const std::string& domain() const { return m_domain; }
    long code() const { return m_code; }
    const DictionaryRef& userInfo() const { return m_userInfo; }
    const std::shared_ptr<const Error>& underlyingError() const { return m_underlying; }

    // The user info's description, else "The operation couldn't be completed. (<domain> error <code>.)".
    std::string localizedDescription() const;
    // A user-info value, or null when absent.
    const Value* userInfoValue(std::string_view key) const;
    std::string description() const;

    bool operator==(const Error& other) const { return m_domain == other.m_domain && m_code == other.m_code; }

private:
    std::string m_domain;
    long m_code { 0 };
    DictionaryRef m_userInfo;
    std::shared_ptr<const Error> m_underlying;
};

// Stores `error` into the out-slot when the slot is given and still empty, so only the first error of an
// operation is reported.
void setError(Error* slot, Error error);

} // namespace base
