// String: the engine's text, held as its opaque 8 bytes. Every operation calls the engine's own String
// method or operator, so comparison, case conversion and parsing behave exactly as in scripts.
#pragma once

#include <cstdint>

#include <gdextension_interface.h>
#include <godot_cpp/variant/char_string.hpp>

namespace godot {

class PackedStringArray;
class StringName;
class Variant;

class String {
	alignas(8) uint8_t opaque[8] = {};

public:
	String();
	// Each byte is one character (Latin-1), as in godot-cpp; UTF-8 text goes through String::utf8().
	String(const char *p_latin1);
	String(const String &p_other);
	String(const StringName &p_from);
	String &operator=(const String &p_other);
	~String();

	static String num_int64(int64_t p_number);
	static String utf8(const char *p_utf8, int64_t p_length = -1);

	CharString utf8() const;
	int64_t length() const;
	bool is_empty() const;

	bool operator==(const String &p_other) const;
	bool operator!=(const String &p_other) const { return !(*this == p_other); }
	bool operator<(const String &p_other) const;
	// godot-cpp's overload set: String and StringName both convert from a C string, so only a non-const
	// String takes a C string on the right without ambiguity; write String("text") elsewhere.
	String operator+(const String &p_other) const;
	String operator+(const StringName &p_other) const;
	String operator+(const char *p_str);
	String &operator+=(const String &p_other);

	PackedStringArray split(const String &p_delimiter, bool p_allow_empty = true, int64_t p_maxsplit = 0) const;
	String strip_edges(bool p_left = true, bool p_right = true) const;
	String substr(int64_t p_from, int64_t p_len = -1) const;
	bool begins_with(const String &p_text) const;
	bool contains(const String &p_what) const;
	// The first position of p_what at or after p_from, or -1.
	int64_t find(const String &p_what, int64_t p_from = 0) const;
	String to_upper() const;
	String to_lower() const;
	int64_t naturalnocasecmp_to(const String &p_to) const;
	int64_t hash() const;
	int64_t to_int() const;
	double to_float() const;

	GDExtensionStringPtr _native_ptr() const { return const_cast<uint8_t *>(opaque); }

private:
	friend class Variant;
	// Built by the engine's conversion from a Variant straight into this value's storage.
	explicit String(const Variant *p_from);
	String(const char *p_utf8, int64_t p_length);
};

String operator+(const char *p_left, const String &p_right);

} // namespace godot
