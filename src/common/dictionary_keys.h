#pragma once

// Keys and fixed texts of the dictionaries the library builds again and again (match reports, saves,
// tournament records). Each text becomes an engine value once and is shared afterwards, instead of being
// decoded from UTF-8 on every use.
//
// A literal is interned at its call site with TF_KEY / TF_TEXT (TF_NAME for signal names), so every use
// after the first costs one guard check and no look-up. Keys and texts are interned once per thread:
// every container they go into counts a reference on them, and games played on separate threads would
// otherwise fight over the same counters. Signal names are few and stay shared. A text chosen at run time
// (from a table) goes through dictionary_key / fixed_text, which look it up by the address of its literal
// without a lock, so games on separate threads do not queue for it. This is the library's one way to make a
// key, a fixed text or a signal name.

#include <godot_cpp/variant/string.hpp>
#include <godot_cpp/variant/string_name.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace teamforge {

const godot::Variant &dictionary_key(const char *p_literal);
// The same for fixed texts the tournament code compares and stores again and again (statuses, stage
// types, link sides).
const godot::String &fixed_text(const char *p_literal);

} // namespace teamforge

#define TF_KEY(m_literal)                                                                         \
	([]() -> const ::godot::Variant & {                                                           \
		static thread_local const ::godot::Variant tf_interned_key{ ::godot::String(m_literal) }; \
		return tf_interned_key;                                                                   \
	}())
#define TF_TEXT(m_literal)                                                       \
	([]() -> const ::godot::String & {                                           \
		static thread_local const ::godot::String tf_interned_text{ m_literal }; \
		return tf_interned_text;                                                 \
	}())
#define TF_NAME(m_literal)                                              \
	([]() -> const ::godot::StringName & {                              \
		static const ::godot::StringName tf_interned_name{ m_literal }; \
		return tf_interned_name;                                        \
	}())
