// How each C++ type that crosses the boundary appears to the engine: its Variant type, the metadata that
// tells 32- from 64-bit integers, its argument description, its ptrcall encoding and its Variant cast.
#pragma once

#include <cstdint>
#include <type_traits>

#include <godot_cpp/classes/ref.hpp>
#include <godot_cpp/core/property_info.hpp>

namespace godot {

template <class T, class = void>
struct GetTypeInfo;

#define GODOT_TYPE_INFO(m_type, m_variant_type, m_metadata)                                       \
	template <>                                                                                   \
	struct GetTypeInfo<m_type> {                                                                  \
		static constexpr Variant::Type VARIANT_TYPE = Variant::m_variant_type;                    \
		static constexpr GDExtensionClassMethodArgumentMetadata METADATA = m_metadata;            \
		static PropertyInfo get_class_info() { return PropertyInfo(VARIANT_TYPE, StringName()); } \
	};

GODOT_TYPE_INFO(bool, BOOL, GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE)
GODOT_TYPE_INFO(int32_t, INT, GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT32)
GODOT_TYPE_INFO(int64_t, INT, GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT64)
GODOT_TYPE_INFO(uint64_t, INT, GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_UINT64)
GODOT_TYPE_INFO(double, FLOAT, GDEXTENSION_METHOD_ARGUMENT_METADATA_REAL_IS_DOUBLE)
GODOT_TYPE_INFO(String, STRING, GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE)
GODOT_TYPE_INFO(StringName, STRING_NAME, GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE)
GODOT_TYPE_INFO(Array, ARRAY, GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE)
GODOT_TYPE_INFO(Dictionary, DICTIONARY, GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE)
GODOT_TYPE_INFO(Callable, CALLABLE, GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE)
#undef GODOT_TYPE_INFO

template <>
struct GetTypeInfo<Variant> {
	static constexpr Variant::Type VARIANT_TYPE = Variant::NIL;
	static constexpr GDExtensionClassMethodArgumentMetadata METADATA = GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE;
	static PropertyInfo get_class_info() {
		return PropertyInfo(Variant::NIL, StringName(), PROPERTY_HINT_NONE, String(),
				PROPERTY_USAGE_DEFAULT | PROPERTY_USAGE_NIL_IS_VARIANT);
	}
};

template <class T>
struct GetTypeInfo<Ref<T>> {
	static constexpr Variant::Type VARIANT_TYPE = Variant::OBJECT;
	static constexpr GDExtensionClassMethodArgumentMetadata METADATA = GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE;
	static PropertyInfo get_class_info() {
		return PropertyInfo(Variant::OBJECT, StringName(), PROPERTY_HINT_NONE, String(), PROPERTY_USAGE_DEFAULT,
				T::get_class_static());
	}
};

// Objects passed by pointer (nodes): an argument of the declared class, null for none.
template <class T>
struct GetTypeInfo<T *, std::enable_if_t<std::is_base_of_v<Object, T>>> {
	static constexpr Variant::Type VARIANT_TYPE = Variant::OBJECT;
	static constexpr GDExtensionClassMethodArgumentMetadata METADATA = GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE;
	static PropertyInfo get_class_info() {
		return PropertyInfo(Variant::OBJECT, StringName(), PROPERTY_HINT_NONE, String(), PROPERTY_USAGE_DEFAULT,
				T::get_class_static());
	}
};

// ptrcall encoding: how the engine passes an argument and expects a return value of each type.
template <class T, class = void>
struct PtrToArg {
	// Builtin value types are passed as pointers to the engine's own values.
	static T convert(const void *p_ptr) { return *static_cast<const T *>(p_ptr); }
	static void encode(const T &p_value, void *r_ptr) { *static_cast<T *>(r_ptr) = p_value; }
};

template <>
struct PtrToArg<bool> {
	static bool convert(const void *p_ptr) { return *static_cast<const uint8_t *>(p_ptr) != 0; }
	static void encode(bool p_value, void *r_ptr) { *static_cast<uint8_t *>(r_ptr) = p_value ? 1 : 0; }
};

// Every integer travels as a 64-bit value.
template <class T>
struct PtrToArg<T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>> {
	static T convert(const void *p_ptr) { return static_cast<T>(*static_cast<const int64_t *>(p_ptr)); }
	static void encode(T p_value, void *r_ptr) { *static_cast<int64_t *>(r_ptr) = static_cast<int64_t>(p_value); }
};

template <>
struct PtrToArg<double> {
	static double convert(const void *p_ptr) { return *static_cast<const double *>(p_ptr); }
	static void encode(double p_value, void *r_ptr) { *static_cast<double *>(r_ptr) = p_value; }
};

template <class T>
struct PtrToArg<Ref<T>> {
	static Ref<T> convert(const void *p_ptr) {
		if (p_ptr == nullptr) {
			return Ref<T>();
		}
		GDExtensionObjectPtr owner = internal::gdextension_interface_ref_get_object(p_ptr);
		return Ref<T>(Object::cast_to<T>(internal::get_wrapped(owner)));
	}
	static void encode(const Ref<T> &p_value, void *r_ptr) {
		internal::gdextension_interface_ref_set_object(r_ptr, p_value.is_valid() ? p_value->_owner : nullptr);
	}
};

// An object travels as a pointer to the engine object; only instances of the library's own classes come
// out as non-null.
template <class T>
struct PtrToArg<T *, std::enable_if_t<std::is_base_of_v<Object, T>>> {
	static T *convert(const void *p_ptr) {
		if (p_ptr == nullptr) {
			return nullptr;
		}
		return Object::cast_to<T>(internal::get_wrapped(*static_cast<const GDExtensionObjectPtr *>(p_ptr)));
	}
	static void encode(T *p_value, void *r_ptr) {
		*static_cast<GDExtensionObjectPtr *>(r_ptr) = p_value != nullptr ? p_value->_owner : nullptr;
	}
};

// Variant call path: the engine's conversion from a Variant argument.
template <class T>
struct VariantCaster {
	static T cast(const Variant &p_variant) { return p_variant.operator T(); }
};

template <>
struct VariantCaster<Variant> {
	static const Variant &cast(const Variant &p_variant) { return p_variant; }
};

// As in godot-cpp, the object is taken unchecked: a freed one is not caught here. A bound method that must
// survive a freed argument reads it by instance id (src/common/object_argument.h).
template <class T>
struct VariantCaster<T *> {
	static T *cast(const Variant &p_variant) { return Object::cast_to<T>(p_variant.operator Object *()); }
};

template <class T>
struct VariantCaster<Ref<T>> {
	static Ref<T> cast(const Variant &p_variant) { return Ref<T>(p_variant); }
};

} // namespace godot
