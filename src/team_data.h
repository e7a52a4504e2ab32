#pragma once

#include "common/game_rules.h"

#include <godot_cpp/classes/ref_counted.hpp>
#include <godot_cpp/classes/wrapped.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstdint>

namespace godot {

// One team's record. It only stores values: keeping them in range is up to whoever changes them.
class TeamData : public RefCounted {
	GDCLASS(TeamData, RefCounted)

	String id;
	String name;
	// Whether name is one of the famous teams', worked out when the name is set: matches read it often.
	bool top_name = false;
	String region;
	int32_t vrs = teamforge::DEFAULT_RATING;
	int32_t stamina = teamforge::STAMINA_MAX;
	int32_t wins = 0;
	int32_t losses = 0;
	int64_t prize_total = 0;
	// Shared with scripts on purpose: appending to get_honors() changes the record.
	Array honors;

protected:
	static void _bind_methods();

public:
	TeamData();

	// Moves on whenever a record's id may have changed anywhere (a record made, an id set or loaded): a
	// look-up by id built while it had one value is good as long as it keeps that value.
	static uint64_t id_generation();

	String get_id() const;
	void set_id(const String &p_id);
	String get_name() const;
	void set_name(const String &p_name);
	// Not bound: the library's own look-up for match heat.
	bool has_top_name() const { return top_name; }
	String get_region() const;
	void set_region(const String &p_region);
	int32_t get_vrs() const;
	void set_vrs(int32_t p_vrs);
	int32_t get_stamina() const;
	void set_stamina(int32_t p_stamina);
	int32_t get_wins() const;
	void set_wins(int32_t p_wins);
	int32_t get_losses() const;
	void set_losses(int32_t p_losses);
	int64_t get_prize_total() const;
	void set_prize_total(int64_t p_prize_total);
	Array get_honors() const;
	void set_honors(const Array &p_honors);
	Dictionary to_dict() const;
	void from_dict(const Dictionary &p_data);
};

} // namespace godot
