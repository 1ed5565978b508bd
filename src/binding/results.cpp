// Converting results to Python objects.
#include "binding/python.hpp"

namespace brevant::binding {
namespace {

PyObject* text_object(const std::string& text) {
    return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
}

// A list whose items come from `item`; nullptr if any item fails.
template <typename T, typename Item>
PyObject* list_object(const std::vector<T>& values, Item item) {
    PyRef list(PyList_New(static_cast<Py_ssize_t>(values.size())));
    if (!list) return nullptr;
    for (std::size_t i = 0; i < values.size(); ++i) {
        PyObject* element = item(values[i]);
        if (!element) return nullptr;
        PyList_SetItem(list.get(), static_cast<Py_ssize_t>(i), element);  // steals element
    }
    return list.release();
}

PyObject* texts_object(const Texts& texts) { return list_object(texts, text_object); }
PyObject* texts2_object(const Texts2& rows) { return list_object(rows, texts_object); }

PyObject* labelled_loop_object(const LabelledLoop& loop) {
    PyRef label(text_object(loop.label));
    if (!label) return nullptr;
    PyRef vertices(texts2_object(loop.vertices));
    if (!vertices) return nullptr;
    return PyTuple_Pack(2, label.get(), vertices.get());
}

PyObject* index_triple_object(const std::array<std::uint64_t, 3>& t) {
    PyRef items[3];
    for (std::size_t i = 0; i < 3; ++i) {
        items[i] = PyRef(PyLong_FromUnsignedLongLong(t[i]));
        if (!items[i]) return nullptr;
    }
    return PyTuple_Pack(3, items[0].get(), items[1].get(), items[2].get());
}

PyObject* float_point_object(const std::array<double, 3>& p) {
    return list_object(std::vector<double>(p.begin(), p.end()), [](double v) { return PyFloat_FromDouble(v); });
}

template <typename Points, typename Point>
PyObject* mesh_object(const Points& points, Point point, const IndexTriples& triangles) {
    PyRef first(list_object(points, point));
    if (!first) return nullptr;
    PyRef second(list_object(triangles, index_triple_object));
    if (!second) return nullptr;
    return PyTuple_Pack(2, first.get(), second.get());
}

struct ToPython {
    PyObject* operator()(Solid& solid) const { return wrap_solid(std::make_shared<const SolidValue>(std::move(solid))); }
    PyObject* operator()(Body& body) const { return wrap_solid(std::make_shared<const SolidValue>(std::move(body))); }
    PyObject* operator()(const std::string& text) const { return text_object(text); }
    PyObject* operator()(const TextPair& pair) const {
        PyRef first(text_object(pair.first));
        if (!first) return nullptr;
        PyRef second(text_object(pair.second));
        if (!second) return nullptr;
        return PyTuple_Pack(2, first.get(), second.get());
    }
    PyObject* operator()(const Texts& texts) const { return texts_object(texts); }
    PyObject* operator()(const Texts2& rows) const { return texts2_object(rows); }
    PyObject* operator()(const std::vector<double>& values) const {
        return list_object(values, [](double v) { return PyFloat_FromDouble(v); });
    }
    PyObject* operator()(double value) const { return PyFloat_FromDouble(value); }
    PyObject* operator()(const Count& count) const { return PyLong_FromUnsignedLongLong(count.value); }
    PyObject* operator()(const Truth& truth) const { return PyBool_FromLong(truth.value ? 1 : 0); }
    PyObject* operator()(const LabelledLoops& loops) const { return list_object(loops, labelled_loop_object); }
    PyObject* operator()(const ExactMesh& mesh) const { return mesh_object(mesh.points, texts_object, mesh.triangles); }
    PyObject* operator()(const FloatMesh& mesh) const {
        return mesh_object(mesh.points, float_point_object, mesh.triangles);
    }
    PyObject* operator()(const EdgeRecords& edges) const { return edge_records_object(edges); }
};

}  // namespace

PyObject* to_python(Result result) { return std::visit(ToPython{}, result); }

}  // namespace brevant::binding
