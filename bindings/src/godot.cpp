// Entry glue: looks up the engine interface, fills the initialisation record and forwards the engine's
// per-level callbacks to the library's initializer and terminator.
#include <godot_cpp/godot.hpp>

#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/core/static_names.hpp>

#include "builtin_access.hpp"

namespace godot {

namespace internal {

#define GODOT_DEFINE_INTERFACE_FUNCTION(m_name, m_type) GDExtensionInterface##m_type gdextension_interface_##m_name = nullptr;
GODOT_INTERFACE_FUNCTIONS(GODOT_DEFINE_INTERFACE_FUNCTION)
#undef GODOT_DEFINE_INTERFACE_FUNCTION
#define GODOT_DEFINE_OPTIONAL_INTERFACE_FUNCTION(m_name, m_type) m_type gdextension_interface_##m_name = nullptr;
GODOT_OPTIONAL_INTERFACE_FUNCTIONS(GODOT_DEFINE_OPTIONAL_INTERFACE_FUNCTION)
#undef GODOT_DEFINE_OPTIONAL_INTERFACE_FUNCTION

GDExtensionClassLibraryPtr library = nullptr;
static char token_storage = 0;
void *token = &token_storage;

namespace {

GDExtensionBinding::Callback init_callback = nullptr;
GDExtensionBinding::Callback terminate_callback = nullptr;
ModuleInitializationLevel minimum_level = MODULE_INITIALIZATION_LEVEL_CORE;

void initialize_level(void *p_userdata, GDExtensionInitializationLevel p_level) {
	(void)p_userdata;
	// The first level the engine gives us comes before any of our code runs; the tables are read-only
	// from then on.
	if (static_cast<ModuleInitializationLevel>(p_level) == minimum_level) {
		load_variant_conversions();
	}
	if (init_callback) {
		init_callback(static_cast<ModuleInitializationLevel>(p_level));
	}
}

void deinitialize_level(void *p_userdata, GDExtensionInitializationLevel p_level) {
	(void)p_userdata;
	if (terminate_callback) {
		terminate_callback(static_cast<ModuleInitializationLevel>(p_level));
	}
	// The engine tears levels down from the top; at our lowest level nothing of ours may remain.
	if (static_cast<ModuleInitializationLevel>(p_level) == minimum_level) {
		ClassDB::deinitialize();
		release_static_names();
	}
}

} // namespace

} // namespace internal

GDExtensionBinding::InitObject::InitObject(GDExtensionInterfaceGetProcAddress p_get_proc_address,
		GDExtensionClassLibraryPtr p_library, GDExtensionInitialization *r_initialization) :
		get_proc_address(p_get_proc_address),
		library(p_library), initialization(r_initialization) {}

void GDExtensionBinding::InitObject::register_initializer(Callback p_init) const {
	internal::init_callback = p_init;
}

void GDExtensionBinding::InitObject::register_terminator(Callback p_terminate) const {
	internal::terminate_callback = p_terminate;
}

void GDExtensionBinding::InitObject::set_minimum_library_initialization_level(ModuleInitializationLevel p_level) const {
	internal::minimum_level = p_level;
}

GDExtensionBool GDExtensionBinding::InitObject::init() const {
	if (get_proc_address == nullptr || initialization == nullptr) {
		return false;
	}
	bool complete = true;
#define GODOT_LOAD_INTERFACE_FUNCTION(m_name, m_type)                                                                     \
	internal::gdextension_interface_##m_name = reinterpret_cast<GDExtensionInterface##m_type>(get_proc_address(#m_name)); \
	complete = complete && internal::gdextension_interface_##m_name != nullptr;
	GODOT_INTERFACE_FUNCTIONS(GODOT_LOAD_INTERFACE_FUNCTION)
#undef GODOT_LOAD_INTERFACE_FUNCTION
	if (!complete) {
		// An older host: leave the record untouched so that nothing of ours is ever called.
		return false;
	}
#define GODOT_LOAD_OPTIONAL_INTERFACE_FUNCTION(m_name, m_type) \
	internal::gdextension_interface_##m_name = reinterpret_cast<m_type>(get_proc_address(#m_name));
	GODOT_OPTIONAL_INTERFACE_FUNCTIONS(GODOT_LOAD_OPTIONAL_INTERFACE_FUNCTION)
#undef GODOT_LOAD_OPTIONAL_INTERFACE_FUNCTION
	internal::library = library;
	initialization->minimum_initialization_level = static_cast<GDExtensionInitializationLevel>(internal::minimum_level);
	initialization->userdata = nullptr;
	initialization->initialize = internal::initialize_level;
	initialization->deinitialize = internal::deinitialize_level;
	return true;
}

} // namespace godot
