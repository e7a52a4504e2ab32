// StringName over the engine's constructors, destructor and equality operators.
#include <godot_cpp/variant/string_name.hpp>

#include <cstring>

#include <godot_cpp/variant/string.hpp>

#include <godot_cpp/variant/variant.hpp>

#include "builtin_access.hpp"

namespace godot {

StringName::StringName() {
	internal::constructor<GDEXTENSION_VARIANT_TYPE_STRING_NAME, 0>()(opaque, nullptr);
}

StringName::StringName(const char *p_latin1) {
	internal::gdextension_interface_string_name_new_with_latin1_chars(opaque, p_latin1, false);
}

StringName::StringName(const String &p_string) {
	GDExtensionConstTypePtr args[1] = { p_string._native_ptr() };
	internal::constructor<GDEXTENSION_VARIANT_TYPE_STRING_NAME, internal::api::StringName_from_String>()(opaque, args);
}

StringName::StringName(const Variant *p_from) {
	internal::variant_to(GDEXTENSION_VARIANT_TYPE_STRING_NAME, opaque, p_from->_native_ptr());
}

StringName::StringName(const StringName &p_other) {
	internal::copy_construct<GDEXTENSION_VARIANT_TYPE_STRING_NAME>(opaque, p_other.opaque);
}

StringName &StringName::operator=(const StringName &p_other) {
	internal::copy_assign<GDEXTENSION_VARIANT_TYPE_STRING_NAME>(opaque, p_other.opaque);
	return *this;
}

StringName::~StringName() {
	internal::destructor<GDEXTENSION_VARIANT_TYPE_STRING_NAME>()(opaque);
}

bool StringName::operator==(const StringName &p_other) const {
	uint8_t result = 0;
	internal::evaluator<GDEXTENSION_VARIANT_OP_EQUAL, GDEXTENSION_VARIANT_TYPE_STRING_NAME, GDEXTENSION_VARIANT_TYPE_STRING_NAME>()(opaque, p_other.opaque, &result);
	return result != 0;
}

bool StringName::operator==(const String &p_other) const {
	uint8_t result = 0;
	internal::evaluator<GDEXTENSION_VARIANT_OP_EQUAL, GDEXTENSION_VARIANT_TYPE_STRING_NAME, GDEXTENSION_VARIANT_TYPE_STRING>()(opaque, p_other._native_ptr(), &result);
	return result != 0;
}

bool StringName::is_empty() const {
	static const uint8_t empty[8] = {};
	return std::memcmp(opaque, empty, sizeof(opaque)) == 0;
}

} // namespace godot
