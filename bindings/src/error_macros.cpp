// Reports through print_error, the engine's own error output.
#include <godot_cpp/core/error_macros.hpp>

namespace godot::internal {

void report_error(const char *p_function, const char *p_file, int p_line, const char *p_message) {
	if (gdextension_interface_print_error) {
		gdextension_interface_print_error(p_message, p_function, p_file, p_line, false);
	}
}

} // namespace godot::internal
