// MethodInfo: a signal's name and arguments, as ADD_SIGNAL declares them.
#pragma once

#include <vector>

#include <godot_cpp/core/property_info.hpp>

namespace godot {

struct MethodInfo {
	StringName name;
	std::vector<PropertyInfo> arguments;

	MethodInfo() = default;
	template <class... Args>
	MethodInfo(const StringName &p_name, const Args &...p_arguments) :
			name(p_name), arguments{ p_arguments... } {}
};

} // namespace godot
