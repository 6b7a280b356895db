// store::Product: one product the store offers, as a products request answers it. A plain value; any thread.
//
//   if (product.identifier == wanted) queue->addPayment(store::Payment { product.identifier });
#pragma once

#include <string>

namespace store {

struct Product {
    std::string identifier;
    std::string title;
    std::string description;
    double price { 0 };
};

} // namespace store
