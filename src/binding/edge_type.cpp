// brevant_rs.Edge, the record that PySolid.edges() lists: a named tuple (start, end, faces, kind).
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "binding/python.hpp"

namespace brevant::binding {
namespace {

PyTypeObject* g_edge_type = nullptr;

// The field and type docstrings are the stub's (stub_docs.cpp), set when the type is made.
PyStructSequence_Field g_edge_fields[] = {
    {"start", nullptr}, {"end", nullptr}, {"faces", nullptr}, {"kind", nullptr}, {nullptr, nullptr},
};

PyStructSequence_Desc g_edge_desc = {"brevant_rs.Edge", nullptr, g_edge_fields, 4};

PyObject* python_str(const std::string& text) {
    return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
}

PyObject* point_object(const std::array<std::string, 3>& point) {
    PyRef items[3];
    for (std::size_t i = 0; i < 3; ++i) {
        items[i] = PyRef(python_str(point[i]));
        if (!items[i]) return nullptr;
    }
    return PyTuple_Pack(3, items[0].get(), items[1].get(), items[2].get());
}

// The objects for a table, made once each.
template <typename T, typename Make>
std::optional<std::vector<PyRef>> objects(const std::vector<T>& values, Make make) {
    std::vector<PyRef> out;
    out.reserve(values.size());
    for (const T& v : values) {
        out.emplace_back(make(v));
        if (!out.back()) return std::nullopt;
    }
    return out;
}

// Sets field i of a new record to a new reference to `value`.
void set_field(PyObject* record, Py_ssize_t i, PyObject* value) {
    Py_INCREF(value);
    PyStructSequence_SetItem(record, i, value);
}

// The (label, label) tuples, one per pair of faces that some edge has: in a table by pair when the
// labels are few (as they are on most parts), else in a hash map.
class FacePairs {
public:
    explicit FacePairs(const std::vector<PyRef>& labels)
        : labels_(labels), dense_(labels.size() <= kDenseLabels ? labels.size() * labels.size() : 0) {}
    PyObject* pair(std::size_t a, std::size_t b) {
        PyRef& slot = dense_.empty() ? sparse_[(static_cast<std::uint64_t>(a) << 32) | b] : dense_[a * labels_.size() + b];
        if (!slot) slot = PyRef(PyTuple_Pack(2, labels_.at(a).get(), labels_.at(b).get()));
        return slot.get();
    }

private:
    static constexpr std::size_t kDenseLabels = 256;
    const std::vector<PyRef>& labels_;
    std::vector<PyRef> dense_;
    std::unordered_map<std::uint64_t, PyRef> sparse_;
};

PyObject* record_object(const EdgeRecords::Record& r, const std::vector<PyRef>& points, FacePairs& faces,
                        PyObject* convex, PyObject* concave) {
    PyObject* pair = faces.pair(r.face_a, r.face_b);
    if (!pair) return nullptr;
    PyRef record(PyStructSequence_New(g_edge_type));
    if (!record) return nullptr;
    set_field(record.get(), 0, points.at(r.start).get());
    set_field(record.get(), 1, points.at(r.end).get());
    set_field(record.get(), 2, pair);
    set_field(record.get(), 3, r.convex ? convex : concave);
    return record.release();
}

}  // namespace

PyObject* create_edge_type() {
    g_edge_desc.doc = stub_doc("Edge");
    for (PyStructSequence_Field* field = g_edge_fields; field->name; ++field) {
        field->doc = stub_doc(std::string("Edge.") + field->name);
    }
    PyTypeObject* type = PyStructSequence_NewType(&g_edge_desc);
    if (type) g_edge_type = type;
    return reinterpret_cast<PyObject*>(type);
}

PyObject* edge_records_object(const EdgeRecords& edges) {
    std::optional<std::vector<PyRef>> points = objects(edges.points, point_object);
    if (!points) return nullptr;
    std::optional<std::vector<PyRef>> labels = objects(edges.labels, python_str);
    if (!labels) return nullptr;
    PyRef convex(PyUnicode_InternFromString("convex"));
    PyRef concave(PyUnicode_InternFromString("concave"));
    if (!convex || !concave) return nullptr;
    PyRef list(PyList_New(static_cast<Py_ssize_t>(edges.records.size())));
    if (!list) return nullptr;
    FacePairs faces(*labels);
    for (std::size_t i = 0; i < edges.records.size(); ++i) {
        PyObject* record = record_object(edges.records[i], *points, faces, convex.get(), concave.get());
        if (!record) return nullptr;
        PyList_SetItem(list.get(), static_cast<Py_ssize_t>(i), record);  // steals record
    }
    return list.release();
}

}  // namespace brevant::binding
