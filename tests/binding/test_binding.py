"""The module's calling conventions: binding, conversion messages, failure kinds, the class."""

import ctypes
import inspect
import sys

import pytest

import brevant_rs as br

UNIT = br.make_box("1", "1", "1", "p")


def test_module_attributes_in_registration_order():
    names = [n for n in vars(br) if not n.startswith("__")]
    assert names[0] == "PySolid"
    assert names[-1] == "InternalFailure"
    assert br.__doc__ == ""


def test_internal_failure_derives_directly_from_base_exception():
    assert br.InternalFailure.__bases__ == (BaseException,)
    assert not issubclass(br.InternalFailure, Exception)


@pytest.mark.parametrize(
    "function, signature",
    [(br.make_box, "(dx, dy, dz, prefix)"), (br.box_form, "(dx, dy, dz)")],
)
def test_text_signatures(function, signature):
    assert str(inspect.signature(function)) == signature
    assert function.__self__ is br


def test_method_signatures():
    assert br.PySolid.volume.__text_signature__ == "($self)"
    assert str(inspect.signature(UNIT.bbox)) == "()"


def test_keywords_and_positionals_bind_alike():
    by_keyword = br.make_box(dz="3", dy="2", dx="1", prefix="p")
    assert by_keyword.canonical() == br.make_box("1", "2", "3", "p").canonical()
    assert br.make_box("1", "2", dz="3", prefix="p").canonical() == by_keyword.canonical()


@pytest.mark.parametrize(
    "call, message",
    [
        (lambda: br.make_box("1", "2", "3"), "make_box() missing 1 required positional argument: 'prefix'"),
        (lambda: br.make_box("1", "2"), "make_box() missing 2 required positional arguments: 'dz' and 'prefix'"),
        (
            lambda: br.make_box(),
            "make_box() missing 4 required positional arguments: 'dx', 'dy', 'dz', and 'prefix'",
        ),
        (lambda: br.make_box("1", "2", "3", "p", "q"), "make_box() takes 4 positional arguments but 5 were given"),
        (lambda: br.box_form("1", "2", "3", "4"), "box_form() takes 3 positional arguments but 4 were given"),
        (lambda: br.make_box("1", "2", "3", "p", foo="1"), "make_box() got an unexpected keyword argument 'foo'"),
        (lambda: br.make_box("1", "2", "3", dx="1", prefix="p"), "make_box() got multiple values for argument 'dx'"),
        (lambda: UNIT.volume(1), "PySolid.volume() takes 0 positional arguments but 1 was given"),
        (lambda: UNIT.canonical(1, 2), "PySolid.canonical() takes 0 positional arguments but 2 were given"),
        (lambda: UNIT.bbox(x=1), "PySolid.bbox() got an unexpected keyword argument 'x'"),
        (lambda: br.make_box(1, "2", "3", "p"), "argument 'dx': 'int' object cannot be converted to 'PyString'"),
        (lambda: br.make_box("1", "2", None, "p"), "argument 'dz': 'NoneType' object cannot be converted to 'PyString'"),
        (lambda: br.make_box("1", "2", "3", b"p"), "argument 'prefix': 'bytes' object cannot be converted to 'PyString'"),
        (lambda: br.box_form("1", 2.5, "3"), "argument 'dy': 'float' object cannot be converted to 'PyString'"),
        (lambda: br.PySolid(), "No constructor defined for PySolid"),
    ],
)
def test_type_errors_have_exact_messages(call, message):
    with pytest.raises(TypeError) as info:
        call()
    assert str(info.value) == message


def test_binding_errors_come_before_conversion_errors():
    with pytest.raises(TypeError, match="missing 1 required"):
        br.make_box(1, "2", "3")


def test_first_failing_conversion_in_signature_order_is_reported():
    with pytest.raises(TypeError, match="argument 'dy'"):
        br.make_box("1", 2, 3, "p")


def test_str_subclasses_are_texts():
    class Text(str):
        pass

    assert br.box_form(Text("2"), "1", "1")[0] == "12/1"


def test_text_that_cannot_be_encoded_raises_the_encoding_error():
    with pytest.raises(UnicodeEncodeError):
        br.make_box("1", "1", "1", "\ud800")


