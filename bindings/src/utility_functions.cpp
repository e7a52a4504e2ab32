// The engine's push_warning, push_error and print, called through variant_get_ptr_utility_function.
#include <godot_cpp/variant/utility_functions.hpp>

#include <vector>

#include "builtin_access.hpp"

namespace godot {

namespace {

GDExtensionPtrUtilityFunction lookup(const char *p_name, int64_t p_hash) {
	StringName name(p_name);
	return internal::gdextension_interface_variant_get_ptr_utility_function(name._native_ptr(), p_hash);
}

} // namespace

void UtilityFunctions::call_vararg(Function p_function, const Variant *p_args, int p_count) {
	static const GDExtensionPtrUtilityFunction functions[] = {
		lookup("push_warning", internal::api::utility_push_warning),
		lookup("push_error", internal::api::utility_push_error),
		lookup("print", internal::api::utility_print),
	};
	// Few arguments in practice: they stay on the stack.
	GDExtensionConstTypePtr few[8];
	std::vector<GDExtensionConstTypePtr> many;
	GDExtensionConstTypePtr *args = few;
	if (p_count > 8) {
		many.resize(static_cast<size_t>(p_count));
		args = many.data();
	}
	for (int i = 0; i < p_count; i++) {
		args[i] = p_args[i]._native_ptr();
	}
	functions[p_function](nullptr, args, p_count);
}

} // namespace godot
