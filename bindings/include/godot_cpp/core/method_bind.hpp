// MethodBind: one bound member function, callable by the engine both with Variant arguments (scripts'
// dynamic calls; arguments are checked and defaults filled in) and by ptrcall (typed calls, all arguments
// present in their native encoding).
#pragma once

#include <tuple>
#include <utility>
#include <vector>

#include <godot_cpp/core/type_info.hpp>

namespace godot {

class MethodBind {
public:
	virtual ~MethodBind() = default;

	virtual int argument_count() const = 0;
	virtual bool has_return() const = 0;
	virtual bool is_const() const = 0;
	virtual const StringName &instance_class() const = 0;
	// p_index -1 describes the return value.
	virtual PropertyInfo argument_info(int p_index) const = 0;
	virtual GDExtensionClassMethodArgumentMetadata argument_metadata(int p_index) const = 0;
	virtual Variant::Type argument_type(int p_index) const = 0;

	// Calls with Variant arguments; the missing trailing ones come from the defaults.
	Variant call(void *p_instance, const GDExtensionConstVariantPtr *p_args, int64_t p_count,
			GDExtensionCallError &r_error) const;
	virtual void ptrcall(void *p_instance, const GDExtensionConstTypePtr *p_args, GDExtensionTypePtr r_ret) const = 0;

	// godot-cpp's accessors.
	int get_argument_count() const { return argument_count(); }
	int get_default_argument_count() const { return static_cast<int>(default_arguments.size()); }
	const std::vector<StringName> &get_argument_names() const { return argument_names; }
	StringName get_name() const { return name; }

	StringName name;
	std::vector<StringName> argument_names;
	std::vector<Variant> default_arguments;

protected:
	// Called with an argument count the method accepts; fills in the defaults, checks the types and calls.
	virtual Variant call_checked(void *p_instance, const GDExtensionConstVariantPtr *p_args, int64_t p_count,
			GDExtensionCallError &r_error) const = 0;
};

namespace internal {

// Checks a Variant call's arguments against the declared types: count (p_args holds p_count values, the
// missing trailing ones already filled in by the caller where it has defaults) and strict convertibility.
bool check_call_arguments(const Variant *const *p_args, int64_t p_count, int p_total, const Variant::Type *p_types,
		GDExtensionCallError &r_error);

template <class T, bool IS_CONST, class R, class... P>
class MethodBindT final : public MethodBind {
	using Method = std::conditional_t<IS_CONST, R (T::*)(P...) const, R (T::*)(P...)>;
	Method method;

	template <size_t I>
	using Arg = std::decay_t<std::tuple_element_t<I, std::tuple<P...>>>;

	template <size_t... I>
	PropertyInfo info_at(int p_index, std::index_sequence<I...>) const {
		PropertyInfo infos[] = { GetTypeInfo<std::decay_t<P>>::get_class_info()..., PropertyInfo() };
		return infos[p_index];
	}

	template <size_t... I>
	Variant call_with(void *p_instance, const Variant *const *p_args, std::index_sequence<I...>) const {
		T *self = static_cast<T *>(static_cast<Wrapped *>(p_instance));
		if constexpr (std::is_void_v<R>) {
			(self->*method)(VariantCaster<Arg<I>>::cast(*p_args[I])...);
			return Variant();
		} else {
			return Variant((self->*method)(VariantCaster<Arg<I>>::cast(*p_args[I])...));
		}
	}

	template <size_t... I>
	void ptrcall_with(void *p_instance, const GDExtensionConstTypePtr *p_args, GDExtensionTypePtr r_ret,
			std::index_sequence<I...>) const {
		T *self = static_cast<T *>(static_cast<Wrapped *>(p_instance));
		if constexpr (std::is_void_v<R>) {
			(self->*method)(PtrToArg<Arg<I>>::convert(p_args[I])...);
		} else {
			PtrToArg<std::decay_t<R>>::encode((self->*method)(PtrToArg<Arg<I>>::convert(p_args[I])...), r_ret);
		}
	}

public:
	explicit MethodBindT(Method p_method) :
			method(p_method) {}

	int argument_count() const override { return static_cast<int>(sizeof...(P)); }
	bool has_return() const override { return !std::is_void_v<R>; }
	bool is_const() const override { return IS_CONST; }
	const StringName &instance_class() const override { return T::get_class_static(); }

	PropertyInfo argument_info(int p_index) const override {
		if (p_index < 0) {
			if constexpr (std::is_void_v<R>) {
				return PropertyInfo();
			} else {
				return GetTypeInfo<std::decay_t<R>>::get_class_info();
			}
		}
		return info_at(p_index, std::index_sequence_for<P...>{});
	}
	GDExtensionClassMethodArgumentMetadata argument_metadata(int p_index) const override {
		if (p_index < 0) {
			if constexpr (std::is_void_v<R>) {
				return GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE;
			} else {
				return GetTypeInfo<std::decay_t<R>>::METADATA;
			}
		}
		const GDExtensionClassMethodArgumentMetadata metadata[] = { GetTypeInfo<std::decay_t<P>>::METADATA...,
			GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE };
		return metadata[p_index];
	}
	Variant::Type argument_type(int p_index) const override {
		const Variant::Type types[] = { GetTypeInfo<std::decay_t<P>>::VARIANT_TYPE..., Variant::NIL };
		return types[p_index];
	}

	void ptrcall(void *p_instance, const GDExtensionConstTypePtr *p_args, GDExtensionTypePtr r_ret) const override {
		ptrcall_with(p_instance, p_args, r_ret, std::index_sequence_for<P...>{});
	}

protected:
	Variant call_checked(void *p_instance, const GDExtensionConstVariantPtr *p_args, int64_t p_count,
			GDExtensionCallError &r_error) const override {
		// The arguments stay on the stack: every script call and property set goes through here.
		constexpr int64_t COUNT = static_cast<int64_t>(sizeof...(P));
		static constexpr Variant::Type types[] = { GetTypeInfo<std::decay_t<P>>::VARIANT_TYPE..., Variant::NIL };
		const Variant *args[COUNT + 1] = {};
		const int64_t first_default = COUNT - static_cast<int64_t>(default_arguments.size());
		for (int64_t i = 0; i < COUNT; i++) {
			args[i] = i < p_count ? static_cast<const Variant *>(p_args[i]) : &default_arguments[static_cast<size_t>(i - first_default)];
		}
		if (!internal::check_call_arguments(args, COUNT, static_cast<int>(COUNT), types, r_error)) {
			return Variant();
		}
		return call_with(p_instance, args, std::index_sequence_for<P...>{});
	}
};

template <class T, class R, class... P>
MethodBind *create_method_bind(R (T::*p_method)(P...)) {
	return new MethodBindT<T, false, R, P...>(p_method);
}

template <class T, class R, class... P>
MethodBind *create_method_bind(R (T::*p_method)(P...) const) {
	return new MethodBindT<T, true, R, P...>(p_method);
}

} // namespace internal

} // namespace godot
