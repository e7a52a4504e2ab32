// Variant over the engine's Variant functions. Conversions are the engine's own; an object is read with
// the engine's to-type constructor, as godot-cpp reads it, and get_validated_object() resolves it through
// its instance id instead, so that a freed object reads as null.
#include <godot_cpp/variant/variant.hpp>

#include <godot_cpp/classes/object.hpp>

#include "builtin_access.hpp"

namespace godot {

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
	internal::variant_from(GDEXTENSION_VARIANT_TYPE_BOOL, opaque, &value);
}

Variant::Variant(int64_t p_value) {
	internal::variant_from(GDEXTENSION_VARIANT_TYPE_INT, opaque, &p_value);
}

Variant::Variant(double p_value) {
	internal::variant_from(GDEXTENSION_VARIANT_TYPE_FLOAT, opaque, &p_value);
}

Variant::Variant(const String &p_value) {
	internal::variant_from(GDEXTENSION_VARIANT_TYPE_STRING, opaque, p_value._native_ptr());
}

Variant::Variant(const StringName &p_value) {
	internal::variant_from(GDEXTENSION_VARIANT_TYPE_STRING_NAME, opaque, p_value._native_ptr());
}

Variant::Variant(const Array &p_value) {
	internal::variant_from(GDEXTENSION_VARIANT_TYPE_ARRAY, opaque, p_value._native_ptr());
}

Variant::Variant(const Dictionary &p_value) {
	internal::variant_from(GDEXTENSION_VARIANT_TYPE_DICTIONARY, opaque, p_value._native_ptr());
}

Variant::Variant(const PackedStringArray &p_value) {
	internal::variant_from(GDEXTENSION_VARIANT_TYPE_PACKED_STRING_ARRAY, opaque, p_value._native_ptr());
}

Variant::Variant(const Callable &p_value) {
	internal::variant_from(GDEXTENSION_VARIANT_TYPE_CALLABLE, opaque, p_value._native_ptr());
}

