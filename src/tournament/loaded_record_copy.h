#pragma once

// Detached copies of the records a save hands in, with one difference from a plain deep copy: equal
// honour lists inside team entries become one list. Every entry carries its team's honours of the
// moment, so a long career's save repeats the same lists thousands of times; in play the entries share
// them too (nothing writes into an entry's honour list: a refresh replaces it). One copier serves one
// load, so lists are shared within the loaded records only, never with the script's save.

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace teamforge {

class LoadedRecordCopier {
public:
	// Deep copies, as detached() makes them, except for the honour lists of the entries within.
	godot::Array copy_array(const godot::Array &p_array);
	godot::Dictionary copy_dictionary(const godot::Dictionary &p_dictionary);

private:
	// Team entries sit a few levels deep in a record; anything deeper (a script may hand in any nesting,
	// even a list that holds itself) is left to the engine's deep copy and its recursion limit. Every level
	// below the top goes through copy_at, which checks the depth.
	static constexpr int32_t ENTRY_DEPTH = 8;

	godot::Variant copy_at(const godot::Variant &p_value, int32_t p_depth);
	godot::Array copy_array_at(const godot::Array &p_array, int32_t p_depth);
	godot::Dictionary copy_dictionary_at(const godot::Dictionary &p_dictionary, int32_t p_depth);
	godot::Array shared_honours(const godot::Array &p_honours);

	std::unordered_map<uint32_t, std::vector<godot::Array>> honours_by_hash;
};

} // namespace teamforge
