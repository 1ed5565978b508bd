// Fuzz target: number texts. Any byte string either fails with InternalFailure or reads as a value
// whose written text is canonical (reduced, positive denominator, no leading zeros) and reads back
// as the same value with the same text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "exact/failure.hpp"
#include "exact/rational.hpp"

namespace {

using brevant::BigInt;
using brevant::Rational;

bool is_plain_decimal(std::string_view digits) {
    if (digits.empty() || (digits.size() > 1 && digits[0] == '0')) return false;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// "n/d": n an optional "-" then plain decimal (never "-0"), d plain decimal and positive.
bool is_canonical_text(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return false;
    std::string_view numerator = text.substr(0, slash);
    const std::string_view denominator = text.substr(slash + 1);
    if (!numerator.empty() && numerator[0] == '-') {
        numerator.remove_prefix(1);
        if (numerator == "0") return false;
    }
    return is_plain_decimal(numerator) && is_plain_decimal(denominator) && denominator != "0";
}

void check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Rational value;
    try {
        value = brevant::parse_r(text);
    } catch (const brevant::InternalFailure&) {
        return 0;
    }
    // Only signs, digits, underscores and slashes can make up an accepted text.
    check(text.find_first_not_of("+-_/0123456789") == std::string_view::npos);
    const std::string written = value.str();
    check(is_canonical_text(written));
    check(gcd(value.numerator(), value.denominator()) == BigInt(1));
    const Rational again = brevant::parse_r(written);
    check(again == value);
    check(again.str() == written);
    check(value.to_double() == again.to_double());
    return 0;
}