Variant::Variant(const Object *p_object) {
	GDExtensionObjectPtr owner = p_object ? p_object->_owner : nullptr;
	internal::variant_from(GDEXTENSION_VARIANT_TYPE_OBJECT, opaque, &owner);
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

Variant &Variant::operator=(std::nullptr_t) {
	internal::gdextension_interface_variant_destroy(opaque);
	internal::gdextension_interface_variant_new_nil(opaque);
	return *this;
}

void Variant::replace_with(GDExtensionVariantType p_type, const void *p_value) {
	internal::gdextension_interface_variant_destroy(opaque);
	internal::variant_from(p_type, opaque, p_value);
}

Variant &Variant::assign_bool(bool p_value) {
	const uint8_t value = p_value ? 1 : 0;
	replace_with(GDEXTENSION_VARIANT_TYPE_BOOL, &value);
	return *this;
}

Variant &Variant::operator=(int64_t p_value) {
	replace_with(GDEXTENSION_VARIANT_TYPE_INT, &p_value);
	return *this;
}

Variant &Variant::operator=(double p_value) {
	replace_with(GDEXTENSION_VARIANT_TYPE_FLOAT, &p_value);
	return *this;
}

Variant &Variant::operator=(const char *p_value) {
	const String value(p_value);
	replace_with(GDEXTENSION_VARIANT_TYPE_STRING, value._native_ptr());
	return *this;
}

Variant &Variant::operator=(const String &p_value) {
	replace_with(GDEXTENSION_VARIANT_TYPE_STRING, p_value._native_ptr());
	return *this;
}

Variant &Variant::operator=(const StringName &p_value) {
	replace_with(GDEXTENSION_VARIANT_TYPE_STRING_NAME, p_value._native_ptr());
	return *this;
}

Variant &Variant::operator=(const Array &p_value) {
	replace_with(GDEXTENSION_VARIANT_TYPE_ARRAY, p_value._native_ptr());
	return *this;
}

Variant &Variant::operator=(const Dictionary &p_value) {
	replace_with(GDEXTENSION_VARIANT_TYPE_DICTIONARY, p_value._native_ptr());
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

uint32_t Variant::hash() const {
	// The engine's hash is 32 bits wide, handed over in a wider integer.
	return static_cast<uint32_t>(internal::gdextension_interface_variant_hash(opaque));
}

bool Variant::operator==(const Variant &p_other) const {
	Variant result;
	GDExtensionBool valid = 0;
	internal::gdextension_interface_variant_evaluate(GDEXTENSION_VARIANT_OP_EQUAL, opaque, p_other.opaque,
			result.opaque, &valid);
	return valid && result.booleanize();
}

namespace {

// The engine's to-type constructors build the target from any Variant with the engine's own conversion
// (Variant::operator T), so every conversion here is exactly the one scripts see.
template <class T>
T convert(const Variant &p_variant, GDExtensionVariantType p_type) {
	T value{};
	internal::variant_to(p_type, &value, p_variant._native_ptr());
	return value;
}

} // namespace

Variant::operator bool() const {
	return convert<uint8_t>(*this, GDEXTENSION_VARIANT_TYPE_BOOL) != 0;
}

Variant::operator int32_t() const {
	return static_cast<int32_t>(operator int64_t());
}

Variant::operator int64_t() const {
	return convert<int64_t>(*this, GDEXTENSION_VARIANT_TYPE_INT);
}

Variant::operator uint64_t() const {
	return static_cast<uint64_t>(operator int64_t());
}

Variant::operator double() const {
	return convert<double>(*this, GDEXTENSION_VARIANT_TYPE_FLOAT);
}

// The engine builds these values into uninitialised storage: each type's private constructor from a
// Variant hands it storage that holds nothing yet, so no default value is built and then lost.
Variant::operator String() const {
	return String(this);
}

Variant::operator StringName() const {
	return StringName(this);
}

Variant::operator Array() const {
	return Array(this);
}

Variant::operator Dictionary() const {
	return Dictionary(this);
}

Variant::operator Callable() const {
	return Callable(this);
}

Variant::operator Object *() const {
	// The engine answers 0 for a value that holds no object (or null), which its to-type constructor does
	// not tell apart.
	if (internal::gdextension_interface_variant_get_object_instance_id(opaque) == 0) {
		return nullptr;
	}
	GDExtensionObjectPtr owner = nullptr;
	internal::variant_to(GDEXTENSION_VARIANT_TYPE_OBJECT, &owner, opaque);
	return internal::get_wrapped(owner);
}

Object *Variant::get_validated_object() const {
	const GDObjectInstanceID id = internal::gdextension_interface_variant_get_object_instance_id(opaque);
	if (id == 0) {
		return nullptr;
	}
	return internal::get_wrapped(internal::gdextension_interface_object_get_instance_from_id(id));
}

Variant::operator ObjectID() const {
	// The engine answers 0 for a value that holds no object.
	const GDObjectInstanceID id = internal::gdextension_interface_variant_get_object_instance_id(opaque);
	if (id == 0 && get_type() == INT) {
		return ObjectID(operator uint64_t());
	}
	return ObjectID(id);
}

bool Variant::can_convert_strict(Type p_from, Type p_to) {
	return internal::gdextension_interface_variant_can_convert_strict(static_cast<GDExtensionVariantType>(p_from),
				   static_cast<GDExtensionVariantType>(p_to)) != 0;
}

namespace internal {

String format_with(const String &p_format, const Array &p_values) {
	const Variant format(p_format);
	const Variant values(p_values);
	Variant result;
	GDExtensionBool valid = 0;
	gdextension_interface_variant_evaluate(GDEXTENSION_VARIANT_OP_MODULE, format._native_ptr(), values._native_ptr(),
			result._native_ptr(), &valid);
	// A format the engine rejects (too few values, a bad directive) gives what the engine's % operator
	// gives, its error text, as upstream's vformat does.
	(void)valid;
	return result.operator String();
}

} // namespace internal

} // namespace godot
