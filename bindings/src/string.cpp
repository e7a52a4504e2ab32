// String over the engine's constructors, operators and builtin String methods.
#include <godot_cpp/variant/string.hpp>

#include <string>

#include <godot_cpp/variant/packed_string_array.hpp>
#include <godot_cpp/variant/string_name.hpp>

#include <godot_cpp/variant/variant.hpp>

#include "builtin_access.hpp"

namespace godot {

String::String() {
	internal::constructor<GDEXTENSION_VARIANT_TYPE_STRING, 0>()(opaque, nullptr);
}

String::String(const char *p_latin1) {
	internal::gdextension_interface_string_new_with_latin1_chars(opaque, p_latin1 ? p_latin1 : "");
}

String::String(const char *p_utf8, int64_t p_length) {
	internal::gdextension_interface_string_new_with_utf8_chars_and_len2(opaque, p_utf8 ? p_utf8 : "", p_length);
}

String::String(const StringName &p_from) {
	GDExtensionConstTypePtr args[1] = { p_from._native_ptr() };
	internal::constructor<GDEXTENSION_VARIANT_TYPE_STRING, internal::api::String_from_StringName>()(opaque, args);
}

String::String(const Variant *p_from) {
	internal::variant_to(GDEXTENSION_VARIANT_TYPE_STRING, opaque, p_from->_native_ptr());
}

String::String(const String &p_other) {
	internal::copy_construct<GDEXTENSION_VARIANT_TYPE_STRING>(opaque, p_other.opaque);
}

String &String::operator=(const String &p_other) {
	internal::copy_assign<GDEXTENSION_VARIANT_TYPE_STRING>(opaque, p_other.opaque);
	return *this;
}

String::~String() {
	internal::destructor<GDEXTENSION_VARIANT_TYPE_STRING>()(opaque);
}

String String::num_int64(int64_t p_number) {
	return String(std::to_string(p_number).c_str());
}

String String::utf8(const char *p_utf8, int64_t p_length) {
	// The engine reads a negative length as "up to the first NUL".
	return String(p_utf8, p_length);
}

CharString String::utf8() const {
	const GDExtensionInt size = internal::gdextension_interface_string_to_utf8_chars(opaque, nullptr, 0);
	std::string data(static_cast<size_t>(size), '\0');
	if (size > 0) {
		internal::gdextension_interface_string_to_utf8_chars(opaque, data.data(), size);
	}
	return CharString(std::move(data));
}

int64_t String::length() const {
	int64_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, length), opaque, &result);
	return result;
}

bool String::is_empty() const {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, is_empty), opaque, &result);
	return result != 0;
}

bool String::operator==(const String &p_other) const {
	uint8_t result = 0;
	internal::evaluator<GDEXTENSION_VARIANT_OP_EQUAL, GDEXTENSION_VARIANT_TYPE_STRING, GDEXTENSION_VARIANT_TYPE_STRING>()(opaque, p_other.opaque, &result);
	return result != 0;
}

bool String::operator<(const String &p_other) const {
	uint8_t result = 0;
	internal::evaluator<GDEXTENSION_VARIANT_OP_LESS, GDEXTENSION_VARIANT_TYPE_STRING, GDEXTENSION_VARIANT_TYPE_STRING>()(opaque, p_other.opaque, &result);
	return result != 0;
}

String String::operator+(const String &p_other) const {
	String result;
	internal::evaluator<GDEXTENSION_VARIANT_OP_ADD, GDEXTENSION_VARIANT_TYPE_STRING, GDEXTENSION_VARIANT_TYPE_STRING>()(opaque, p_other.opaque, result.opaque);
	return result;
}

String String::operator+(const StringName &p_other) const {
	String result;
	internal::evaluator<GDEXTENSION_VARIANT_OP_ADD, GDEXTENSION_VARIANT_TYPE_STRING, GDEXTENSION_VARIANT_TYPE_STRING_NAME>()(opaque, p_other._native_ptr(), result.opaque);
	return result;
}

String String::operator+(const char *p_str) {
	return *this + String(p_str);
}

String &String::operator+=(const String &p_other) {
	*this = *this + p_other;
	return *this;
}

bool String::begins_with(const String &p_text) const {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, begins_with), opaque, &result, p_text.opaque);
	return result != 0;
}

bool String::contains(const String &p_what) const {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, contains), opaque, &result, p_what.opaque);
	return result != 0;
}

int64_t String::find(const String &p_what, int64_t p_from) const {
	int64_t result = -1;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, find), opaque, &result, p_what.opaque, &p_from);
	return result;
}

PackedStringArray String::split(const String &p_delimiter, bool p_allow_empty, int64_t p_maxsplit) const {
	PackedStringArray result;
	const uint8_t allow_empty = p_allow_empty ? 1 : 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, split), opaque, result._native_ptr(),
			p_delimiter._native_ptr(), &allow_empty, &p_maxsplit);
	return result;
}

String String::strip_edges(bool p_left, bool p_right) const {
	String result;
	const uint8_t left = p_left ? 1 : 0;
	const uint8_t right = p_right ? 1 : 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, strip_edges), opaque, result.opaque, &left, &right);
	return result;
}

String String::substr(int64_t p_from, int64_t p_len) const {
	String result;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, substr), opaque, result.opaque, &p_from, &p_len);
	return result;
}

String String::to_upper() const {
	String result;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, to_upper), opaque, result.opaque);
	return result;
}

String String::to_lower() const {
	String result;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, to_lower), opaque, result.opaque);
	return result;
}

int64_t String::naturalnocasecmp_to(const String &p_to) const {
	int64_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, naturalnocasecmp_to), opaque, &result, p_to.opaque);
	return result;
}

int64_t String::hash() const {
	int64_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, hash), opaque, &result);
	return result;
}

int64_t String::to_int() const {
	int64_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, to_int), opaque, &result);
	return result;
}

double String::to_float() const {
	double result = 0.0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(String, STRING, to_float), opaque, &result);
	return result;
}

String operator+(const char *p_left, const String &p_right) {
	return String(p_left) + p_right;
}

} // namespace godot
