#include "store/ProductsRequest.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "store/StoreScript.h"

#include <algorithm>

namespace store {

std::shared_ptr<ProductsRequest> ProductsRequest::make(std::set<std::string> identifiers)
{
    BASE_ASSERT_MAIN_THREAD();
    return std::shared_ptr<ProductsRequest>(new ProductsRequest(std::move(identifiers)));
}

ProductsRequest::ProductsRequest(std::set<std::string> identifiers)
    : m_identifiers(std::move(identifiers))
{
    BASE_ASSERT_MAIN_THREAD();
}

void ProductsRequest::start()
{
    BASE_ASSERT_MAIN_THREAD();
    base::RunLoop::main().post([self = shared_from_this()] { self->answer(); });
}

void ProductsRequest::answer()
{
    auto delegate = m_delegate.lock();
    if (!delegate)
        return;
    auto script = StoreScript::read();
    if (script.productsRequestFails) {
        delegate->didFail(*this,
            base::Error("StoreErrorDomain", 0, { { base::Error::LocalizedDescriptionKey, "products unavailable" } }));
        return;
    }
    std::vector<Product> products;
    std::vector<std::string> invalid;
    for (const auto& identifier : m_identifiers) {
        bool known = std::find(script.products.begin(), script.products.end(), identifier) != script.products.end();
        if (known)
            products.push_back(productNamed(identifier));
        else
            invalid.push_back(identifier);
    }
    delegate->didReceiveResponse(*this, products, invalid);
    delegate->requestDidFinish(*this);
}

Product ProductsRequest::productNamed(const std::string& identifier)
{
    BASE_ASSERT_MAIN_THREAD();
    return { identifier, "Permanent service", "The permanent service for one device", 60 };
}

} // namespace store
