// Compile-time guard of the binding layer's surface: what src/ writes must build unchanged against
// godot-cpp, so the binding layer may not accept what godot-cpp rejects. Each check pins a signature
// that drifted before, or an overload set whose ambiguity is the point. Built with the library, so a
// drift fails our own build; nothing here runs.
#include <godot_cpp/classes/ref.hpp>
#include <godot_cpp/classes/ref_counted.hpp>
#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/core/error_macros.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/packed_string_array.hpp>
#include <godot_cpp/variant/string.hpp>
#include <godot_cpp/variant/string_name.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace {

using namespace godot;

// Detection idiom: compiles<Op, Args...> is true when the expression Op<Args...> is well-formed.
// Code that must not compile cannot be written down, only asked about.
template <class, template <class...> class Op, class... Args>
struct Detector : std::false_type {};
template <template <class...> class Op, class... Args>
struct Detector<std::void_t<Op<Args...>>, Op, Args...> : std::true_type {};
template <template <class...> class Op, class... Args>
constexpr bool compiles = Detector<void, Op, Args...>::value;

template <class L, class R>
using Plus = decltype(std::declval<L>() + std::declval<R>());
template <class L, class R>
using Equals = decltype(std::declval<L>() == std::declval<R>());
template <class L, class R>
using Assign = decltype(std::declval<L &>() = std::declval<R>());
template <class T>
using Deref = decltype(*std::declval<T>());
template <class T, class I>
using Index = decltype(std::declval<T>()[std::declval<I>()]);

using RefObject = Ref<RefCounted>;

// Ref: dereferencing gives the pointer, not the object; assignments return nothing. As in godot-cpp's
// master, a raw pointer (nullptr included) has an assignment of its own, taking precedence over the
// Ref and Variant ones, and a Ref moves.
static_assert(std::is_same_v<Deref<const RefObject &>, RefCounted *>, "*ref is a pointer");
static_assert(std::is_same_v<decltype(std::declval<const RefObject &>().ptr()), RefCounted *>, "ref.ptr() is a pointer");
static_assert(std::is_same_v<Assign<RefObject, const RefObject &>, void>, "Ref assignment returns nothing");
static_assert(std::is_same_v<Assign<RefObject, const Variant &>, void>, "Ref takes a Variant by assignment");
static_assert(std::is_same_v<Assign<RefObject, RefCounted *>, void>, "a raw pointer is assigned directly");
static_assert(std::is_same_v<Assign<RefObject, std::nullptr_t>, void>, "ref = nullptr empties it");
static_assert(std::is_same_v<Assign<RefObject, RefObject &&>, void>, "move assignment returns nothing");
static_assert(std::is_convertible_v<RefCounted *, RefObject>, "a Ref is built from a raw pointer implicitly");
static_assert(std::is_move_constructible_v<RefObject> && std::is_move_assignable_v<RefObject>, "a Ref moves");
// Between Refs of different classes, conversion goes through cast_to both ways (a base to a derived class
// too), as in godot-cpp.
static_assert(std::is_convertible_v<const Ref<Object> &, RefObject>, "a base Ref converts (by cast_to)");
static_assert(std::is_convertible_v<const RefObject &, Ref<Object>>, "a derived Ref converts");
static_assert(std::is_same_v<Assign<RefObject, const Ref<Object> &>, void>, "a base Ref is assigned (by cast_to)");
static_assert(std::is_same_v<decltype(RefObject::get_class_static()), String>, "Ref<T>::get_class_static gives a String");

// String +: a const String with a C string is ambiguous (String or StringName on the right); a
// non-const String takes it; a C string on the left is fine.
static_assert(!compiles<Plus, const String &, const char *>, "const String + C string is ambiguous");
static_assert(!compiles<Plus, const String &, const Variant &>, "String + Variant is ambiguous");
static_assert(std::is_same_v<Plus<String, const char *>, String>, "String(...) + C string");
static_assert(std::is_same_v<Plus<const String &, const StringName &>, String>, "String + StringName");
static_assert(std::is_same_v<Plus<const char *, const String &>, String>, "C string + String");
// A StringName compares with both String and StringName, so a C string on the right is ambiguous.
static_assert(!compiles<Equals, const StringName &, const char *>, "StringName == C string is ambiguous");
static_assert(std::is_same_v<Equals<const StringName &, const String &>, bool>, "StringName == String");

// Construction: String from a StringName implicitly, and no length-taking C string constructor.
static_assert(std::is_convertible_v<const StringName &, String>, "String from StringName");
static_assert(!std::is_constructible_v<String, const char *, int64_t>, "no String(const char *, length)");

// String searches: godot-cpp's generated signatures (find's start defaults to 0).
static_assert(std::is_same_v<decltype(std::declval<const String &>().begins_with(String())), bool>, "begins_with");
static_assert(std::is_same_v<decltype(std::declval<const String &>().contains(String())), bool>, "contains");
static_assert(std::is_same_v<decltype(std::declval<const String &>().find(String())), int64_t>, "find");
static_assert(std::is_same_v<decltype(std::declval<const String &>().find(String(), int64_t())), int64_t>, "find from");
// UTF-8 is read only through String::utf8, which takes a length in bytes.
static_assert(std::is_same_v<decltype(String::utf8("", int64_t())), String>, "String::utf8(bytes, length)");

// Variant: the unchecked pointer conversion and the checked look-up, both giving Object *.
static_assert(std::is_same_v<decltype(std::declval<const Variant &>().get_validated_object()), Object *>,
		"Variant::get_validated_object");
static_assert(std::is_convertible_v<const Variant &, Object *>, "Variant converts to Object * implicitly");

// Variant: a 32-bit hash.
static_assert(std::is_same_v<decltype(std::declval<const Variant &>().hash()), uint32_t>, "Variant::hash is 32 bits");

// Index operators: writable references on a mutable container, read-only ones otherwise.
static_assert(std::is_same_v<Index<Array &, int64_t>, Variant &>, "Array index");
static_assert(std::is_same_v<Index<const Array &, int64_t>, const Variant &>, "const Array index");
static_assert(std::is_same_v<Index<Dictionary &, const char *>, Variant &>, "Dictionary index");
static_assert(std::is_same_v<Index<const Dictionary &, const Variant &>, const Variant &>, "const Dictionary index");
static_assert(std::is_same_v<Index<const PackedStringArray &, int64_t>, const String &>, "PackedStringArray index");
static_assert(std::is_same_v<decltype(std::declval<Dictionary &>().set(Variant(), Variant())), bool>, "Dictionary::set");

// ClassDB: a method is named by D_METHOD(...) or by a StringName, never by a bare C string (that takes two
// conversions); a refused binding returns null, so the result is a pointer.
static_assert(std::is_convertible_v<const StringName &, MethodDefinition>, "a StringName names a method");
static_assert(!std::is_convertible_v<const char *, MethodDefinition>, "a C string does not name a method");
static_assert(std::is_same_v<decltype(ClassDB::get_method(StringName(), StringName())), MethodBind *>, "ClassDB::get_method");

// The error macros take a C string or a String as their message, and return what they are given.
[[maybe_unused]] int guarded(const String &p_message, const Object *p_object) {
	ERR_FAIL_COND_V_MSG(p_message.is_empty(), -1, "a C string");
	ERR_FAIL_COND_V_MSG(p_message.length() > 80, -2, p_message);
	ERR_FAIL_NULL_V_MSG(p_object, -3, p_message);
	WARN_PRINT(p_message);
	WARN_PRINT("a C string");
	ERR_PRINT(p_message);
	ERR_PRINT("a C string");
	return 0;
}

} // namespace
