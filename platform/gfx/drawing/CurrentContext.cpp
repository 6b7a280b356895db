#include "gfx/drawing/CurrentContext.h"

#include <vector>

namespace gfx {

namespace {

    struct Entry {
        std::shared_ptr<Context> context;
        bool isImageContext;
    };

    std::vector<Entry>& stack()
    {
        thread_local std::vector<Entry> entries;
        return entries;
    }

} // namespace

Context* CurrentContext::get() { return stack().empty() ? nullptr : stack().back().context.get(); }

void CurrentContext::push(std::shared_ptr<Context> context, bool isImageContext)
{
    stack().push_back({ std::move(context), isImageContext });
}

void CurrentContext::pop()
{
    if (!stack().empty())
        stack().pop_back();
}

bool CurrentContext::topIsImageContext() { return !stack().empty() && stack().back().isImageContext; }

} // namespace gfx
