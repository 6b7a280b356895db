// store::Payment: a request to buy one product, handed to the payment queue. A plain value; any thread.
//
//   store::PaymentQueue::defaultQueue()->addPayment(store::Payment::forProduct(product));
#pragma once

#include "store/Product.h"

#include <string>

namespace store {

struct Payment {
    std::string productIdentifier;

    static Payment forProduct(const Product& product) { return { product.identifier }; }
};

} // namespace store
