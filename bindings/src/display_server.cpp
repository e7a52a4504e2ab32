// DisplayServer over the engine's own singleton: wrapped once, for the life of the library, and called
// through its method binds.
#include <godot_cpp/classes/display_server.hpp>

#include "builtin_access.hpp"

namespace godot {

DisplayServer *DisplayServer::get_singleton() {
	static DisplayServer singleton(internal::gdextension_interface_global_get_singleton(get_class_static()._native_ptr()));
	return &singleton;
}

String DisplayServer::get_name() const {
	String result;
	internal::gdextension_interface_object_method_bind_ptrcall(GODOT_CLASS_METHOD(DisplayServer, get_name), _owner, nullptr,
			result._native_ptr());
	return result;
}

} // namespace godot
