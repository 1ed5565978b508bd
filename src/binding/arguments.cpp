// Binding Python arguments to parameters and converting them by kind.
#include <algorithm>
#include <cstring>

#include "binding/python.hpp"

namespace brevant::binding {

std::string type_name(PyObject* object) {
    PyRef name(PyType_GetName(Py_TYPE(object)));
    if (!name) {
        PyErr_Clear();
        return "object";
    }
    Py_ssize_t size = 0;
    const char* data = PyUnicode_AsUTF8AndSize(name.get(), &size);
    if (!data) {
        PyErr_Clear();
        return "object";
    }
    return std::string(data, static_cast<std::size_t>(size));
}

void raise_cannot_convert(PyObject* object, const char* target) {
    std::string message("'");
    message += type_name(object);
    message += "' object cannot be converted to '";
    message += target;
    message += "'";
    PyErr_SetString(PyExc_TypeError, message.c_str());
}

namespace {

std::optional<std::string> to_text(PyObject* object) {
    if (!PyUnicode_Check(object)) {
        raise_cannot_convert(object, "PyString");
        return std::nullopt;
    }
    Py_ssize_t size = 0;
    const char* data = PyUnicode_AsUTF8AndSize(object, &size);
    if (!data) return std::nullopt;  // the interpreter's encoding error stands
    return std::string(data, static_cast<std::size_t>(size));
}

// A sequence (other than str) whose elements convert with `element`.
// Whether the object is a sequence other than str; raises TypeError if not.
bool accept_sequence(PyObject* object) {
    if (PyUnicode_Check(object)) {
        PyErr_SetString(PyExc_TypeError, "Can't extract `str` to `Vec`");
        return false;
    }
    if (!PySequence_Check(object)) {
        raise_cannot_convert(object, "Sequence");
        return false;
    }
    return true;
}

template <typename T, typename Convert>
std::optional<std::vector<T>> to_list(PyObject* object, Convert element) {
    if (!accept_sequence(object)) return std::nullopt;
    const Py_ssize_t size = PySequence_Size(object);
    if (size < 0) return std::nullopt;
    // The length is only the object's claim (a __len__ may say anything): reserve up to a modest
    // bound and let the vector grow past it, so that a false length ends in the object's own error
    // when its items are asked for, not in a failed allocation.
    constexpr Py_ssize_t kTrustedLength = 1 << 16;
    std::vector<T> result;
    result.reserve(static_cast<std::size_t>(std::min(size, kTrustedLength)));
    for (Py_ssize_t i = 0; i < size; ++i) {
        PyRef item(PySequence_GetItem(object, i));
        if (!item) return std::nullopt;
        std::optional<T> value = element(item.get());
        if (!value) return std::nullopt;
        result.push_back(std::move(*value));
    }
    return result;
}

std::optional<Texts> to_texts(PyObject* object) { return to_list<std::string>(object, to_text); }
std::optional<Texts2> to_texts2(PyObject* object) { return to_list<Texts>(object, to_texts); }
std::optional<Texts3> to_texts3(PyObject* object) { return to_list<Texts2>(object, to_texts2); }

// A pair is any sequence of two items, so that a face read back through JSON (a list) serves as
// well as the tuple that polygons() gives.
std::optional<LabelledLoop> to_labelled_loop(PyObject* object) {
    if (!accept_sequence(object)) return std::nullopt;
    const Py_ssize_t size = PySequence_Size(object);
    if (size < 0) return std::nullopt;
    if (size != 2) {
        PyErr_Format(PyExc_TypeError, "expected a (label, loop) pair, but got a sequence of length %zd", size);
        return std::nullopt;
    }
    PyRef label_object(PySequence_GetItem(object, 0));
    if (!label_object) return std::nullopt;
    std::optional<std::string> label = to_text(label_object.get());
    if (!label) return std::nullopt;
    PyRef loop_object(PySequence_GetItem(object, 1));
    if (!loop_object) return std::nullopt;
    std::optional<Texts2> loop = to_texts2(loop_object.get());
    if (!loop) return std::nullopt;
    return LabelledLoop{std::move(*label), std::move(*loop)};
}

std::optional<LabelledLoops> to_labelled_loops(PyObject* object) {
    return to_list<LabelledLoop>(object, to_labelled_loop);
}

std::optional<Texts> to_end_point(PyObject* object) {
    std::optional<Texts> point = to_texts(object);
    if (point && point->size() != 3) {
        PyErr_Format(PyExc_TypeError, "an edge's end point needs 3 number texts, but got %zu", point->size());
        return std::nullopt;
    }
    return point;
}

// An index (anything with __index__), or a sequence whose first two items are end points.
std::optional<EdgeName> to_edge_name(PyObject* object) {
    if (PyIndex_Check(object)) {
        PyRef index(PyNumber_Index(object));
        if (!index) return std::nullopt;
        const long long value = PyLong_AsLongLong(index.get());
        if (value == -1 && PyErr_Occurred()) return std::nullopt;
        return EdgeName{value, {}, {}};
    }
    if (PyUnicode_Check(object) || !PySequence_Check(object)) {
        raise_cannot_convert(object, "edge index or Edge");
        return std::nullopt;
    }
    const Py_ssize_t size = PySequence_Size(object);
    if (size < 0) return std::nullopt;
    if (size < 2) {
        PyErr_Format(PyExc_TypeError, "expected an edge (start, end, ...), but got a sequence of length %zd", size);
        return std::nullopt;
    }
    std::optional<Texts> ends[2];
    for (Py_ssize_t i = 0; i < 2; ++i) {
        PyRef item(PySequence_GetItem(object, i));
        if (!item) return std::nullopt;
        ends[i] = to_end_point(item.get());
        if (!ends[i]) return std::nullopt;
    }
    return EdgeName{std::nullopt, std::move(*ends[0]), std::move(*ends[1])};
}

std::optional<EdgeNames> to_edge_names(PyObject* object) { return to_list<EdgeName>(object, to_edge_name); }

template <typename T, typename Read>
std::optional<T> to_integer(PyObject* object, Read read) {
    PyRef index(PyNumber_Index(object));
    if (!index) return std::nullopt;
    const T value = read(index.get());
    if (PyErr_Occurred()) return std::nullopt;
    return value;
}

std::optional<std::vector<SolidRef>> to_solids(PyObject* object) {
    PyRef iterator(PyObject_GetIter(object));
    if (!iterator) {
        if (!PyErr_ExceptionMatches(PyExc_TypeError)) return std::nullopt;
        PyErr_Clear();
        raise_cannot_convert(object, "Iterable");
        return std::nullopt;
    }
    std::vector<SolidRef> solids;
    while (PyRef item{PyIter_Next(iterator.get())}) {
        // An endless iterable must not hold the caller past Ctrl-C.
        if (solids.size() % 256 == 255 && PyErr_CheckSignals() < 0) return std::nullopt;
        const SolidRef* solid = solid_value_of(item.get());
        if (!solid) {
            raise_cannot_convert(item.get(), "PySolid");
            return std::nullopt;
        }
        solids.push_back(*solid);
    }
    if (PyErr_Occurred()) return std::nullopt;
    return solids;
}

std::optional<Value> convert(PyObject* object, Kind kind) {
    auto lift = [](auto converted) -> std::optional<Value> {
        if (!converted) return std::nullopt;
        return Value(std::move(*converted));
    };
    switch (kind) {
        case Kind::Text:
            return lift(to_text(object));
        case Kind::Texts:
            return lift(to_texts(object));
        case Kind::Texts2:
            return lift(to_texts2(object));
        case Kind::Texts3:
            return lift(to_texts3(object));
        case Kind::UInt64:
            return lift(to_integer<std::uint64_t>(object, PyLong_AsUnsignedLongLong));
        case Kind::Int64:
            return lift(to_integer<std::int64_t>(object, PyLong_AsLongLong));
        case Kind::Solids:
            return lift(to_solids(object));
        case Kind::Solid: {
            const SolidRef* solid = solid_value_of(object);
            if (!solid) {
                raise_cannot_convert(object, "PySolid");
                return std::nullopt;
            }
            return Value(*solid);
        }
        case Kind::LabelledLoops:
            return lift(to_labelled_loops(object));
        case Kind::EdgeNames:
            return lift(to_edge_names(object));
    }
    return std::nullopt;
}

// A TypeError raised by a conversion is raised again with the parameter named in front.
void prefix_type_error(const char* param) {
    if (!PyErr_ExceptionMatches(PyExc_TypeError)) return;
    PyObject *type, *value, *traceback;
    PyErr_Fetch(&type, &value, &traceback);
    PyRef owned_type(type), owned_value(value), owned_traceback(traceback);
    PyRef text(value ? PyObject_Str(value) : PyUnicode_FromString(""));
    if (!text) return;
    PyRef message(PyUnicode_FromFormat("argument '%s': %U", param, text.get()));
    if (!message) return;
    PyErr_SetObject(PyExc_TypeError, message.get());
}

std::string quoted_names(const std::vector<const char*>& names) {
    std::string result;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) result += names.size() == 2 ? " and " : (i + 1 == names.size() ? ", and " : ", ");
        result += std::string("'") + names[i] + "'";
    }
    return result;
}

