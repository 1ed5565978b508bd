// Reading number texts: accepted forms, the fault kind of every rejected form, and the order in
// which the two pieces of a fraction are checked.
#include <string>

#include <gtest/gtest.h>

#include "exact/failure.hpp"
#include "exact/rational.hpp"

namespace brevant {
namespace {

struct Accepted {
    std::string text;
    std::string written;
};

class ParseAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(ParseAccepts, ReadsAndWritesBack) { EXPECT_EQ(parse_r(GetParam().text).str(), GetParam().written); }

INSTANTIATE_TEST_SUITE_P(Texts, ParseAccepts,
                         testing::Values(Accepted{"7", "7/1"}, Accepted{"-0", "0/1"}, Accepted{"-0/5", "0/1"},
                                         Accepted{"0/5", "0/1"}, Accepted{"4/-6", "-2/3"},
                                         Accepted{"-4/-6", "2/3"}, Accepted{"+5", "5/1"},
                                         Accepted{"-5", "-5/1"}, Accepted{"+5/+10", "1/2"},
                                         Accepted{"1_0/4", "5/2"}, Accepted{"1__000_", "1000/1"},
                                         Accepted{"007/014", "1/2"}, Accepted{"000", "0/1"},
                                         Accepted{"-1/+3", "-1/3"}));

// Pieces of up to 18 digits are read into a machine word, longer ones into a big integer: the
// same value must come out on either side of that boundary, alone and mixed in one fraction.
INSTANTIATE_TEST_SUITE_P(
    WordBoundary, ParseAccepts,
    testing::Values(Accepted{"999999999999999999", "999999999999999999/1"},
                    Accepted{"-999999999999999999", "-999999999999999999/1"},
                    Accepted{"1000000000000000000", "1000000000000000000/1"},
                    Accepted{"9223372036854775807", "9223372036854775807/1"},
                    Accepted{"-9223372036854775808", "-9223372036854775808/1"},
                    Accepted{"9223372036854775808", "9223372036854775808/1"},
                    Accepted{"0000000000000000000000007/014", "1/2"},
                    Accepted{"1000000000000000000000/1000", "1000000000000000000/1"},
                    Accepted{"6/-1000000000000000000000", "-3/500000000000000000000"},
                    Accepted{"999999999999999999/-999999999999999999", "-1/1"},
                    Accepted{"-18446744073709551616/4", "-4611686018427387904/1"}));

struct Rejected {
    std::string text;
    std::string fault;
};

class ParseRejects : public testing::TestWithParam<Rejected> {};

TEST_P(ParseRejects, NamesFaultKindAndText) {
    const Rejected& row = GetParam();
    try {
        parse_r(row.text);
        FAIL() << "accepted '" << row.text << "'";
    } catch (const InternalFailure& failure) {
        const std::string message = failure.what();
        EXPECT_NE(message.find(row.fault), std::string::npos) << message;
        EXPECT_NE(message.find("'" + row.text + "'"), std::string::npos) << message;
        const std::string other = row.fault == "Empty" ? "InvalidDigit" : "Empty";
        EXPECT_EQ(message.find(other), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseRejects,
    testing::Values(Rejected{"", "Empty"}, Rejected{"-", "Empty"}, Rejected{"+", "Empty"},
                    Rejected{"-+", "InvalidDigit"}, Rejected{"/3", "Empty"}, Rejected{"3/", "Empty"},
                    Rejected{"/", "Empty"}, Rejected{"3/-", "Empty"}, Rejected{"1.5", "InvalidDigit"},
                    Rejected{"1e3", "InvalidDigit"}, Rejected{"0x10", "InvalidDigit"},
                    Rejected{" 1", "InvalidDigit"}, Rejected{"1 ", "InvalidDigit"},
                    Rejected{"1 / 2", "InvalidDigit"}, Rejected{"abc", "InvalidDigit"},
                    Rejected{"--5", "InvalidDigit"}, Rejected{"-+5", "InvalidDigit"},
                    Rejected{"+-5", "InvalidDigit"}, Rejected{"++5", "InvalidDigit"},
                    Rejected{"_5", "InvalidDigit"}, Rejected{"-_5", "InvalidDigit"},
                    Rejected{"1/_2", "InvalidDigit"}, Rejected{"5-", "InvalidDigit"},
                    Rejected{"\xc2\xbd", "InvalidDigit"}, Rejected{"1/2/3", "InvalidDigit"},
                    Rejected{"5/x/y", "InvalidDigit"}, Rejected{"x/2/3", "InvalidDigit"},
                    Rejected{"1//2", "InvalidDigit"}, Rejected{"/2/3", "InvalidDigit"},
                    Rejected{"x/0", "InvalidDigit"}, Rejected{"/0", "Empty"}, Rejected{"0/x", "InvalidDigit"},
                    Rejected{"x/", "InvalidDigit"}, Rejected{"/x", "Empty"}));

class ParseZeroDenominator : public testing::TestWithParam<std::string> {};

TEST_P(ParseZeroDenominator, FailsWithExactMessage) {
    try {
        parse_r(GetParam());
        FAIL() << "accepted '" << GetParam() << "'";
    } catch (const InternalFailure& failure) {
        EXPECT_STREQ(failure.what(), "denominator == 0");
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseZeroDenominator, testing::Values("3/0", "0/0", "-0/0", "0/-0", "7/0_0", "1/+000",
                                                                "12345678901234567890/0", "1/0000000000000000000000"));

TEST(Parse, HundredsOfDigitsRoundTrip) {
    std::string numerator = "-";
    std::string denominator;
    for (int i = 0; i < 300; ++i) {
        numerator += static_cast<char>('1' + i % 9);
        denominator += static_cast<char>('0' + (i * 7 + 3) % 10);
    }
    const Rational value = parse_r(numerator + "/" + denominator);
    EXPECT_EQ(parse_r(value.str()), value);
    // Multiplying back by the denominator must give the numerator exactly.
    EXPECT_EQ((value * parse_r(denominator)).str(), numerator + "/1");
    const std::string huge(400, '9');
    EXPECT_EQ(parse_r(huge).str(), huge + "/1");
    EXPECT_EQ(parse_r("1/" + huge).str(), "1/" + huge);
}

}  // namespace
}  // namespace brevant
