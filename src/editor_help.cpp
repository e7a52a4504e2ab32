// The class reference for the editor's help, through the engine's
// editor_help_load_xml_from_utf8_chars_and_len.
#include "editor_help.h"

#include <godot_cpp/godot.hpp>

#include <cstddef>

#ifdef TEAMFORGE_EDITOR_HELP
namespace teamforge {

// Generated at build time from doc_classes/*.xml: the class XML files one after another, as UTF-8.
extern const char DOC_DATA[];
extern const size_t DOC_DATA_SIZE;

} // namespace teamforge
#endif

namespace teamforge {

void load_editor_help() {
#ifdef TEAMFORGE_EDITOR_HELP
	// Only editor builds of the engine offer the function; export templates run without it.
	const auto load_xml = godot::gdextension_interface::editor_help_load_xml_from_utf8_chars_and_len;
	if (load_xml == nullptr || DOC_DATA_SIZE == 0) {
		return;
	}
	load_xml(DOC_DATA, static_cast<GDExtensionInt>(DOC_DATA_SIZE));
#endif
}

} // namespace teamforge
