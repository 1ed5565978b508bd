// PyMethodDef tables for table-driven callables. CPython calls a plain C function per entry, so
// each row gets its own instantiation of `entry`, which forwards the row index to one dispatcher.
#pragma once

#include <array>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "binding/python.hpp"

namespace brevant::binding {

using Dispatch = PyObject* (*)(std::size_t row, PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                               PyObject* kwnames);

template <Dispatch D, std::size_t Row>
PyObject* entry(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return D(Row, self, args, nargs, kwnames);
}

template <Dispatch D, std::size_t... Rows>
std::array<PyCFunction, sizeof...(Rows)> entries(std::index_sequence<Rows...>) {
    return {reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&entry<D, Rows>))...};
}

struct EntryRow {
    const char* name;
    std::string doc;
};

// A null-terminated PyMethodDef array for the rows, in order, followed by `extra` (entries that
// are not table rows); the array and the docstrings live as long as the process, as CPython
// requires.
template <Dispatch D>
PyMethodDef* method_table(const std::vector<EntryRow>& rows, const std::vector<PyMethodDef>& extra = {}) {
    constexpr std::size_t kMaxRows = 32;
    static const auto functions = entries<D>(std::make_index_sequence<kMaxRows>{});
    static std::deque<std::string> docs;
    static std::vector<PyMethodDef> defs;
    if (!defs.empty()) return defs.data();
    if (rows.size() > kMaxRows) throw InternalFailure("too many callables for the entry table");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        docs.push_back(rows[i].doc);
        defs.push_back({rows[i].name, functions[i], METH_FASTCALL | METH_KEYWORDS, docs.back().c_str()});
    }
    defs.insert(defs.end(), extra.begin(), extra.end());
    defs.push_back({nullptr, nullptr, 0, nullptr});
    return defs.data();
}

}  // namespace brevant::binding
