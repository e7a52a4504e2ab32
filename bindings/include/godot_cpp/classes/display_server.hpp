// DisplayServer: the engine's singleton of the same name, for what the library asks about the display.
#pragma once

#include <godot_cpp/classes/object.hpp>
#include <godot_cpp/variant/string.hpp>

namespace godot {

class DisplayServer : public Object {
public:
	static const StringName &get_class_static() {
		static const StringName &name = internal::static_name("DisplayServer");
		return name;
	}
	static const StringName &get_native_class_static() { return get_class_static(); }

	static DisplayServer *get_singleton();

	String get_name() const;

protected:
	static void _bind_methods() {}

private:
	explicit DisplayServer(GDExtensionObjectPtr p_owner) :
			Object(p_owner) {}
};

} // namespace godot
