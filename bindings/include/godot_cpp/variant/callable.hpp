// Callable: the engine's callable value (opaque 16 bytes). callable_mp builds one that calls a member
// function of one of the library's objects.
#pragma once

#include <cstdint>

#include <gdextension_interface.h>

namespace godot {

class Variant;

class Callable {
	alignas(8) uint8_t opaque[16] = {};

public:
	Callable();
	Callable(const Callable &p_other);
	Callable &operator=(const Callable &p_other);
	~Callable();

	bool operator==(const Callable &p_other) const;

	GDExtensionTypePtr _native_ptr() const { return const_cast<uint8_t *>(opaque); }

private:
	friend class Variant;
	// Built by the engine's conversion from a Variant straight into this value's storage.
	explicit Callable(const Variant *p_from);
};

} // namespace godot
