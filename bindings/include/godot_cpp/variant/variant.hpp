// Variant: the engine's tagged value (opaque 24 bytes). Construction, copying and destruction go through
// the engine (variant_new_copy, variant_new_nil, variant_destroy and the from-type constructors), and the
// conversion operators are the engine's own to-type constructors (an int read from a String is
// String.to_int, any value read as text is its stringify, an unrelated type gives the target's empty
// value). Assigning a plain value replaces the held one in place, without a temporary Variant.
#pragma once

#include <cstdint>
#include <type_traits>

#include <gdextension_interface.h>
#include <godot_cpp/core/object_id.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/callable.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/packed_string_array.hpp>
#include <godot_cpp/variant/string.hpp>
#include <godot_cpp/variant/string_name.hpp>

namespace godot {

class Object;

class Variant {
	alignas(8) uint8_t opaque[24] = {};

public:
	enum Type {
		NIL,
		BOOL,
		INT,
		FLOAT,
		STRING,
		VECTOR2,
		VECTOR2I,
		RECT2,
		RECT2I,
		VECTOR3,
		VECTOR3I,
		TRANSFORM2D,
		VECTOR4,
		VECTOR4I,
		PLANE,
		QUATERNION,
		AABB,
		BASIS,
		TRANSFORM3D,
		PROJECTION,
		COLOR,
		STRING_NAME,
		NODE_PATH,
		RID,
		OBJECT,
		CALLABLE,
		SIGNAL,
		DICTIONARY,
		ARRAY,
		PACKED_BYTE_ARRAY,
		PACKED_INT32_ARRAY,
		PACKED_INT64_ARRAY,
		PACKED_FLOAT32_ARRAY,
		PACKED_FLOAT64_ARRAY,
		PACKED_STRING_ARRAY,
		PACKED_VECTOR2_ARRAY,
		PACKED_VECTOR3_ARRAY,
		PACKED_COLOR_ARRAY,
		PACKED_VECTOR4_ARRAY,
		VARIANT_MAX
	};

	Variant();
	Variant(std::nullptr_t) :
			Variant() {}
	Variant(const Variant &p_other);
	Variant(Variant &&p_other) noexcept;
	Variant(bool p_value);
	Variant(int32_t p_value) :
			Variant(static_cast<int64_t>(p_value)) {}
	Variant(int64_t p_value);
	Variant(uint64_t p_value) :
			Variant(static_cast<int64_t>(p_value)) {}
	Variant(double p_value);
	Variant(const char *p_value) :
			Variant(String(p_value)) {}
	Variant(const String &p_value);
	Variant(const StringName &p_value);
	Variant(const Array &p_value);
	Variant(const Dictionary &p_value);
	Variant(const PackedStringArray &p_value);
	Variant(const Callable &p_value);
	Variant(const Object *p_object);
	Variant &operator=(const Variant &p_other);
	Variant &operator=(Variant &&p_other) noexcept;
	Variant &operator=(std::nullptr_t);
	// Only a bool itself: an object pointer must reach the Object constructor, as it does in godot-cpp,
	// instead of turning into true here.
	template <class B, class = std::enable_if_t<std::is_same_v<B, bool>>>
	Variant &operator=(B p_value) {
		return assign_bool(p_value);
	}
	Variant &operator=(int32_t p_value) { return operator=(static_cast<int64_t>(p_value)); }
	Variant &operator=(int64_t p_value);
	Variant &operator=(uint64_t p_value) { return operator=(static_cast<int64_t>(p_value)); }
	Variant &operator=(double p_value);
	Variant &operator=(const char *p_value);
	Variant &operator=(const String &p_value);
	Variant &operator=(const StringName &p_value);
	Variant &operator=(const Array &p_value);
	Variant &operator=(const Dictionary &p_value);
	~Variant();

	Type get_type() const;
	bool booleanize() const;
	String stringify() const;
	uint32_t hash() const;

	bool operator==(const Variant &p_other) const;
	bool operator!=(const Variant &p_other) const { return !(*this == p_other); }

	operator bool() const;
	operator int32_t() const;
	operator int64_t() const;
	operator uint64_t() const;
	operator double() const;
	operator String() const;
	operator StringName() const;
	operator Array() const;
	operator Dictionary() const;
	operator Callable() const;
	// The object held, as godot-cpp converts it: without asking whether it still exists, so a value whose
	// object may have been freed is read with get_validated_object() instead.
	operator Object *() const;
	// The instance id an object value holds, even once the object is gone; an int is read as an id; null
	// for any other value.
	operator ObjectID() const;

	// The object held if it still exists; null for a freed object and for any other value.
	Object *get_validated_object() const;

	// True when the engine accepts this value as an argument of type p_type without a lossy conversion.
	static bool can_convert_strict(Type p_from, Type p_to);

	GDExtensionVariantPtr _native_ptr() const { return const_cast<uint8_t *>(opaque); }

private:
	// Releases the held value and builds one of p_type from p_value in its place.
	void replace_with(GDExtensionVariantType p_type, const void *p_value);
	Variant &assign_bool(bool p_value);
};

namespace internal {
String format_with(const String &p_format, const Array &p_values);
} // namespace internal

// Formats with the engine's own String % operator ("%d", "%s", "%05.2f", ...).
template <class... Args>
String vformat(const String &p_format, const Args &...p_values) {
	Array values;
	(values.push_back(Variant(p_values)), ...);
	return internal::format_with(p_format, values);
}

} // namespace godot
