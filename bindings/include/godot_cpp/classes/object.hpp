// Object: the engine's base class as seen from the library's own classes. Signal functions call the
// engine's Object methods on the instance's engine object.
#pragma once

#include <array>
#include <cstdint>

#include <godot_cpp/classes/wrapped.hpp>
#include <godot_cpp/core/defs.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace godot {

class Object : public Wrapped {
	friend class ClassDB;

public:
	Object() = default;

	static const StringName &get_class_static() {
		static const StringName &name = internal::static_name("Object");
		return name;
	}
	static const StringName &get_native_class_static() { return get_class_static(); }

	template <class T>
	static T *cast_to(Object *p_object) {
		return dynamic_cast<T *>(p_object);
	}
	template <class T>
	static const T *cast_to(const Object *p_object) {
		return dynamic_cast<const T *>(p_object);
	}

	template <class... Args>
	Error emit_signal(const StringName &p_signal, const Args &...p_args) {
		std::array<Variant, 1 + sizeof...(Args)> args{ { Variant(p_signal), Variant(p_args)... } };
		return emit_signal_internal(args.data(), static_cast<int64_t>(args.size()));
	}
	bool has_signal(const StringName &p_signal) const;
	bool has_connections(const StringName &p_signal) const;
	bool is_connected(const StringName &p_signal, const Callable &p_callable) const;
	Error connect(const StringName &p_signal, const Callable &p_callable, uint32_t p_flags = 0);
	void disconnect(const StringName &p_signal, const Callable &p_callable);
	uint64_t get_instance_id() const;

protected:
	explicit Object(GDExtensionObjectPtr p_owner) :
			Wrapped(p_owner) {}

	static void _bind_methods() {}

private:
	Error emit_signal_internal(const Variant *p_args, int64_t p_count);
};

} // namespace godot
