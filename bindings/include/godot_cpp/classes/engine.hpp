// Engine: the engine's singleton of the same name, for what the library asks about the running engine.
#pragma once

#include <godot_cpp/classes/object.hpp>

namespace godot {

class Engine : public Object {
public:
	static const StringName &get_class_static() {
		static const StringName &name = internal::static_name("Engine");
		return name;
	}
	static const StringName &get_native_class_static() { return get_class_static(); }

	static Engine *get_singleton();

	bool is_editor_hint() const;
	bool has_singleton(const StringName &p_name) const;

protected:
	static void _bind_methods() {}

private:
	explicit Engine(GDExtensionObjectPtr p_owner) :
			Object(p_owner) {}
};

} // namespace godot
