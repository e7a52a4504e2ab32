// The Variant call path shared by every bound method: the argument count is checked here; each method's
// own call_checked fills in defaults and checks types on the stack.
#include <godot_cpp/core/method_bind.hpp>

namespace godot {

Variant MethodBind::call(void *p_instance, const GDExtensionConstVariantPtr *p_args, int64_t p_count,
		GDExtensionCallError &r_error) const {
	const int total = argument_count();
	const int defaults = static_cast<int>(default_arguments.size());
	const int required = total - defaults;
	if (p_count > total) {
		r_error.error = GDEXTENSION_CALL_ERROR_TOO_MANY_ARGUMENTS;
		r_error.expected = total;
		return Variant();
	}
	if (p_count < required) {
		r_error.error = GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS;
		r_error.expected = required;
		return Variant();
	}
	return call_checked(p_instance, p_args, p_count, r_error);
}

namespace internal {

bool check_call_arguments(const Variant *const *p_args, int64_t p_count, int p_total, const Variant::Type *p_types,
		GDExtensionCallError &r_error) {
	if (p_count != p_total) {
		r_error.error = p_count > p_total ? GDEXTENSION_CALL_ERROR_TOO_MANY_ARGUMENTS : GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS;
		r_error.expected = p_total;
		return false;
	}
	for (int i = 0; i < p_total; i++) {
		const Variant::Type expected = p_types[i];
		const Variant::Type actual = p_args[i]->get_type();
		if (expected != Variant::NIL && actual != expected && !Variant::can_convert_strict(actual, expected)) {
			r_error.error = GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT;
			r_error.argument = i;
			r_error.expected = expected;
			return false;
		}
	}
	r_error.error = GDEXTENSION_CALL_OK;
	return true;
}

} // namespace internal

} // namespace godot
