#include "binding/functions.hpp"

namespace brevant::binding {

const std::vector<const FunctionDef*>& module_functions() {
    static const std::vector<const FunctionDef*> table{
        &make_box_function,
        &box_boolean_function,
        &box_form_function,
    };
    return table;
}

const std::vector<const MethodDef*>& solid_methods() {
    static const std::vector<const MethodDef*> table{
        &boolean_method, &volume_method, &volume6_str_method, &canonical_method, &logical_faces_method, &bbox_method,
    };
    return table;
}

}  // namespace brevant::binding
