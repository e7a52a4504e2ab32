#include "common/plain_data.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/utility_functions.hpp>

#include <cstdint>

using godot::Array;
using godot::Dictionary;
using godot::String;
using godot::Variant;

namespace teamforge {

namespace {

// A save nests a dozen levels at most; far deeper is a container that holds itself.
constexpr int32_t MAX_DEPTH = 64;

bool is_container(Variant::Type p_type) {
	return p_type == Variant::ARRAY || p_type == Variant::DICTIONARY;
}

bool is_reference(Variant::Type p_type) {
	return p_type == Variant::OBJECT || p_type == Variant::CALLABLE || p_type == Variant::SIGNAL;
}

bool is_plain(const Variant &p_value, int32_t p_depth) {
	const Variant::Type type = p_value.get_type();
	if (is_reference(type)) {
		return false;
	}
	if (!is_container(type)) {
		return true;
	}
	if (p_depth >= MAX_DEPTH) {
		return false;
	}
	if (type == Variant::ARRAY) {
		const Array list = p_value.operator Array();
		const int64_t count = list.size();
		for (int64_t i = 0; i < count; i++) {
			if (!is_plain(list[i], p_depth + 1)) {
				return false;
			}
		}
		return true;
	}
	const Dictionary dictionary = p_value.operator Dictionary();
	const Array keys = dictionary.keys();
	const int64_t count = keys.size();
	for (int64_t i = 0; i < count; i++) {
		if (!is_plain(keys[i], p_depth + 1) || !is_plain(dictionary[keys[i]], p_depth + 1)) {
			return false;
		}
	}
	return true;
}

struct LeftOut {
	int64_t count = 0;
	String first;
};

// Whether p_value, found at p_where, is left out.
bool leave_out(const Variant &p_value, const String &p_where, int32_t p_depth, LeftOut &r_left_out) {
	const Variant::Type type = p_value.get_type();
	if (!is_reference(type) && !(is_container(type) && p_depth >= MAX_DEPTH)) {
		return false;
	}
	if (r_left_out.count++ == 0) {
		r_left_out.first = p_where;
	}
	return true;
}

// Containers keep their element types; only what leave_out lets through is copied into them.
Variant plain_copy(const Variant &p_value, const String &p_where, int32_t p_depth, LeftOut &r_left_out) {
	if (p_value.get_type() == Variant::ARRAY) {
		const Array list = p_value.operator Array();
		Array kept = list.duplicate(false);
		kept.clear();
		const int64_t count = list.size();
		for (int64_t i = 0; i < count; i++) {
			const String where = p_where + String("[") + String::num_int64(i) + String("]");
			if (!leave_out(list[i], where, p_depth + 1, r_left_out)) {
				kept.push_back(plain_copy(list[i], where, p_depth + 1, r_left_out));
			}
		}
		return kept;
	}
	if (p_value.get_type() == Variant::DICTIONARY) {
		const Dictionary dictionary = p_value.operator Dictionary();
		Dictionary kept = dictionary.duplicate(false);
		kept.clear();
		const Array keys = dictionary.keys();
		const int64_t count = keys.size();
		for (int64_t i = 0; i < count; i++) {
			const String where = p_where + String(".") + keys[i].operator String();
			const Variant &value = dictionary[keys[i]];
			if (!leave_out(keys[i], where, p_depth + 1, r_left_out) && !leave_out(value, where, p_depth + 1, r_left_out)) {
				kept.set(plain_copy(keys[i], where, p_depth + 1, r_left_out), plain_copy(value, where, p_depth + 1, r_left_out));
			}
		}
		return kept;
	}
	return p_value;
}

} // namespace

Variant plain_data(const Variant &p_value, const String &p_field) {
	if (is_plain(p_value, 0)) {
		return p_value;
	}
	LeftOut left_out;
	const Variant kept = leave_out(p_value, p_field, 0, left_out) ? Variant() : plain_copy(p_value, p_field, 0, left_out);
	String message = String("A save holds plain data only: left out \"") + left_out.first +
			"\" (an object, callable or signal, or nested past " + String::num_int64(MAX_DEPTH) + " levels)";
	if (left_out.count > 1) {
		message += String(", and ") + String::num_int64(left_out.count - 1) + " more";
	}
	godot::UtilityFunctions::push_warning(message);
	return kept;
}

} // namespace teamforge
