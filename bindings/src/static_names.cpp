#include <godot_cpp/core/static_names.hpp>

#include <memory>
#include <vector>

namespace godot::internal {

namespace {

std::vector<std::unique_ptr<StringName>> &names() {
	static std::vector<std::unique_ptr<StringName>> storage;
	return storage;
}

} // namespace

const StringName &static_name(const char *p_name) {
	names().push_back(std::make_unique<StringName>(p_name));
	return *names().back();
}

void release_static_names() {
	names().clear();
}

} // namespace godot::internal
