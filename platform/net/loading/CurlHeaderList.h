// net::CurlHeaderList: a request's header fields as the list of lines libcurl sends ("Name: value", or
// "Name;" for an empty value), kept in one block of text and one array of list nodes rather than two
// allocations per line. Line breaks and NUL in a name or a value become spaces, so that a value cannot forge
// further fields. "Content-Length" is left out (libcurl states the body's length itself, from the body or the
// stream's announced length) and "Expect:" is added, so that no "100-continue" round precedes a body.
//
// A list lives with a pooled easy handle: assigning the fields it was last built from (the same shared
// fields, or equal ones) keeps the lines as they are. Used by one connection at a time on the main thread;
// the list stays valid until the next assign or the end of the object, and libcurl only reads it.
//
//   headers.assign(request.allHTTPHeaderFields());
//   curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.list());
#pragma once

#include "net/http/HTTPHeaderFields.h"

#include <curl/curl.h>

#include <optional>
#include <string>
#include <vector>

namespace net {

class CurlHeaderList {
public:
    void assign(const HTTPHeaderFields& fields);
    curl_slist* list() { return m_nodes.empty() ? nullptr : m_nodes.data(); }

private:
    void build(const HTTPHeaderFields& fields);

    // The fields the lines were built from; nullopt before the first assign.
    std::optional<HTTPHeaderFields> m_built;
    std::string m_text;
    std::vector<curl_slist> m_nodes;
};

} // namespace net
