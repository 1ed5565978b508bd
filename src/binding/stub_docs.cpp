// The stub file's docstrings, compiled in: stub_docs.inc is written from brevant_rs.pyi at build
// time (stub_docs.py, run by CMakeLists.txt), so the docstrings that help() shows and those that
// type checkers read are one text.
#include <string_view>

#include "binding/python.hpp"
#include "exact/failure.hpp"

namespace brevant::binding {
namespace {

struct StubDoc {
    std::string_view name;
    const char* doc;
};

constexpr StubDoc kStubDocs[] = {
#include "binding/stub_docs.inc"
};

}  // namespace

const char* stub_doc(std::string_view name) {
    for (const StubDoc& entry : kStubDocs) {
        if (entry.name == name) return entry.doc;
    }
    throw InternalFailure("index out of range: the stubs document no " + std::string(name));
}

}  // namespace brevant::binding
