// Reading number texts. Decimal only; no whitespace, exponent, point or radix prefix.
#include <string>
#include <string_view>
#include <vector>

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

// One integer piece: an optional "-", then an optional single "+", then digits with underscores
// allowed after the first character.
BigInt parse_integer_piece(std::string_view piece, std::string_view whole_text) {
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
    BigInt value = BigInt::from_digits(digits);
    return negative ? -value : value;
}

}  // namespace

Rational parse_r(std::string_view text) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = text.find('/', start);
        pieces.push_back(text.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start));
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    // More than one "/" is not a fraction: refuse it rather than read only the first piece.
    if (pieces.size() > 2) reject(Fault::InvalidDigit, text);
    if (pieces.size() == 1) return Rational(parse_integer_piece(pieces[0], text));
    BigInt numerator = parse_integer_piece(pieces[0], text);
    BigInt denominator = parse_integer_piece(pieces[1], text);
    return Rational(numerator, denominator);
}

}  // namespace brevant
