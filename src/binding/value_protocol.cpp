// PySolid as a Python value: pickling (through a text that keeps every polygon exactly, read back
// by the module function _solid_from_state), copying (a solid never changes, so a copy is the
// solid itself) and a repr that shows what the solid is at a glance.
#include <charconv>
#include <cmath>
#include <limits>

#include "binding/functions.hpp"
#include "binding/interpreter_lock.hpp"
#include "binding/python.hpp"
#include "solid/measures.hpp"
#include "solid/solid_state.hpp"

namespace brevant::binding {
namespace {

PyObject* reduce_solid(PyObject* self, PyObject*) {
    return run_guarded([&]() -> PyObject* {
        const Solid* solid = solid_of(self);
        if (!solid) {
            raise_cannot_convert(self, "PySolid");
            return nullptr;
        }
        const std::string state = without_interpreter_lock([&] { return solid_state(*solid); });
        PyRef text(PyUnicode_FromStringAndSize(state.data(), static_cast<Py_ssize_t>(state.size())));
        if (!text) return nullptr;
        return Py_BuildValue("(O(O))", state_reconstructor(), text.get());
    });
}

PyObject* same_solid(PyObject* self, PyObject*) {
    Py_INCREF(self);
    return self;
}

// A double as Python's repr writes it for the usual magnitudes (shortest text that reads back,
// with ".0" for whole numbers).
std::string float_text(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, error == std::errc() ? end : buffer);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

// The bounding box from the double shadows: rounding to nearest never reverses an order, so the
// least shadow is the shadow of the least coordinate, and this equals bbox() without exact work.
std::string float_bbox_text(const Solid& solid) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    std::array<double, 3> lo{kInf, kInf, kInf}, hi{-kInf, -kInf, -kInf};
    for (const Polygon& p : solid.polygons) {
        for (const FloatVertex& v : p.float_vertices) {
            for (std::size_t i = 0; i < 3; ++i) {
                lo[i] = std::fmin(lo[i], v[i]);
                hi[i] = std::fmax(hi[i], v[i]);
            }
        }
    }
    std::string text = "bbox [";
    for (std::size_t i = 0; i < 6; ++i) text += (i ? ", " : "") + float_text(i < 3 ? lo[i] : hi[i - 3]);
    return text + "]";
}

std::string describe(const Solid& solid) {
    const std::size_t n = solid.polygons.size();
    const std::size_t faces = logical_face_count(solid);
    std::string text = "<PySolid: " + std::to_string(n) + (n == 1 ? " polygon, " : " polygons, ") +
                       std::to_string(faces) + (faces == 1 ? " logical face, " : " logical faces, ");
    return text + (n == 0 ? "empty" : float_bbox_text(solid)) + ">";
}

}  // namespace

const std::vector<PyMethodDef>& value_protocol_methods() {
    static const std::vector<PyMethodDef> methods{
        {"__reduce__", reduce_solid, METH_NOARGS, "Pickles the solid exactly, every polygon as it is."},
        {"__copy__", same_solid, METH_NOARGS, "The solid itself: solids never change."},
        {"__deepcopy__", same_solid, METH_O, "The solid itself: solids never change."},
    };
    return methods;
}

PyObject* solid_repr(PyObject* self) {
    return run_guarded([&]() -> PyObject* {
        const Solid* solid = solid_of(self);
        if (!solid) {
            raise_cannot_convert(self, "PySolid");
            return nullptr;
        }
        const std::string text = describe(*solid);
        return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
    });
}

const FunctionDef solid_from_state_function{
    "_solid_from_state",
    {{"state", Kind::Text}},
    [](const Args& args) -> Result { return solid_from_state(args.text(0)); },
    "Rebuilds a pickled PySolid from the text its __reduce__ wrote; not meant to be called directly.",
};

}  // namespace brevant::binding
