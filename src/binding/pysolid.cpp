// The PySolid class: an immutable handle on one Solid, with no constructor and no subclasses.
#include <memory>

#include "binding/entry_table.hpp"
#include "binding/interpreter_lock.hpp"

namespace brevant::binding {
namespace {

struct PySolidObject {
    PyObject_HEAD
    SolidRef* value;
};

PyTypeObject* g_solid_type = nullptr;

PyObject* refuse_construction(PyTypeObject*, PyObject*, PyObject*) {
    PyErr_SetString(PyExc_TypeError, "No constructor defined for PySolid");
    return nullptr;
}

void dealloc_solid(PyObject* self) {
    delete reinterpret_cast<PySolidObject*>(self)->value;
    PyTypeObject* type = Py_TYPE(self);
    auto free_slot = reinterpret_cast<freefunc>(PyType_GetSlot(type, Py_tp_free));
    free_slot(self);
    Py_DECREF(type);
}

PyObject* call_method(std::size_t row, PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return run_guarded([&]() -> PyObject* {
        const MethodDef& method = *solid_methods().at(row);
        std::optional<Args> bound =
            bind_arguments(std::string("PySolid.") + method.name + "()", method.params, args, nargs, kwnames);
        if (!bound) return nullptr;
        const SolidRef* value = solid_value_of(self);
        if (!value) {
            raise_cannot_convert(self, "PySolid");
            return nullptr;
        }
        return to_python(without_interpreter_lock([&] {
            return method.run ? method.run((*value)->solid(), *bound) : method.run_value(**value, *bound);
        }));
    });
}

PyMethodDef* method_defs() {
    std::vector<EntryRow> rows;
    for (const MethodDef* m : solid_methods()) {
        rows.push_back({m->name, signature_doc(m->name, m->params, true, stub_doc(std::string("PySolid.") + m->name))});
    }
    return method_table<&call_method>(rows, value_protocol_methods());
}

}  // namespace

PyTypeObject* solid_type() { return g_solid_type; }

PyObject* create_solid_type() {
    PyType_Slot slots[] = {
        {Py_tp_new, reinterpret_cast<void*>(&refuse_construction)},
        {Py_tp_dealloc, reinterpret_cast<void*>(&dealloc_solid)},
        {Py_tp_methods, method_defs()},
        {Py_tp_repr, reinterpret_cast<void*>(&solid_repr)},
        {0, nullptr},
    };
    PyType_Spec spec = {"brevant_rs.PySolid", sizeof(PySolidObject), 0, Py_TPFLAGS_DEFAULT, slots};
    PyObject* type = PyType_FromSpec(&spec);
    if (type) g_solid_type = reinterpret_cast<PyTypeObject*>(type);
    return type;
}

PyObject* wrap_solid(SolidRef value) {
    auto owned = std::make_unique<SolidRef>(std::move(value));
    auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(g_solid_type, Py_tp_alloc));
    PyObject* object = alloc(g_solid_type, 0);
    if (!object) return nullptr;
    reinterpret_cast<PySolidObject*>(object)->value = owned.release();
    return object;
}

const SolidRef* solid_value_of(PyObject* object) {
    if (!g_solid_type || !PyObject_TypeCheck(object, g_solid_type)) return nullptr;
    return reinterpret_cast<PySolidObject*>(object)->value;
}

}  // namespace brevant::binding
