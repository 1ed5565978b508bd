// The definitions that module_table.cpp registers, each defined beside the glue of its subsystem.
#pragma once

#include "binding/binder.hpp"

namespace brevant::binding {

// Module functions.
extern const FunctionDef make_box_function;
extern const FunctionDef make_prism_function;
extern const FunctionDef make_prismatoid_function;
extern const FunctionDef box_boolean_function;
extern const FunctionDef box_form_function;
extern const FunctionDef nurbs_curve_eval_function;
extern const FunctionDef nurbs_surface_eval_function;
extern const FunctionDef ssi_pairs_function;
extern const FunctionDef union_all_function;
extern const FunctionDef solid_from_polygons_function;
extern const FunctionDef solid_from_state_function;

// PySolid methods.
extern const MethodDef translate_method;
extern const MethodDef scale_method;
extern const MethodDef mirror_method;
extern const MethodDef rotate_quarter_method;
extern const MethodDef rotate_method;
extern const MethodDef transform_method;
extern const MethodDef boolean_method;
extern const MethodDef chamfer_method;
extern const MethodDef chamfer_edges_method;
extern const MethodDef edges_method;
extern const MethodDef volume_method;
extern const MethodDef volume6_str_method;
extern const MethodDef canonical_method;
extern const MethodDef watertight_ok_method;
extern const MethodDef logical_faces_method;
extern const MethodDef bbox_method;
extern const MethodDef bbox_exact_method;
extern const MethodDef polygons_method;
extern const MethodDef merged_method;
extern const MethodDef to_mesh_method;
extern const MethodDef to_mesh_floats_method;
extern const MethodDef union_method;
extern const MethodDef cut_method;
extern const MethodDef intersect_method;

}  // namespace brevant::binding
