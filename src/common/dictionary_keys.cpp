#include "common/dictionary_keys.h"

#include <unordered_map>

namespace teamforge {

const godot::Variant &dictionary_key(const char *p_literal) {
	static std::unordered_map<const char *, godot::Variant> keys;
	auto found = keys.find(p_literal);
	if (found == keys.end()) {
		found = keys.emplace(p_literal, godot::Variant(godot::String(p_literal))).first;
	}
	return found->second;
}

} // namespace teamforge
