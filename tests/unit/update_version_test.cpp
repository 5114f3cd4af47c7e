#include "update_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
constexpr int kKeyLength = 9;

std::string Key(const char* version)
{
    char key[kKeyLength + 1] = {};
    MakeVersionKey(key, kKeyLength, version);
    return key;
}
} // namespace

TEST(VersionKey, OrdersDottedVersionsNumerically)
{
    const char* ascending[] = {"0.9", "1.0.9", "1.0.82", "1.0.100", "1.1.0", "1.10", "2.0", "10.0"};
    for (size_t i = 1; i < sizeof ascending / sizeof ascending[0]; ++i)
        EXPECT_LT(Key(ascending[i - 1]), Key(ascending[i]))
            << ascending[i - 1] << " < " << ascending[i];
}

TEST(VersionKey, IsThreeDigitsPerComponent)
{
    EXPECT_EQ(Key("1.0.82"), "001000082");
    EXPECT_EQ(Key("2.0"), "002000000");
    EXPECT_EQ(Key(""), "000000000");
}

TEST(VersionKey, MissingComponentsCountAsZero)
{
    EXPECT_EQ(Key("2"), Key("2.0.0"));
    EXPECT_EQ(Key("2.0"), Key("2.0.0"));
}

TEST(VersionKey, DocumentedLimits)
{
    EXPECT_EQ(Key("1.0.82.7"), Key("1.0.82"));   // fourth component ignored
    EXPECT_EQ(Key("1.0.82-beta"), Key("1.0.82")); // text after the digits ignored
    EXPECT_EQ(Key("1.0.5000"), "001000999");     // values saturate
    EXPECT_EQ(Key("v1.2"), "000002000");          // no leading digits: zero
}

TEST(VersionKey, NeverWritesPastTheCapacityNorAZeroByte)
{
    char key[16];
    std::memset(key, 'X', sizeof key);
    MakeVersionKey(key, kKeyLength, "123.456.789.999");
    EXPECT_EQ(std::string(key, kKeyLength), "123456789");
    for (int i = kKeyLength; i < 16; ++i)
        EXPECT_EQ(key[i], 'X');

    std::memset(key, 'X', sizeof key);
    MakeVersionKey(key, 6, "1.2.3");
    EXPECT_EQ(std::string(key, 7), "001002X");
}

TEST(CompareVersions, NegativeOnlyWhenThePublishedVersionIsNewer)
{
    EXPECT_LT(CompareVersions("1.0.82", "1.0.83"), 0);
    EXPECT_LT(CompareVersions("1.0.82", "1.0.100"), 0);
    EXPECT_LT(CompareVersions("1.0.82", "1.1"), 0);
    EXPECT_EQ(CompareVersions("1.0.82", "1.0.82"), 0);
    EXPECT_GT(CompareVersions("1.0.82", "1.0.9"), 0);
    EXPECT_GT(CompareVersions("1.0.82", "0.99.999"), 0);
}
