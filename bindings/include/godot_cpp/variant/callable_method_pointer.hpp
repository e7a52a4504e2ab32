// callable_mp: a Callable that calls a member function of one of the library's objects. The engine keeps
// it as a custom callable tied to the object's instance id, so a connection to a freed object is dropped
// by the engine and a late call finds no instance instead of a dangling pointer.
#pragma once

#include <cstring>
#include <utility>

#include <godot_cpp/core/method_bind.hpp>
#include <godot_cpp/variant/callable.hpp>

namespace godot {

namespace internal {

class CallableMethodPointerBase {
public:
	virtual ~CallableMethodPointerBase() = default;
	virtual Variant call(const GDExtensionConstVariantPtr *p_args, int64_t p_count, GDExtensionCallError &r_error) const = 0;
	virtual int argument_count() const = 0;

	// Identity of the target, compared byte for byte: the object and the member function pointer.
	struct Identity {
		uint64_t object_id = 0;
		const void *instance = nullptr;
		alignas(8) uint8_t method[32] = {};
	} identity;
};

template <class T, class R, class... P>
class CallableMethodPointer final : public CallableMethodPointerBase {
	using Method = R (T::*)(P...);
	static_assert(sizeof(Method) <= sizeof(Identity::method), "member function pointer too large");

	T *instance;
	Method method;

	template <size_t... I>
	Variant call_with(const Variant *const *p_args, std::index_sequence<I...>) const {
		if constexpr (std::is_void_v<R>) {
			(instance->*method)(VariantCaster<std::decay_t<P>>::cast(*p_args[I])...);
			return Variant();
		} else {
			return Variant((instance->*method)(VariantCaster<std::decay_t<P>>::cast(*p_args[I])...));
		}
	}

public:
	CallableMethodPointer(T *p_instance, Method p_method) :
			instance(p_instance), method(p_method) {
		identity.object_id = p_instance->get_instance_id();
		identity.instance = p_instance;
		std::memcpy(identity.method, &p_method, sizeof(Method));
	}

	int argument_count() const override { return static_cast<int>(sizeof...(P)); }

	Variant call(const GDExtensionConstVariantPtr *p_args, int64_t p_count, GDExtensionCallError &r_error) const override {
		const Variant::Type types[] = { GetTypeInfo<std::decay_t<P>>::VARIANT_TYPE..., Variant::NIL };
		const Variant *args[sizeof...(P) + 1] = {};
		for (int64_t i = 0; i < p_count && i < static_cast<int64_t>(sizeof...(P)); i++) {
			args[i] = static_cast<const Variant *>(p_args[i]);
		}
		if (!check_call_arguments(args, p_count, static_cast<int>(sizeof...(P)), types, r_error)) {
			return Variant();
		}
		return call_with(args, std::index_sequence_for<P...>{});
	}
};

Callable create_custom_callable(CallableMethodPointerBase *p_pointer);

} // namespace internal

template <class T, class R, class... P>
Callable create_custom_callable_function_pointer(T *p_instance, R (T::*p_method)(P...)) {
	return internal::create_custom_callable(new internal::CallableMethodPointer<T, R, P...>(p_instance, p_method));
}

} // namespace godot

#define callable_mp(m_instance, m_method) ::godot::create_custom_callable_function_pointer(m_instance, m_method)
