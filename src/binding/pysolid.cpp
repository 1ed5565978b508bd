// The PySolid class: an immutable handle on one Solid, with no constructor and no subclasses.
#include <array>
#include <deque>
#include <memory>
#include <utility>

#include "binding/python.hpp"

namespace brevant::binding {
namespace {

struct PySolidObject {
    PyObject_HEAD
    Solid* solid;
};

PyTypeObject* g_solid_type = nullptr;

PyObject* refuse_construction(PyTypeObject*, PyObject*, PyObject*) {
    PyErr_SetString(PyExc_TypeError, "No constructor defined for PySolid");
    return nullptr;
}

void dealloc_solid(PyObject* self) {
    delete reinterpret_cast<PySolidObject*>(self)->solid;
    PyTypeObject* type = Py_TYPE(self);
    auto free_slot = reinterpret_cast<freefunc>(PyType_GetSlot(type, Py_tp_free));
    free_slot(self);
    Py_DECREF(type);
}

PyObject* call_method(std::size_t index, PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                      PyObject* kwnames) {
    return run_guarded([&]() -> PyObject* {
        const MethodDef& method = *solid_methods().at(index);
        std::optional<Args> bound =
            bind_arguments(std::string("PySolid.") + method.name + "()", method.params, args, nargs, kwnames);
        if (!bound) return nullptr;
        const Solid* solid = solid_of(self);
        if (!solid) {
            PyErr_SetString(PyExc_TypeError,
                            ("'" + type_name(self) + "' object cannot be converted to 'PySolid'").c_str());
            return nullptr;
        }
        return to_python(method.run(*solid, *bound));
    });
}

// One C entry point per table row, so that each method stays an ordinary method descriptor.
template <std::size_t Index>
PyObject* method_entry(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return call_method(Index, self, args, nargs, kwnames);
}

constexpr std::size_t kMaxMethods = 24;

template <std::size_t... I>
std::array<PyCFunction, sizeof...(I)> method_entries(std::index_sequence<I...>) {
    return {reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&method_entry<I>))...};
}

std::vector<PyMethodDef>& method_defs() {
    static std::deque<std::string> docs;  // stable storage for the docstrings
    static std::vector<PyMethodDef> defs;
    if (!defs.empty()) return defs;
    static const auto entries = method_entries(std::make_index_sequence<kMaxMethods>{});
    const auto& methods = solid_methods();
    if (methods.size() > kMaxMethods) throw InternalFailure("too many PySolid methods for the entry table");
    for (std::size_t i = 0; i < methods.size(); ++i) {
        docs.push_back(signature_doc(methods[i]->name, methods[i]->params, true, ""));
        defs.push_back({methods[i]->name, entries[i], METH_FASTCALL | METH_KEYWORDS, docs.back().c_str()});
    }
    defs.push_back({nullptr, nullptr, 0, nullptr});
    return defs;
}

}  // namespace

PyTypeObject* solid_type() { return g_solid_type; }

PyObject* create_solid_type() {
    PyType_Slot slots[] = {
        {Py_tp_new, reinterpret_cast<void*>(&refuse_construction)},
        {Py_tp_dealloc, reinterpret_cast<void*>(&dealloc_solid)},
        {Py_tp_methods, method_defs().data()},
        {0, nullptr},
    };
    PyType_Spec spec = {"brevant_rs.PySolid", sizeof(PySolidObject), 0, Py_TPFLAGS_DEFAULT, slots};
    PyObject* type = PyType_FromSpec(&spec);
    if (type) g_solid_type = reinterpret_cast<PyTypeObject*>(type);
    return type;
}

PyObject* wrap_solid(Solid solid) {
    auto owned = std::make_unique<Solid>(std::move(solid));
    auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(g_solid_type, Py_tp_alloc));
    PyObject* object = alloc(g_solid_type, 0);
    if (!object) return nullptr;
    reinterpret_cast<PySolidObject*>(object)->solid = owned.release();
    return object;
}

const Solid* solid_of(PyObject* object) {
    if (!g_solid_type || !PyObject_TypeCheck(object, g_solid_type)) return nullptr;
    return reinterpret_cast<PySolidObject*>(object)->solid;
}

}  // namespace brevant::binding
