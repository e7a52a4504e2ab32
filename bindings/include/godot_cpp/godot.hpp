// Library entry and the engine interface table. Wraps get_proc_address: every interface function the
// binding layer calls is looked up once here, and init() refuses a host that lacks any of them except the
// optional ones (editor_help_load_xml_from_utf8_chars_and_len).
#pragma once

#include <gdextension_interface.h>

namespace godot {

enum ModuleInitializationLevel {
	MODULE_INITIALIZATION_LEVEL_CORE = GDEXTENSION_INITIALIZATION_CORE,
	MODULE_INITIALIZATION_LEVEL_SERVERS = GDEXTENSION_INITIALIZATION_SERVERS,
	MODULE_INITIALIZATION_LEVEL_SCENE = GDEXTENSION_INITIALIZATION_SCENE,
	MODULE_INITIALIZATION_LEVEL_EDITOR = GDEXTENSION_INITIALIZATION_EDITOR,
	MODULE_INITIALIZATION_LEVEL_MAX,
};

namespace internal {

// X-macro of (field name, interface function name, pointer type).
#define GODOT_INTERFACE_FUNCTIONS(X)                                                    \
	X(mem_alloc2, MemAlloc2)                                                            \
	X(mem_free2, MemFree2)                                                              \
	X(print_error, PrintError)                                                          \
	X(print_error_with_message, PrintErrorWithMessage)                                  \
	X(print_warning, PrintWarning)                                                      \
	X(variant_new_copy, VariantNewCopy)                                                 \
	X(variant_new_nil, VariantNewNil)                                                   \
	X(variant_destroy, VariantDestroy)                                                  \
	X(variant_evaluate, VariantEvaluate)                                                \
	X(variant_hash, VariantHash)                                                        \
	X(variant_booleanize, VariantBooleanize)                                            \
	X(variant_stringify, VariantStringify)                                              \
	X(variant_get_type, VariantGetType)                                                 \
	X(variant_can_convert_strict, VariantCanConvertStrict)                              \
	X(variant_get_object_instance_id, VariantGetObjectInstanceId)                       \
	X(get_variant_from_type_constructor, GetVariantFromTypeConstructor)                 \
	X(get_variant_to_type_constructor, GetVariantToTypeConstructor)                     \
	X(variant_get_ptr_operator_evaluator, VariantGetPtrOperatorEvaluator)               \
	X(variant_get_ptr_builtin_method, VariantGetPtrBuiltinMethod)                       \
	X(variant_get_ptr_constructor, VariantGetPtrConstructor)                            \
	X(variant_get_ptr_destructor, VariantGetPtrDestructor)                              \
	X(variant_construct, VariantConstruct)                                              \
	X(variant_get_ptr_utility_function, VariantGetPtrUtilityFunction)                   \
	X(string_new_with_latin1_chars, StringNewWithLatin1Chars)                           \
	X(string_new_with_utf8_chars_and_len2, StringNewWithUtf8CharsAndLen2)               \
	X(string_to_utf8_chars, StringToUtf8Chars)                                          \
	X(string_name_new_with_latin1_chars, StringNameNewWithLatin1Chars)                  \
	X(packed_string_array_operator_index_const, PackedStringArrayOperatorIndexConst)    \
	X(array_operator_index, ArrayOperatorIndex)                                         \
	X(array_operator_index_const, ArrayOperatorIndexConst)                              \
	X(dictionary_operator_index, DictionaryOperatorIndex)                               \
	X(dictionary_operator_index_const, DictionaryOperatorIndexConst)                    \
	X(object_method_bind_call, ObjectMethodBindCall)                                    \
	X(object_method_bind_ptrcall, ObjectMethodBindPtrcall)                              \
	X(object_destroy, ObjectDestroy)                                                    \
	X(object_get_instance_binding, ObjectGetInstanceBinding)                            \
	X(object_set_instance_binding, ObjectSetInstanceBinding)                            \
	X(object_set_instance, ObjectSetInstance)                                           \
	X(object_get_instance_from_id, ObjectGetInstanceFromId)                             \
	X(object_get_instance_id, ObjectGetInstanceId)                                      \
	X(ref_get_object, RefGetObject)                                                     \
	X(ref_set_object, RefSetObject)                                                     \
	X(callable_custom_create2, CallableCustomCreate2)                                   \
	X(classdb_construct_object2, ClassdbConstructObject2)                               \
	X(classdb_get_method_bind, ClassdbGetMethodBind)                                    \
	X(classdb_register_extension_class5, ClassdbRegisterExtensionClass5)                \
	X(classdb_register_extension_class_method, ClassdbRegisterExtensionClassMethod)     \
	X(classdb_register_extension_class_property, ClassdbRegisterExtensionClassProperty) \
	X(classdb_register_extension_class_signal, ClassdbRegisterExtensionClassSignal)     \
	X(classdb_unregister_extension_class, ClassdbUnregisterExtensionClass)              \
	X(register_main_loop_callbacks, RegisterMainLoopCallbacks)                          \
	X(global_get_singleton, GlobalGetSingleton)

#define GODOT_DECLARE_INTERFACE_FUNCTION(m_name, m_type) extern GDExtensionInterface##m_type gdextension_interface_##m_name;
GODOT_INTERFACE_FUNCTIONS(GODOT_DECLARE_INTERFACE_FUNCTION)
#undef GODOT_DECLARE_INTERFACE_FUNCTION

// X-macro of (field name, full pointer type) for the functions a host may lack: they are looked up like
// the others, but a host without one is still accepted and its pointer stays null, so callers check it.
// Editor help exists only in editor builds of the engine.
#define GODOT_OPTIONAL_INTERFACE_FUNCTIONS(X) \
	X(editor_help_load_xml_from_utf8_chars_and_len, GDExtensionsInterfaceEditorHelpLoadXmlFromUtf8CharsAndLen)

#define GODOT_DECLARE_OPTIONAL_INTERFACE_FUNCTION(m_name, m_type) extern m_type gdextension_interface_##m_name;
GODOT_OPTIONAL_INTERFACE_FUNCTIONS(GODOT_DECLARE_OPTIONAL_INTERFACE_FUNCTION)
#undef GODOT_DECLARE_OPTIONAL_INTERFACE_FUNCTION

extern GDExtensionClassLibraryPtr library;
// Our token for instance bindings: the address of a private object, unique to this library.
extern void *token;

} // namespace internal

// godot-cpp's names for the interface functions that the library calls itself.
namespace gdextension_interface {
inline auto &editor_help_load_xml_from_utf8_chars_and_len = internal::gdextension_interface_editor_help_load_xml_from_utf8_chars_and_len;
} // namespace gdextension_interface

class GDExtensionBinding {
public:
	using Callback = void (*)(ModuleInitializationLevel p_level);

	class InitObject {
	public:
		InitObject(GDExtensionInterfaceGetProcAddress p_get_proc_address, GDExtensionClassLibraryPtr p_library,
				GDExtensionInitialization *r_initialization);

		void register_initializer(Callback p_init) const;
		void register_terminator(Callback p_terminate) const;
		void set_minimum_library_initialization_level(ModuleInitializationLevel p_level) const;
		GDExtensionBool init() const;

	private:
		GDExtensionInterfaceGetProcAddress get_proc_address;
		GDExtensionClassLibraryPtr library;
		GDExtensionInitialization *initialization;
	};
};

} // namespace godot
