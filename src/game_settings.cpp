#include "game_settings.h"

#include "common/dictionary_keys.h"
#include "common/text_key_reading.h"

#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace godot {

namespace {

const char *const DEFAULT_LOCALE = "en";

} // namespace

void GameSettings::_bind_methods() {
	// Methods.
	ClassDB::bind_method(D_METHOD("set_locale", "locale"), &GameSettings::set_locale);
	ClassDB::bind_method(D_METHOD("get_locale"), &GameSettings::get_locale);
	ClassDB::bind_method(D_METHOD("to_dict"), &GameSettings::to_dict);
	ClassDB::bind_method(D_METHOD("from_dict", "data"), &GameSettings::from_dict);

	// Properties.
	ADD_PROPERTY(PropertyInfo(Variant::STRING, "current_locale"), "set_locale", "get_locale");

	// Signals.
	ADD_SIGNAL(MethodInfo("locale_changed", PropertyInfo(Variant::STRING, "new_locale")));
}

void GameSettings::set_locale(const String &p_locale) {
	// The code is never empty: clearing it falls back to the default language.
	const String new_locale = p_locale.is_empty() ? String(DEFAULT_LOCALE) : p_locale;
	if (new_locale == locale) {
		return;
	}
	locale = new_locale;
	emit_signal(TF_NAME("locale_changed"), new_locale);
}

String GameSettings::get_locale() const {
	return locale;
}

Dictionary GameSettings::to_dict() const {
	Dictionary data;
	data[TF_KEY("current_locale")] = locale;
	return data;
}

void GameSettings::from_dict(const Dictionary &p_data) {
	// A dictionary whose keys a script typed would make every look-up by text an engine error.
	const Dictionary data = teamforge::readable_by_text_keys(p_data);
	set_locale(String(data.get(TF_KEY("current_locale"), DEFAULT_LOCALE)));
}

} // namespace godot
