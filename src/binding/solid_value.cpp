#include "binding/solid_value.hpp"

namespace brevant::binding {

// A form made inside a signal handler while the same form was being made outside it is the same
// value, so whichever finishes first stays.
const Solid& SolidValue::solid() const {
    std::lock_guard guard(lock_);
    if (!solid_) {
        Solid made = materialise(*body_);
        if (!solid_) solid_ = std::move(made);
    }
    return *solid_;
}

const Body* SolidValue::known_body() const {
    std::lock_guard guard(lock_);
    return body_ ? &*body_ : nullptr;
}

const Body& SolidValue::body() const {
    std::lock_guard guard(lock_);
    if (!body_) {
        Body made = body_of(*solid_);
        if (!body_) body_ = std::move(made);
    }
    return *body_;
}

}  // namespace brevant::binding
