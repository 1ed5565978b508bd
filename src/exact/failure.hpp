// Failures that end a call. Every layer throws these; only the binding layer turns them into
// Python exceptions (InternalFailure -> the module's internal-failure type, Refusal -> ValueError,
// Interrupted -> the exception the host has already set).
#pragma once

#include <stdexcept>
#include <string>

namespace brevant {

// A failed internal check: a rejected number text, a division by zero, an index outside a list.
struct InternalFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// An operation declining its input for a reason it states (raised to Python as ValueError).
struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A long loop stopped because the host asked it to (see exact/interrupt.hpp). The host has
// recorded the reason itself. Deliberately not a std::exception, so that no handler for ordinary
// failures swallows it.
struct Interrupted {};

}  // namespace brevant
