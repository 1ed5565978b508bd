// Module initialisation: the PySolid class and the Edge record first, then the module functions in table order, then
// the internal-failure exception type and __version__ (BREVANT_VERSION, defined by the build). The
// module is created once per process; a second sub-interpreter is refused.
#include "binding/entry_table.hpp"
#include "binding/functions.hpp"
#include "binding/interpreter_lock.hpp"
#include "exact/gmp_allocation.hpp"
#include "exact/interrupt.hpp"

namespace brevant::binding {
namespace {

PyObject* g_internal_failure = nullptr;
PyObject* g_state_reconstructor = nullptr;
PyObject* g_module = nullptr;
std::int64_t g_interpreter_id = -1;

PyObject* call_function(std::size_t row, PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return run_guarded([&]() -> PyObject* {
        const FunctionDef& function = *module_functions().at(row);
        std::optional<Args> bound =
            bind_arguments(std::string(function.name) + "()", function.params, args, nargs, kwnames);
        if (!bound) return nullptr;
        return to_python(without_interpreter_lock([&] { return function.run(*bound); }));
    });
}

PyMethodDef* function_defs() {
    std::vector<EntryRow> rows;
    for (const FunctionDef* f : module_functions()) {
        rows.push_back({f->name, signature_doc(f->name, f->params, false, stub_doc(f->name))});
    }
    return method_table<&call_function>(rows);
}

PyModuleDef g_module_def = {PyModuleDef_HEAD_INIT, "brevant_rs", "", 0, nullptr, nullptr, nullptr, nullptr, nullptr};

// Adds `value` under `name`, taking the reference in every case.
bool add_object(PyObject* module, const char* name, PyObject* value) {
    if (!value) return false;
    if (PyModule_AddObject(module, name, value) < 0) {
        Py_DECREF(value);
        return false;
    }
    return true;
}

PyObject* create_module() {
    PyRef module(PyModule_Create(&g_module_def));
    if (!module) return nullptr;
    if (!add_object(module.get(), "PySolid", create_solid_type())) return nullptr;
    Py_INCREF(reinterpret_cast<PyObject*>(solid_type()));  // kept for the life of the process
    PyObject* edge = create_edge_type();
    if (!add_object(module.get(), "Edge", edge)) return nullptr;
    Py_INCREF(edge);  // kept for the life of the process
    if (PyModule_AddFunctions(module.get(), function_defs()) < 0) return nullptr;
    g_state_reconstructor = PyObject_GetAttrString(module.get(), solid_from_state_function.name);
    if (!g_state_reconstructor) return nullptr;  // the reference is kept for the life of the process
    g_internal_failure = PyErr_NewExceptionWithDoc("brevant_rs.InternalFailure", stub_doc("InternalFailure"),
                                                   PyExc_BaseException, nullptr);
    if (!g_internal_failure) return nullptr;
    Py_INCREF(g_internal_failure);  // kept for the life of the process
    if (!add_object(module.get(), "InternalFailure", g_internal_failure)) return nullptr;
    if (PyModule_AddStringConstant(module.get(), "__version__", BREVANT_VERSION) < 0) return nullptr;
    return module.release();
}

PyObject* init_module() {
    const std::int64_t interpreter = PyInterpreterState_GetID(PyInterpreterState_Get());
    if (interpreter < 0) return nullptr;
    if (g_module) {
        if (interpreter != g_interpreter_id) {
            PyErr_SetString(PyExc_ImportError, "brevant_rs cannot be initialised in more than one interpreter");
            return nullptr;
        }
        Py_INCREF(g_module);
        return g_module;
    }
    use_throwing_gmp_allocation();  // a failed GMP allocation becomes MemoryError, not an abort
    if (!remember_main_thread()) return nullptr;
    set_interrupt_hook(&run_pending_signal_handlers);
    PyObject* module = create_module();
    if (!module) return nullptr;
    g_interpreter_id = interpreter;
    g_module = module;
    Py_INCREF(g_module);  // the same object on every later initialisation
    return module;
}

}  // namespace

PyObject* internal_failure_type() { return g_internal_failure; }
PyObject* state_reconstructor() { return g_state_reconstructor; }

}  // namespace brevant::binding

PyMODINIT_FUNC PyInit_brevant_rs(void) {
    return brevant::binding::run_guarded([] { return brevant::binding::init_module(); });
}
