// Custom callables over callable_custom_create2: call, validity (the object still exists), hashing and
// equality by target, so that is_connected finds a connection made with an equal callable_mp.
#include <godot_cpp/variant/callable_method_pointer.hpp>

#include <cstring>

namespace godot::internal {

namespace {

const CallableMethodPointerBase *pointer(void *p_userdata) {
	return static_cast<const CallableMethodPointerBase *>(p_userdata);
}

bool object_alive(const CallableMethodPointerBase *p_pointer) {
	return gdextension_interface_object_get_instance_from_id(p_pointer->identity.object_id) != nullptr;
}

void call(void *p_userdata, const GDExtensionConstVariantPtr *p_args, GDExtensionInt p_count, GDExtensionVariantPtr r_return,
		GDExtensionCallError *r_error) {
	const CallableMethodPointerBase *target = pointer(p_userdata);
	if (!object_alive(target)) {
		r_error->error = GDEXTENSION_CALL_ERROR_INSTANCE_IS_NULL;
		return;
	}
	*static_cast<Variant *>(r_return) = target->call(p_args, p_count, *r_error);
}

GDExtensionBool is_valid(void *p_userdata) {
	return object_alive(pointer(p_userdata));
}

void free_pointer(void *p_userdata) {
	delete pointer(p_userdata);
}

uint32_t hash(void *p_userdata) {
	// FNV-1a over the identity bytes.
	const auto *bytes = reinterpret_cast<const uint8_t *>(&pointer(p_userdata)->identity);
	uint32_t value = 2166136261u;
	for (size_t i = 0; i < sizeof(CallableMethodPointerBase::Identity); i++) {
		value = (value ^ bytes[i]) * 16777619u;
	}
	return value;
}

GDExtensionBool equal(void *p_a, void *p_b) {
	return std::memcmp(&pointer(p_a)->identity, &pointer(p_b)->identity, sizeof(CallableMethodPointerBase::Identity)) == 0;
}

GDExtensionBool less_than(void *p_a, void *p_b) {
	return std::memcmp(&pointer(p_a)->identity, &pointer(p_b)->identity, sizeof(CallableMethodPointerBase::Identity)) < 0;
}

GDExtensionInt argument_count(void *p_userdata, GDExtensionBool *r_is_valid) {
	*r_is_valid = true;
	return pointer(p_userdata)->argument_count();
}

} // namespace

Callable create_custom_callable(CallableMethodPointerBase *p_pointer) {
	GDExtensionCallableCustomInfo2 info{};
	info.callable_userdata = p_pointer;
	info.token = token;
	info.object_id = p_pointer->identity.object_id;
	info.call_func = call;
	info.is_valid_func = is_valid;
	info.free_func = free_pointer;
	info.hash_func = hash;
	info.equal_func = equal;
	info.less_than_func = less_than;
	info.get_argument_count_func = argument_count;
	Callable result;
	// The engine constructs over uninitialised memory; an empty Callable holds nothing to leak.
	gdextension_interface_callable_custom_create2(result._native_ptr(), &info);
	return result;
}

} // namespace godot::internal
