// Reading number texts. Decimal only; no whitespace, exponent, point or radix prefix.
#include <string>
#include <string_view>
#include <variant>

#include "exact/failure.hpp"
#include "exact/rational.hpp"

namespace brevant {
namespace {

enum class Fault { Empty, InvalidDigit };

// The text as a message shows it: control bytes written as \xNN, so that a NUL inside the text
// cannot cut the message short where it is read as a C string.
std::string shown(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}

[[noreturn]] void reject(Fault fault, std::string_view text) {
    const char* kind = fault == Fault::Empty ? "Empty" : "InvalidDigit";
    throw InternalFailure("cannot parse number text '" + shown(text) + "': " + kind);
}

// A piece's value: a machine word while its digits are few enough to fit, a BigInt beyond.
using PieceValue = std::variant<long, BigInt>;

// At most 18 decimal digits always fit a signed 64-bit word (10^18 < 2^63).
constexpr std::size_t kWordDigits = 18;

// One integer piece: an optional "-", then an optional single "+", then digits with underscores
// allowed after the first character.
PieceValue parse_integer_piece(std::string_view piece, std::string_view whole_text) {
    bool negative = false;
    if (!piece.empty() && piece[0] == '-' && !(piece.size() > 1 && piece[1] == '+')) {
        negative = true;
        piece.remove_prefix(1);
    }
    if (!piece.empty() && piece[0] == '+' && !(piece.size() > 1 && piece[1] == '+')) piece.remove_prefix(1);
    if (piece.empty()) reject(Fault::Empty, whole_text);
    if (piece[0] == '_') reject(Fault::InvalidDigit, whole_text);
    std::string digits;
    digits.reserve(piece.size());
    for (char c : piece) {
        if (c >= '0' && c <= '9') {
            digits.push_back(c);
        } else if (c != '_') {
            reject(Fault::InvalidDigit, whole_text);
        }
    }
    if (digits.size() <= kWordDigits) {
        long value = 0;
        for (char d : digits) value = value * 10 + (d - '0');
        return negative ? -value : value;
    }
    BigInt value = BigInt::from_digits(digits);
    return negative ? PieceValue(-value) : PieceValue(std::move(value));
}

BigInt as_bigint(const PieceValue& value) {
    return std::holds_alternative<long>(value) ? BigInt(std::get<long>(value)) : std::get<BigInt>(value);
}

Rational integer_rational(const PieceValue& value) {
    return std::holds_alternative<long>(value) ? Rational(std::get<long>(value)) : Rational(std::get<BigInt>(value));
}

Rational fraction(const PieceValue& numerator, const PieceValue& denominator) {
    if (std::holds_alternative<long>(numerator) && std::holds_alternative<long>(denominator)) {
        if (std::get<long>(denominator) == 0) throw InternalFailure("denominator == 0");
        return Rational(std::get<long>(numerator)) / Rational(std::get<long>(denominator));
    }
    return Rational(as_bigint(numerator), as_bigint(denominator));
}

}  // namespace

Rational parse_r(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return integer_rational(parse_integer_piece(text, text));
    // More than one "/" is not a fraction: refuse it rather than read only the first piece.
    if (text.find('/', slash + 1) != std::string_view::npos) reject(Fault::InvalidDigit, text);
    const PieceValue numerator = parse_integer_piece(text.substr(0, slash), text);
    const PieceValue denominator = parse_integer_piece(text.substr(slash + 1), text);
    return fraction(numerator, denominator);
}

}  // namespace brevant
