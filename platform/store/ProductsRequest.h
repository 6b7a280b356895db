// store::ProductsRequest: asks the store stand-in which of a set of product identifiers it offers. start()
// answers on a later turn of the main loop: the delegate (kept weakly) hears didReceiveResponse with the
// known products and the unknown identifiers, or didFail when the script says so, then requestDidFinish
// after a response. The request keeps itself alive until it has answered. Main thread.
//
//   auto request = store::ProductsRequest::make({ identifier });
//   request->setDelegate(weak_from_this());
//   request->start();
#pragma once

#include "base/values/Error.h"
#include "store/Product.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace store {

class ProductsRequest;

class ProductsRequestDelegate {
public:
    virtual ~ProductsRequestDelegate() = default;
    virtual void didReceiveResponse(ProductsRequest& request, const std::vector<Product>& products,
        const std::vector<std::string>& invalidIdentifiers)
        = 0;
    virtual void didFail(ProductsRequest& request, const base::Error& error) = 0;
    virtual void requestDidFinish(ProductsRequest&) { }
};

class ProductsRequest : public std::enable_shared_from_this<ProductsRequest> {
public:
    static std::shared_ptr<ProductsRequest> make(std::set<std::string> identifiers);

    void setDelegate(std::weak_ptr<ProductsRequestDelegate> delegate) { m_delegate = std::move(delegate); }
    void start();

    // The product the stand-in offers under an identifier.
    static Product productNamed(const std::string& identifier);

private:
    explicit ProductsRequest(std::set<std::string> identifiers);
    void answer();

    std::set<std::string> m_identifiers;
    std::weak_ptr<ProductsRequestDelegate> m_delegate;
};

} // namespace store
