// Array: the engine's untyped array (opaque 8 bytes). Copies share the same array, as in the engine.
#pragma once

#include <cstdint>

#include <gdextension_interface.h>

namespace godot {

class Variant;
class Callable;
class PackedStringArray;

class Array {
	alignas(8) uint8_t opaque[8] = {};

public:
	Array();
	Array(const Array &p_other);
	explicit Array(const PackedStringArray &p_from);
	Array &operator=(const Array &p_other);
	~Array();

	int64_t size() const;
	bool is_empty() const;
	// Writes through the returned reference bypass the engine's type check of a typed array; set()
	// checks, and refuses a value the array cannot hold.
	Variant &operator[](int64_t p_index);
	const Variant &operator[](int64_t p_index) const;
	void set(int64_t p_index, const Variant &p_value);
	void push_back(const Variant &p_value);
	void append(const Variant &p_value);
	void push_front(const Variant &p_value);
	int64_t insert(int64_t p_position, const Variant &p_value);
	void remove_at(int64_t p_position);
	void clear();
	int64_t resize(int64_t p_size);
	Array duplicate(bool p_deep = false) const;
	bool has(const Variant &p_value) const;
	void sort_custom(const Callable &p_less);
	bool is_read_only() const;
	bool is_typed() const;
	int64_t get_typed_builtin() const;

	bool operator==(const Array &p_other) const;
	bool operator!=(const Array &p_other) const { return !(*this == p_other); }

	GDExtensionTypePtr _native_ptr() const { return const_cast<uint8_t *>(opaque); }

private:
	friend class Variant;
	// Built by the engine's conversion from a Variant straight into this value's storage.
	explicit Array(const Variant *p_from);
};

} // namespace godot
