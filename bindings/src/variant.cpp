// Variant over the engine's Variant functions. Conversions between types follow the engine's own rules:
// text from anything is stringify(), numbers from text use String.to_int/to_float, and unrelated types give
// the target's empty value. Objects are resolved through their instance id, so a Variant holding a freed
// object converts to null instead of a dangling pointer.
#include <godot_cpp/variant/variant.hpp>

#include <cmath>
#include <limits>

#include <godot_cpp/classes/object.hpp>

#include "builtin_access.hpp"

namespace godot {

namespace {

GDExtensionVariantFromTypeConstructorFunc from_type(GDExtensionVariantType p_type) {
	static GDExtensionVariantFromTypeConstructorFunc table[GDEXTENSION_VARIANT_TYPE_VARIANT_MAX] = {};
	if (table[p_type] == nullptr) {
		table[p_type] = internal::gdextension_interface_get_variant_from_type_constructor(p_type);
	}
	return table[p_type];
}

GDExtensionTypeFromVariantConstructorFunc to_type(GDExtensionVariantType p_type) {
	static GDExtensionTypeFromVariantConstructorFunc table[GDEXTENSION_VARIANT_TYPE_VARIANT_MAX] = {};
	if (table[p_type] == nullptr) {
		table[p_type] = internal::gdextension_interface_get_variant_to_type_constructor(p_type);
	}
	return table[p_type];
}

// The engine truncates a float towards zero; values it cannot represent saturate here instead of being
// undefined.
int64_t saturating_int(double p_value) {
	if (std::isnan(p_value)) {
		return 0;
	}
	if (p_value >= 9223372036854775808.0) {
		return std::numeric_limits<int64_t>::max();
	}
	if (p_value < -9223372036854775808.0) {
		return std::numeric_limits<int64_t>::min();
	}
	return static_cast<int64_t>(p_value);
}

} // namespace

Variant::Variant() {
	internal::gdextension_interface_variant_new_nil(opaque);
}

Variant::Variant(const Variant &p_other) {
	internal::gdextension_interface_variant_new_copy(opaque, p_other.opaque);
}

Variant::Variant(Variant &&p_other) noexcept {
	// A Variant is relocatable: take the bytes and leave the source as nil.
	for (size_t i = 0; i < sizeof(opaque); i++) {
		opaque[i] = p_other.opaque[i];
	}
	internal::gdextension_interface_variant_new_nil(p_other.opaque);
}

Variant::Variant(bool p_value) {
	uint8_t value = p_value ? 1 : 0;
	from_type(GDEXTENSION_VARIANT_TYPE_BOOL)(opaque, &value);
}

Variant::Variant(int64_t p_value) {
	from_type(GDEXTENSION_VARIANT_TYPE_INT)(opaque, &p_value);
}

Variant::Variant(double p_value) {
	from_type(GDEXTENSION_VARIANT_TYPE_FLOAT)(opaque, &p_value);
}

Variant::Variant(const String &p_value) {
	from_type(GDEXTENSION_VARIANT_TYPE_STRING)(opaque, p_value._native_ptr());
}

Variant::Variant(const StringName &p_value) {
	from_type(GDEXTENSION_VARIANT_TYPE_STRING_NAME)(opaque, p_value._native_ptr());
}

Variant::Variant(const Array &p_value) {
	from_type(GDEXTENSION_VARIANT_TYPE_ARRAY)(opaque, p_value._native_ptr());
}

Variant::Variant(const Dictionary &p_value) {
	from_type(GDEXTENSION_VARIANT_TYPE_DICTIONARY)(opaque, p_value._native_ptr());
}

Variant::Variant(const PackedStringArray &p_value) {
	from_type(GDEXTENSION_VARIANT_TYPE_PACKED_STRING_ARRAY)(opaque, p_value._native_ptr());
}

Variant::Variant(const Callable &p_value) {
	from_type(GDEXTENSION_VARIANT_TYPE_CALLABLE)(opaque, p_value._native_ptr());
}

Variant::Variant(const Object *p_object) {
	GDExtensionObjectPtr owner = p_object ? p_object->_owner : nullptr;
	from_type(GDEXTENSION_VARIANT_TYPE_OBJECT)(opaque, &owner);
}

Variant &Variant::operator=(const Variant &p_other) {
	if (this != &p_other) {
		internal::gdextension_interface_variant_destroy(opaque);
		internal::gdextension_interface_variant_new_copy(opaque, p_other.opaque);
	}
	return *this;
}

Variant &Variant::operator=(Variant &&p_other) noexcept {
	if (this != &p_other) {
		internal::gdextension_interface_variant_destroy(opaque);
		for (size_t i = 0; i < sizeof(opaque); i++) {
			opaque[i] = p_other.opaque[i];
		}
		internal::gdextension_interface_variant_new_nil(p_other.opaque);
	}
	return *this;
}

Variant::~Variant() {
	internal::gdextension_interface_variant_destroy(opaque);
}

Variant::Type Variant::get_type() const {
	return static_cast<Type>(internal::gdextension_interface_variant_get_type(opaque));
}

bool Variant::booleanize() const {
	return internal::gdextension_interface_variant_booleanize(opaque) != 0;
}

String Variant::stringify() const {
	String result;
	internal::gdextension_interface_variant_stringify(opaque, result._native_ptr());
	return result;
}

int64_t Variant::hash() const {
	return internal::gdextension_interface_variant_hash(opaque);
}

bool Variant::operator==(const Variant &p_other) const {
	Variant result;
	GDExtensionBool valid = 0;
	internal::gdextension_interface_variant_evaluate(GDEXTENSION_VARIANT_OP_EQUAL, opaque, p_other.opaque,
			result.opaque, &valid);
	return valid && result.booleanize();
}

Variant::operator bool() const {
	return booleanize();
}

Variant::operator int32_t() const {
	return static_cast<int32_t>(operator int64_t());
}

Variant::operator int64_t() const {
	switch (get_type()) {
		case BOOL:
			return booleanize() ? 1 : 0;
		case INT: {
			int64_t value = 0;
			to_type(GDEXTENSION_VARIANT_TYPE_INT)(&value, _native_ptr());
			return value;
		}
		case FLOAT:
			return saturating_int(operator double());
		case STRING:
			return operator String().to_int();
		default:
			return 0;
	}
}

Variant::operator uint64_t() const {
	return static_cast<uint64_t>(operator int64_t());
}

Variant::operator double() const {
	switch (get_type()) {
		case BOOL:
			return booleanize() ? 1.0 : 0.0;
		case INT:
			return static_cast<double>(operator int64_t());
		case FLOAT: {
			double value = 0.0;
			to_type(GDEXTENSION_VARIANT_TYPE_FLOAT)(&value, _native_ptr());
			return value;
		}
		case STRING:
			return operator String().to_float();
		default:
			return 0.0;
	}
}

Variant::operator String() const {
	if (get_type() == STRING) {
		String value;
		to_type(GDEXTENSION_VARIANT_TYPE_STRING)(value._native_ptr(), _native_ptr());
		return value;
	}
	return stringify();
}

Variant::operator StringName() const {
	if (get_type() == STRING_NAME) {
		StringName value;
		to_type(GDEXTENSION_VARIANT_TYPE_STRING_NAME)(value._native_ptr(), _native_ptr());
		return value;
	}
	return StringName(operator String());
}

Variant::operator Array() const {
	const Type type = get_type();
	if (type == ARRAY) {
		Array value;
		to_type(GDEXTENSION_VARIANT_TYPE_ARRAY)(value._native_ptr(), _native_ptr());
		return value;
	}
	if (type >= PACKED_BYTE_ARRAY && type < VARIANT_MAX) {
		// Packed arrays convert element by element, as the engine's Array constructor does.
		Variant converted;
		GDExtensionConstVariantPtr args[1] = { opaque };
		GDExtensionCallError error{};
		internal::gdextension_interface_variant_construct(GDEXTENSION_VARIANT_TYPE_ARRAY, converted.opaque, args, 1, &error);
		if (error.error == GDEXTENSION_CALL_OK && converted.get_type() == ARRAY) {
			return converted.operator Array();
		}
	}
	return Array();
}

Variant::operator Dictionary() const {
	if (get_type() == DICTIONARY) {
		Dictionary value;
		to_type(GDEXTENSION_VARIANT_TYPE_DICTIONARY)(value._native_ptr(), _native_ptr());
		return value;
	}
	return Dictionary();
}

Variant::operator Callable() const {
	if (get_type() == CALLABLE) {
		Callable value;
		to_type(GDEXTENSION_VARIANT_TYPE_CALLABLE)(value._native_ptr(), _native_ptr());
		return value;
	}
	return Callable();
}

Variant::operator Object *() const {
	if (get_type() != OBJECT) {
		return nullptr;
	}
	const GDObjectInstanceID id = internal::gdextension_interface_variant_get_object_instance_id(opaque);
	if (id == 0) {
		return nullptr;
	}
	GDExtensionObjectPtr owner = internal::gdextension_interface_object_get_instance_from_id(id);
	return internal::get_wrapped(owner);
}

bool Variant::can_convert_strict(Type p_from, Type p_to) {
	return internal::gdextension_interface_variant_can_convert_strict(static_cast<GDExtensionVariantType>(p_from),
				   static_cast<GDExtensionVariantType>(p_to)) != 0;
}

} // namespace godot
