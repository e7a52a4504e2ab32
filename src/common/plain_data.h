#pragma once

// A save is plain data: numbers, texts and containers of them. A script may load any value, though, and
// an object kept in a loaded record would come back in every later save, where var_to_str walks it (a
// manager held there drags in the whole game). Loads keep plain data only.

#include <godot_cpp/variant/string.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace teamforge {

// p_value without the objects, callables and signals in it, at any depth, as values or as keys, and
// without containers nested deeper than any save (a list that holds itself); what is left out is named
// in a warning, by its place under p_field. p_value itself when it holds none of these.
godot::Variant plain_data(const godot::Variant &p_value, const godot::String &p_field);

} // namespace teamforge
