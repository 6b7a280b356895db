// networking::HTTPOperationClass: what the HTTP client knows of a kind of request operation, found by its
// name: its superclass, how to make one, which requests it can process (by path extension or by the
// "Accept" field), and its class-level settings: the acceptable status codes and content types. A setting
// added to a class holds from then on for it and for its subclasses that do not define their own. Each
// operation class has one descriptor for the life of the process; settings may be read from any thread and
// are meant to be changed before operations run.
//
//   HTTPRequestOperation::operationClass().addAcceptableStatusCodes(networking::IndexSet { 304 });
//   if (JSONRequestOperation::operationClass().canProcessRequest(request)) ...
#pragma once

#include "net/http/URLRequest.h"
#include "networking/http/ContentTypeSet.h"
#include "networking/http/IndexSet.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace networking {

class HTTPRequestOperation;

class HTTPOperationClass {
public:
    using Factory = std::function<std::shared_ptr<HTTPRequestOperation>(net::URLRequest)>;

    struct Definition {
        std::string name;
        const HTTPOperationClass* superclass { nullptr };
        Factory make;
        // The class's own settings; left empty they come from the superclass.
        std::optional<IndexSet> acceptableStatusCodes;
        // Set to define the class's content types; an inner nothing means "every type".
        std::optional<std::optional<ContentTypeSet>> acceptableContentTypes;
        std::vector<std::string> pathExtensions;
    };

    explicit HTTPOperationClass(Definition definition);
    HTTPOperationClass(const HTTPOperationClass&) = delete;
    HTTPOperationClass& operator=(const HTTPOperationClass&) = delete;

    // The class registered under a name; null when none is.
    static const HTTPOperationClass* named(std::string_view name);

    const std::string& name() const { return m_name; }
    const HTTPOperationClass* superclass() const { return m_superclass; }
    bool isSubclassOf(const HTTPOperationClass& other) const;

    std::shared_ptr<HTTPRequestOperation> make(net::URLRequest request) const { return m_make(std::move(request)); }

    IndexSet acceptableStatusCodes() const;
    void addAcceptableStatusCodes(const IndexSet& codes);
    // Nothing means every content type is acceptable.
    [[nodiscard]] std::optional<ContentTypeSet> acceptableContentTypes() const;
    void addAcceptableContentTypes(const ContentTypeSet& types);
    // The same questions answered in place, without copying the sets (every reply asks them).
    bool acceptsStatusCode(uint64_t code) const;
    bool acceptsContentType(const std::string& type) const;

    // The root class takes every request; the others a request whose URL path ends in one of their
    // extensions (compared exactly) or whose "Accept" field names one of their content types.
    bool canProcessRequest(const net::URLRequest& request) const;

private:
    std::string m_name;
    const HTTPOperationClass* m_superclass;
    Factory m_make;
    std::vector<std::string> m_pathExtensions;
    mutable std::mutex m_mutex;
    std::optional<IndexSet> m_statusCodes;
    std::optional<std::optional<ContentTypeSet>> m_contentTypes;
};

} // namespace networking
