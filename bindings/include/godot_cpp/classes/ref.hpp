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

	void ref_pointer(T *p_ptr) {
		if (p_ptr != nullptr && p_ptr->init_ref()) {
			reference = p_ptr;
		}
	}
	void ref(const Ref &p_from) {
		if (p_from.reference == reference) {
			return;
		}
		unref();
		if (p_from.reference != nullptr && p_from.reference->reference()) {
			reference = p_from.reference;
		}
	}

public:
	Ref() = default;
	Ref(T *p_ptr) { ref_pointer(p_ptr); }
	Ref(const Ref &p_from) { ref(p_from); }
	template <class U, class = std::enable_if_t<std::is_base_of_v<T, U>>>
	Ref(const Ref<U> &p_from) {
		ref_pointer(p_from.ptr());
	}
	Ref(const Variant &p_variant) { ref_pointer(Object::cast_to<T>(p_variant.operator Object *())); }
	~Ref() { unref(); }

	// Assignments return nothing, as godot-cpp's do. A raw pointer or nullptr has no assignment of its
	// own: it matches both the Ref and the Variant one, as in godot-cpp, so callers write
	// ref = Ref<T>(pointer) or ref.unref().
	void operator=(const Ref &p_from) { ref(p_from); }
	template <class U, class = std::enable_if_t<std::is_base_of_v<T, U>>>
	void operator=(const Ref<U> &p_from) {
		ref(Ref(p_from));
	}
	void operator=(const Variant &p_variant) { ref(Ref(p_variant)); }

	void instantiate() { *this = Ref(memnew(T)); }
	void unref() {
		if (reference != nullptr) {
			T *old = reference;
			reference = nullptr;
			if (old->unreference()) {
				memdelete(old);
			}
		}
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
	bool operator==(const T *p_ptr) const { return reference == p_ptr; }
	bool operator!=(const T *p_ptr) const { return reference != p_ptr; }
};

} // namespace godot
