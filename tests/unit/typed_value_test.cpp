#include <gtest/gtest.h>

#include <climits>

#include "palette/typed_value.h"

namespace {

TEST(TypedValueRuleTest, NumbersOutsideTheLimitsBecomeTheLimitAndRewriteTheBox) {
    TypedValue high = ApplyTypedValueRule(600, 1, 500);
    EXPECT_EQ(high.setting, 500);
    EXPECT_EQ(high.rewriteBox, 1);
    TypedValue nothing = ApplyTypedValueRule(0, 1, 500); // empty text or letters read as 0
    EXPECT_EQ(nothing.setting, 1);
    EXPECT_EQ(nothing.rewriteBox, 1);
    TypedValue negative = ApplyTypedValueRule(-5, 1, 500);
    EXPECT_EQ(negative.setting, 1);
    EXPECT_EQ(negative.rewriteBox, 1);
    EXPECT_EQ(ApplyTypedValueRule(INT_MAX, 1, 500).setting, 500);
    EXPECT_EQ(ApplyTypedValueRule(INT_MIN, 1, 500).setting, 1);
    EXPECT_EQ(ApplyTypedValueRule(501, 1, 500).setting, 500);
}

TEST(TypedValueRuleTest, NumbersInRangeAreTakenAndTheTextIsKeptAsTyped) {
    for (int n : {1, 12, 499, 500}) {
        TypedValue v = ApplyTypedValueRule(n, 1, 500);
        EXPECT_EQ(v.setting, n);
        EXPECT_EQ(v.rewriteBox, 0) << n;
    }
}

TEST(UnwrapTypedNumberTest, NumbersThatFitAnIntKeepWhatStrToIntWRead) {
    EXPECT_EQ(UnwrapTypedNumber(L"12abc", 12), 12);
    EXPECT_EQ(UnwrapTypedNumber(L"", 0), 0);
    EXPECT_EQ(UnwrapTypedNumber(L"-5", -5), -5);
    EXPECT_EQ(UnwrapTypedNumber(L"2147483647", INT_MAX), INT_MAX);
    EXPECT_EQ(UnwrapTypedNumber(L"-2147483648", INT_MIN), INT_MIN);
    EXPECT_EQ(UnwrapTypedNumber(L"00000000000000000007", 7), 7) << "leading zeros";
    EXPECT_EQ(UnwrapTypedNumber(L"abc99999999999", 0), 0) << "not a number at all";
    EXPECT_EQ(UnwrapTypedNumber(L"-", 0), 0);
    EXPECT_EQ(UnwrapTypedNumber(nullptr, 0), 0);
}

TEST(UnwrapTypedNumberTest, NumbersBeyondTheIntRangeSaturateInsteadOfWrapping) {
    // What StrToIntW gives for them, wrapped modulo 2^32.
    EXPECT_EQ(UnwrapTypedNumber(L"4294967306", 10), INT_MAX);
    EXPECT_EQ(UnwrapTypedNumber(L"2147483648", INT_MIN), INT_MAX);
    EXPECT_EQ(UnwrapTypedNumber(L"99999999999px", 1215752191), INT_MAX);
    EXPECT_EQ(UnwrapTypedNumber(L"-2147483649", INT_MAX), INT_MIN);
    EXPECT_EQ(UnwrapTypedNumber(L"-99999999999999999999999", 0), INT_MIN);
    // Through the rule they become the limits.
    EXPECT_EQ(ApplyTypedValueRule(UnwrapTypedNumber(L"4294967306", 10), 1, 500).setting, 500);
    EXPECT_EQ(ApplyTypedValueRule(UnwrapTypedNumber(L"-2147483649", INT_MAX), 1, 500).setting, 1);
}

} // namespace
