// StringName: the engine's interned name, held as its opaque 8 bytes. Wraps the StringName constructors,
// destructor and comparison operators of the engine.
#pragma once

#include <cstdint>

#include <gdextension_interface.h>

namespace godot {

class String;
class Variant;

class StringName {
	alignas(8) uint8_t opaque[8] = {};

public:
	StringName();
	// Each byte is one character (Latin-1), as String(const char *).
	StringName(const char *p_latin1);
	StringName(const String &p_string);
	StringName(const StringName &p_other);
	StringName &operator=(const StringName &p_other);
	~StringName();

	// Compares with both String and StringName and has no C string overload, as in godot-cpp, where a
	// C string on the right is therefore ambiguous.
	bool operator==(const StringName &p_other) const;
	bool operator!=(const StringName &p_other) const { return !(*this == p_other); }
	bool operator==(const String &p_other) const;
	bool operator!=(const String &p_other) const { return !(*this == p_other); }
	bool is_empty() const;

	GDExtensionStringNamePtr _native_ptr() const { return const_cast<uint8_t *>(opaque); }

private:
	friend class Variant;
	// Built by the engine's conversion from a Variant straight into this value's storage.
	explicit StringName(const Variant *p_from);
};

} // namespace godot
