"""Every function and method called with abusive arguments (the cases of call_table.py) raises the
expected exception type, or the object's own exception, or gives the expected result; afterwards the
module still works and the solids involved are unchanged."""

import pathlib
import sys

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from call_table import ROWS, SAME, SUCCEEDS, cases, comparable, receiver  # noqa: E402

CASES = [case for row in ROWS for case in cases(row)]


def test_every_callable_has_a_row():
    functions = {n for n, v in vars(br).items() if callable(v) and not n.startswith("_") and not isinstance(v, type)}
    methods = {n for n in vars(br.PySolid) if not n.startswith("_")}
    rows = {(r.name, r.is_method) for r in ROWS}
    missing = sorted({(n, False) for n in functions} - rows) + sorted({(n, True) for n in methods} - rows)
    assert not missing, f"add rows to tests/binding/call_table.py for {missing}"


@pytest.mark.parametrize("case", CASES, ids=[c.id for c in CASES])
def test_abusive_call(case):
    if not case.row.available():
        pytest.skip(f"{case.row.name} is not in the module")
    function, args, kwargs = case.make()
    solids = [a for a in [getattr(function, "__self__", None), *args] if isinstance(a, br.PySolid)]
    before = [s.polygons() for s in solids]

    if isinstance(case.expected, type):
        with pytest.raises(case.expected):
            function(*args, **kwargs)
    else:
        result = function(*args, **kwargs)
        if case.expected == SAME:
            valid_function, valid_args, _ = cases(case.row)[0].make()
            assert comparable(result) == comparable(valid_function(*valid_args))
        else:
            assert case.expected == SUCCEEDS

    assert [s.polygons() for s in solids] == before
    assert br.make_box("1", "2", "3", "p").volume6_str() == "36/1"


def test_a_method_called_on_its_own_result_and_with_itself_as_operand():
    solid = receiver()
    if hasattr(solid, "boolean"):
        assert solid.boolean("intersect", solid).volume6_str() == "6/1"
    assert solid.translate("0", "0", "0").translate("0", "0", "0").polygons() == solid.polygons()
