// The library's entry point, class registration and, in the editor, its class reference.
#include "register_types.h"

#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/core/defs.hpp>
#include <godot_cpp/variant/utility_functions.hpp>

#include "economy_system.h"
#include "editor_help.h"
#include "first_scan.h"
#include "game_core.h"
#include "game_settings.h"
#include "match_simulator.h"
#include "team_data.h"
#include "team_database.h"
#include "tournament_manager.h"
#ifdef TEAMFORGE_TEST_HOOKS
#include "binding_probe.h"
#include "teamforge_test_hooks.h"
#include "tournament_probe.h"
#endif

using namespace godot;

namespace {

// Set at SCENE when this editor session must not see the library (teamforge::is_found_by_headless_editor_scan).
bool registers_nothing = false;

} // namespace

void initialize_module(ModuleInitializationLevel p_level) {
	if (p_level == MODULE_INITIALIZATION_LEVEL_EDITOR) {
		// The editor's help is ready by now; our classes were registered at SCENE.
		if (!registers_nothing) {
			teamforge::load_editor_help();
		}
		return;
	}
	if (p_level != MODULE_INITIALIZATION_LEVEL_SCENE) {
		return;
	}
	if (teamforge::is_found_by_headless_editor_scan()) {
		registers_nothing = true;
		UtilityFunctions::print("Teamforge: found by this headless editor's first scan of the project; its classes load from the next start.");
		return;
	}
	// The order is part of the library's contract with saved scenes and tools.
	GDREGISTER_CLASS(TeamData);
	GDREGISTER_CLASS(TeamDatabase);
	GDREGISTER_CLASS(GameCore);
	GDREGISTER_CLASS(MatchSimulator);
	GDREGISTER_CLASS(TournamentManager);
	GDREGISTER_CLASS(EconomySystem);
	GDREGISTER_CLASS(GameSettings);
#ifdef TEAMFORGE_TEST_HOOKS
	GDREGISTER_CLASS(TeamforgeTestHooks);
	GDREGISTER_CLASS(TeamforgeBindingProbe);
	GDREGISTER_CLASS(TeamforgeTournamentProbe);
#endif
}

void uninitialize_module(ModuleInitializationLevel p_level) {
	// Nothing to undo: the binding layer withdraws the registered classes itself.
	(void)p_level;
}

extern "C" {

GDE_EXPORT GDExtensionBool teamforge_library_init(GDExtensionInterfaceGetProcAddress p_get_proc_address,
		GDExtensionClassLibraryPtr p_library, GDExtensionInitialization *r_initialization) {
	GDExtensionBinding::InitObject init_object(p_get_proc_address, p_library, r_initialization);
	init_object.register_initializer(initialize_module);
	init_object.register_terminator(uninitialize_module);
	init_object.set_minimum_library_initialization_level(MODULE_INITIALIZATION_LEVEL_SCENE);
	return init_object.init();
}
}
