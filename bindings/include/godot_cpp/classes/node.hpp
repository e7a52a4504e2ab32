// Node: the engine's scene-tree node base, for the library's node classes.
#pragma once

#include <godot_cpp/classes/object.hpp>

namespace godot {

class Node : public Object {
public:
	static const StringName &get_class_static() {
		static const StringName &name = internal::static_name("Node");
		return name;
	}
	static const StringName &get_native_class_static() { return get_class_static(); }

protected:
	static void _bind_methods() {}
};

} // namespace godot
