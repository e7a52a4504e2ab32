// Class registration over classdb_register_extension_class5 and its method, property and signal companions.
#include <godot_cpp/core/class_db.hpp>

#include <godot_cpp/core/error_macros.hpp>

#include <map>
#include <set>
#include <string>

namespace godot {

namespace {

// What the library bound on one class, to refuse a second binding of the same name.
struct ClassRecord {
	StringName name;
	std::string parent;
	std::map<std::string, MethodBind *> methods;
	std::set<std::string> properties;
	std::set<std::string> signals;
};

std::string key_of(const StringName &p_name) {
	return String(p_name).utf8().get_data();
}

std::vector<StringName> &registered_classes() {
	static std::vector<StringName> classes;
	return classes;
}

std::map<std::string, ClassRecord> &class_records() {
	static std::map<std::string, ClassRecord> records;
	return records;
}

ClassRecord *find_class_record(const StringName &p_class) {
	const auto found = class_records().find(key_of(p_class));
	return found == class_records().end() ? nullptr : &found->second;
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
	ClassRecord &record = class_records()[key_of(p_name)];
	record.name = p_name;
	record.parent = key_of(p_parent);
}

MethodBind *ClassDB::bind_method_internal(MethodBind *p_bind, const MethodDefinition &p_definition,
		std::vector<Variant> p_defaults) {
	std::unique_ptr<MethodBind> owned(p_bind);
	ClassRecord *record = find_class_record(p_bind->instance_class());
	ERR_FAIL_NULL_V_MSG(record, nullptr, "Binding a method on a class that is not registered.");
	const std::string method_key = key_of(p_definition.name);
	ERR_FAIL_COND_V_MSG(record->methods.count(method_key) != 0, nullptr,
			String("Binding duplicate method: ") + String(record->name) + "::" + String(p_definition.name) + "().");
	const int count = p_bind->argument_count();
	ERR_FAIL_COND_V_MSG(static_cast<int>(p_definition.args.size()) > count, nullptr,
			String("Method '") + String(record->name) + "::" + String(p_definition.name) +
					"()' definition has more arguments than the actual method.");
	method_binds().push_back(std::move(owned));
	record->methods[method_key] = p_bind;
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
		if (static_cast<size_t>(i) < p_bind->argument_names.size()) {
			infos.back().name = p_bind->argument_names[static_cast<size_t>(i)];
		}
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

MethodBind *ClassDB::get_method(const StringName &p_class, const StringName &p_method) {
	const ClassRecord *record = find_class_record(p_class);
	while (record != nullptr) {
		const auto found = record->methods.find(key_of(p_method));
		if (found != record->methods.end()) {
			return found->second;
		}
		const auto parent = class_records().find(record->parent);
		record = parent == class_records().end() ? nullptr : &parent->second;
	}
	return nullptr;
}

void ClassDB::add_property(const StringName &p_class, const PropertyInfo &p_property, const StringName &p_setter,
		const StringName &p_getter) {
	ClassRecord *record = find_class_record(p_class);
	ERR_FAIL_NULL_MSG(record, "Adding a property to a class that is not registered.");
	const String where = String(p_class) + "::" + String(p_property.name);
	ERR_FAIL_COND_MSG(record->properties.count(key_of(p_property.name)) != 0, String("Property '") + where + "' already exists.");
	if (!p_setter.is_empty()) {
		const MethodBind *setter = get_method(p_class, p_setter);
		ERR_FAIL_NULL_MSG(setter, String("Setter method '") + String(p_setter) + "' not found for property '" + where + "'.");
		ERR_FAIL_COND_MSG(setter->argument_count() != 1, String("Setter method '") + String(p_setter) + "' must take a single argument.");
	}
	ERR_FAIL_COND_MSG(p_getter.is_empty(), String("Getter method must be specified for '") + where + "'.");
	const MethodBind *getter = get_method(p_class, p_getter);
	ERR_FAIL_NULL_MSG(getter, String("Getter method '") + String(p_getter) + "' not found for property '" + where + "'.");
	ERR_FAIL_COND_MSG(getter->argument_count() != 0, String("Getter method '") + String(p_getter) + "' must not take any argument.");
	record->properties.insert(key_of(p_property.name));
	const GDExtensionPropertyInfo info = p_property.to_native();
	internal::gdextension_interface_classdb_register_extension_class_property(internal::library, p_class._native_ptr(),
			&info, p_setter._native_ptr(), p_getter._native_ptr());
}

void ClassDB::add_signal(const StringName &p_class, const MethodInfo &p_signal) {
	ClassRecord *record = find_class_record(p_class);
	ERR_FAIL_NULL_MSG(record, "Adding a signal to a class that is not registered.");
	const std::string signal_key = key_of(p_signal.name);
	// A signal of one of our base classes counts too.
	for (const ClassRecord *check = record; check != nullptr;) {
		ERR_FAIL_COND_MSG(check->signals.count(signal_key) != 0,
				String("Class '") + String(p_class) + "' already has signal '" + String(p_signal.name) + "'.");
		const auto parent = class_records().find(check->parent);
		check = parent == class_records().end() ? nullptr : &parent->second;
	}
	record->signals.insert(signal_key);
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
	class_records().clear();
	method_binds().clear();
}

} // namespace godot
