// Dictionary: the engine's insertion-ordered dictionary (opaque 8 bytes). Copies share the same dictionary.
#pragma once

#include <cstdint>

#include <gdextension_interface.h>

namespace godot {

class Variant;
class Array;

class Dictionary {
	alignas(8) uint8_t opaque[8] = {};

public:
	Dictionary();
	Dictionary(const Dictionary &p_other);
	Dictionary &operator=(const Dictionary &p_other);
	~Dictionary();

	int64_t size() const;
	bool is_empty() const;
	bool has(const Variant &p_key) const;
	Variant get(const Variant &p_key, const Variant &p_default) const;
	Variant &operator[](const Variant &p_key);
	const Variant &operator[](const Variant &p_key) const;
	bool erase(const Variant &p_key);
	void clear();
	Array keys() const;
	Dictionary duplicate(bool p_deep = false) const;
	bool is_read_only() const;
	bool is_typed_key() const;

	bool operator==(const Dictionary &p_other) const;
	bool operator!=(const Dictionary &p_other) const { return !(*this == p_other); }

	GDExtensionTypePtr _native_ptr() const { return const_cast<uint8_t *>(opaque); }
};

} // namespace godot
