#include "common/fixed_text.h"

#include <unordered_map>

namespace teamforge {

const godot::String &fixed_text(const char *p_literal) {
	static std::unordered_map<const char *, godot::String> texts;
	auto found = texts.find(p_literal);
	if (found == texts.end()) {
		found = texts.emplace(p_literal, godot::String(p_literal)).first;
	}
	return found->second;
}

} // namespace teamforge
