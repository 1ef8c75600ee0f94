#include "host/browser/AccessPolicy.h"

#include <gtest/gtest.h>

#include <set>

TEST(AccessPolicyTest, TokensAreFreshHexadecimal) {
    std::set<std::string> seen;
    for (int i = 0; i < 20; ++i) {
        Result<std::string> token = AccessPolicy::makeToken();
        ASSERT_TRUE(token.ok());
        EXPECT_EQ(token->size(), 32u);
        EXPECT_EQ(token->find_first_not_of("0123456789abcdef"), std::string::npos);
        seen.insert(token.value());
    }
    EXPECT_EQ(seen.size(), 20u);
}

TEST(AccessPolicyTest, TokenComparison) {
    EXPECT_TRUE(AccessPolicy::constantTimeEquals("abc", "abc"));
    EXPECT_FALSE(AccessPolicy::constantTimeEquals("abc", "abd"));
    EXPECT_FALSE(AccessPolicy::constantTimeEquals("abc", "ab"));
    EXPECT_FALSE(AccessPolicy::constantTimeEquals("", "a"));
    EXPECT_FALSE(AccessPolicy::constantTimeEquals(std::string_view("a\0b", 3), "a"));
}

TEST(AccessPolicyTest, JsonContentTypes) {
    EXPECT_TRUE(AccessPolicy::isJsonContentType("application/json"));
    EXPECT_TRUE(AccessPolicy::isJsonContentType("Application/JSON; charset=utf-8"));
    EXPECT_FALSE(AccessPolicy::isJsonContentType("text/plain"));
    EXPECT_FALSE(AccessPolicy::isJsonContentType("application/jsonp"));
    EXPECT_FALSE(AccessPolicy::isJsonContentType("multipart/form-data; x=application/json"));
    EXPECT_FALSE(AccessPolicy::isJsonContentType(""));
}

TEST(AccessPolicyTest, PresentedTokenPrefersBearerThenThisPortsCookie) {
    AccessPolicy policy("t0k", 8080);
    EXPECT_EQ(policy.presentedToken("Bearer abc", "huebadge_token_8080=t0k"), "abc");
    EXPECT_EQ(policy.presentedToken("bearer  abc ", ""), "abc");
    EXPECT_EQ(policy.presentedToken("", "a=1; huebadge_token_8080=t0k; b=2"), "t0k");
    EXPECT_EQ(policy.presentedToken("Basic abc", "huebadge_token_8080=t0k"), "t0k");
    EXPECT_EQ(policy.presentedToken("", "huebadge_token_80800=x; huebadge_token_808=y"),
              std::nullopt);
    EXPECT_EQ(policy.presentedToken("", ""), std::nullopt);
}

TEST(AccessPolicyTest, HostsAndOriginsOfThisServerOnly) {
    AccessPolicy policy("t", 8080);
    EXPECT_TRUE(policy.hostAllowed("127.0.0.1:8080"));
    EXPECT_TRUE(policy.hostAllowed("localhost:8080"));
    EXPECT_FALSE(policy.hostAllowed("127.0.0.1"));
    EXPECT_FALSE(policy.hostAllowed("127.0.0.1:80800"));
    EXPECT_FALSE(policy.hostAllowed("rebound.example:8080"));
    EXPECT_TRUE(policy.originAllowed("http://localhost:8080"));
    EXPECT_FALSE(policy.originAllowed("null"));
    EXPECT_FALSE(policy.originAllowed("https://127.0.0.1:8080"));
    EXPECT_FALSE(policy.originAllowed("http://127.0.0.1:8080.example"));
    EXPECT_FALSE(policy.originAllowed("http://evil.example:8080"));
}
