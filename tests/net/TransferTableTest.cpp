#include "net/loading/TransferTable.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace {

// Only the table's bookkeeping is used: no transfer is ever called.
struct Transfers {
    std::array<std::byte, 4> storage {};
    net::NetworkTransfer* operator[](size_t index) { return reinterpret_cast<net::NetworkTransfer*>(&storage[index]); }
};

TEST(TransferTableTest, EveryHandleFindsItsTransferAfterOthersComeAndGo)
{
    std::array<CURL*, 4> easy {};
    for (auto& handle : easy)
        handle = curl_easy_init();
    Transfers transfer;
    net::TransferTable table;
    for (size_t index = 0; index < 3; ++index)
        table.add(easy[index], transfer[index]);
    EXPECT_EQ(table.find(easy[3]), nullptr);

    EXPECT_TRUE(table.remove(easy[0]));
    EXPECT_FALSE(table.remove(easy[0]));
    EXPECT_EQ(table.find(easy[0]), nullptr) << "its stale slot now holds another handle";
    EXPECT_EQ(table.find(easy[1]), transfer[1]);
    EXPECT_EQ(table.find(easy[2]), transfer[2]);

    table.add(easy[3], transfer[3]);
    table.add(easy[1], transfer[0]);
    EXPECT_EQ(table.size(), 3u);
    EXPECT_EQ(table.find(easy[1]), transfer[0]) << "adding again replaces";
    EXPECT_TRUE(table.remove(easy[2]));
    EXPECT_EQ(table.find(easy[3]), transfer[3]);
    auto entries = table.entries();
    std::sort(entries.begin(), entries.end());
    std::vector<net::TransferTable::Entry> expected { { easy[1], transfer[0] }, { easy[3], transfer[3] } };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries, expected);

    curl_easy_reset(easy[0]);
    EXPECT_EQ(table.find(easy[0]), nullptr) << "a reset handle's slot reads as the first";
    for (auto handle : easy)
        curl_easy_cleanup(handle);
}

} // namespace
