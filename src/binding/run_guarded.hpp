// Exception translation at the boundary: no C++ exception ever reaches the interpreter.
#pragma once

#include <cxxabi.h>

#include <new>
#include <stdexcept>

#include "exact/failure.hpp"

namespace brevant::binding {

// Thrown when a Python error is already set (for instance by a signal handler); the error stands.
struct PythonErrorSet {};

template <typename Operation>
PyObject* run_guarded(Operation&& operation) {
    try {
        return operation();
    } catch (const abi::__forced_unwind&) {
        throw;  // a thread ended by the interpreter (see interpreter_lock.hpp) must finish unwinding
    } catch (const PythonErrorSet&) {
        return nullptr;
    } catch (const Interrupted&) {
        return nullptr;  // thrown by the interrupt hook after a signal handler raised
    } catch (const Refusal& refusal) {
        PyErr_SetString(PyExc_ValueError, refusal.what());
    } catch (const InternalFailure& failure) {
        PyErr_SetString(internal_failure_type(), failure.what());
    } catch (const std::bad_alloc&) {
        PyErr_NoMemory();
    } catch (const std::out_of_range& e) {
        PyErr_SetString(internal_failure_type(), (std::string("index out of range: ") + e.what()).c_str());
    } catch (const std::exception& e) {
        PyErr_SetString(internal_failure_type(), e.what());
    } catch (...) {
        PyErr_SetString(internal_failure_type(), "internal failure");
    }
    return nullptr;
}

}  // namespace brevant::binding
