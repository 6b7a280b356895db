// Parses arbitrary bytes as the XML operation's reply body, with a delegate that records every event, with and
// without namespace processing (chosen by the first byte). Checks that elements close in the order they open
// whenever the parse succeeds.
#include "networking/plist/XMLParser.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

class Recorder : public networking::XMLParserDelegate {
public:
    void didStartElement(networking::XMLParser&, const std::string& name, const std::string&, const std::string&,
        const Attributes& attributes) override
    {
        open.push_back(name);
        for (auto& [key, value] : attributes)
            characters += key.size() + value.size();
    }
    void didEndElement(networking::XMLParser&, const std::string& name, const std::string&, const std::string&) override
    {
        if (open.empty() || open.back() != name)
            std::abort();
        open.pop_back();
    }
    void foundCharacters(networking::XMLParser&, const std::string& text) override { characters += text.size(); }

    std::vector<std::string> open;
    size_t characters { 0 };
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    networking::XMLParser parser(base::Data(data + 1, data + size));
    parser.setShouldProcessNamespaces(data[0] & 1);
    auto recorder = std::make_shared<Recorder>();
    parser.setDelegate(recorder);
    bool parsed = parser.parse();
    if (parsed && !recorder->open.empty())
        std::abort();
    if (!parsed && !parser.parserError())
        std::abort();
    return 0;
}
