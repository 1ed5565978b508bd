// The message of a rejected number text survives being read as a C string, whatever bytes the
// text holds.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "exact/failure.hpp"
#include "exact/rational.hpp"

namespace brevant {
namespace {

std::string rejection_of(const std::string& text) {
    try {
        parse_r(text);
    } catch (const InternalFailure& failure) {
        return failure.what();
    }
    return "accepted";
}

TEST(ParseMessage, ControlBytesAreEscapedOtherBytesShownAsGiven) {
    const std::string message = rejection_of(std::string("1\0002\n", 4));
    EXPECT_EQ(std::strlen(message.c_str()), message.size());
    EXPECT_NE(message.find("'1\\x002\\x0a'"), std::string::npos) << message;
    EXPECT_NE(message.find("InvalidDigit"), std::string::npos) << message;
    EXPECT_NE(rejection_of("1\xc3\xa9").find("'1\xc3\xa9'"), std::string::npos);
}

}  // namespace
}  // namespace brevant
