// Object's signal functions, through the engine's Object method binds.
#include <godot_cpp/classes/object.hpp>

#include <vector>

#include "builtin_access.hpp"

namespace godot {

Error Object::emit_signal_internal(const Variant *p_args, int64_t p_count) {
	GDExtensionConstVariantPtr args[8];
	std::vector<GDExtensionConstVariantPtr> many;
	GDExtensionConstVariantPtr *pointers = args;
	if (p_count > 8) {
		many.resize(static_cast<size_t>(p_count));
		pointers = many.data();
	}
	for (int64_t i = 0; i < p_count; i++) {
		pointers[i] = p_args[i]._native_ptr();
	}
	Variant result;
	GDExtensionCallError error{};
	internal::gdextension_interface_object_method_bind_call(GODOT_CLASS_METHOD(Object, emit_signal), _owner, pointers,
			p_count, result._native_ptr(), &error);
	if (error.error != GDEXTENSION_CALL_OK) {
		return ERR_INVALID_PARAMETER;
	}
	return static_cast<Error>(result.operator int64_t());
}

bool Object::has_signal(const StringName &p_signal) const {
	uint8_t result = 0;
	GDExtensionConstTypePtr args[1] = { p_signal._native_ptr() };
	internal::gdextension_interface_object_method_bind_ptrcall(GODOT_CLASS_METHOD(Object, has_signal), _owner, args, &result);
	return result != 0;
}

bool Object::has_connections(const StringName &p_signal) const {
	uint8_t result = 0;
	GDExtensionConstTypePtr args[1] = { p_signal._native_ptr() };
	internal::gdextension_interface_object_method_bind_ptrcall(GODOT_CLASS_METHOD(Object, has_connections), _owner, args, &result);
	return result != 0;
}

bool Object::is_connected(const StringName &p_signal, const Callable &p_callable) const {
	uint8_t result = 0;
	GDExtensionConstTypePtr args[2] = { p_signal._native_ptr(), p_callable._native_ptr() };
	internal::gdextension_interface_object_method_bind_ptrcall(GODOT_CLASS_METHOD(Object, is_connected), _owner, args, &result);
	return result != 0;
}

Error Object::connect(const StringName &p_signal, const Callable &p_callable, uint32_t p_flags) {
	int64_t result = 0;
	const int64_t flags = p_flags;
	GDExtensionConstTypePtr args[3] = { p_signal._native_ptr(), p_callable._native_ptr(), &flags };
	internal::gdextension_interface_object_method_bind_ptrcall(GODOT_CLASS_METHOD(Object, connect), _owner, args, &result);
	return static_cast<Error>(result);
}

void Object::disconnect(const StringName &p_signal, const Callable &p_callable) {
	GDExtensionConstTypePtr args[2] = { p_signal._native_ptr(), p_callable._native_ptr() };
	internal::gdextension_interface_object_method_bind_ptrcall(GODOT_CLASS_METHOD(Object, disconnect), _owner, args, nullptr);
}

uint64_t Object::get_instance_id() const {
	return internal::gdextension_interface_object_get_instance_id(_owner);
}

} // namespace godot
