// Whether the library was found by a headless editor's scan of the project.
#include "first_scan.h"

#include <godot_cpp/classes/display_server.hpp>
#include <godot_cpp/classes/engine.hpp>

using namespace godot;

namespace teamforge {

bool is_found_by_headless_editor_scan() {
	Engine *engine = Engine::get_singleton();
	// An editor that loads the extensions it lists does so before it registers its own interface, and
	// before its display server exists; one that finds the library while it runs has both.
	if (!engine->is_editor_hint() || !engine->has_singleton("EditorInterface")) {
		return false;
	}
	return DisplayServer::get_singleton()->get_name() == String("headless");
}

} // namespace teamforge
