// Engine over the engine's own singleton: wrapped once, for the life of the library, and called through
// its method binds.
#include <godot_cpp/classes/engine.hpp>

#include "builtin_access.hpp"

namespace godot {

Engine *Engine::get_singleton() {
	static Engine singleton(internal::gdextension_interface_global_get_singleton(get_class_static()._native_ptr()));
	return &singleton;
}

bool Engine::is_editor_hint() const {
	uint8_t result = 0;
	internal::gdextension_interface_object_method_bind_ptrcall(GODOT_CLASS_METHOD(Engine, is_editor_hint), _owner, nullptr, &result);
	return result != 0;
}

bool Engine::has_singleton(const StringName &p_name) const {
	uint8_t result = 0;
	GDExtensionConstTypePtr args[1] = { p_name._native_ptr() };
	internal::gdextension_interface_object_method_bind_ptrcall(GODOT_CLASS_METHOD(Engine, has_singleton), _owner, args, &result);
	return result != 0;
}

} // namespace godot
