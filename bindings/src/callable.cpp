// Callable over the engine's constructors, destructor and equality operator.
#include <godot_cpp/variant/callable.hpp>

#include "builtin_access.hpp"

namespace godot {

Callable::Callable() {
	GODOT_BUILTIN_CONSTRUCTOR(CALLABLE, 0)(opaque, nullptr);
}

Callable::Callable(const Callable &p_other) {
	GDExtensionConstTypePtr args[1] = { p_other.opaque };
	GODOT_BUILTIN_CONSTRUCTOR(CALLABLE, 1)(opaque, args);
}

Callable &Callable::operator=(const Callable &p_other) {
	if (this != &p_other) {
		GODOT_BUILTIN_DESTRUCTOR(CALLABLE)(opaque);
		GDExtensionConstTypePtr args[1] = { p_other.opaque };
		GODOT_BUILTIN_CONSTRUCTOR(CALLABLE, 1)(opaque, args);
	}
	return *this;
}

Callable::~Callable() {
	GODOT_BUILTIN_DESTRUCTOR(CALLABLE)(opaque);
}

bool Callable::operator==(const Callable &p_other) const {
	uint8_t result = 0;
	GODOT_BUILTIN_OPERATOR(EQUAL, CALLABLE, CALLABLE)(opaque, p_other.opaque, &result);
	return result != 0;
}

} // namespace godot
