// Common definitions: the export attribute of the entry point and the engine's Error codes we use.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define GDE_EXPORT __declspec(dllexport)
#else
#define GDE_EXPORT __attribute__((visibility("default")))
#endif

namespace godot {

enum Error {
	OK = 0,
	FAILED = 1,
	ERR_INVALID_PARAMETER = 31,
};

} // namespace godot
