#include "tournament/loaded_record_copy.h"

#include "common/detached_copy.h"
#include "common/dictionary_keys.h"

namespace teamforge {

using godot::Array;
using godot::Dictionary;
using godot::Variant;

Array LoadedRecordCopier::copy_array(const Array &p_array) {
	return copy_array_at(p_array, 0);
}

Dictionary LoadedRecordCopier::copy_dictionary(const Dictionary &p_dictionary) {
	return copy_dictionary_at(p_dictionary, 0);
}

Variant LoadedRecordCopier::copy_at(const Variant &p_value, int32_t p_depth) {
	if (p_depth >= ENTRY_DEPTH) {
		return detached(p_value);
	}
	switch (p_value.get_type()) {
		case Variant::ARRAY:
			return copy_array_at(p_value.operator Array(), p_depth);
		case Variant::DICTIONARY:
			return copy_dictionary_at(p_value.operator Dictionary(), p_depth);
		default:
			return p_value;
	}
}

Array LoadedRecordCopier::copy_array_at(const Array &p_array, int32_t p_depth) {
	// The engine's shallow copy keeps the element type; the containers in it are replaced by copies.
	Array copied = p_array.duplicate(false);
	const int64_t count = copied.size();
	for (int64_t i = 0; i < count; i++) {
		const Variant::Type type = copied[i].get_type();
		if (type == Variant::ARRAY || type == Variant::DICTIONARY) {
			copied[i] = copy_at(copied[i], p_depth + 1);
		}
	}
	return copied;
}

Dictionary LoadedRecordCopier::copy_dictionary_at(const Dictionary &p_dictionary, int32_t p_depth) {
	Dictionary copied = p_dictionary.duplicate(false);
	const Array keys = copied.keys();
	const int64_t count = keys.size();
	for (int64_t i = 0; i < count; i++) {
		const Variant &key = keys[i];
		const Variant value = copied[key];
		const Variant::Type type = value.get_type();
		if (type != Variant::ARRAY && type != Variant::DICTIONARY) {
			continue;
		}
		const bool honours = type == Variant::ARRAY && key.get_type() == Variant::STRING && key == TF_KEY("honors");
		copied[key] = honours ? Variant(shared_honours(value.operator Array())) : copy_at(value, p_depth + 1);
	}
	return copied;
}

Array LoadedRecordCopier::shared_honours(const Array &p_honours) {
	// A typed or empty list is copied as it is: the first would have to match in type as well.
	if (p_honours.is_typed() || p_honours.is_empty()) {
		return detached(p_honours);
	}
	std::vector<Array> &same_hash = honours_by_hash[Variant(p_honours).hash()];
	for (const Array &known : same_hash) {
		if (known == p_honours) {
			return known;
		}
	}
	same_hash.push_back(detached(p_honours));
	return same_hash.back();
}

} // namespace teamforge
