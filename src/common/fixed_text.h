#pragma once

// Fixed texts the tournament code compares and stores again and again (statuses, stage types, link
// sides). Each literal becomes an engine String once and is shared afterwards; like dictionary_key,
// texts are looked up by the address of their literal.

#include <godot_cpp/variant/string.hpp>

namespace teamforge {

const godot::String &fixed_text(const char *p_literal);

} // namespace teamforge
