// Names the binding layer keeps for the life of the library (class names, signal names). They are engine
// StringNames, so they are released at the library's last deinitialisation level, while the engine runs.
#pragma once

#include <godot_cpp/variant/string_name.hpp>

namespace godot::internal {

const StringName &static_name(const char *p_name);
void release_static_names();

} // namespace godot::internal
