#include "store/ProductsRequest.h"
#include "base/system/Bundle.h"
#include "store/StoreFixture.h"

namespace {

class Answers : public store::ProductsRequestDelegate {
public:
    void didReceiveResponse(store::ProductsRequest&, const std::vector<store::Product>& found,
        const std::vector<std::string>& unknown) override
    {
        products = found;
        invalid = unknown;
        ++responses;
    }
    void didFail(store::ProductsRequest&, const base::Error&) override { ++failures; }
    void requestDidFinish(store::ProductsRequest&) override { ++finishes; }

    std::vector<store::Product> products;
    std::vector<std::string> invalid;
    int responses { 0 };
    int failures { 0 };
    int finishes { 0 };
};

class ProductsRequest : public test::StoreTest {
protected:
    void ask(std::set<std::string> identifiers)
    {
        answers = std::make_shared<Answers>();
        auto request = store::ProductsRequest::make(std::move(identifiers));
        request->setDelegate(answers);
        request->start();
        EXPECT_EQ(answers->responses + answers->failures, 0) << "the answer comes on a later turn";
        settle();
    }

    std::shared_ptr<Answers> answers = std::make_shared<Answers>();
    const std::string product = base::Bundle::main().identifier() + ".Permanent";
};

TEST_F(ProductsRequest, WithoutScriptOnlyThePermanentProductExists)
{
    ask({ product, "other.product" });
    ASSERT_EQ(answers->products.size(), 1u);
    EXPECT_EQ(answers->products[0].identifier, product);
    EXPECT_EQ(answers->invalid, std::vector<std::string> { "other.product" });
    EXPECT_EQ(answers->finishes, 1);
}

TEST_F(ProductsRequest, TheScriptNamesTheProductsOrMakesTheRequestFail)
{
    script("\"products\" = \"a.b  c.d\";");
    ask({ product, "c.d" });
    ASSERT_EQ(answers->products.size(), 1u);
    EXPECT_EQ(answers->products[0].identifier, "c.d");
    EXPECT_EQ(answers->invalid, std::vector<std::string> { product });

    script("\"productsRequest\" = \"fails\";");
    ask({ product });
    EXPECT_EQ(answers->failures, 1);
    EXPECT_EQ(answers->finishes, 0) << "a failed request does not finish";
}

} // namespace
