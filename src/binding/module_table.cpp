#include "binding/functions.hpp"

namespace brevant::binding {

const std::vector<const FunctionDef*>& module_functions() {
    static const std::vector<const FunctionDef*> table{
        &make_box_function,
        &make_prism_function,
        &make_prismatoid_function,
        &box_boolean_function,
        &box_form_function,
        &nurbs_curve_eval_function,
        &nurbs_surface_eval_function,
        &ssi_pairs_function,
        &union_all_function,
        &solid_from_polygons_function,
        &solid_from_state_function,
    };
    return table;
}

const std::vector<const MethodDef*>& solid_methods() {
    static const std::vector<const MethodDef*> table{
        &translate_method,
        &scale_method,
        &mirror_method,
        &rotate_quarter_method,
        &rotate_method,
        &transform_method,
        &boolean_method,
        &chamfer_method,
        &chamfer_edges_method,
        &edges_method,
        &volume_method,
        &volume6_str_method,
        &canonical_method,
        &watertight_ok_method,
        &logical_faces_method,
        &bbox_method,
        &bbox_exact_method,
        &polygons_method,
        &merged_method,
        &to_mesh_method,
        &to_mesh_floats_method,
        &union_method,
        &cut_method,
        &intersect_method,
    };
    return table;
}

}  // namespace brevant::binding
