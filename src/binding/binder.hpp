// The table-driven binder between Python and the operations. Functions and methods are described
// by a FunctionDef / MethodDef: their parameters (name and kind) and their run function; their
// docstrings are the stub file's (stub_docs.cpp). The binder binds positional and keyword arguments, converts each argument by
// its kind (exact TypeError / OverflowError messages), calls run, converts the Result back and
// turns C++ exceptions into the module's failure kinds. Run functions see only C++ values.
//
// This header does not include Python.h: the glue files that define the tables stay plain C++.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "binding/solid_value.hpp"
#include "solid/solid.hpp"

namespace brevant::binding {

using Texts = std::vector<std::string>;
using Texts2 = std::vector<Texts>;
using Texts3 = std::vector<Texts2>;

// A face as PySolid.polygons() gives it and solid_from_polygons takes it: (label, [[x, y, z], ...]).
struct LabelledLoop {
    std::string label;
    Texts2 vertices;
};
using LabelledLoops = std::vector<LabelledLoop>;

// An edge as chamfer_edges() takes it: its index in edges(), or its end points (the start and end
// of an edges() record, or of any sequence whose first two items are three number texts each).
struct EdgeName {
    std::optional<std::int64_t> index;
    Texts start;
    Texts end;
};
using EdgeNames = std::vector<EdgeName>;

enum class Kind {
    Text,     // str
    Texts,    // sequence of str
    Texts2,   // sequence of sequences of str
    Texts3,   // three levels of sequences, str at the bottom
    UInt64,   // int >= 0 through __index__
    Int64,    // signed 64-bit int through __index__
    Solid,    // a PySolid
    Solids,   // any iterable of PySolid (held, so the items need not outlive the conversion)
    LabelledLoops,  // sequence of (label, loop) pairs: a str and a sequence of sequences of str
    EdgeNames,      // sequence of ints (through __index__) and edge records
};

struct Param {
    const char* name;
    Kind kind;
    bool optional = false;  // defaults to None, shown as "name=None" in the signature
    bool takes_none = false;  // required, but None is a value (read as std::monostate)
};

// A converted argument; std::monostate stands for None.
using Value = std::variant<std::monostate, std::string, Texts, Texts2, Texts3, std::uint64_t, std::int64_t,
                           SolidRef, std::vector<SolidRef>, LabelledLoops, EdgeNames>;

class Args {
public:
    explicit Args(std::vector<Value> values) : values_(std::move(values)) {}
    bool is_none(std::size_t i) const { return std::holds_alternative<std::monostate>(values_.at(i)); }
    const std::string& text(std::size_t i) const { return std::get<std::string>(values_.at(i)); }
    const Texts& texts(std::size_t i) const { return std::get<Texts>(values_.at(i)); }
    const Texts2& texts2(std::size_t i) const { return std::get<Texts2>(values_.at(i)); }
    const Texts3& texts3(std::size_t i) const { return std::get<Texts3>(values_.at(i)); }
    std::uint64_t uint64(std::size_t i) const { return std::get<std::uint64_t>(values_.at(i)); }
    std::int64_t int64(std::size_t i) const { return std::get<std::int64_t>(values_.at(i)); }
    // A solid argument's polygons, made when first asked for: ask without the interpreter lock.
    const Solid& solid(std::size_t i) const { return std::get<SolidRef>(values_.at(i))->solid(); }
    const SolidValue& solid_value(std::size_t i) const { return *std::get<SolidRef>(values_.at(i)); }
    const std::vector<SolidRef>& solid_values(std::size_t i) const { return std::get<std::vector<SolidRef>>(values_.at(i)); }
    const LabelledLoops& labelled_loops(std::size_t i) const { return std::get<LabelledLoops>(values_.at(i)); }
    const EdgeNames& edge_names(std::size_t i) const { return std::get<EdgeNames>(values_.at(i)); }
    // An optional parameter's value, or nothing for None.
    template <typename T>
    std::optional<T> optional(std::size_t i) const {
        if (is_none(i)) return std::nullopt;
        return std::get<T>(values_.at(i));
    }
    // Three number texts from position `first` on, read in order.
    Vec3 numbers3(std::size_t first) const {
        Rational x = parse_r(text(first));
        Rational y = parse_r(text(first + 1));
        Rational z = parse_r(text(first + 2));
        return {std::move(x), std::move(y), std::move(z)};
    }

private:
    std::vector<Value> values_;
};

struct TextPair {
    std::string first, second;
};
struct Count {
    std::uint64_t value;
};
struct Truth {
    bool value;
};
using IndexTriples = std::vector<std::array<std::uint64_t, 3>>;
// A triangle mesh: points as [x, y, z] texts, triangles as (i, j, k) tuples.
struct ExactMesh {
    Texts2 points;
    IndexTriples triangles;
};
// The same with the points as [x, y, z] floats.
struct FloatMesh {
    std::vector<std::array<double, 3>> points;
    IndexTriples triangles;
};
// Edges as edges() gives them, each naming its end points and face labels by index into the
// tables, so that what many records share becomes one Python object.
struct EdgeRecords {
    struct Record {
        std::size_t start, end, face_a, face_b;
        bool convex;
    };
    std::vector<std::array<std::string, 3>> points;  // [x, y, z] texts
    Texts labels;
    std::vector<Record> records;
};

// What a run function returns; each alternative has one Python form (Solid and Body: a new PySolid,
// std::string: str, TextPair: tuple of two str, Texts: list of str, Texts2: list of lists of str,
// std::vector<double>: list of float, double: float, Count: int, Truth: bool,
// LabelledLoops: list of (str, list of lists of str), ExactMesh and FloatMesh: (list of points, list of
// (i, j, k)), EdgeRecords: list of brevant_rs.Edge).
using Result = std::variant<Solid, Body, std::string, TextPair, Texts, Texts2, std::vector<double>, double, Count,
                            Truth, LabelledLoops, ExactMesh, FloatMesh, EdgeRecords>;

struct FunctionDef {
    const char* name;
    std::vector<Param> params;
    Result (*run)(const Args& args);
};

// A method runs on the solid's polygons, or (run_value, when run is null) on the value itself, for
// the operations that take a solid in whichever form it is known.
struct MethodDef {
    const char* name;
    std::vector<Param> params;
    Result (*run)(const Solid& self, const Args& args);
    Result (*run_value)(const SolidValue& self, const Args& args) = nullptr;
};

// The tables, in registration order (module_table.cpp).
const std::vector<const FunctionDef*>& module_functions();
const std::vector<const MethodDef*>& solid_methods();

}  // namespace brevant::binding
