#include "base/values/Error.h"

#include <gtest/gtest.h>

using base::Error;

TEST(Error, LocalizedDescriptionFallsBackToDomainAndCode)
{
    Error error("JSONErrorDomain", -1);
    EXPECT_EQ(error.localizedDescription(), "The operation couldn't be completed. (JSONErrorDomain error -1.)");
    Error described(
        Error::URLDomain, Error::URLTimedOut, { { Error::LocalizedDescriptionKey, "The request timed out." } });
    EXPECT_EQ(described.localizedDescription(), "The request timed out.");
    ASSERT_NE(described.userInfoValue(Error::LocalizedDescriptionKey), nullptr);
    EXPECT_EQ(described.userInfoValue("missing"), nullptr);
}

TEST(Error, SetErrorKeepsOnlyTheFirstError)
{
    Error slot;
    EXPECT_TRUE(slot.isEmpty());
    base::setError(&slot, Error("Database", 19));
    base::setError(&slot, Error("Database", 5));
    EXPECT_EQ(slot.code(), 19);
    base::setError(nullptr, Error("Database", 1));
}

TEST(Error, DescriptionNamesDomainCodeAndUserInfo)
{
    Error error("NetworkingErrorDomain", -1011, { { Error::LocalizedDescriptionKey, "bad status" } });
    EXPECT_EQ(error.description(),
        "Error Domain=NetworkingErrorDomain Code=-1011 \"bad status\" UserInfo={LocalizedDescription=bad status}");
}
