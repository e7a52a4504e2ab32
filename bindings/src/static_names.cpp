// Keeps the StringNames of static_name() until release_static_names(), at the library's last
// deinitialisation level. Each name is built from the engine's string_name_new_with_latin1_chars.
#include <godot_cpp/core/static_names.hpp>

#include <memory>
#include <mutex>
#include <vector>

namespace godot::internal {

namespace {

std::vector<std::unique_ptr<StringName>> &names() {
	static std::vector<std::unique_ptr<StringName>> storage;
	return storage;
}

} // namespace

// Classes may be first named from more than one thread.
std::mutex &names_mutex() {
	static std::mutex mutex;
	return mutex;
}

const StringName &static_name(const char *p_name) {
	std::lock_guard<std::mutex> lock(names_mutex());
	names().push_back(std::make_unique<StringName>(p_name));
	return *names().back();
}

void release_static_names() {
	std::lock_guard<std::mutex> lock(names_mutex());
	names().clear();
}

} // namespace godot::internal
