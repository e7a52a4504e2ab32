#include "common/dictionary_keys.h"

#include <mutex>
#include <unordered_map>

namespace teamforge {

const godot::Variant &dictionary_key(const char *p_literal) {
	static std::mutex mutex;
	static std::unordered_map<const char *, godot::Variant> keys;
	// Entries are never removed, so a reference stays valid after the lock is released.
	std::lock_guard<std::mutex> lock(mutex);
	auto found = keys.find(p_literal);
	if (found == keys.end()) {
		found = keys.emplace(p_literal, godot::Variant(godot::String(p_literal))).first;
	}
	return found->second;
}

const godot::String &fixed_text(const char *p_literal) {
	static std::mutex mutex;
	static std::unordered_map<const char *, godot::String> texts;
	std::lock_guard<std::mutex> lock(mutex);
	auto found = texts.find(p_literal);
	if (found == texts.end()) {
		found = texts.emplace(p_literal, godot::String(p_literal)).first;
	}
	return found->second;
}

} // namespace teamforge
