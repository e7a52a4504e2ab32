// RefCounted: the engine's reference-counted base; the count lives in the engine object.
#pragma once

#include <godot_cpp/classes/object.hpp>

namespace godot {

class RefCounted : public Object {
public:
	static const StringName &get_class_static() {
		static const StringName &name = internal::static_name("RefCounted");
		return name;
	}
	static const StringName &get_native_class_static() { return get_class_static(); }

	bool init_ref();
	bool reference();
	bool unreference();
	int32_t get_reference_count() const;

protected:
	static void _bind_methods() {}
};

} // namespace godot
