#pragma once

// Teams whose matches draw a crowd; match heat compares team names with this
// list exactly (case-sensitive, whole name).

#include <godot_cpp/variant/char_string.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstddef>
#include <cstring>

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
	const godot::CharString utf8 = p_name.utf8();
	const size_t length = static_cast<size_t>(utf8.length());
	for (const char *top : TOP_TEAMS) {
		if (std::strlen(top) == length && std::memcmp(utf8.get_data(), top, length) == 0) {
			return true;
		}
	}
	return false;
}

} // namespace teamforge
