// Dictionary over the engine's constructors and destructor, dictionary_operator_index(_const) for keyed
// access, and the builtin Dictionary methods.
#include <godot_cpp/variant/dictionary.hpp>

#include <godot_cpp/core/error_macros.hpp>
#include <godot_cpp/variant/variant.hpp>

#include "builtin_access.hpp"

namespace godot {

Dictionary::Dictionary() {
	internal::constructor<GDEXTENSION_VARIANT_TYPE_DICTIONARY, 0>()(opaque, nullptr);
}

Dictionary::Dictionary(const Variant *p_from) {
	internal::variant_to(GDEXTENSION_VARIANT_TYPE_DICTIONARY, opaque, p_from->_native_ptr());
}

Dictionary::Dictionary(const Dictionary &p_other) {
	internal::copy_construct<GDEXTENSION_VARIANT_TYPE_DICTIONARY>(opaque, p_other.opaque);
}

Dictionary &Dictionary::operator=(const Dictionary &p_other) {
	internal::copy_assign<GDEXTENSION_VARIANT_TYPE_DICTIONARY>(opaque, p_other.opaque);
	return *this;
}

Dictionary::~Dictionary() {
	internal::destructor<GDEXTENSION_VARIANT_TYPE_DICTIONARY>()(opaque);
}

int64_t Dictionary::size() const {
	int64_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, size), opaque, &result);
	return result;
}

bool Dictionary::is_empty() const {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, is_empty), opaque, &result);
	return result != 0;
}

bool Dictionary::has(const Variant &p_key) const {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, has), opaque, &result, p_key._native_ptr());
	return result != 0;
}

Variant Dictionary::get(const Variant &p_key, const Variant &p_default) const {
	Variant result;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, get), opaque, result._native_ptr(),
			p_key._native_ptr(), p_default._native_ptr());
	return result;
}

Variant &Dictionary::operator[](const Variant &p_key) {
	auto *value = static_cast<Variant *>(internal::gdextension_interface_dictionary_operator_index(opaque, p_key._native_ptr()));
	ERR_FAIL_NULL_V(value, internal::scratch_variant());
	return *value;
}

// As in godot-cpp: the engine reports a read-only look-up of a missing key as the caller's bug (and gives
// null), so code that may miss reads with get().
const Variant &Dictionary::operator[](const Variant &p_key) const {
	const auto *value = static_cast<const Variant *>(internal::gdextension_interface_dictionary_operator_index_const(opaque, p_key._native_ptr()));
	ERR_FAIL_NULL_V(value, internal::scratch_variant());
	return *value;
}

bool Dictionary::set(const Variant &p_key, const Variant &p_value) {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, set), opaque, &result, p_key._native_ptr(), p_value._native_ptr());
	return result != 0;
}

bool Dictionary::erase(const Variant &p_key) {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, erase), opaque, &result, p_key._native_ptr());
	return result != 0;
}

void Dictionary::clear() {
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, clear), opaque, nullptr);
}

void Dictionary::merge(const Dictionary &p_dictionary, bool p_overwrite) {
	const uint8_t overwrite = p_overwrite ? 1 : 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, merge), opaque, nullptr, p_dictionary.opaque, &overwrite);
}

Array Dictionary::keys() const {
	Array result;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, keys), opaque, result._native_ptr());
	return result;
}

Dictionary Dictionary::duplicate(bool p_deep) const {
	Dictionary result;
	const uint8_t deep = p_deep ? 1 : 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, duplicate), opaque, result.opaque, &deep);
	return result;
}

bool Dictionary::is_read_only() const {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, is_read_only), opaque, &result);
	return result != 0;
}

bool Dictionary::is_typed() const {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, is_typed), opaque, &result);
	return result != 0;
}

bool Dictionary::is_typed_key() const {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, is_typed_key), opaque, &result);
	return result != 0;
}

bool Dictionary::is_typed_value() const {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, is_typed_value), opaque, &result);
	return result != 0;
}

int64_t Dictionary::get_typed_key_builtin() const {
	int64_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, get_typed_key_builtin), opaque, &result);
	return result;
}

int64_t Dictionary::get_typed_value_builtin() const {
	int64_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Dictionary, DICTIONARY, get_typed_value_builtin), opaque, &result);
	return result;
}

bool Dictionary::operator==(const Dictionary &p_other) const {
	uint8_t result = 0;
	internal::evaluator<GDEXTENSION_VARIANT_OP_EQUAL, GDEXTENSION_VARIANT_TYPE_DICTIONARY, GDEXTENSION_VARIANT_TYPE_DICTIONARY>()(opaque, p_other.opaque, &result);
	return result != 0;
}

} // namespace godot
