// The exact work of a call runs with the interpreter lock released, so that calls on other threads
// (and Python code on them) go on meanwhile. Arguments are converted before the lock is released,
// results are built after it is taken back; the work in between sees only C++ values, which the
// call owns or which live in PySolid objects that the caller keeps alive for the whole call.
//
// Signals are handled only on the interpreter's main thread. There the interrupt hook takes the
// lock back for the moment it needs to run the pending handlers; on any other thread it does
// nothing, so polling costs those threads nothing.
#pragma once

#include <optional>

#include "binding/python.hpp"

namespace brevant::binding {

// The lock released by the calling thread (which must hold it) until retake(). Nests: a signal
// handler run by the hook may call the module again.
class ReleasedLock {
public:
    ReleasedLock();
    void retake();

private:
    PyThreadState* state_;
    PyThreadState* outer_;  // the released state of an enclosing call on this thread, if any
};

// Runs `work` without the lock and takes it back however the work ends. A daemon thread that
// takes the lock back once the interpreter is finalising is ended there by unwinding its stack
// (pthread_exit), so the lock is taken back neither in a destructor (noexcept: std::terminate) nor
// inside a handler that would catch that unwinding (glibc aborts when it is not rethrown).
template <typename Work>
auto without_interpreter_lock(Work&& work) -> decltype(work()) {
    ReleasedLock lock;
    std::optional<decltype(work())> result;
    try {
        result.emplace(work());
    } catch (...) {
        lock.retake();
        throw;
    }
    lock.retake();
    return std::move(*result);
}

// Records the interpreter's main thread; called once, with the lock held, when the module is
// created. False with a Python error set if it cannot be found.
bool remember_main_thread();

// The interrupt hook (exact/interrupt.hpp): on the main thread, runs the Python handlers of
// pending signals, taking the lock back first if the call released it; when a handler raises
// (Ctrl-C raises KeyboardInterrupt) the call ends with that exception.
void run_pending_signal_handlers();

}  // namespace brevant::binding
