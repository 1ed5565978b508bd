// Module initialisation: the PySolid class first, then the module functions in table order, then
// the internal-failure exception type. The module is created once per process; a second
// sub-interpreter is refused.
#include <array>
#include <deque>
#include <utility>

#include "binding/python.hpp"

namespace brevant::binding {
namespace {

PyObject* g_internal_failure = nullptr;
PyObject* g_module = nullptr;
std::int64_t g_interpreter_id = -1;

PyObject* call_function(std::size_t index, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return run_guarded([&]() -> PyObject* {
        const FunctionDef& function = *module_functions().at(index);
        std::optional<Args> bound =
            bind_arguments(std::string(function.name) + "()", function.params, args, nargs, kwnames);
        if (!bound) return nullptr;
        return to_python(function.run(*bound));
    });
}

// One C entry point per table row, so that every function is a plain built-in bound to the module.
template <std::size_t Index>
PyObject* function_entry(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return call_function(Index, args, nargs, kwnames);
}

constexpr std::size_t kMaxFunctions = 16;

template <std::size_t... I>
std::array<PyCFunction, sizeof...(I)> function_entries(std::index_sequence<I...>) {
    return {reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&function_entry<I>))...};
}

std::vector<PyMethodDef>& function_defs() {
    static std::deque<std::string> docs;  // stable storage for the docstrings
    static std::vector<PyMethodDef> defs;
    if (!defs.empty()) return defs;
    static const auto entries = function_entries(std::make_index_sequence<kMaxFunctions>{});
    const auto& functions = module_functions();
    if (functions.size() > kMaxFunctions) throw InternalFailure("too many module functions for the entry table");
    for (std::size_t i = 0; i < functions.size(); ++i) {
        docs.push_back(signature_doc(functions[i]->name, functions[i]->params, false, functions[i]->doc_tail));
        defs.push_back({functions[i]->name, entries[i], METH_FASTCALL | METH_KEYWORDS, docs.back().c_str()});
    }
    defs.push_back({nullptr, nullptr, 0, nullptr});
    return defs;
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
    if (PyModule_AddFunctions(module.get(), function_defs().data()) < 0) return nullptr;
    g_internal_failure = PyErr_NewExceptionWithDoc(
        "brevant_rs.InternalFailure",
        "A failed internal check (a rejected number text, a division by zero, an index out of range). "
        "Derives from BaseException, so `except Exception` does not catch it.",
        PyExc_BaseException, nullptr);
    if (!g_internal_failure) return nullptr;
    Py_INCREF(g_internal_failure);  // kept for the life of the process
    if (!add_object(module.get(), "InternalFailure", g_internal_failure)) return nullptr;
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
    PyObject* module = create_module();
    if (!module) return nullptr;
    g_interpreter_id = interpreter;
    g_module = module;
    Py_INCREF(g_module);  // the same object on every later initialisation
    return module;
}

}  // namespace

PyObject* internal_failure_type() { return g_internal_failure; }

}  // namespace brevant::binding

PyMODINIT_FUNC PyInit_brevant_rs(void) {
    return brevant::binding::run_guarded([] { return brevant::binding::init_module(); });
}
