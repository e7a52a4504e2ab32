#pragma once

// Test-build-only class that exercises the parts of the binding layer the library classes do not yet use
// through a script-visible path: member-function callables, signal connections and custom sorting.

#include <godot_cpp/classes/ref_counted.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>
#include <godot_cpp/variant/string_name.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace godot {

class TeamforgeBindingProbe : public RefCounted {
	GDCLASS(TeamforgeBindingProbe, RefCounted)

	Array received;

	void on_signal(const Variant &p_value);
	bool rates_higher(const Variant &p_a, const Variant &p_b);

protected:
	static void _bind_methods();

public:
	// Connects p_source's one-argument signal to this probe; a fresh callable each time.
	int64_t watch(const Variant &p_source, const String &p_signal);
	bool is_watching(const Variant &p_source, const String &p_signal) const;
	void unwatch(const Variant &p_source, const String &p_signal);
	Array get_received() const;
	// Returns a copy of p_teams sorted by rating, highest first, through Array.sort_custom.
	Array sort_by_vrs(const Array &p_teams);
	// Builds, fills and frees a TeamDatabase node from C++, returning its team count.
	int64_t roster_size_of_a_native_database();
	void warn(const String &p_message);
	String format_pair(const String &p_format, const Variant &p_first, const Variant &p_second);
	// Reads p_dictionary[p_key] through the read-only index operator.
	Variant read_key(const Dictionary &p_dictionary, const Variant &p_key) const;
	// Runs the String and StringName operators, a Ref assigned from a Variant and a Variant assigned an
	// object pointer over the given values; the results by name.
	Dictionary mix_values(const String &p_text, const StringName &p_name, const Variant &p_object) const;
	// The same bytes (e9, then c3 a9) read as C strings and through String::utf8; begins_with, contains
	// and find over p_text with p_part.
	Dictionary decode_and_search(const String &p_text, const String &p_part) const;
	// p_value.get_validated_object(), and whether the unchecked conversion agrees for a live value.
	Dictionary validate_object(const Variant &p_value) const;
	// Ref conversions over p_object: to Ref<RefCounted>, then by cast_to to Ref<TeamData> and to
	// Ref<MatchSimulator>; a fresh record assigned as a raw pointer, moved, and emptied with nullptr.
	Dictionary convert_refs(const Variant &p_object) const;
	// What ClassDB holds for this class's method p_method: whether it is bound, its argument count and
	// names and its default count. Itself bound by a bare name, without argument names.
	Dictionary describe_binding(const String &p_method) const;
	// Reports p_message through WARN_PRINT and returns it through ERR_FAIL_COND_V_MSG's untaken path.
	String warn_through_macros(const String &p_message) const;
};

} // namespace godot
