// Callable over the engine's constructors, destructor and equality operator.
#include <godot_cpp/variant/callable.hpp>

#include <godot_cpp/variant/variant.hpp>

#include "builtin_access.hpp"

namespace godot {

Callable::Callable() {
	internal::constructor<GDEXTENSION_VARIANT_TYPE_CALLABLE, 0>()(opaque, nullptr);
}

Callable::Callable(const Variant *p_from) {
	internal::variant_to(GDEXTENSION_VARIANT_TYPE_CALLABLE, opaque, p_from->_native_ptr());
}

Callable::Callable(const Callable &p_other) {
	internal::copy_construct<GDEXTENSION_VARIANT_TYPE_CALLABLE>(opaque, p_other.opaque);
}

Callable &Callable::operator=(const Callable &p_other) {
	internal::copy_assign<GDEXTENSION_VARIANT_TYPE_CALLABLE>(opaque, p_other.opaque);
	return *this;
}

Callable::~Callable() {
	internal::destructor<GDEXTENSION_VARIANT_TYPE_CALLABLE>()(opaque);
}

bool Callable::operator==(const Callable &p_other) const {
	uint8_t result = 0;
	internal::evaluator<GDEXTENSION_VARIANT_OP_EQUAL, GDEXTENSION_VARIANT_TYPE_CALLABLE, GDEXTENSION_VARIANT_TYPE_CALLABLE>()(opaque, p_other.opaque, &result);
	return result != 0;
}

} // namespace godot
