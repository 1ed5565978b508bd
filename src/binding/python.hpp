// The binding layer's own view of the interpreter: the one place that includes Python.h, plus
// the pieces the binding files share.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <optional>
#include <string>
#include <string_view>

#include "binding/binder.hpp"

namespace brevant::binding {

// A Python reference owned by C++: released when it goes out of scope.
class PyRef {
public:
    PyRef() = default;
    explicit PyRef(PyObject* object) : object_(object) {}
    PyRef(const PyRef&) = delete;
    PyRef& operator=(const PyRef&) = delete;
    PyRef(PyRef&& other) noexcept : object_(other.release()) {}
    PyRef& operator=(PyRef&& other) noexcept {
        Py_XDECREF(object_);
        object_ = other.release();
        return *this;
    }
    ~PyRef() { Py_XDECREF(object_); }
    PyObject* get() const { return object_; }
    PyObject* release() {
        PyObject* o = object_;
        object_ = nullptr;
        return o;
    }
    explicit operator bool() const { return object_ != nullptr; }

private:
    PyObject* object_ = nullptr;
};

// The exception type of internal failures (derives directly from BaseException).
PyObject* internal_failure_type();

// The PySolid type, created once with the module.
PyTypeObject* solid_type();
PyObject* create_solid_type();
// A new PySolid holding the value; nullptr with a Python error set on failure.
PyObject* wrap_solid(SolidRef value);
// The value of a PySolid, or nullptr if the object is not one.
const SolidRef* solid_value_of(PyObject* object);

// brevant_rs.Edge, created once with the module, and the list of records edges() returns.
PyObject* create_edge_type();
PyObject* edge_records_object(const EdgeRecords& edges);

// PySolid's pickling and copying methods, and its repr (value_protocol.cpp).
const std::vector<PyMethodDef>& value_protocol_methods();
PyObject* solid_repr(PyObject* self);
// The module function that unpickles a PySolid (borrowed; lives as long as the process).
PyObject* state_reconstructor();

// The name of an object's type, for messages.
std::string type_name(PyObject* object);
// TypeError "'<type>' object cannot be converted to '<target>'".
void raise_cannot_convert(PyObject* object, const char* target);

// Binds and converts the arguments of a call (positional array plus keyword names); nullopt with
// the Python error set when binding or conversion fails. `owner` names the callable in messages.
std::optional<Args> bind_arguments(const std::string& owner, const std::vector<Param>& params, PyObject* const* args,
                                   Py_ssize_t nargs, PyObject* kwnames);

// The Python object for a result; nullptr with a Python error set on failure.
PyObject* to_python(Result result);

// Runs an operation, turning every C++ exception into the matching Python exception.
template <typename Operation>
PyObject* run_guarded(Operation&& operation);

// The docstring that carries a text signature: "name(params)\n--\n\n" plus any tail.
std::string signature_doc(const std::string& name, const std::vector<Param>& params, bool is_method,
                          const char* tail);
// The docstring that the stub file gives the function, class or member ("PySolid.translate");
// one it does not document fails, so that no callable goes without.
const char* stub_doc(std::string_view name);

}  // namespace brevant::binding

#include "binding/run_guarded.hpp"
