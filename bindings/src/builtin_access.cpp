// Look-ups of engine builtins by type, index, name and hash (variant_get_ptr_constructor, _destructor,
// _builtin_method, _operator_evaluator, classdb_get_method_bind), and the conversion tables of
// get_variant_from_type_constructor and get_variant_to_type_constructor.
#include "builtin_access.hpp"

#include <cstring>

#include <godot_cpp/variant/string_name.hpp>

namespace godot::internal {

GDExtensionVariantFromTypeConstructorFunc variant_from_type_table[GDEXTENSION_VARIANT_TYPE_VARIANT_MAX] = {};
GDExtensionTypeFromVariantConstructorFunc variant_to_type_table[GDEXTENSION_VARIANT_TYPE_VARIANT_MAX] = {};

void load_variant_conversions() {
	// NIL has no constructors of its own.
	for (int type = GDEXTENSION_VARIANT_TYPE_BOOL; type < GDEXTENSION_VARIANT_TYPE_VARIANT_MAX; type++) {
		const auto variant_type = static_cast<GDExtensionVariantType>(type);
		variant_from_type_table[type] = gdextension_interface_get_variant_from_type_constructor(variant_type);
		variant_to_type_table[type] = gdextension_interface_get_variant_to_type_constructor(variant_type);
	}
}

Variant &scratch_variant() {
	// Raw storage, so that no engine call is left for thread exit; reset to nil on every use.
	alignas(8) static thread_local uint8_t storage[24] = {};
	gdextension_interface_variant_destroy(storage);
	gdextension_interface_variant_new_nil(storage);
	return *reinterpret_cast<Variant *>(storage);
}

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
