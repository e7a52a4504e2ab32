#pragma once

// Teams whose matches draw a crowd; match heat compares team names with this
// list exactly (case-sensitive, whole name).

#include <godot_cpp/variant/string.hpp>

#include <cstddef>

namespace teamforge {

constexpr const char *TOP_TEAMS[] = {
	"Vitality",
	"FaZe",
	"Natus Vincere",
	"FUT",
	"Falcons",
	"G2",
	"Spirit",
	"MOUZ",
	"FURIA",
	"Astralis",
	"The MongolZ",
	"Aurora",
	"PARIVISION",
	"TYLOO",
	"Liquid",
	"Lynn Vision",
	"Bluegate",
};

constexpr size_t TOP_TEAMS_SIZE = sizeof(TOP_TEAMS) / sizeof(TOP_TEAMS[0]);

// Whether p_name is exactly one of the names above.
inline bool is_top_team_name(const godot::String &p_name) {
	for (const char *top : TOP_TEAMS) {
		if (p_name == godot::String(top)) {
			return true;
		}
	}
	return false;
}

} // namespace teamforge