void raise_type_error(const std::string& message) { PyErr_SetString(PyExc_TypeError, message.c_str()); }

void raise_too_many_positional(const std::string& owner, const std::vector<Param>& params, Py_ssize_t given) {
    std::size_t required = 0;
    for (const Param& p : params) required += p.optional ? 0 : 1;
    std::string takes = required == params.size()
                            ? " takes " + std::to_string(params.size())
                            : " takes from " + std::to_string(required) + " to " + std::to_string(params.size());
    raise_type_error(owner + takes + " positional arguments but " + std::to_string(given) + " " +
                     (given == 1 ? "was" : "were") + " given");
}


}  // namespace

std::optional<Args> bind_arguments(const std::string& owner, const std::vector<Param>& params, PyObject* const* args,
                                   Py_ssize_t nargs, PyObject* kwnames) {
    if (static_cast<std::size_t>(nargs) > params.size()) {
        raise_too_many_positional(owner, params, nargs);
        return std::nullopt;
    }
    std::vector<PyObject*> slots(params.size(), nullptr);
    for (Py_ssize_t i = 0; i < nargs; ++i) slots[static_cast<std::size_t>(i)] = args[i];

    const Py_ssize_t nkw = kwnames ? PyTuple_Size(kwnames) : 0;
    for (Py_ssize_t k = 0; k < nkw; ++k) {
        PyObject* name = PyTuple_GetItem(kwnames, k);
        if (!name) return std::nullopt;
        // Compared and reported without encoding the name, so that a name no parameter has is
        // unexpected even when it cannot be encoded or holds a NUL.
        std::size_t index = 0;
        while (index < params.size() && PyUnicode_CompareWithASCIIString(name, params[index].name) != 0) ++index;
        if (index == params.size()) {
            PyErr_Format(PyExc_TypeError, "%s got an unexpected keyword argument '%U'", owner.c_str(), name);
            return std::nullopt;
        }
        if (slots[index]) {
            raise_type_error(owner + " got multiple values for argument '" + params[index].name + "'");
            return std::nullopt;
        }
        slots[index] = args[nargs + k];
    }

    std::vector<const char*> missing;
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (!slots[i] && !params[i].optional) missing.push_back(params[i].name);
    }
    if (!missing.empty()) {
        raise_type_error(owner + " missing " + std::to_string(missing.size()) + " required positional " +
                         (missing.size() == 1 ? "argument" : "arguments") + ": " + quoted_names(missing));
        return std::nullopt;
    }

    std::vector<Value> values;
    values.reserve(params.size());
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (!slots[i] || ((params[i].optional || params[i].takes_none) && slots[i] == Py_None)) {
            values.emplace_back(std::monostate{});
            continue;
        }
        std::optional<Value> value = convert(slots[i], params[i].kind);
        if (!value) {
            prefix_type_error(params[i].name);
            return std::nullopt;
        }
        values.push_back(std::move(*value));
    }
    return Args(std::move(values));
}

std::string signature_doc(const std::string& name, const std::vector<Param>& params, bool is_method,
                          const char* tail) {
    std::string doc = name + "(";
    bool first = true;
    if (is_method) {
        doc += "$self";
        first = false;
    }
    for (const Param& p : params) {
        if (!first) doc += ", ";
        doc += p.name;
        if (p.optional) doc += "=None";
        first = false;
    }
    return doc + ")\n--\n\n" + tail;
}

}  // namespace brevant::binding
