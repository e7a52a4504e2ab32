#pragma once

// Writing into containers scripts can reach. Scripts may freeze or type any container they hold, and the
// engine trusts a typed container's contents (a stray type crashes it later), so the library never writes
// into such a container: it writes into a plain copy that replaces the stored one.
//
// Two uses. Inside the tournament records, containers that several records share (team entries, which
// nodes, records and placements pass on to each other, and a Swiss table that a match's event reads as it
// stood before the match) are copied on change (plain_copy, array_with); a container only one record
// holds (the rating changes, the placements) is written in place, made plain first when a loaded save
// typed or froze it. Saves and views detach the records, so no script ever holds one of their containers.
// The containers the library shares with scripts on purpose (the team list, the guess history, the
// ledger, a guess record) are written in place, and only replaced when they would refuse the write
// (ensure_writable), so a change is never announced or paid for without being stored.

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <cstdint>

namespace teamforge {

// p_array with p_value at p_index (appended when p_index is at or past the end).
inline godot::Array array_with(const godot::Array &p_array, int64_t p_index, const godot::Variant &p_value) {
	godot::Array copy;
	const int64_t count = p_array.size();
	for (int64_t i = 0; i < count; i++) {
		copy.push_back(i == p_index ? p_value : p_array[i]);
	}
	if (p_index < 0 || p_index >= count) {
		copy.push_back(p_value);
	}
	return copy;
}

// A new, plain array with the same values in the same order.
inline godot::Array plain_list(const godot::Array &p_array) {
	godot::Array copy;
	const int64_t count = p_array.size();
	copy.resize(count);
	for (int64_t i = 0; i < count; i++) {
		copy[i] = p_array[i];
	}
	return copy;
}

// p_array with p_value in front.
inline godot::Array array_with_front(const godot::Array &p_array, const godot::Variant &p_value) {
	godot::Array copy;
	copy.push_back(p_value);
	const int64_t count = p_array.size();
	for (int64_t i = 0; i < count; i++) {
		copy.push_back(p_array[i]);
	}
	return copy;
}

// A new, plain dictionary with the same keys and values in the same order. A script may have frozen or
// typed the original, so the library writes only into such copies.
inline godot::Dictionary plain_copy(const godot::Dictionary &p_source) {
	// The engine's own copy is never read-only, and plain unless the original is typed.
	if (!p_source.is_typed_key() && !p_source.is_typed_value()) {
		return p_source.duplicate();
	}
	godot::Dictionary copy;
	const godot::Array keys = p_source.keys();
	const int64_t count = keys.size();
	for (int64_t i = 0; i < count; i++) {
		const godot::Variant &key = keys[i];
		copy[key] = p_source[key];
	}
	return copy;
}

// p_element is the builtin type of the values the library is about to store. An array typed with exactly
// that builtin type is kept (and stays shared), except for objects, whose class the check cannot see.
inline void ensure_writable(godot::Array &r_array, godot::Variant::Type p_element) {
	if (!r_array.is_read_only() && (!r_array.is_typed() || (p_element != godot::Variant::OBJECT && r_array.get_typed_builtin() == p_element))) {
		return;
	}
	godot::Array copy;
	const int64_t count = r_array.size();
	copy.resize(count);
	for (int64_t i = 0; i < count; i++) {
		copy[i] = r_array[i];
	}
	r_array = copy;
}

// Records take values of several types, so any typed record is replaced by a plain copy.
inline void ensure_writable(godot::Dictionary &r_record) {
	if (!r_record.is_read_only() && !r_record.is_typed()) {
		return;
	}
	r_record = plain_copy(r_record);
}

} // namespace teamforge
