// The Variant call path shared by every bound method: argument count and type checks, then defaults.
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
	std::vector<const Variant *> args(static_cast<size_t>(total) + 1, nullptr);
	for (int i = 0; i < total; i++) {
		const Variant *value = i < p_count ? static_cast<const Variant *>(p_args[i]) : &default_arguments[i - required];
		const Variant::Type expected = argument_type(i);
		const Variant::Type actual = value->get_type();
		if (expected != Variant::NIL && actual != expected && !Variant::can_convert_strict(actual, expected)) {
			r_error.error = GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT;
			r_error.argument = i;
			r_error.expected = expected;
			return Variant();
		}
		args[i] = value;
	}
	r_error.error = GDEXTENSION_CALL_OK;
	return call_checked(p_instance, args.data());
}

} // namespace godot
