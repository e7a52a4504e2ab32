// PackedStringArray over the engine's constructors, destructor, size and packed_string_array_operator_index_const.
#include <godot_cpp/variant/packed_string_array.hpp>

#include <godot_cpp/core/error_macros.hpp>

#include "builtin_access.hpp"

namespace godot {

PackedStringArray::PackedStringArray() {
	internal::constructor<GDEXTENSION_VARIANT_TYPE_PACKED_STRING_ARRAY, 0>()(opaque, nullptr);
}

PackedStringArray::PackedStringArray(const PackedStringArray &p_other) {
	internal::copy_construct<GDEXTENSION_VARIANT_TYPE_PACKED_STRING_ARRAY>(opaque, p_other.opaque);
}

PackedStringArray &PackedStringArray::operator=(const PackedStringArray &p_other) {
	internal::copy_assign<GDEXTENSION_VARIANT_TYPE_PACKED_STRING_ARRAY>(opaque, p_other.opaque);
	return *this;
}

PackedStringArray::~PackedStringArray() {
	internal::destructor<GDEXTENSION_VARIANT_TYPE_PACKED_STRING_ARRAY>()(opaque);
}

int64_t PackedStringArray::size() const {
	int64_t result = 0;
	internal::call_builtin(GODOT_BUILTIN_METHOD(PackedStringArray, PACKED_STRING_ARRAY, size), opaque, &result);
	return result;
}

const String &PackedStringArray::operator[](int64_t p_index) const {
	static const String empty;
	// Checked here as well: the engine reports a bad index itself but answers it with a null pointer.
	ERR_FAIL_INDEX_V(p_index, size(), empty);
	const auto *element = static_cast<const String *>(
			internal::gdextension_interface_packed_string_array_operator_index_const(opaque, p_index));
	ERR_FAIL_NULL_V(element, empty);
	return *element;
}

} // namespace godot
