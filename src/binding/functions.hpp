// The definitions that module_table.cpp registers, each defined beside the glue of its subsystem.
#pragma once

#include "binding/binder.hpp"

namespace brevant::binding {

// Module functions.
extern const FunctionDef make_box_function;
extern const FunctionDef box_boolean_function;
extern const FunctionDef box_form_function;

// PySolid methods.
extern const MethodDef boolean_method;
extern const MethodDef volume_method;
extern const MethodDef volume6_str_method;
extern const MethodDef canonical_method;
extern const MethodDef logical_faces_method;
extern const MethodDef bbox_method;

}  // namespace brevant::binding
