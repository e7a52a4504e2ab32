// MethodInfo: a signal's name and arguments, as ADD_SIGNAL declares them. ObjectDB: objects by instance id
// (object_get_instance_from_id), so a holder can keep an id and notice when the object is gone.
#pragma once

#include <cstdint>
#include <vector>

#include <godot_cpp/core/property_info.hpp>

namespace godot {

struct MethodInfo {
	StringName name;
	std::vector<PropertyInfo> arguments;

	MethodInfo() = default;
	template <class... Args>
	MethodInfo(const StringName &p_name, const Args &...p_arguments) :
			name(p_name), arguments{ p_arguments... } {}
};

class Object;

class ObjectDB {
public:
	// The object of ours with this id, or null once it has been freed (ids are never reused).
	static Object *get_instance(uint64_t p_object_id);
};

} // namespace godot
