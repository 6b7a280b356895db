#include "store/StoreScript.h"

#include "base/system/Bundle.h"
#include "base/text/StringTable.h"
#include "store/StorePaths.h"

#include <cstdlib>
#include <sstream>

namespace store {

namespace {

    std::vector<std::string> words(const std::string& text)
    {
        std::istringstream stream(text);
        std::vector<std::string> result;
        for (std::string word; stream >> word;)
            result.push_back(word);
        return result;
    }

    StoreScript::Outcome outcomeNamed(const std::string& word)
    {
        if (word == "failed")
            return PaymentTransaction::State::Failed;
        if (word == "restored")
            return PaymentTransaction::State::Restored;
        if (word == "unfinished")
            return std::nullopt;
        return PaymentTransaction::State::Purchased;
    }

    base::Duration delayOf(const std::string& text)
    {
        double seconds = std::strtod(text.c_str(), nullptr);
        return base::Duration(seconds > 0 ? seconds : 0);
    }

} // namespace

StoreScript::Outcome StoreScript::outcomeOfPayment(size_t number) const
{
    if (outcomes.empty())
        return PaymentTransaction::State::Purchased;
    return outcomes[std::min(number, outcomes.size() - 1)];
}

StoreScript StoreScript::read()
{
    StoreScript script;
    script.products = { defaultProduct() };
    auto table = base::StringTable::load(scriptPath());
    if (!table)
        return script;
    script.paymentsAllowed = table->lookup("payments") != "refused";
    if (auto products = table->lookup("products"))
        script.products = words(*products);
    script.productsRequestFails = table->lookup("productsRequest") == "fails";
    for (const auto& word : words(table->lookup("outcomes").value_or("")))
        script.outcomes.push_back(outcomeNamed(word));
    script.delay = delayOf(table->lookup("delay").value_or("0"));
    return script;
}

std::string StoreScript::defaultProduct() { return base::Bundle::main().identifier() + ".Permanent"; }

} // namespace store
