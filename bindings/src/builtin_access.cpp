// Look-ups of engine builtins by type, index, name and hash.
#include "builtin_access.hpp"

#include <cstring>

#include <godot_cpp/variant/string_name.hpp>

namespace godot::internal {

GDExtensionPtrConstructor builtin_constructor(GDExtensionVariantType p_type, int32_t p_index) {
	return gdextension_interface_variant_get_ptr_constructor(p_type, p_index);
}

GDExtensionPtrDestructor builtin_destructor(GDExtensionVariantType p_type) {
	return gdextension_interface_variant_get_ptr_destructor(p_type);
}

GDExtensionPtrBuiltInMethod builtin_method(GDExtensionVariantType p_type, const char *p_name, int64_t p_hash) {
	StringName name(p_name);
	return gdextension_interface_variant_get_ptr_builtin_method(p_type, name._native_ptr(), p_hash);
}

GDExtensionPtrOperatorEvaluator builtin_operator(GDExtensionVariantOperator p_op, GDExtensionVariantType p_a,
		GDExtensionVariantType p_b) {
	return gdextension_interface_variant_get_ptr_operator_evaluator(p_op, p_a, p_b);
}

GDExtensionMethodBindPtr class_method(const char *p_class, const char *p_method, int64_t p_hash) {
	StringName class_name(p_class);
	StringName method_name(p_method);
	return gdextension_interface_classdb_get_method_bind(class_name._native_ptr(), method_name._native_ptr(), p_hash);
}

} // namespace godot::internal
