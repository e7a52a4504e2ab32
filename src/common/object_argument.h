#pragma once

// An object parameter of a bound method that a script may have freed before the call. On the dynamic
// path (call, callv, a Callable) the engine hands on the Variant as it is, and godot-cpp's own conversion
// of a freed object reads freed memory; this one looks the object up by its instance id, so a freed object
// arrives as null. To the engine the parameter is a plain T, as a `T *` parameter would be.

#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace teamforge {

template <class T>
class ObjectArgument {
public:
	ObjectArgument() = default;
	// Implicit, so that the library's own callers pass a pointer as before.
	ObjectArgument(T *p_object) :
			object(p_object) {}

	T *get() const { return object; }

private:
	T *object = nullptr;
};

} // namespace teamforge

namespace godot {

template <class T>
struct GetTypeInfo<teamforge::ObjectArgument<T>> {
	static constexpr auto VARIANT_TYPE = GetTypeInfo<T *>::VARIANT_TYPE;
	static constexpr auto METADATA = GetTypeInfo<T *>::METADATA;
	static PropertyInfo get_class_info() { return GetTypeInfo<T *>::get_class_info(); }
};

template <class T>
struct VariantCaster<teamforge::ObjectArgument<T>> {
	static teamforge::ObjectArgument<T> cast(const Variant &p_variant) {
		return teamforge::ObjectArgument<T>(Object::cast_to<T>(p_variant.get_validated_object()));
	}
};

// A typed call (ptrcall) passes the engine object pointer as the caller's variable holds it. Its class was
// checked when the script was compiled or the value typed, but not that the object still lives: a freed
// object arrives as a dangling pointer, as it does to the engine's own methods, and a bare pointer carries
// no instance id to look up. Only the dynamic path above is safe against a freed object.
template <class T>
struct PtrToArg<teamforge::ObjectArgument<T>> {
	static teamforge::ObjectArgument<T> convert(const void *p_ptr) {
		return teamforge::ObjectArgument<T>(PtrToArg<T *>::convert(p_ptr));
	}
};

} // namespace godot
