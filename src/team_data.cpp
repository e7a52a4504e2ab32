#include "team_data.h"

#include "common/detached_copy.h"
#include "common/plain_data.h"
#include "common/dictionary_keys.h"
#include "common/saved_numbers.h"
#include "common/text_key_reading.h"
#include "data/top_teams.h"

#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <atomic>

namespace godot {

namespace {

std::atomic<uint64_t> id_changes{ 0 };

void note_id_change() {
	id_changes.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

void TeamData::_bind_methods() {
	// Methods.
	ClassDB::bind_method(D_METHOD("get_id"), &TeamData::get_id);
	ClassDB::bind_method(D_METHOD("set_id", "id"), &TeamData::set_id);
	ClassDB::bind_method(D_METHOD("get_name"), &TeamData::get_name);
	ClassDB::bind_method(D_METHOD("set_name", "name"), &TeamData::set_name);
	ClassDB::bind_method(D_METHOD("get_region"), &TeamData::get_region);
	ClassDB::bind_method(D_METHOD("set_region", "region"), &TeamData::set_region);
	ClassDB::bind_method(D_METHOD("get_vrs"), &TeamData::get_vrs);
	ClassDB::bind_method(D_METHOD("set_vrs", "vrs"), &TeamData::set_vrs);
	ClassDB::bind_method(D_METHOD("get_stamina"), &TeamData::get_stamina);
	ClassDB::bind_method(D_METHOD("set_stamina", "stamina"), &TeamData::set_stamina);
	ClassDB::bind_method(D_METHOD("get_wins"), &TeamData::get_wins);
	ClassDB::bind_method(D_METHOD("set_wins", "wins"), &TeamData::set_wins);
	ClassDB::bind_method(D_METHOD("get_losses"), &TeamData::get_losses);
	ClassDB::bind_method(D_METHOD("set_losses", "losses"), &TeamData::set_losses);
	ClassDB::bind_method(D_METHOD("get_prize_total"), &TeamData::get_prize_total);
	ClassDB::bind_method(D_METHOD("set_prize_total", "prize_total"), &TeamData::set_prize_total);
	ClassDB::bind_method(D_METHOD("get_honors"), &TeamData::get_honors);
	ClassDB::bind_method(D_METHOD("set_honors", "honors"), &TeamData::set_honors);
	ClassDB::bind_method(D_METHOD("to_dict"), &TeamData::to_dict);
	ClassDB::bind_method(D_METHOD("from_dict", "data"), &TeamData::from_dict);

	// Properties.
	ADD_PROPERTY(PropertyInfo(Variant::STRING, "id"), "set_id", "get_id");
	ADD_PROPERTY(PropertyInfo(Variant::STRING, "name"), "set_name", "get_name");
	ADD_PROPERTY(PropertyInfo(Variant::STRING, "region"), "set_region", "get_region");
	ADD_PROPERTY(PropertyInfo(Variant::INT, "vrs"), "set_vrs", "get_vrs");
	ADD_PROPERTY(PropertyInfo(Variant::INT, "stamina"), "set_stamina", "get_stamina");
	ADD_PROPERTY(PropertyInfo(Variant::INT, "wins"), "set_wins", "get_wins");
	ADD_PROPERTY(PropertyInfo(Variant::INT, "losses"), "set_losses", "get_losses");
	ADD_PROPERTY(PropertyInfo(Variant::INT, "prize_total"), "set_prize_total", "get_prize_total");
	ADD_PROPERTY(PropertyInfo(Variant::ARRAY, "honors"), "set_honors", "get_honors");

	// Signals: none, a record changes silently.
}

TeamData::TeamData() {
	// A new record may sit where a freed one was.
	note_id_change();
}

uint64_t TeamData::id_generation() {
	return id_changes.load(std::memory_order_relaxed);
}

String TeamData::get_id() const {
	return id;
}

void TeamData::set_id(const String &p_id) {
	id = p_id;
	note_id_change();
}

String TeamData::get_name() const {
	return name;
}

void TeamData::set_name(const String &p_name) {
	name = p_name;
	top_name = teamforge::is_top_team_name(name);
}

String TeamData::get_region() const {
	return region;
}

void TeamData::set_region(const String &p_region) {
	region = p_region;
}

int32_t TeamData::get_vrs() const {
	return vrs;
}

void TeamData::set_vrs(int32_t p_vrs) {
	vrs = p_vrs;
}

int32_t TeamData::get_stamina() const {
	return stamina;
}

void TeamData::set_stamina(int32_t p_stamina) {
	stamina = p_stamina;
}

int32_t TeamData::get_wins() const {
	return wins;
}

void TeamData::set_wins(int32_t p_wins) {
	wins = p_wins;
}

int32_t TeamData::get_losses() const {
	return losses;
}

void TeamData::set_losses(int32_t p_losses) {
	losses = p_losses;
}

int64_t TeamData::get_prize_total() const {
	return prize_total;
}

void TeamData::set_prize_total(int64_t p_prize_total) {
	prize_total = p_prize_total;
}

Array TeamData::get_honors() const {
	return honors;
}

void TeamData::set_honors(const Array &p_honors) {
	honors = p_honors;
}

Dictionary TeamData::to_dict() const {
	Dictionary data;
	data[TF_KEY("id")] = id;
	data[TF_KEY("name")] = name;
	data[TF_KEY("region")] = region;
	data[TF_KEY("vrs")] = vrs;
	data[TF_KEY("stamina")] = stamina;
	data[TF_KEY("wins")] = wins;
	data[TF_KEY("losses")] = losses;
	data[TF_KEY("prize_total")] = prize_total;
	// Screens read either key; both carry the same array, a copy of the record's own, so the save stays
	// as it was taken whatever happens to the record later.
	const Array saved_honors = teamforge::detached(honors);
	data[TF_KEY("honors")] = saved_honors;
	data[TF_KEY("historical_honors")] = saved_honors;
	return data;
}

void TeamData::from_dict(const Dictionary &p_data) {
	// A dictionary whose keys a script typed would make every look-up by text an engine error.
	const Dictionary data = teamforge::readable_by_text_keys(p_data);
	id = String(data.get(TF_KEY("id"), String()));
	note_id_change();
	set_name(String(data.get(TF_KEY("name"), String())));
	region = String(data.get(TF_KEY("region"), String()));
	vrs = teamforge::read_saved_int32(data.get(TF_KEY("vrs"), teamforge::DEFAULT_RATING));
	stamina = teamforge::read_saved_int32(data.get(TF_KEY("stamina"), teamforge::STAMINA_MAX));
	wins = teamforge::read_saved_int32(data.get(TF_KEY("wins"), 0));
	losses = teamforge::read_saved_int32(data.get(TF_KEY("losses"), 0));
	prize_total = teamforge::read_saved_int64(data.get(TF_KEY("prize_total"), 0));

	Variant candidate;
	if (data.has(TF_KEY("honors"))) {
		candidate = data.get(TF_KEY("honors"), Variant());
	} else if (data.has(TF_KEY("historical_honors"))) {
		candidate = data.get(TF_KEY("historical_honors"), Variant());
	}
	// A detached copy: the script keeps the dictionary it loaded from to itself.
	candidate = teamforge::plain_data(candidate, "honors");
	honors = candidate.get_type() == Variant::ARRAY ? teamforge::detached(Array(candidate)) : Array();
}

} // namespace godot
