#include "binding_probe.h"

#include "match_simulator.h"
#include "team_data.h"
#include "team_database.h"

#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/core/error_macros.hpp>
#include <godot_cpp/variant/callable_method_pointer.hpp>
#include <godot_cpp/variant/utility_functions.hpp>

namespace godot {

void TeamforgeBindingProbe::on_signal(const Variant &p_value) {
	received.push_back(p_value);
}

bool TeamforgeBindingProbe::rates_higher(const Variant &p_a, const Variant &p_b) {
	const TeamData *a = Object::cast_to<TeamData>(p_a.operator Object *());
	const TeamData *b = Object::cast_to<TeamData>(p_b.operator Object *());
	return a != nullptr && b != nullptr && a->get_vrs() > b->get_vrs();
}

void TeamforgeBindingProbe::_bind_methods() {
	// Methods.
	ClassDB::bind_method(D_METHOD("watch", "source", "signal"), &TeamforgeBindingProbe::watch);
	ClassDB::bind_method(D_METHOD("is_watching", "source", "signal"), &TeamforgeBindingProbe::is_watching);
	ClassDB::bind_method(D_METHOD("unwatch", "source", "signal"), &TeamforgeBindingProbe::unwatch);
	ClassDB::bind_method(D_METHOD("get_received"), &TeamforgeBindingProbe::get_received);
	ClassDB::bind_method(D_METHOD("sort_by_vrs", "teams"), &TeamforgeBindingProbe::sort_by_vrs);
	ClassDB::bind_method(D_METHOD("roster_size_of_a_native_database"), &TeamforgeBindingProbe::roster_size_of_a_native_database);
	ClassDB::bind_method(D_METHOD("warn", "message"), &TeamforgeBindingProbe::warn);
	ClassDB::bind_method(D_METHOD("format_pair", "format", "first", "second"), &TeamforgeBindingProbe::format_pair);
	ClassDB::bind_method(D_METHOD("read_key", "dictionary", "key"), &TeamforgeBindingProbe::read_key);
	ClassDB::bind_method(D_METHOD("mix_values", "text", "name", "object"), &TeamforgeBindingProbe::mix_values);
	ClassDB::bind_method(D_METHOD("decode_and_search", "text", "part"), &TeamforgeBindingProbe::decode_and_search);
	ClassDB::bind_method(D_METHOD("validate_object", "value"), &TeamforgeBindingProbe::validate_object);
	ClassDB::bind_method(D_METHOD("convert_refs", "object"), &TeamforgeBindingProbe::convert_refs);
	ClassDB::bind_method(StringName("describe_binding"), &TeamforgeBindingProbe::describe_binding, DEFVAL(String("watch")));
	ClassDB::bind_method(D_METHOD("warn_through_macros", "message"), &TeamforgeBindingProbe::warn_through_macros);
}

int64_t TeamforgeBindingProbe::watch(const Variant &p_source, const String &p_signal) {
	Object *source = p_source.operator Object *();
	ERR_FAIL_NULL_V(source, -1);
	return source->connect(p_signal, callable_mp(this, &TeamforgeBindingProbe::on_signal));
}

bool TeamforgeBindingProbe::is_watching(const Variant &p_source, const String &p_signal) const {
	Object *source = p_source.operator Object *();
	ERR_FAIL_NULL_V(source, false);
	auto *self = const_cast<TeamforgeBindingProbe *>(this);
	return source->is_connected(p_signal, callable_mp(self, &TeamforgeBindingProbe::on_signal));
}

void TeamforgeBindingProbe::unwatch(const Variant &p_source, const String &p_signal) {
	Object *source = p_source.operator Object *();
	ERR_FAIL_NULL(source);
	source->disconnect(p_signal, callable_mp(this, &TeamforgeBindingProbe::on_signal));
}

Array TeamforgeBindingProbe::get_received() const {
	return received;
}

Array TeamforgeBindingProbe::sort_by_vrs(const Array &p_teams) {
	Array sorted = p_teams.duplicate();
	sorted.sort_custom(callable_mp(this, &TeamforgeBindingProbe::rates_higher));
	return sorted;
}

int64_t TeamforgeBindingProbe::roster_size_of_a_native_database() {
	TeamDatabase *database = memnew(TeamDatabase);
	database->initialize_defaults();
	const int64_t count = database->get_team_count();
	memdelete(database);
	return count;
}

void TeamforgeBindingProbe::warn(const String &p_message) {
	UtilityFunctions::push_warning(p_message);
}

String TeamforgeBindingProbe::format_pair(const String &p_format, const Variant &p_first, const Variant &p_second) {
	return vformat(p_format, p_first, p_second);
}

Variant TeamforgeBindingProbe::read_key(const Dictionary &p_dictionary, const Variant &p_key) const {
	return p_dictionary.get(p_key, Variant());
}

Dictionary TeamforgeBindingProbe::mix_values(const String &p_text, const StringName &p_name, const Variant &p_object) const {
	Ref<RefCounted> held;
	held = p_object;
	Variant slot;
	slot = held.ptr();
	String text = p_text;
	Dictionary result;
	result["joined"] = p_text + p_name;
	result["suffixed"] = text + "!";
	result["converted"] = String(p_name);
	result["same"] = p_name == p_text;
	result["held"] = slot;
	result["hash"] = static_cast<int64_t>(Variant(p_name).hash());
	return result;
}

Dictionary TeamforgeBindingProbe::decode_and_search(const String &p_text, const String &p_part) const {
	Dictionary result;
	result["latin1"] = String("caf\xe9");
	result["utf8_as_c_string"] = String("caf\xc3\xa9");
	result["utf8"] = String::utf8("caf\xc3\xa9");
	result["utf8_prefix"] = String::utf8("caf\xc3\xa9!", 5);
	result["name"] = StringName("caf\xe9");
	result["variant"] = Variant("caf\xe9");
	result["begins_with"] = p_text.begins_with(p_part);
	result["contains"] = p_text.contains(p_part);
	result["find"] = p_text.find(p_part);
	result["find_after_first"] = p_text.find(p_part, p_text.find(p_part) + 1);
	return result;
}

Dictionary TeamforgeBindingProbe::validate_object(const Variant &p_value) const {
	Object *validated = p_value.get_validated_object();
	Dictionary result;
	result["validated"] = validated;
	// Only a live object may be read unchecked.
	if (validated != nullptr) {
		result["unchecked_agrees"] = p_value.operator Object *() == validated;
	}
	return result;
}

Dictionary TeamforgeBindingProbe::convert_refs(const Variant &p_object) const {
	Dictionary result;
	const Ref<RefCounted> base = p_object;
	const Ref<TeamData> team = base;
	Ref<MatchSimulator> simulator;
	simulator = base;
	result["base"] = base;
	result["team"] = team;
	result["simulator"] = simulator;

	Ref<TeamData> fresh;
	fresh = memnew(TeamData);
	result["fresh_count"] = fresh->get_reference_count();
	Ref<TeamData> moved = std::move(fresh);
	result["moved_count"] = moved->get_reference_count();
	result["source_after_move"] = fresh;
	Ref<TeamData> again;
	again = std::move(moved);
	result["move_assigned_count"] = again->get_reference_count();
	const Ref<RefCounted> widened = again;
	result["widened_count"] = widened->get_reference_count();
	again = nullptr;
	result["emptied"] = again.is_null();
	result["kept"] = widened;
	return result;
}

Dictionary TeamforgeBindingProbe::describe_binding(const String &p_method) const {
	const MethodBind *bind = ClassDB::get_method(get_class_static(), p_method);
	Dictionary result;
	result["found"] = bind != nullptr;
	if (bind != nullptr) {
		result["arguments"] = bind->get_argument_count();
		Array names;
		for (const StringName &name : bind->get_argument_names()) {
			names.push_back(name);
		}
		result["names"] = names;
		result["defaults"] = bind->get_default_argument_count();
	}
	return result;
}

String TeamforgeBindingProbe::warn_through_macros(const String &p_message) const {
	WARN_PRINT(p_message);
	WARN_PRINT("a C string warning");
	ERR_FAIL_COND_V_MSG(p_message.is_empty(), String(), "an empty message");
	return p_message;
}

} // namespace godot
