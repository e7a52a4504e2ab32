// PackedStringArray: the engine's packed list of Strings (opaque 16 bytes); what String::split returns.
#pragma once

#include <cstdint>

#include <gdextension_interface.h>
#include <godot_cpp/variant/string.hpp>

namespace godot {

class PackedStringArray {
	alignas(8) uint8_t opaque[16] = {};

public:
	PackedStringArray();
	PackedStringArray(const PackedStringArray &p_other);
	PackedStringArray &operator=(const PackedStringArray &p_other);
	~PackedStringArray();

	int64_t size() const;
	const String &operator[](int64_t p_index) const;

	GDExtensionTypePtr _native_ptr() const { return const_cast<uint8_t *>(opaque); }
};

} // namespace godot
