// base::URL: an RFC 3986 URL or relative reference, kept as its text and its parts. Parsing is strict: a
// text with characters a URL may not hold (white space, non-ASCII, a malformed "%" escape) gives nothing,
// as does a port past 65535. "[" and "]" are accepted in paths, queries and fragments because query
// strings of nested parameters carry them unescaped. Resolving a reference against a base follows RFC
// 3986 section 5 exactly (dot segments removed). Parsing and resolution are our own rather than libcurl's
// URL API, which rewrites the text it reads, needs "scheme://", and resolves empty, fragment-only and
// other-scheme references differently from RFC 3986. A value type, usable on any thread: its parts never
// change once made, so copies share them (a request and its response hold one URL, not two).
//
//   auto base = base::URL::parse("http://example.com/api/");
//   auto url = base::URL::parse("users?id=7", *base);          // http://example.com/api/users?id=7
//   auto folder = base->appendingPathComponent("voice");        // http://example.com/api/voice
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace base {

class URL {
public:
    // A URL or relative reference on its own.
    [[nodiscard]] static std::optional<URL> parse(std::string_view text);
    // `reference` resolved against `base`. A reference with a scheme stands for itself; a relative one
    // needs a base with a scheme.
    [[nodiscard]] static std::optional<URL> parse(std::string_view reference, const URL& base);
    // The file URL of a path (made absolute against the working folder); a folder's URL ends with "/".
    static URL fileURL(const std::filesystem::path& path, bool isDirectory = false);

    // A moved-from URL keeps its value, as a copy does.
    URL(const URL&) = default;
    URL& operator=(const URL&) = default;

    const std::string& absoluteString() const { return m_parts->string; }

    // The parts as written; absent parts are empty (or nothing for the optional ones).
    const std::string& scheme() const { return m_parts->scheme; }
    bool hasAuthority() const { return m_parts->hasAuthority; }
    const std::string& percentEncodedPath() const { return m_parts->path; }
    const std::optional<std::string>& query() const { return m_parts->query; }
    const std::optional<std::string>& fragment() const { return m_parts->fragment; }

    // Decoded parts. The host loses the brackets of an IPv6 literal.
    std::string host() const;
    [[nodiscard]] std::optional<int> port() const { return m_parts->port; }
    std::string user() const;
    std::string password() const;
    // The decoded path without a trailing "/" (except for the root path "/"); the encoded path when its
    // escapes do not decode to UTF-8.
    std::string path() const;
    // The last component of path() ("/" for the root path, empty for an empty path).
    std::string lastPathComponent() const;
    // What follows the last "." of the last component, when that "." is not its first character.
    std::string pathExtension() const;

    // The URL with `component` (plain text, escaped here; "/" kept) added to its path after a "/".
    // An empty component only makes the path end with "/".
    URL appendingPathComponent(std::string_view component) const;

    bool isFileURL() const;
    // The decoded path of a file URL.
    std::filesystem::path filePath() const { return path(); }

    bool operator==(const URL& other) const
    {
        return m_parts == other.m_parts || m_parts->string == other.m_parts->string;
    }

private:
    struct Parts {
        std::string string;
        std::string scheme;
        bool hasAuthority { false };
        std::string authority;
        std::string userInfo;
        std::string host;
        std::optional<int> port;
        std::string path;
        std::optional<std::string> query;
        std::optional<std::string> fragment;
    };

    // Composes the text of the parts and keeps them.
    explicit URL(Parts parts);
    [[nodiscard]] static std::optional<Parts> parseParts(std::string_view text);
    [[nodiscard]] static bool parseAuthority(Parts& parts, std::string_view authority);
    static void recompose(Parts& parts);

    std::shared_ptr<const Parts> m_parts;
};

} // namespace base
