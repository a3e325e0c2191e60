// The secret file's text form and the comparison of secrets.
#include <gtest/gtest.h>

#include "hosts/bridge/Secret.h"
#include "hosts/bridge/Wire.h"

namespace hosts::bridge {
namespace {

TEST(Secret, OnlySixtyFourHexDigitsAndOneLineEndAreASecret) {
    const std::string digits = "00112233445566778899aabbccddeeffAABBCCDDEEFF00112233445566778899";
    const auto parsed = ParseSecret(digits + "\n");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->size(), kSecretSize);
    EXPECT_EQ(static_cast<unsigned char>((*parsed)[5]), 0x55);
    EXPECT_EQ(ParseSecret(digits + "\r\n"), parsed);
    for (const std::string& bad : {digits.substr(1), digits + "0", digits + "\n\n", "g" + digits.substr(1),
                                  " " + digits.substr(1), std::string()}) {
        EXPECT_FALSE(ParseSecret(bad)) << bad;
    }
}

TEST(Secret, SameSecretComparesEveryByte) {
    EXPECT_TRUE(SameSecret("abc", "abc"));
    EXPECT_FALSE(SameSecret("abc", "abd"));
    EXPECT_FALSE(SameSecret("abc", "ab"));
    EXPECT_FALSE(SameSecret("xbc", "abc"));
}

}  // namespace
}  // namespace hosts::bridge
