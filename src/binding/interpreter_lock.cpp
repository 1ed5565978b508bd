#include "binding/interpreter_lock.hpp"

#include <atomic>
#include <utility>

#include "exact/failure.hpp"

namespace brevant::binding {
namespace {

// The thread state that the innermost call on this thread released, or null while the thread
// holds the lock.
thread_local PyThreadState* t_released = nullptr;

std::atomic<unsigned long> g_main_thread{0};

bool on_main_thread() { return PyThread_get_thread_ident() == g_main_thread.load(std::memory_order_relaxed); }

}  // namespace

ReleasedLock::ReleasedLock() : state_(PyEval_SaveThread()), outer_(t_released) { t_released = state_; }

void ReleasedLock::retake() {
    t_released = outer_;
    PyEval_RestoreThread(state_);
}

bool remember_main_thread() {
    PyRef threading(PyImport_ImportModule("threading"));
    if (!threading) return false;
    PyRef main_thread(PyObject_CallMethod(threading.get(), "main_thread", nullptr));
    if (!main_thread) return false;
    PyRef ident(PyObject_GetAttrString(main_thread.get(), "ident"));
    if (!ident) return false;
    const unsigned long id = PyLong_AsUnsignedLong(ident.get());
    if (PyErr_Occurred()) return false;
    g_main_thread.store(id, std::memory_order_relaxed);
    return true;
}

void run_pending_signal_handlers() {
    if (!on_main_thread()) return;  // handlers never run elsewhere
    PyThreadState* released = std::exchange(t_released, nullptr);
    if (released) PyEval_RestoreThread(released);
    const int status = PyErr_CheckSignals();
    if (released) t_released = PyEval_SaveThread();
    // A raising handler left its exception set on the thread state, which the call reports once
    // it has the lock back.
    if (status < 0) throw Interrupted{};
}

}  // namespace brevant::binding
