// ObjectID: an object's instance id as the engine hands it out (Variant, Object::get_instance_id).
#pragma once

#include <cstdint>

namespace godot {

class ObjectID {
	uint64_t id = 0;

public:
	ObjectID() = default;
	explicit ObjectID(uint64_t p_id) :
			id(p_id) {}

	bool is_valid() const { return id != 0; }
	bool is_null() const { return id == 0; }
	operator uint64_t() const { return id; }

	bool operator==(const ObjectID &p_other) const { return id == p_other.id; }
	bool operator!=(const ObjectID &p_other) const { return id != p_other.id; }
};

} // namespace godot
