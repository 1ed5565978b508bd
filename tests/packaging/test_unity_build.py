"""Each subsystem compiles as one translation unit (CMake's unity build, BREVANT_UNITY_BUILD), so
a function with internal linkage is visible in every source file of its subsystem that comes after
its own. Two such functions of one name in different files become overloads of each other there:
with equal parameters the build fails, but with different ones a call can quietly pick the other
file's function. Their names are therefore unique within each subsystem."""

import collections
import pathlib
import re

import pytest

SRC = pathlib.Path(__file__).resolve().parents[2] / "src"

# A function declared or defined from the first column: an optional return type, its name and '('.
# Member functions defined outside their class carry a qualified name and do not match.
DECLARATION = re.compile(r"(?:[A-Za-z_][\w:<>,\s*&]*?[\s*&])?([A-Za-z_]\w*)\s*\(")
NOT_FUNCTIONS = {"static_assert", "decltype", "sizeof", "alignof", "noexcept"}


def internal_functions(text):
    """The functions with internal linkage of one source file: those at the top level of an anonymous
    namespace (opened by `namespace {` and closed by `}  // namespace` in the first column) and those
    declared static at file scope."""
    names, anonymous = set(), False
    for line in text.splitlines():
        if line.startswith("namespace {"):
            anonymous = True
        elif anonymous and line.startswith("}  // namespace"):
            anonymous = False
        elif anonymous or line.startswith("static "):
            match = DECLARATION.match(line.removeprefix("static ").removeprefix("inline "))
            if match and match.group(1) not in NOT_FUNCTIONS:
                names.add(match.group(1))
    return names


def clashes(sources):
    """{name: [files]} for the internal function names that more than one of `sources` (file name
    to text) declares."""
    files = collections.defaultdict(list)
    for file, text in sorted(sources.items()):
        for name in internal_functions(text):
            files[name].append(file)
    return {name: found for name, found in files.items() if len(found) > 1}


def subsystem_sources(directory):
    return {path.name: path.read_text() for path in directory.glob("*.cpp")}


SUBSYSTEMS = sorted(path.name for path in SRC.iterdir() if path.is_dir() and any(path.glob("*.cpp")))


@pytest.mark.parametrize("subsystem", SUBSYSTEMS)
def test_internal_function_names_are_unique_within_each_subsystem(subsystem):
    assert clashes(subsystem_sources(SRC / subsystem)) == {}


def test_the_scan_sees_the_internal_functions_of_every_subsystem_that_has_them():
    for subsystem in SUBSYSTEMS:
        sources = subsystem_sources(SRC / subsystem)
        if any("\nnamespace {" in text or "\nstatic " in text for text in sources.values()):
            assert set().union(*map(internal_functions, sources.values())), subsystem


FIRST = """\
#include "x.hpp"

namespace brevant {
namespace {

int find(std::vector<int>& parent, int c) {
    while (parent[c] != c) c = parent[c];
    return c;
}

template <typename T>
std::optional<std::size_t> first_ear(const std::vector<T>& v, int blocking) {
    return first(v);
}

const Plane& pick(const Plane& a,
                  const Plane& b);
static_assert(sizeof(int) == 4);
const Rational kHalf = half(1);

}  // namespace

int exported(int a) { return find(a); }

}  // namespace brevant

static bool shared_helper(int a);
"""

SECOND = """\
namespace brevant {
namespace {

struct Stack {
    void push(int v);
};

void Stack::push(int v) { items(v); }

std::size_t first_ear(const std::vector<Point2>& v) { return 0; }

}  // namespace

int find(const Solid& solid) { return exported(1); }
bool shared_helper(int a) { return a > 0; }

}  // namespace brevant
"""


def test_the_scan_finds_definitions_declarations_and_statics_but_not_members_or_exported_functions():
    assert internal_functions(FIRST) == {"find", "first_ear", "pick", "shared_helper"}
    assert internal_functions(SECOND) == {"first_ear"}


@pytest.mark.parametrize("first, second, clashing", [
    (FIRST, SECOND, {"first_ear": ["a.cpp", "b.cpp"]}),
    (FIRST, FIRST, {name: ["a.cpp", "b.cpp"] for name in ("find", "first_ear", "pick", "shared_helper")}),
    (SECOND, SECOND.replace("first_ear", "first_corner"), {}),
])
def test_clashes_name_each_shared_internal_function_with_its_files(first, second, clashing):
    assert clashes({"a.cpp": first, "b.cpp": second}) == clashing
