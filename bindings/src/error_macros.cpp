// Reports through print_error, print_error_with_message and print_warning, the engine's own error output.
#include <godot_cpp/core/error_macros.hpp>

#include <godot_cpp/variant/char_string.hpp>

namespace godot::internal {

void report_error(const char *p_function, const char *p_file, int p_line, const char *p_error, bool p_warning) {
	if (p_warning) {
		if (gdextension_interface_print_warning) {
			gdextension_interface_print_warning(p_error, p_function, p_file, p_line, false);
		}
	} else if (gdextension_interface_print_error) {
		gdextension_interface_print_error(p_error, p_function, p_file, p_line, false);
	}
}

void report_error(const char *p_function, const char *p_file, int p_line, const String &p_error, bool p_warning) {
	report_error(p_function, p_file, p_line, p_error.utf8().get_data(), p_warning);
}

void report_error(const char *p_function, const char *p_file, int p_line, const char *p_error, const char *p_message) {
	if (gdextension_interface_print_error_with_message) {
		gdextension_interface_print_error_with_message(p_error, p_message, p_function, p_file, p_line, false);
	}
}

void report_error(const char *p_function, const char *p_file, int p_line, const char *p_error, const String &p_message) {
	report_error(p_function, p_file, p_line, p_error, p_message.utf8().get_data());
}

} // namespace godot::internal
