#pragma once

#include <godot_cpp/classes/node.hpp>
#include <godot_cpp/classes/wrapped.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>

namespace godot {

// The player's interface language. It only stores the code and announces changes; whoever
// listens to locale_changed applies it to the engine.
class GameSettings : public Node {
	GDCLASS(GameSettings, Node)

	String locale = "en";

protected:
	static void _bind_methods();

public:
	void set_locale(const String &p_locale);
	String get_locale() const;
	Dictionary to_dict() const;
	void from_dict(const Dictionary &p_data);
};

} // namespace godot
