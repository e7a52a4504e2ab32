// UtilityFunctions: the engine's global print and warning functions.
#pragma once

#include <array>

#include <godot_cpp/variant/variant.hpp>

namespace godot {

class UtilityFunctions {
public:
	template <class... Args>
	static void push_warning(const Variant &p_arg, const Args &...p_args) {
		std::array<Variant, 1 + sizeof...(Args)> args{ { p_arg, Variant(p_args)... } };
		call_vararg(WARNING, args.data(), static_cast<int>(args.size()));
	}
	template <class... Args>
	static void push_error(const Variant &p_arg, const Args &...p_args) {
		std::array<Variant, 1 + sizeof...(Args)> args{ { p_arg, Variant(p_args)... } };
		call_vararg(ERROR, args.data(), static_cast<int>(args.size()));
	}
	template <class... Args>
	static void print(const Variant &p_arg, const Args &...p_args) {
		std::array<Variant, 1 + sizeof...(Args)> args{ { p_arg, Variant(p_args)... } };
		call_vararg(PRINT, args.data(), static_cast<int>(args.size()));
	}

private:
	enum Function { WARNING,
		ERROR,
		PRINT };
	static void call_vararg(Function p_function, const Variant *p_args, int p_count);
};

} // namespace godot
