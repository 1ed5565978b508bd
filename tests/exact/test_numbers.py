"""Number texts and their conversion to double, seen through boxes and their measures."""

import math
import random
import sys
from fractions import Fraction

import pytest

import brevant_rs as br

RNG = random.Random(20240611)


def as_text(value: Fraction) -> str:
    return f"{value.numerator}/{value.denominator}"


def six_times(text: str) -> str:
    return br.box_form(text, "1", "1")[0]


def fault_of(call):
    with pytest.raises(br.InternalFailure) as caught:
        call()
    return str(caught.value)


# Pieces of up to 18 digits are read into a machine word, longer ones into a big integer: the same
# value must come out on either side of that boundary, alone and mixed in one fraction.
@pytest.mark.parametrize("text, value", [
    ("7", 7), ("-0", 0), ("0/5", 0), ("-0/5", 0), ("000", 0), ("4/-6", Fraction(-2, 3)), ("-4/-6", Fraction(2, 3)),
    ("+5", 5), ("-5", -5), ("+5/+10", Fraction(1, 2)), ("1_0/4", Fraction(5, 2)), ("1__0_", 10),
    ("007/014", Fraction(1, 2)), ("-1/+3", Fraction(-1, 3)),
    ("999999999999999999", 10**18 - 1), ("-999999999999999999", 1 - 10**18), ("1000000000000000000", 10**18),
    ("9223372036854775807", 2**63 - 1), ("-9223372036854775808", -(2**63)), ("9223372036854775808", 2**63),
    ("0000000000000000000000007/014", Fraction(1, 2)), ("1000000000000000000000/1000", 10**18),
    ("6/-1000000000000000000000", Fraction(-6, 10**21)), ("999999999999999999/-999999999999999999", -1),
    ("-18446744073709551616/4", -(2**62)),
])
def test_accepted_texts(text, value):
    assert six_times(text) == as_text(6 * Fraction(value))


def test_hundreds_of_digits_are_read_exactly():
    numerator, denominator = RNG.randrange(10**299, 10**300), RNG.randrange(10**250, 10**251)
    assert six_times(f"-{numerator}/{denominator}") == as_text(-6 * Fraction(numerator, denominator))
    huge = "9" * 400
    assert br.make_box(huge, "1", "1", "p").volume6_str() == as_text(Fraction(6 * int(huge)))


EMPTY = ["", "-", "+", "/3", "3/", "/", "/0", "/x", "3/-"]
INVALID = [
    "1.5", "1e3", "0x10", " 1", "1 ", "1 / 2", "--5", "-+5", "+-5", "++5", "-+", "_5", "-_5", "5-", "1/_2", "abc",
    "\u00bd", "1/2/3", "5/x/y", "x/2/3", "/2/3", "1//2", "x/0", "0/x", "x/",
]


@pytest.mark.parametrize("text, kind", [(t, "Empty") for t in EMPTY] + [(t, "InvalidDigit") for t in INVALID])
def test_rejected_texts_name_their_fault_kind(text, kind):
    message = fault_of(lambda: br.make_box("1", text, "1", "p"))
    assert kind in message
    assert ("InvalidDigit" if kind == "Empty" else "Empty") not in message
    assert f"'{text}'" in message


@pytest.mark.parametrize(
    "text", ["3/0", "0/0", "-0/0", "0/-0", "1/0_0", "1/+000", "12345678901234567890/0", "1/0000000000000000000000"]
)
def test_zero_denominator(text):
    assert fault_of(lambda: br.box_form("1", "1", text)) == "denominator == 0"


def test_extents_are_read_in_order():
    assert "InvalidDigit" in fault_of(lambda: br.box_form("x", "/", "1/0"))
    assert "Empty" in fault_of(lambda: br.box_form("1", "/", "x"))
    assert fault_of(lambda: br.box_form("1", "1/0", "x")) == "denominator == 0"


def nearest(value: Fraction) -> float:
    """Python's correctly rounded conversion (which raises where the rounded value overflows)."""
    try:
        return float(value)
    except OverflowError:
        return math.inf if value > 0 else -math.inf


def rounds_like_python(value: Fraction) -> bool:
    """The box from 0 to value has value as its max-x, and the box from 0 to −value as its min-x."""
    return (br.make_box(as_text(value), "1", "1", "p").bbox()[3] == nearest(value)
            and br.make_box(as_text(-value), "1", "1", "p").bbox()[0] == nearest(-value))


def random_value():
    kind = RNG.randrange(4)
    if kind == 0:  # ordinary fractions of many sizes
        return Fraction(RNG.getrandbits(RNG.randrange(1, 400)) + 1, RNG.getrandbits(RNG.randrange(1, 400)) + 1)
    if kind == 1:  # exact midpoints between two neighbouring normal doubles, and beside them
        tie = Fraction((2 * RNG.getrandbits(53) + 1) | (1 << 53)) * Fraction(2) ** RNG.randrange(-1070, 970)
        return tie + Fraction(RNG.choice([-1, 0, 0, 1]), 10**400)
    if kind == 2:  # the subnormal range, in units of half the smallest subnormal
        return Fraction(RNG.randrange(1, 1 << 54), 2**1075) + Fraction(RNG.choice([-1, 0, 1]), 10**400)
    return Fraction(RNG.randrange(2**1020, 2**1025)) + RNG.randrange(-(2**969), 2**969)  # near the top


HAIR = Fraction(1, 2**1200)
MAX = Fraction(sys.float_info.max)
EXTREMES = [
    Fraction(10**400), Fraction(1, 10**400), MAX,
    MAX + 2**970,  # the midpoint to 2^1024: ties to infinity
    MAX + 2**970 - Fraction(1, 10**400), Fraction(2**1024),
    Fraction(1, 2**1074),
    Fraction(1, 2**1075),  # halfway to the smallest subnormal: ties to zero
    Fraction(1, 2**1075) + Fraction(1, 10**400),
    Fraction(3, 2**1075),  # ties up to two subnormal units
    Fraction(5, 2**1075),  # ties down to two subnormal units
    Fraction(2**52 - 1, 2**1074),  # the largest subnormal
    Fraction(2**53 - 1, 2**1075),  # between the largest subnormal and the smallest normal
    Fraction(1, 2**1022),
    Fraction(1, 3 * 2**1060),  # 2^14/3 = 5461.33… subnormal units
    1 + Fraction(1, 2**53),  # ties to 1
    1 + Fraction(1, 2**53) + HAIR,
    1 + Fraction(3, 2**53),  # ties up to even
    1 - Fraction(1, 2**54),  # ties to 1
    1 - Fraction(1, 2**54) - HAIR,
    Fraction(2**53 + 1), Fraction(2**53 + 3), Fraction(2**53 + 1, 2), Fraction(1, 2**53 + 1), Fraction(1, 3),
    Fraction(2**63 - 1), Fraction(2**63),  # the limits of a machine word
]


@pytest.mark.parametrize("value", EXTREMES, ids=range(len(EXTREMES)))
def test_extreme_values_round_like_python(value):
    assert rounds_like_python(value)
    assert br.make_box(as_text(value), "1", "1", "p").volume() == nearest(value)


def test_random_values_round_like_python():
    assert [v for v in (random_value() for _ in range(3000)) if not rounds_like_python(v)] == []
