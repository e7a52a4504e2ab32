// Array over the engine's constructors and destructor, array_operator_index(_const) for indexed access,
// and the builtin Array methods.
#include <godot_cpp/variant/array.hpp>

#include <godot_cpp/core/error_macros.hpp>
#include <godot_cpp/variant/variant.hpp>

#include "builtin_access.hpp"

namespace godot {

Array::Array() {
	internal::constructor<GDEXTENSION_VARIANT_TYPE_ARRAY, 0>()(opaque, nullptr);
}

Array::Array(const Variant *p_from) {
	internal::variant_to(GDEXTENSION_VARIANT_TYPE_ARRAY, opaque, p_from->_native_ptr());
}

Array::Array(const Array &p_other) {
	internal::copy_construct<GDEXTENSION_VARIANT_TYPE_ARRAY>(opaque, p_other.opaque);
}

Array::Array(const PackedStringArray &p_from) {
	GDExtensionConstTypePtr args[1] = { p_from._native_ptr() };
	internal::constructor<GDEXTENSION_VARIANT_TYPE_ARRAY, internal::api::Array_from_PackedStringArray>()(opaque, args);
}

Array &Array::operator=(const Array &p_other) {
	internal::copy_assign<GDEXTENSION_VARIANT_TYPE_ARRAY>(opaque, p_other.opaque);
	return *this;
}

Array::~Array() {
	internal::destructor<GDEXTENSION_VARIANT_TYPE_ARRAY>()(opaque);
}

int64_t Array::size() const {
	int64_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, size), opaque, &result);
	return result;
}

bool Array::is_empty() const {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, is_empty), opaque, &result);
	return result != 0;
}

Variant &Array::operator[](int64_t p_index) {
	auto *element = static_cast<Variant *>(internal::gdextension_interface_array_operator_index(opaque, p_index));
	ERR_FAIL_NULL_V_MSG(element, internal::scratch_variant(), "Array index out of bounds.");
	return *element;
}

const Variant &Array::operator[](int64_t p_index) const {
	const auto *element = static_cast<const Variant *>(internal::gdextension_interface_array_operator_index_const(opaque, p_index));
	ERR_FAIL_NULL_V_MSG(element, internal::scratch_variant(), "Array index out of bounds.");
	return *element;
}

void Array::set(int64_t p_index, const Variant &p_value) {
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, set), opaque, nullptr, &p_index, p_value._native_ptr());
}

void Array::push_back(const Variant &p_value) {
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, push_back), opaque, nullptr, p_value._native_ptr());
}

void Array::append(const Variant &p_value) {
	push_back(p_value);
}

void Array::push_front(const Variant &p_value) {
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, push_front), opaque, nullptr, p_value._native_ptr());
}

int64_t Array::insert(int64_t p_position, const Variant &p_value) {
	int64_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, insert), opaque, &result, &p_position, p_value._native_ptr());
	return result;
}

void Array::remove_at(int64_t p_position) {
	ERR_FAIL_INDEX_V(p_position, size(), );
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, remove_at), opaque, nullptr, &p_position);
}

void Array::clear() {
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, clear), opaque, nullptr);
}

int64_t Array::resize(int64_t p_size) {
	int64_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, resize), opaque, &result, &p_size);
	return result;
}

Array Array::duplicate(bool p_deep) const {
	Array result;
	const uint8_t deep = p_deep ? 1 : 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, duplicate), opaque, result.opaque, &deep);
	return result;
}

bool Array::has(const Variant &p_value) const {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, has), opaque, &result, p_value._native_ptr());
	return result != 0;
}

void Array::sort_custom(const Callable &p_less) {
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, sort_custom), opaque, nullptr, p_less._native_ptr());
}

bool Array::is_read_only() const {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, is_read_only), opaque, &result);
	return result != 0;
}

bool Array::is_typed() const {
	uint8_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, is_typed), opaque, &result);
	return result != 0;
}

int64_t Array::get_typed_builtin() const {
	int64_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(Array, ARRAY, get_typed_builtin), opaque, &result);
	return result;
}

bool Array::operator==(const Array &p_other) const {
	uint8_t result = 0;
	internal::evaluator<GDEXTENSION_VARIANT_OP_EQUAL, GDEXTENSION_VARIANT_TYPE_ARRAY, GDEXTENSION_VARIANT_TYPE_ARRAY>()(opaque, p_other.opaque, &result);
	return result != 0;
}

} // namespace godot
