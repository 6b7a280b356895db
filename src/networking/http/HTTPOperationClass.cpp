#include "networking/http/HTTPOperationClass.h"

#include <algorithm>
#include <map>

namespace networking {

namespace {

    struct Registry {
        std::mutex mutex;
        std::map<std::string, const HTTPOperationClass*, std::less<>> classes;
    };

    Registry& registry()
    {
        // Never destroyed: descriptors are looked up until the process ends.
        static Registry* shared = new Registry;
        return *shared;
    }

} // namespace

HTTPOperationClass::HTTPOperationClass(Definition definition)
    : m_name(std::move(definition.name))
    , m_superclass(definition.superclass)
    , m_make(std::move(definition.make))
    , m_pathExtensions(std::move(definition.pathExtensions))
    , m_statusCodes(std::move(definition.acceptableStatusCodes))
    , m_contentTypes(std::move(definition.acceptableContentTypes))
{
    std::lock_guard lock(registry().mutex);
    registry().classes[m_name] = this;
}

const HTTPOperationClass* HTTPOperationClass::named(std::string_view name)
{
    std::lock_guard lock(registry().mutex);
    auto found = registry().classes.find(name);
    return found == registry().classes.end() ? nullptr : found->second;
}

bool HTTPOperationClass::isSubclassOf(const HTTPOperationClass& other) const
{
    for (const HTTPOperationClass* type = this; type; type = type->m_superclass) {
        if (type == &other)
            return true;
    }
    return false;
}

IndexSet HTTPOperationClass::acceptableStatusCodes() const
{
    {
        std::lock_guard lock(m_mutex);
        if (m_statusCodes)
            return *m_statusCodes;
    }
    return m_superclass ? m_superclass->acceptableStatusCodes() : IndexSet();
}

void HTTPOperationClass::addAcceptableStatusCodes(const IndexSet& codes)
{
    IndexSet joined = acceptableStatusCodes().unionWith(codes);
    std::lock_guard lock(m_mutex);
    m_statusCodes = std::move(joined);
}

std::optional<ContentTypeSet> HTTPOperationClass::acceptableContentTypes() const
{
    {
        std::lock_guard lock(m_mutex);
        if (m_contentTypes)
            return *m_contentTypes;
    }
    return m_superclass ? m_superclass->acceptableContentTypes() : std::nullopt;
}

bool HTTPOperationClass::acceptsStatusCode(uint64_t code) const
{
    {
        std::lock_guard lock(m_mutex);
        if (m_statusCodes)
            return m_statusCodes->contains(code);
    }
    return m_superclass && m_superclass->acceptsStatusCode(code);
}

bool HTTPOperationClass::acceptsContentType(const std::string& type) const
{
    {
        std::lock_guard lock(m_mutex);
        if (m_contentTypes)
            return !*m_contentTypes || (*m_contentTypes)->contains(type);
    }
    return !m_superclass || m_superclass->acceptsContentType(type);
}

void HTTPOperationClass::addAcceptableContentTypes(const ContentTypeSet& types)
{
    ContentTypeSet joined = acceptableContentTypes().value_or(ContentTypeSet());
    joined.insert(types.begin(), types.end());
    std::lock_guard lock(m_mutex);
    m_contentTypes = std::optional<ContentTypeSet>(std::move(joined));
}

bool HTTPOperationClass::canProcessRequest(const net::URLRequest& request) const
{
    if (!m_superclass)
        return true;
    if (request.url()) {
        std::string extension = request.url()->pathExtension();
        if (std::find(m_pathExtensions.begin(), m_pathExtensions.end(), extension) != m_pathExtensions.end())
            return true;
    }
    auto accepted = contentTypeSetFromHeader(request.valueForHTTPHeaderField("Accept"));
    auto acceptable = acceptableContentTypes();
    if (!accepted || !acceptable)
        return false;
    return std::any_of(
        accepted->begin(), accepted->end(), [&](const std::string& type) { return acceptable->contains(type); });
}

} // namespace networking
