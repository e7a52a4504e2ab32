// Class registration over classdb_register_extension_class5 and its method, property and signal companions.
#include <godot_cpp/core/class_db.hpp>

#include <godot_cpp/core/error_macros.hpp>

namespace godot {

namespace {

std::vector<StringName> &registered_classes() {
	static std::vector<StringName> classes;
	return classes;
}

std::vector<std::unique_ptr<MethodBind>> &method_binds() {
	static std::vector<std::unique_ptr<MethodBind>> binds;
	return binds;
}

GDExtensionObjectPtr create_instance(void *p_class_userdata, GDExtensionBool p_notify_postinitialize) {
	const auto *info = static_cast<const internal::ClassCreationInfo *>(p_class_userdata);
	Wrapped *instance = info->create(p_notify_postinitialize != 0);
	return instance ? instance->_owner : nullptr;
}

void free_instance(void *p_class_userdata, GDExtensionClassInstancePtr p_instance) {
	(void)p_class_userdata;
	// The engine object is already going away; only the C++ side is left to free.
	delete static_cast<Wrapped *>(p_instance);
}

void call_method(void *p_method_userdata, GDExtensionClassInstancePtr p_instance, const GDExtensionConstVariantPtr *p_args,
		GDExtensionInt p_argument_count, GDExtensionVariantPtr r_return, GDExtensionCallError *r_error) {
	const auto *bind = static_cast<const MethodBind *>(p_method_userdata);
	if (p_instance == nullptr) {
		r_error->error = GDEXTENSION_CALL_ERROR_INSTANCE_IS_NULL;
		return;
	}
	*static_cast<Variant *>(r_return) = bind->call(p_instance, p_args, p_argument_count, *r_error);
}

void ptrcall_method(void *p_method_userdata, GDExtensionClassInstancePtr p_instance, const GDExtensionConstTypePtr *p_args,
		GDExtensionTypePtr r_return) {
	const auto *bind = static_cast<const MethodBind *>(p_method_userdata);
	ERR_FAIL_NULL(p_instance);
	bind->ptrcall(p_instance, p_args, r_return);
}

} // namespace

void ClassDB::register_class_internal(const StringName &p_name, const StringName &p_parent,
		const internal::ClassCreationInfo *p_info) {
	GDExtensionClassCreationInfo5 info{};
	info.is_virtual = false;
	info.is_abstract = false;
	info.is_exposed = true;
	info.is_runtime = false;
	info.create_instance_func = create_instance;
	info.free_instance_func = free_instance;
	info.class_userdata = const_cast<internal::ClassCreationInfo *>(p_info);
	internal::gdextension_interface_classdb_register_extension_class5(internal::library, p_name._native_ptr(),
			p_parent._native_ptr(), &info);
	registered_classes().push_back(p_name);
}

MethodBind *ClassDB::bind_method_internal(MethodBind *p_bind, const MethodDefinition &p_definition,
		std::vector<Variant> p_defaults) {
	method_binds().emplace_back(p_bind);
	const int count = p_bind->argument_count();
	ERR_FAIL_COND_V(static_cast<int>(p_definition.args.size()) != count, p_bind);
	ERR_FAIL_COND_V(static_cast<int>(p_defaults.size()) > count, p_bind);
	p_bind->name = p_definition.name;
	p_bind->argument_names = p_definition.args;
	p_bind->default_arguments = std::move(p_defaults);

	PropertyInfo return_info = p_bind->argument_info(-1);
	GDExtensionPropertyInfo native_return = return_info.to_native();
	std::vector<PropertyInfo> infos;
	std::vector<GDExtensionPropertyInfo> native_infos;
	std::vector<GDExtensionClassMethodArgumentMetadata> metadata;
	for (int i = 0; i < count; i++) {
		infos.push_back(p_bind->argument_info(i));
		infos.back().name = p_bind->argument_names[static_cast<size_t>(i)];
		metadata.push_back(p_bind->argument_metadata(i));
	}
	for (const PropertyInfo &info : infos) {
		native_infos.push_back(info.to_native());
	}
	std::vector<GDExtensionVariantPtr> defaults;
	for (const Variant &value : p_bind->default_arguments) {
		defaults.push_back(value._native_ptr());
	}

	GDExtensionClassMethodInfo method{};
	method.name = p_bind->name._native_ptr();
	method.method_userdata = p_bind;
	method.call_func = call_method;
	method.ptrcall_func = ptrcall_method;
	method.method_flags = GDEXTENSION_METHOD_FLAG_NORMAL | (p_bind->is_const() ? GDEXTENSION_METHOD_FLAG_CONST : 0);
	method.has_return_value = p_bind->has_return();
	method.return_value_info = p_bind->has_return() ? &native_return : nullptr;
	method.return_value_metadata = p_bind->argument_metadata(-1);
	method.argument_count = static_cast<uint32_t>(count);
	method.arguments_info = native_infos.data();
	method.arguments_metadata = metadata.data();
	method.default_argument_count = static_cast<uint32_t>(defaults.size());
	method.default_arguments = defaults.data();
	internal::gdextension_interface_classdb_register_extension_class_method(internal::library,
			p_bind->instance_class()._native_ptr(), &method);
	return p_bind;
}

void ClassDB::add_property(const StringName &p_class, const PropertyInfo &p_property, const StringName &p_setter,
		const StringName &p_getter) {
	const GDExtensionPropertyInfo info = p_property.to_native();
	internal::gdextension_interface_classdb_register_extension_class_property(internal::library, p_class._native_ptr(),
			&info, p_setter._native_ptr(), p_getter._native_ptr());
}

void ClassDB::add_signal(const StringName &p_class, const MethodInfo &p_signal) {
	std::vector<GDExtensionPropertyInfo> arguments;
	for (const PropertyInfo &argument : p_signal.arguments) {
		arguments.push_back(argument.to_native());
	}
	internal::gdextension_interface_classdb_register_extension_class_signal(internal::library, p_class._native_ptr(),
			p_signal.name._native_ptr(), arguments.data(), static_cast<GDExtensionInt>(arguments.size()));
}

void ClassDB::deinitialize() {
	std::vector<StringName> &classes = registered_classes();
	for (auto it = classes.rbegin(); it != classes.rend(); ++it) {
		internal::gdextension_interface_classdb_unregister_extension_class(internal::library, it->_native_ptr());
	}
	classes.clear();
	method_binds().clear();
}

} // namespace godot