def test_internal_failure_escapes_except_exception_and_module_stays_usable():
    caught = None
    try:
        try:
            br.make_box("1", "2", "x", "p")
        except Exception:  # noqa: BLE001 - must not catch it
            pytest.fail("an internal failure must not be an Exception")
    except br.InternalFailure as failure:
        caught = failure
    assert "InvalidDigit" in str(caught)
    assert br.make_box("1", "2", "3", "p").volume6_str() == "36/1"


def test_pysolid_is_final_and_has_no_instance_dict():
    with pytest.raises(TypeError):
        type("Sub", (br.PySolid,), {})
    with pytest.raises(AttributeError):
        UNIT.extra = 1


def test_failed_method_call_leaves_solid_unchanged():
    before = UNIT.canonical()
    with pytest.raises(TypeError):
        UNIT.volume(1)
    assert UNIT.canonical() == before


def test_reinitialisation_returns_the_same_module():
    init = ctypes.PyDLL(br.__file__).PyInit_brevant_rs
    init.restype = ctypes.py_object
    assert init() is br
    saved = sys.modules.pop("brevant_rs")
    try:
        import brevant_rs as again

        assert again is saved
    finally:
        sys.modules["brevant_rs"] = saved


def test_second_subinterpreter_is_refused():
    interpreters = pytest.importorskip("_xxsubinterpreters")
    interpreter = interpreters.create()
    try:
        with pytest.raises(Exception, match="ImportError"):
            interpreters.run_string(interpreter, "import brevant_rs")
    finally:
        interpreters.destroy(interpreter)
    assert br.make_box("1", "1", "1", "p").volume6_str() == "6/1"


def test_installed_file_uses_the_stable_abi():
    assert br.__file__.endswith("brevant_rs.abi3.so")


SQUARE = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "0"]]]


@pytest.mark.parametrize(
    "kwargs, error, message",
    [
        ({"net_a": "abc"}, TypeError, "argument 'net_a': Can't extract `str` to `Vec`"),
        ({"net_a": 5}, TypeError, "argument 'net_a': 'int' object cannot be converted to 'Sequence'"),
        ({"net_a": [5]}, TypeError, "argument 'net_a': 'int' object cannot be converted to 'Sequence'"),
        ({"net_a": ["ab"]}, TypeError, "argument 'net_a': Can't extract `str` to `Vec`"),
        ({"net_a": [[[0]]]}, TypeError, "argument 'net_a': 'int' object cannot be converted to 'PyString'"),
        ({"a_box": "0112"}, TypeError, "argument 'a_box': Can't extract `str` to `Vec`"),
        ({"b_box": {"0": 1}}, TypeError, "argument 'b_box': 'dict' object cannot be converted to 'Sequence'"),
        ({"depth": -1}, OverflowError, None),
        ({"depth": 2**64}, OverflowError, None),
        ({"depth": "1"}, TypeError, "argument 'depth': 'str' object cannot be interpreted as an integer"),
        ({"depth": 1.0}, TypeError, "argument 'depth': 'float' object cannot be interpreted as an integer"),
    ],
)
def test_list_and_integer_conversions(kwargs, error, message):
    arguments = {"net_a": SQUARE, "net_b": SQUARE, "depth": 0, **kwargs}
    with pytest.raises(error) as info:
        br.ssi_pairs(**arguments)
    if message is not None:
        assert str(info.value) == message


def test_sequences_and_index_objects_are_accepted():
    as_tuples = tuple(tuple(tuple(p) for p in row) for row in SQUARE)

    class Depth:
        def __index__(self):
            return 1

    expected = br.ssi_pairs(SQUARE, SQUARE, 1)
    assert br.ssi_pairs(as_tuples, SQUARE, Depth()) == expected
    assert br.ssi_pairs(SQUARE, SQUARE, True) == expected
    assert br.ssi_pairs(SQUARE, SQUARE, 1, None, None) == expected
    assert br.ssi_pairs(SQUARE, SQUARE, 1, a_box=("0", "1", "0", "1")) == expected


def test_optional_parameters_in_messages():
    with pytest.raises(TypeError) as info:
        br.ssi_pairs(SQUARE, SQUARE, 0, None, None, None)
    assert str(info.value) == "ssi_pairs() takes from 3 to 5 positional arguments but 6 were given"
    assert str(inspect.signature(br.ssi_pairs)) == "(net_a, net_b, depth, a_box=None, b_box=None)"
