// PySolid as a Python value: pickling (through a text that keeps every polygon exactly, read back
// by the module function _solid_from_state), copying (a solid never changes, so a copy is the
// solid itself) and a repr that shows what the solid is at a glance.
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
        const SolidRef* value = solid_value_of(self);
        if (!value) {
            raise_cannot_convert(self, "PySolid");
            return nullptr;
        }
        const std::string state = without_interpreter_lock([&] { return solid_state((*value)->solid()); });
        PyRef text(PyUnicode_FromStringAndSize(state.data(), static_cast<Py_ssize_t>(state.size())));
        if (!text) return nullptr;
        return Py_BuildValue("(O(O))", state_reconstructor(), text.get());
    });
}

PyObject* same_solid(PyObject* self, PyObject*) {
    Py_INCREF(self);
    return self;
}

// The bounding box from the double shadows: rounding to nearest never reverses an order, so the
// least shadow is the shadow of the least coordinate, and this equals bbox() without exact work.
std::vector<double> float_bbox(const Solid& solid) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    std::vector<double> box{kInf, kInf, kInf, -kInf, -kInf, -kInf};
    for (const Polygon& p : solid.polygons) {
        for (const FloatVertex& v : p.float_vertices) {
            for (std::size_t i = 0; i < 3; ++i) {
                box[i] = std::fmin(box[i], v[i]);
                box[i + 3] = std::fmax(box[i + 3], v[i]);
            }
        }
    }
    return box;
}

std::string counts_text(const Solid& solid) {
    const std::size_t n = solid.polygons.size();
    const std::size_t faces = logical_face_count(solid);
    return "<PySolid: " + std::to_string(n) + (n == 1 ? " polygon, " : " polygons, ") + std::to_string(faces) +
           (faces == 1 ? " logical face, " : " logical faces, ");
}

}  // namespace

const std::vector<PyMethodDef>& value_protocol_methods() {
    static const std::vector<PyMethodDef> methods{
        {"__reduce__", reduce_solid, METH_NOARGS, stub_doc("PySolid.__reduce__")},
        {"__copy__", same_solid, METH_NOARGS, stub_doc("PySolid.__copy__")},
        {"__deepcopy__", same_solid, METH_O, stub_doc("PySolid.__deepcopy__")},
    };
    return methods;
}

PyObject* solid_repr(PyObject* self) {
    return run_guarded([&]() -> PyObject* {
        const SolidRef* value = solid_value_of(self);
        if (!value) {
            raise_cannot_convert(self, "PySolid");
            return nullptr;
        }
        const Solid* solid = nullptr;
        const std::string counts = without_interpreter_lock([&] {
            solid = &(*value)->solid();
            return counts_text(*solid);
        });
        if (solid->polygons.empty()) return PyUnicode_FromFormat("%sempty>", counts.c_str());
        PyRef box(to_python(float_bbox(*solid)));  // the floats written as Python writes them
        if (!box) return nullptr;
        return PyUnicode_FromFormat("%sbbox %R>", counts.c_str(), box.get());
    });
}

const FunctionDef solid_from_state_function{
    "_solid_from_state",
    {{"state", Kind::Text}},
    [](const Args& args) -> Result { return solid_from_state(args.text(0)); },
};

}  // namespace brevant::binding
