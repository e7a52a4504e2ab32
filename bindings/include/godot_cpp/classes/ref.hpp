// Ref<T>: a counted reference to one of the library's RefCounted objects. Taking the first reference uses
// the engine's init_ref; dropping the last destroys the engine object, which frees the instance.
#pragma once

#include <type_traits>

#include <godot_cpp/classes/ref_counted.hpp>
#include <godot_cpp/core/memory.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace godot {

template <class T>
class Ref {
	T *reference = nullptr;

	// Takes p_ptr in place of the held object. p_first: p_ptr may be newly made, so its first reference
	// is init_ref (which does not count it twice). The old reference is dropped last, so taking an object
	// that only the old one kept alive is safe.
	void take(T *p_ptr, bool p_first) {
		if (p_ptr == reference) {
			return;
		}
		T *old = reference;
		reference = nullptr;
		if (p_ptr != nullptr && (p_first ? p_ptr->init_ref() : p_ptr->reference())) {
			reference = p_ptr;
		}
		release(old);
	}
	static void release(T *p_ptr) {
		if (p_ptr != nullptr && p_ptr->unreference()) {
			memdelete(p_ptr);
		}
	}

public:
	static String get_class_static() { return T::get_class_static(); }

	Ref() = default;
	Ref(T *p_ptr) { take(p_ptr, true); }
	Ref(const Ref &p_from) { take(p_from.reference, false); }
	Ref(Ref &&p_from) :
			reference(p_from.reference) {
		p_from.reference = nullptr;
	}
	// Any other Ref converts by cast_to: a Ref of an unrelated or a base class holding something else
	// gives an empty Ref.
	template <class U>
	Ref(const Ref<U> &p_from) {
		take(Object::cast_to<T>(p_from.ptr()), false);
	}
	// Only a live object of class T: a freed one or any other value gives an empty Ref.
	Ref(const Variant &p_variant) { take(Object::cast_to<T>(p_variant.get_validated_object()), false); }
	~Ref() { unref(); }

	// Assignments return nothing, as godot-cpp's do.
	void operator=(const Ref &p_from) { take(p_from.reference, false); }
	void operator=(Ref &&p_from) {
		if (reference == p_from.reference) {
			return;
		}
		T *old = reference;
		reference = p_from.reference;
		p_from.reference = nullptr;
		release(old);
	}
	template <class U>
	void operator=(const Ref<U> &p_from) {
		take(Object::cast_to<T>(p_from.ptr()), false);
	}
	void operator=(T *p_ptr) { take(p_ptr, true); }
	void operator=(const Variant &p_variant) { take(Object::cast_to<T>(p_variant.get_validated_object()), false); }

	template <class... Args>
	void instantiate(Args... p_args) {
		*this = Ref(memnew(T(p_args...)));
	}
	void unref() {
		T *old = reference;
		reference = nullptr;
		release(old);
	}

	bool is_valid() const { return reference != nullptr; }
	bool is_null() const { return reference == nullptr; }
	T *ptr() const { return reference; }
	T *operator->() const { return reference; }
	// A pointer, as godot-cpp's: the object behind a Ref is reached with *ref.ptr().
	T *operator*() const { return reference; }
	operator Variant() const { return Variant(static_cast<const Object *>(reference)); }

	bool operator==(const Ref &p_other) const { return reference == p_other.reference; }
	bool operator!=(const Ref &p_other) const { return reference != p_other.reference; }
	bool operator<(const Ref &p_other) const { return reference < p_other.reference; }
	bool operator==(const T *p_ptr) const { return reference == p_ptr; }
	bool operator!=(const T *p_ptr) const { return reference != p_ptr; }
};

} // namespace godot
