// ClassDB: registers the library's classes with the engine's class database, with their bound methods
// (argument names and defaults), properties and signals. As in godot-cpp, a method, property or signal
// bound twice, a property whose getter or setter is not a bound method of the right shape, and a method
// named with more arguments than it takes are refused with an error, and the rest of the class stands.
#pragma once

#include <memory>
#include <type_traits>
#include <vector>

#include <godot_cpp/classes/wrapped.hpp>
#include <godot_cpp/core/method_bind.hpp>
#include <godot_cpp/core/object.hpp>

namespace godot {

struct MethodDefinition {
	StringName name;
	std::vector<StringName> args;

	MethodDefinition() = default;
	MethodDefinition(const StringName &p_name) :
			name(p_name) {}
};

template <class... Args>
MethodDefinition D_METHOD(const StringName &p_name, const Args &...p_args) {
	MethodDefinition definition(p_name);
	definition.args = { StringName(p_args)... };
	return definition;
}

class ClassDB {
public:
	template <class T>
	static void register_class() {
		static_assert(std::is_base_of_v<Wrapped, T> && !std::is_abstract_v<T>, "registered classes are concrete");
		register_class_internal(T::get_class_static(), T::get_parent_class_static(), &T::_creation_info());
		T::_bind_methods();
	}

	// Returns the bound method, or null when it was refused. The name is a D_METHOD(...) or a bare
	// StringName; argument names may be fewer than the arguments (the rest go unnamed).
	template <class N, class M, class... DefaultArgs>
	static MethodBind *bind_method(N p_method_name, M p_method, DefaultArgs... p_defaults) {
		MethodBind *bind = internal::create_method_bind(p_method);
		return bind_method_internal(bind, p_method_name, std::vector<Variant>{ p_defaults... });
	}

	// The method bound under p_method on p_class, or null.
	static MethodBind *get_method(const StringName &p_class, const StringName &p_method);

	static void add_property(const StringName &p_class, const PropertyInfo &p_property, const StringName &p_setter,
			const StringName &p_getter);
	static void add_signal(const StringName &p_class, const MethodInfo &p_signal);

	// Withdraws every class this library registered, newest first.
	static void deinitialize();

private:
	static void register_class_internal(const StringName &p_name, const StringName &p_parent,
			const internal::ClassCreationInfo *p_info);
	static MethodBind *bind_method_internal(MethodBind *p_bind, const MethodDefinition &p_definition,
			std::vector<Variant> p_defaults);
};

} // namespace godot

#define DEFVAL(m_defval) (m_defval)
#define GDREGISTER_CLASS(m_class) ::godot::ClassDB::register_class<m_class>();
#define ADD_PROPERTY(m_property, m_setter, m_getter) \
	::godot::ClassDB::add_property(get_class_static(), m_property, m_setter, m_getter)
#define ADD_SIGNAL(m_signal) ::godot::ClassDB::add_signal(get_class_static(), m_signal)
