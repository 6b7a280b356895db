#include "security/KeychainFile.h"

#include <gtest/gtest.h>

using security::KeychainFile;
using security::KeychainItem;

namespace {

KeychainItem item(std::string service, std::string account, std::string secret)
{
    KeychainItem made;
    made.service = std::move(service);
    made.account = std::move(account);
    made.data.assign(secret.begin(), secret.end());
    return made;
}

} // namespace

TEST(KeychainFile, RoundTripsEveryAttributeAndAnyBytes)
{
    KeychainItem full = item("com.lumet companion", "ann=1 %20\n", std::string("\0\xff\n =%", 6));
    full.label = "Lumet login";
    full.accessGroup = "group.lumet";
    full.accessible = security::AccessibleAfterFirstUnlock;
    full.synchronizable = true;
    std::vector<KeychainItem> items { full, item("s", "", ""), item("中文", "账号", "密码") };

    auto decoded = KeychainFile::decode(KeychainFile::encode(items));

    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, items);
}

TEST(KeychainFile, EmptyStoreRoundTrips)
{
    auto decoded = KeychainFile::decode(KeychainFile::encode({}));
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(decoded->empty());
}

TEST(KeychainFile, RejectsCutOrAlteredFiles)
{
    std::string good = KeychainFile::encode({ item("svc", "ann", "pw"), item("svc", "bob", "pw2") });
    ASSERT_TRUE(KeychainFile::decode(good));

    EXPECT_FALSE(KeychainFile::decode("")) << "an empty file is not a keychain file";
    EXPECT_FALSE(KeychainFile::decode(good.substr(0, good.size() - 1))) << "missing final newline";
    EXPECT_FALSE(KeychainFile::decode(good.substr(0, good.find("end")))) << "missing trailer";
    EXPECT_FALSE(KeychainFile::decode(good + "item svce=x acct=y pdmn=ak sync=0 v_Data=\n")) << "text after trailer";

    std::string wrongCount = good;
    wrongCount.replace(wrongCount.find("end 2"), 5, "end 3");
    EXPECT_FALSE(KeychainFile::decode(wrongCount));

    std::string leadingZero = good;
    leadingZero.replace(leadingZero.find("end 2"), 5, "end 02");
    EXPECT_FALSE(KeychainFile::decode(leadingZero));
}

TEST(KeychainFile, RejectsMalformedItems)
{
    auto withLine = [](std::string line) { return "lumet-keychain 1\n" + line + "\nend 1\n"; };
    ASSERT_TRUE(KeychainFile::decode(withLine("item svce=s acct=a pdmn=ak sync=0 v_Data=%00")));

    EXPECT_FALSE(KeychainFile::decode(withLine("item svce=s acct=a pdmn=ak sync=0 v_Data=%0")));
    EXPECT_FALSE(KeychainFile::decode(withLine("item svce=s acct=a pdmn=ak sync=0 v_Data=%zz")));
    EXPECT_FALSE(KeychainFile::decode(withLine("item svce=s acct=a pdmn=ak sync=0 v_Data=a b")));
    EXPECT_FALSE(KeychainFile::decode(withLine("item svce=s acct=a pdmn=ak sync=0 v_Data=x ")));
    EXPECT_FALSE(KeychainFile::decode(withLine("item svce=s acct=a pdmn=ak sync=0"))) << "no data";
    EXPECT_FALSE(KeychainFile::decode(withLine("item acct=a pdmn=ak sync=0 v_Data="))) << "no service";
    EXPECT_FALSE(KeychainFile::decode(withLine("item svce=s acct=a pdmn=zz sync=0 v_Data="))) << "accessibility";
    EXPECT_FALSE(KeychainFile::decode(withLine("item svce=s acct=a pdmn=ak sync=2 v_Data=")));
    EXPECT_FALSE(KeychainFile::decode(withLine("item svce=s acct=a pdmn=ak sync=0 v_Data= note=x"))) << "unknown";
    EXPECT_FALSE(KeychainFile::decode(withLine("item svce=s svce=t acct=a pdmn=ak sync=0 v_Data=")));
    EXPECT_FALSE(KeychainFile::decode(withLine("item svce=%FF acct=a pdmn=ak sync=0 v_Data="))) << "not UTF-8";
}

TEST(KeychainFile, RejectsTwoItemsOfOneIdentity)
{
    std::string twice = KeychainFile::encode({ item("svc", "ann", "pw") });
    std::string line = twice.substr(twice.find("item"), twice.find("end") - twice.find("item"));
    twice.insert(twice.find("end"), line);
    twice.replace(twice.find("end 1"), 5, "end 2");
    EXPECT_FALSE(KeychainFile::decode(twice));

    KeychainItem synchronized = item("svc", "ann", "pw");
    synchronized.synchronizable = true;
    EXPECT_TRUE(KeychainFile::decode(KeychainFile::encode({ item("svc", "ann", "pw"), synchronized })))
        << "a synchronizable item is a different item";
}
