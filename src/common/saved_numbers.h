#pragma once

// Integers read back from saves. A save that went through JSON holds every number as a float, and a
// hand-edited one may hold digits as text; both can lie far outside the field's range. These reads keep
// every in-range value exactly as the engine converts it and hold the rest at the nearer limit, where
// the engine's own conversion would wrap, flip the sign or report an error.

#include <godot_cpp/variant/variant.hpp>

#include <cstdint>

namespace teamforge {

int64_t read_saved_int64(const godot::Variant &p_value);
int32_t read_saved_int32(const godot::Variant &p_value);

} // namespace teamforge
