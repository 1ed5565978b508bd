"""The installed stubs against the module. stubtest compares every name and signature; it cannot see
what a call returns, so every callable is also called with its valid arguments (tests/binding/
call_table.py) and the arguments and the result are checked against the types that the stub
declares. Each stub docstring names the parameters and the failures the call table knows of."""

import collections.abc
import inspect
import pathlib
import re
import subprocess
import sys
import types
import typing

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "binding"))
from call_table import ROWS, cases  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parents[2]
STUB = pathlib.Path(br.__file__).parent / "brevant_rs-stubs" / "__init__.pyi"


def stub_namespace():
    """The stub run as Python; its annotations stay text until get_type_hints reads them."""
    namespace = {}
    exec(compile("from __future__ import annotations\n" + STUB.read_text(), str(STUB), "exec"), namespace)
    return namespace


STUBS = stub_namespace()


def stub_of(row):
    return getattr(STUBS["PySolid"], row.name) if row.is_method else STUBS[row.name]


def conforms(value, hint):
    """Whether the value is of the annotated type, looking into containers."""
    origin, args = typing.get_origin(hint), typing.get_args(hint)
    if hint is STUBS["PySolid"]:
        return type(value) is br.PySolid
    if isinstance(hint, type) and issubclass(hint, tuple) and hint.__name__ in vars(br):
        # a record type of the module: exactly that type, its items as the stub's tuple base says
        return type(value) is getattr(br, hint.__name__) and conforms(tuple(value), hint.__orig_bases__[0])
    if hint is typing.SupportsIndex:
        return isinstance(value, typing.SupportsIndex)
    if origin is typing.Literal:
        return value in args and type(value) is str
    if origin in (typing.Union, types.UnionType):
        return any(conforms(value, a) for a in args)
    if origin is tuple:
        return type(value) is tuple and len(value) == len(args) and all(map(conforms, value, args))
    if origin in (list, collections.abc.Sequence, collections.abc.Iterable):
        return isinstance(value, origin) and not isinstance(value, str) and all(conforms(v, args[0]) for v in value)
    if hint is type(None):
        return value is None
    return type(value) is hint  # exactly: a bool is not the int the stub promises


@pytest.mark.parametrize("row", ROWS, ids=[r.name for r in ROWS])
def test_valid_calls_take_and_return_what_the_stub_declares(row):
    declared = typing.get_type_hints(stub_of(row), globalns=STUBS)
    args = row.valid_args()
    for param, value in zip(row.params, args):
        assert conforms(value, declared[param.name]), (param.name, declared[param.name])
    result = row.callable()(*args)
    assert conforms(result, declared["return"]), (declared["return"], result)


@pytest.mark.parametrize("row", ROWS, ids=[r.name for r in ROWS])
def test_stub_docstrings_name_parameters_result_and_failures(row):
    doc = stub_of(row).__doc__
    assert "Returns:" in doc
    documented = re.findall(r"^ {8,12}(\w+(?:, \w+)*):", doc.split("Args:")[-1].split("Returns:")[0], re.M)
    assert [name for line in documented for name in line.split(", ")] == [p.name for p in row.params]
    # The module's own failure kinds that the call table expects of some argument of this row or of
    # its refused arguments (a wrong number of arguments is the module docstring's business).
    kinds = (TypeError, OverflowError, ValueError, br.InternalFailure)
    argument_cases = [c for c in cases(row) if c.label == "refused" or c.label.split("-")[0] in
                      {p.name for p in row.params}]
    expected = {kind.__name__ for case in argument_cases for kind in kinds if case.expected is kind}
    raises = doc.split("Raises:")[-1] if "Raises:" in doc else ""
    assert sorted(f for f in expected if f"{f}:" not in raises) == []
    assert "ValueError:" not in raises or "ValueError" in expected, "a refusal the call table does not know"


def runtime_callables():
    """(name, object) of every module function and every PySolid method (the special methods whose
    docstrings the interpreter fixes, __new__ and __repr__, aside), and the exception type."""
    found = [(name, value) for name, value in vars(br).items() if callable(value) and not name.startswith("__")]
    found += [(f"PySolid.{name}", value) for name, value in vars(br.PySolid).items()
              if callable(value) and name not in ("__new__", "__repr__")]
    return [(name, value) for name, value in found if name != "PySolid"]


def stub_object(name):
    owner, _, member = name.rpartition(".")
    return getattr(STUBS[owner], member) if owner else STUBS[member]


@pytest.mark.parametrize("name, runtime", runtime_callables(), ids=[name for name, _ in runtime_callables()])
def test_docstrings_at_run_time_are_the_stub_docstrings(name, runtime):
    assert runtime.__doc__ == inspect.cleandoc(stub_object(name).__doc__)
    if getattr(runtime, "__text_signature__", None):  # the binder's tables give it, not the stub
        declared = [p for p in inspect.signature(stub_object(name)).parameters if p != "self"]
        assert [p for p in inspect.signature(runtime).parameters if p != "self"] == declared


@pytest.mark.heavy
def test_stubtest_finds_no_difference(tmp_path):
    checked = subprocess.run([sys.executable, "-m", "mypy.stubtest", "brevant_rs"], capture_output=True, text=True,
                             cwd=tmp_path)
    assert checked.returncode == 0, checked.stdout + checked.stderr
    print(checked.stdout)


@pytest.mark.heavy
def test_examples_pass_mypy_strict(tmp_path):
    checked = subprocess.run([sys.executable, "-m", "mypy", "--strict", "--cache-dir", str(tmp_path),
                              str(ROOT / "examples")], capture_output=True, text=True, cwd=tmp_path)
    assert checked.returncode == 0, checked.stdout + checked.stderr
    print(checked.stdout)
