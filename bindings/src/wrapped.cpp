// Creation and destruction of the library's engine objects: object_set_instance attaches the C++ instance
// to the engine object; an instance binding under our token lets us find it again from an object pointer.
#include <godot_cpp/classes/wrapped.hpp>

#include <godot_cpp/classes/object.hpp>
#include <godot_cpp/core/error_macros.hpp>

#include "builtin_access.hpp"

namespace godot {

namespace internal {

namespace {

thread_local const ClassCreationInfo *constructing = nullptr;

// Our instances are bound when they are created, so the engine never asks us to make a binding.
void *binding_create(void *p_token, void *p_instance) {
	(void)p_token;
	(void)p_instance;
	return nullptr;
}

void binding_free(void *p_token, void *p_instance, void *p_binding) {
	(void)p_token;
	(void)p_instance;
	(void)p_binding;
}

GDExtensionBool binding_reference(void *p_token, void *p_binding, GDExtensionBool p_reference) {
	(void)p_token;
	(void)p_binding;
	(void)p_reference;
	return true;
}

const GDExtensionInstanceBindingCallbacks binding_callbacks = { binding_create, binding_free, binding_reference };

} // namespace

void set_constructing_class(const ClassCreationInfo *p_info) {
	constructing = p_info;
}

void post_initialize(Wrapped *p_object) {
	if (p_object == nullptr || p_object->_owner == nullptr) {
		return;
	}
	// The engine object was built without its post-initialise notification; send it now, through the
	// engine's own Object.notification, so that the engine base class finishes its set-up.
	int64_t what = 0; // NOTIFICATION_POSTINITIALIZE
	uint8_t reversed = 0;
	GDExtensionConstTypePtr args[2] = { &what, &reversed };
	gdextension_interface_object_method_bind_ptrcall(GODOT_CLASS_METHOD(Object, notification), p_object->_owner, args, nullptr);
}

void destroy_wrapped(Wrapped *p_object) {
	if (p_object->_owner != nullptr) {
		// Destroying the engine object frees this instance through the class's free callback.
		gdextension_interface_object_destroy(p_object->_owner);
	} else {
		delete p_object;
	}
}

Object *get_wrapped(GDExtensionObjectPtr p_owner) {
	if (p_owner == nullptr) {
		return nullptr;
	}
	void *binding = gdextension_interface_object_get_instance_binding(p_owner, token, nullptr);
	// Bindings under our token are made only by Wrapped's constructor, for instances of our classes, which
	// all derive from Object: the down-cast needs no run-time check (a dynamic_cast costs hundreds of
	// instructions, and every object read from a Variant passes here).
	return binding ? static_cast<Object *>(static_cast<Wrapped *>(binding)) : nullptr;
}

} // namespace internal

Wrapped::Wrapped() {
	const internal::ClassCreationInfo *info = internal::constructing;
	internal::constructing = nullptr;
	if (info == nullptr) {
		GODOT_REPORT("An engine class of the library was constructed without memnew.");
		return;
	}
	_owner = internal::gdextension_interface_classdb_construct_object2(info->native_class_name()->_native_ptr());
	internal::gdextension_interface_object_set_instance(_owner, info->class_name()->_native_ptr(), this);
	internal::gdextension_interface_object_set_instance_binding(_owner, internal::token, this, &internal::binding_callbacks);
}

void *Wrapped::operator new(size_t p_size) {
	return internal::gdextension_interface_mem_alloc2(p_size, false);
}

void Wrapped::operator delete(void *p_ptr) {
	internal::gdextension_interface_mem_free2(p_ptr, false);
}

} // namespace godot
