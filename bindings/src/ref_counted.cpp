// RefCounted's counting functions, through the engine's RefCounted method binds.
#include <godot_cpp/classes/ref_counted.hpp>

#include "builtin_access.hpp"

namespace godot {

namespace {

bool call_bool(GDExtensionMethodBindPtr p_bind, GDExtensionObjectPtr p_owner) {
	uint8_t result = 0;
	internal::gdextension_interface_object_method_bind_ptrcall(p_bind, p_owner, nullptr, &result);
	return result != 0;
}

} // namespace

bool RefCounted::init_ref() {
	return call_bool(GODOT_CLASS_METHOD(RefCounted, init_ref), _owner);
}

bool RefCounted::reference() {
	return call_bool(GODOT_CLASS_METHOD(RefCounted, reference), _owner);
}

bool RefCounted::unreference() {
	return call_bool(GODOT_CLASS_METHOD(RefCounted, unreference), _owner);
}

int32_t RefCounted::get_reference_count() const {
	int64_t result = 0;
	internal::gdextension_interface_object_method_bind_ptrcall(GODOT_CLASS_METHOD(RefCounted, get_reference_count), _owner,
			nullptr, &result);
	return static_cast<int32_t>(result);
}

} // namespace godot
