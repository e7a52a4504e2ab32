#include "common/integer_text.h"

#include <godot_cpp/variant/char_string.hpp>

namespace teamforge {

IntegerText scan_integer_text(const godot::String &p_text) {
	const godot::CharString utf8 = p_text.utf8();
	IntegerText scanned;
	for (const char *c = utf8.get_data(); *c != '\0' && *c != '.'; ++c) {
		if (*c >= '0' && *c <= '9') {
			if (scanned.significant_digits > 0 || *c != '0') {
				++scanned.significant_digits;
			}
		} else if (*c == '-' && scanned.significant_digits == 0) {
			scanned.negative = !scanned.negative;
		}
	}
	return scanned;
}

} // namespace teamforge
