// Internal helpers of the binding layer: cached look-ups of the engine's builtin constructors,
// destructors, methods and operators, the Variant conversion tables (variant_from_type/to_type
// constructors, filled once when the library is initialised), and the call shapes they take.
#pragma once

#include <gdextension_interface.h>
#include <godot_cpp/godot.hpp>

#include "gdextension_api_hashes.hpp"

namespace godot {
class Variant;
} // namespace godot

namespace godot::internal {

// Filled by load_variant_conversions() before anything of the library runs, then only read, so every
// thread may use them.
extern GDExtensionVariantFromTypeConstructorFunc variant_from_type_table[GDEXTENSION_VARIANT_TYPE_VARIANT_MAX];
extern GDExtensionTypeFromVariantConstructorFunc variant_to_type_table[GDEXTENSION_VARIANT_TYPE_VARIANT_MAX];
void load_variant_conversions();

// Builds a Variant of p_type into uninitialised storage from a pointer to the engine value.
inline void variant_from(GDExtensionVariantType p_type, void *r_variant, const void *p_value) {
	variant_from_type_table[p_type](r_variant, const_cast<void *>(p_value));
}

// Builds a value of p_type into uninitialised storage with the engine's Variant conversion. The target
// must hold nothing yet: the engine constructs over it without releasing what was there.
inline void variant_to(GDExtensionVariantType p_type, void *r_value, const void *p_variant) {
	variant_to_type_table[p_type](r_value, const_cast<void *>(p_variant));
}

// A nil value handed out where an engine look-up finds nothing to point to. One per thread; a write
// through it is dropped at its next use.
Variant &scratch_variant();

GDExtensionPtrConstructor builtin_constructor(GDExtensionVariantType p_type, int32_t p_index);
GDExtensionPtrDestructor builtin_destructor(GDExtensionVariantType p_type);
GDExtensionPtrBuiltInMethod builtin_method(GDExtensionVariantType p_type, const char *p_name, int64_t p_hash);
GDExtensionPtrOperatorEvaluator builtin_operator(GDExtensionVariantOperator p_op, GDExtensionVariantType p_a,
		GDExtensionVariantType p_b);
GDExtensionMethodBindPtr class_method(const char *p_class, const char *p_method, int64_t p_hash);

// Calls a builtin method with arguments given as pointers to engine values.
template <class... Args>
inline void call_builtin(GDExtensionPtrBuiltInMethod p_method, const void *p_base, void *r_return, const Args *...p_args) {
	GDExtensionConstTypePtr args[sizeof...(Args) + 1] = { static_cast<GDExtensionConstTypePtr>(p_args)..., nullptr };
	p_method(const_cast<void *>(p_base), args, r_return, static_cast<int>(sizeof...(Args)));
}

// Each builtin below is looked up once, on first use.
template <GDExtensionVariantType TYPE, int32_t INDEX>
GDExtensionPtrConstructor constructor() {
	static const GDExtensionPtrConstructor function = builtin_constructor(TYPE, INDEX);
	return function;
}

template <GDExtensionVariantType TYPE>
GDExtensionPtrDestructor destructor() {
	static const GDExtensionPtrDestructor function = builtin_destructor(TYPE);
	return function;
}

template <GDExtensionVariantOperator OP, GDExtensionVariantType A, GDExtensionVariantType B>
GDExtensionPtrOperatorEvaluator evaluator() {
	static const GDExtensionPtrOperatorEvaluator function = builtin_operator(OP, A, B);
	return function;
}

// Copy construction and assignment of a builtin value, both by the engine's copy constructor (index 1).
template <GDExtensionVariantType TYPE>
void copy_construct(void *r_dest, const void *p_source) {
	GDExtensionConstTypePtr args[1] = { p_source };
	constructor<TYPE, 1>()(r_dest, args);
}

template <GDExtensionVariantType TYPE>
void copy_assign(void *r_dest, const void *p_source) {
	if (r_dest != p_source) {
		destructor<TYPE>()(r_dest);
		copy_construct<TYPE>(r_dest, p_source);
	}
}

} // namespace godot::internal

// Looks a builtin method up once, on first use.
#define GODOT_BUILTIN_METHOD(m_type, m_vtype, m_name)                                                                                      \
	([]() {                                                                                                                                \
		static const GDExtensionPtrBuiltInMethod method =                                                                                  \
				::godot::internal::builtin_method(GDEXTENSION_VARIANT_TYPE_##m_vtype, #m_name, ::godot::internal::api::m_type##_##m_name); \
		return method;                                                                                                                     \
	}())

#define GODOT_CLASS_METHOD(m_class, m_method)                                                                                                            \
	([]() {                                                                                                                                              \
		static const GDExtensionMethodBindPtr bind = ::godot::internal::class_method(#m_class, #m_method, ::godot::internal::api::m_class##_##m_method); \
		return bind;                                                                                                                                     \
	}())
