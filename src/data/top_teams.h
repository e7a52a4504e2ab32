#pragma once

// Teams whose matches draw a crowd; match heat compares team names with this
// list exactly (case-sensitive, whole name).

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

} // namespace teamforge
