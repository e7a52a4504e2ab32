// ObjectDB over the engine's object_get_instance_from_id.
#include <godot_cpp/core/object.hpp>

#include <godot_cpp/classes/object.hpp>

#include "builtin_access.hpp"

namespace godot {

Object *ObjectDB::get_instance(uint64_t p_object_id) {
	if (p_object_id == 0) {
		return nullptr;
	}
	return internal::get_wrapped(internal::gdextension_interface_object_get_instance_from_id(p_object_id));
}

} // namespace godot
