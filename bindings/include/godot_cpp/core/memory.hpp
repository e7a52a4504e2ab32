// memnew / memdelete for the library's engine classes. memnew tells the object's constructor which class
// is being built (the engine object is created in Wrapped's constructor) and sends the post-initialise
// notification afterwards; memdelete destroys the engine object, which frees our instance with it.
#pragma once

#include <type_traits>

#include <godot_cpp/godot.hpp>

namespace godot {

class Wrapped;

namespace internal {

struct ClassCreationInfo;
void set_constructing_class(const ClassCreationInfo *p_info);
void post_initialize(Wrapped *p_object);
void destroy_wrapped(Wrapped *p_object);

template <class T>
void pre_initialize() {
	if constexpr (std::is_base_of_v<Wrapped, T>) {
		set_constructing_class(&T::_creation_info());
	}
}

template <class T>
T *post_initialize(T *p_object) {
	if constexpr (std::is_base_of_v<Wrapped, T>) {
		post_initialize(static_cast<Wrapped *>(p_object));
	}
	return p_object;
}

} // namespace internal

template <class T>
void memdelete(T *p_object) {
	if (p_object == nullptr) {
		return;
	}
	if constexpr (std::is_base_of_v<Wrapped, T>) {
		internal::destroy_wrapped(p_object);
	} else {
		delete p_object;
	}
}

} // namespace godot

#define memnew(m_class)                                                                 \
	(::godot::internal::pre_initialize<std::remove_pointer_t<decltype(new m_class)>>(), \
			::godot::internal::post_initialize(new m_class))
