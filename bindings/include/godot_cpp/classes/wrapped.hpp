// Wrapped: the C++ side of an engine object of one of the library's classes. Its constructor creates the
// engine object of the nearest engine base class and attaches this instance to it; the engine then owns
// the pair and frees the instance when the object dies. GDCLASS declares a class's identity.
#pragma once

#include <cstddef>

#include <gdextension_interface.h>
#include <godot_cpp/core/memory.hpp>
#include <godot_cpp/core/static_names.hpp>
#include <godot_cpp/variant/string_name.hpp>

namespace godot {

class ClassDB;
class Object;

namespace internal {

// What the engine needs to build an instance of one registered class.
struct ClassCreationInfo {
	const StringName *(*class_name)();
	const StringName *(*native_class_name)();
	// Builds the C++ instance together with its engine object; p_notify sends the post-initialise notification.
	Wrapped *(*create)(bool p_notify);
};

} // namespace internal

class Wrapped {
	friend class ClassDB;

protected:
	Wrapped();
	// Wraps an engine object the engine made and owns (its singletons).
	explicit Wrapped(GDExtensionObjectPtr p_owner) :
			_owner(p_owner) {}
	Wrapped(const Wrapped &) = delete;
	Wrapped &operator=(const Wrapped &) = delete;

public:
	virtual ~Wrapped() = default;

	// Instances live in engine memory, like the objects they belong to.
	static void *operator new(size_t p_size);
	static void operator delete(void *p_ptr);

	GDExtensionObjectPtr _owner = nullptr;
};

namespace internal {

// The instance of ours attached to an engine object, or null for any other object.
Object *get_wrapped(GDExtensionObjectPtr p_owner);

} // namespace internal

} // namespace godot

#define GDCLASS(m_class, m_inherits)                                                       \
private:                                                                                   \
	friend class ::godot::ClassDB;                                                         \
                                                                                           \
public:                                                                                    \
	using self_type = m_class;                                                             \
	using parent_type = m_inherits;                                                        \
	static const ::godot::StringName &get_class_static() {                                 \
		static const ::godot::StringName &name = ::godot::internal::static_name(#m_class); \
		return name;                                                                       \
	}                                                                                      \
	static const ::godot::StringName &get_parent_class_static() {                          \
		return m_inherits::get_class_static();                                             \
	}                                                                                      \
	static const ::godot::StringName &get_native_class_static() {                          \
		return m_inherits::get_native_class_static();                                      \
	}                                                                                      \
	static const ::godot::internal::ClassCreationInfo &_creation_info() {                  \
		static const ::godot::internal::ClassCreationInfo info = {                         \
			[]() { return &m_class::get_class_static(); },                                 \
			[]() { return &m_class::get_native_class_static(); },                          \
			[](bool p_notify) -> ::godot::Wrapped * {                                      \
				::godot::internal::pre_initialize<m_class>();                              \
				::godot::Wrapped *instance = new m_class;                                  \
				if (p_notify) {                                                            \
					::godot::internal::post_initialize(instance);                          \
				}                                                                          \
				return instance;                                                           \
			},                                                                             \
		};                                                                                 \
		return info;                                                                       \
	}                                                                                      \
                                                                                           \
private:
