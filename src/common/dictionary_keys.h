#pragma once

// Keys of the dictionaries the library builds again and again (match reports, saves). Each key text is
// turned into an engine String once and shared afterwards, instead of being decoded from UTF-8 on every
// write. Keys are looked up by the address of their literal, which stays the same for the library's life.
// A fixed set of keys on a hot path is better kept in a static struct of Variants, as the classes do.

#include <godot_cpp/variant/string.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace teamforge {

const godot::Variant &dictionary_key(const char *p_literal);
// The same for fixed texts the tournament code compares and stores again and again (statuses, stage
// types, link sides).
const godot::String &fixed_text(const char *p_literal);

} // namespace teamforge
