// What a PySolid holds: one solid, known as polygons, as a body of the boolean engine, or both.
// Each form is made from the other the first time it is asked for, once, on whichever thread asks;
// so a chain of booleans passes bodies along and pays for the polygon form only where it is read.
//
// Ask without the interpreter lock: a thread making a form holds the value's lock, and on the main
// thread it may take the interpreter lock back for a moment to run signal handlers.
#pragma once

#include <memory>
#include <mutex>
#include <optional>

#include "corefine/body.hpp"
#include "solid/solid.hpp"

namespace brevant::binding {

class SolidValue {
public:
    explicit SolidValue(Solid solid) : solid_(std::move(solid)) {}
    explicit SolidValue(Body body) : body_(std::move(body)) {}

    // The polygons (the merged form, for a value made from a body).
    const Solid& solid() const;
    const Body& body() const;
    // The body when it is known already (the value was made from one, or asked for it), else null.
    const Body* known_body() const;

private:
    // Recursive: a signal handler run while a form is made may ask this value again.
    mutable std::recursive_mutex lock_;
    mutable std::optional<Solid> solid_;
    mutable std::optional<Body> body_;
};

using SolidRef = std::shared_ptr<const SolidValue>;

}  // namespace brevant::binding
