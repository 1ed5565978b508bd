"""The module's calling conventions: binding, conversion messages, failure kinds, the class."""

import ctypes
import inspect
import pathlib
import sys
import tomllib

import pytest

import brevant_rs as br

UNIT = br.make_box("1", "1", "1", "p")
SQUARE = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "0"]]]


def ssi(**kwargs):
    return lambda: br.ssi_pairs(**{"net_a": SQUARE, "net_b": SQUARE, "depth": 0, **kwargs})


def test_module_attributes_in_registration_order():
    names = [n for n in vars(br) if not n.startswith("__")]
    assert names[0] == "PySolid"
    assert names[-1] == "InternalFailure"
    assert br.__doc__ == ""
    assert br.__file__.endswith("brevant_rs.abi3.so")


def test_version_is_the_one_in_pyproject():
    pyproject = pathlib.Path(__file__).resolve().parents[2] / "pyproject.toml"
    assert br.__version__ == tomllib.loads(pyproject.read_text())["project"]["version"]


@pytest.mark.parametrize("function, signature", [
    (br.make_box, "(dx, dy, dz, prefix)"), (br.box_form, "(dx, dy, dz)"),
    (br.ssi_pairs, "(net_a, net_b, depth, a_box=None, b_box=None)"), (UNIT.bbox, "()"),
])
def test_text_signatures(function, signature):
    assert str(inspect.signature(function)) == signature
    assert function.__self__ in (br, UNIT)


def test_method_signatures_name_self():
    assert br.PySolid.volume.__text_signature__ == "($self)"


def test_keywords_and_positionals_bind_alike_and_absent_optionals_are_none():
    by_keyword = br.make_box(dz="3", dy="2", dx="1", prefix="p")
    assert by_keyword.canonical() == br.make_box("1", "2", "3", "p").canonical()
    assert br.make_box("1", "2", dz="3", prefix="p").canonical() == by_keyword.canonical()
    assert br.ssi_pairs(SQUARE, SQUARE, 1, None, None) == br.ssi_pairs(SQUARE, SQUARE, 1)


@pytest.mark.parametrize("call, message", [
    (lambda: br.make_box("1", "2", "3"), "make_box() missing 1 required positional argument: 'prefix'"),
    (lambda: br.make_box("1", "2"), "make_box() missing 2 required positional arguments: 'dz' and 'prefix'"),
    (lambda: br.make_box(), "make_box() missing 4 required positional arguments: 'dx', 'dy', 'dz', and 'prefix'"),
    (lambda: br.make_box("1", "2", "3", "p", "q"), "make_box() takes 4 positional arguments but 5 were given"),
    (lambda: br.box_form("1", "2", "3", "4"), "box_form() takes 3 positional arguments but 4 were given"),
    (lambda: br.ssi_pairs(SQUARE, SQUARE, 0, None, None, None),
     "ssi_pairs() takes from 3 to 5 positional arguments but 6 were given"),
    (lambda: br.make_box("1", "2", "3", "p", foo="1"), "make_box() got an unexpected keyword argument 'foo'"),
    (lambda: br.make_box("1", "2", "3", dx="1", prefix="p"), "make_box() got multiple values for argument 'dx'"),
    (lambda: UNIT.volume(1), "PySolid.volume() takes 0 positional arguments but 1 was given"),
    (lambda: UNIT.canonical(1, 2), "PySolid.canonical() takes 0 positional arguments but 2 were given"),
    (lambda: UNIT.bbox(x=1), "PySolid.bbox() got an unexpected keyword argument 'x'"),
    # Binding comes before conversion, and conversion stops at the first failure in signature order.
    (lambda: br.make_box(1, "2", "3"), "make_box() missing 1 required positional argument: 'prefix'"),
    (lambda: br.make_box("1", 2, 3, "p"), "argument 'dy': 'int' object cannot be converted to 'PyString'"),
    (lambda: br.make_box(1, "2", "3", "p"), "argument 'dx': 'int' object cannot be converted to 'PyString'"),
    (lambda: br.make_box("1", "2", None, "p"), "argument 'dz': 'NoneType' object cannot be converted to 'PyString'"),
    (lambda: br.make_box("1", "2", "3", b"p"), "argument 'prefix': 'bytes' object cannot be converted to 'PyString'"),
    (lambda: br.box_form("1", 2.5, "3"), "argument 'dy': 'float' object cannot be converted to 'PyString'"),
    (lambda: br.PySolid(), "No constructor defined for PySolid"),
    (ssi(net_a="abc"), "argument 'net_a': Can't extract `str` to `Vec`"),
    (ssi(net_a=5), "argument 'net_a': 'int' object cannot be converted to 'Sequence'"),
    (ssi(net_a=[5]), "argument 'net_a': 'int' object cannot be converted to 'Sequence'"),
    (ssi(net_a=["ab"]), "argument 'net_a': Can't extract `str` to `Vec`"),
    (ssi(net_a=[[[0]]]), "argument 'net_a': 'int' object cannot be converted to 'PyString'"),
    (ssi(a_box="0112"), "argument 'a_box': Can't extract `str` to `Vec`"),
    (ssi(b_box={"0": 1}), "argument 'b_box': 'dict' object cannot be converted to 'Sequence'"),
    (ssi(depth="1"), "argument 'depth': 'str' object cannot be interpreted as an integer"),
    (ssi(depth=1.0), "argument 'depth': 'float' object cannot be interpreted as an integer"),
])
def test_type_errors_have_exact_messages(call, message):
    with pytest.raises(TypeError) as info:
        call()
    assert str(info.value) == message


def test_internal_failure_escapes_except_exception_and_module_stays_usable():
    assert br.InternalFailure.__bases__ == (BaseException,)
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
