#pragma once

// The tournaments the player can organise: formats, tiers, the tiers each format allows, how each is
// named and which stages it plays. Look-ups take the first row whose id matches.

#include <cstddef>
#include <cstdint>

namespace teamforge {

// The rows of FORMAT_TABLE and TIER_TABLE in order; OTHER stands for an id outside the catalog.
enum class FormatKind {
	MAJOR,
	IEM,
	EWC,
	BLAST,
	EPL,
	OTHER,
};

enum class TierKind {
	HIGHEST,
	TIER_S,
	TIER_1,
	TIER_2,
	TIER_3,
	TIER_OPEN,
	OTHER,
};

struct FormatSpec {
	const char *id;
	int32_t size;
	int32_t base_prize;
	bool needs_host_city;
	// Bit i set: the tier in row i of TIER_TABLE is allowed.
	uint32_t allowed_tiers;
};

struct TierSpec {
	const char *id;
	int32_t lead_days;
	int32_t rest_days;
	int32_t rank_offset;
	double prize_factor;
};

constexpr TierSpec TIER_TABLE[] = {
	{ "HIGHEST", 60, 7, 0, 1.0 },
	{ "TIER_S", 30, 3, 0, 0.8 },
	{ "TIER_1", 14, 3, 16, 0.6 },
	{ "TIER_2", 14, 3, 32, 0.4 },
	{ "TIER_3", 7, 3, 48, 0.2 },
	{ "TIER_OPEN", 3, 3, 64, 0.1 },
};
constexpr size_t TIER_TABLE_SIZE = sizeof(TIER_TABLE) / sizeof(TIER_TABLE[0]);
static_assert(TIER_TABLE_SIZE == static_cast<size_t>(TierKind::OTHER), "one tier kind per row");

constexpr uint32_t ONLY_HIGHEST = 0x01;
constexpr uint32_t UP_TO_TIER_1 = 0x07;
constexpr uint32_t EVERY_TIER = 0x3f;

constexpr FormatSpec FORMAT_TABLE[] = {
	{ "MAJOR", 32, 2000000, true, ONLY_HIGHEST },
	{ "IEM", 16, 1500000, true, UP_TO_TIER_1 },
	{ "EWC", 16, 1500000, false, ONLY_HIGHEST },
	{ "BLAST", 8, 1000000, true, UP_TO_TIER_1 },
	{ "EPL", 24, 800000, false, EVERY_TIER },
};
constexpr size_t FORMAT_TABLE_SIZE = sizeof(FORMAT_TABLE) / sizeof(FORMAT_TABLE[0]);
static_assert(FORMAT_TABLE_SIZE == static_cast<size_t>(FormatKind::OTHER), "one format kind per row");

// Unknown tiers still price and date a tournament (loaded saves may hold any tier).
constexpr int32_t UNKNOWN_TIER_LEAD_DAYS = 0;
constexpr int32_t UNKNOWN_TIER_REST_DAYS = 0;
constexpr int32_t UNKNOWN_TIER_RANK_OFFSET = 0;
constexpr double UNKNOWN_TIER_PRIZE_FACTOR = 1.0;

enum class NameShape {
	// city, text, year: "Lisbon Major 2026".
	CITY_TEXT_YEAR,
	// text, " ", city, " ", year: "BLAST Rivals Lisbon 2026".
	TEXT_CITY_YEAR,
	// text followed by the edition counter: "ESL WILD 3".
	TEXT_COUNTER,
};

// tier_id null matches every tier. A counter key null means the tier id is the key.
struct NamePattern {
	const char *format_id;
	const char *tier_id;
	NameShape shape;
	const char *text;
	const char *counter_key;
};

constexpr NamePattern NAME_PATTERNS[] = {
	{ "MAJOR", nullptr, NameShape::CITY_TEXT_YEAR, " Major ", nullptr },
	{ "EWC", nullptr, NameShape::TEXT_COUNTER, "Esports World Cup ", "EWC" },
	{ "IEM", nullptr, NameShape::TEXT_CITY_YEAR, "Intel Extreme Masters", nullptr },
	{ "BLAST", "HIGHEST", NameShape::TEXT_CITY_YEAR, "BLAST Grand Final", nullptr },
	{ "BLAST", "TIER_S", NameShape::TEXT_CITY_YEAR, "BLAST Rivals", nullptr },
	{ "BLAST", nullptr, NameShape::TEXT_CITY_YEAR, "BLAST Open", nullptr },
	{ "EPL", "HIGHEST", NameShape::TEXT_COUNTER, "ESL PRO LEAGUE ", nullptr },
	{ "EPL", "TIER_S", NameShape::TEXT_COUNTER, "ESL HIGH ", nullptr },
	{ "EPL", "TIER_1", NameShape::TEXT_COUNTER, "ESL POWER ", nullptr },
	{ "EPL", "TIER_2", NameShape::TEXT_COUNTER, "ESL WILD ", nullptr },
	{ "EPL", "TIER_3", NameShape::TEXT_COUNTER, "ECL PRO ", nullptr },
	{ "EPL", "TIER_OPEN", NameShape::TEXT_COUNTER, "ECL OPEN ", nullptr },
};
constexpr size_t NAME_PATTERNS_SIZE = sizeof(NAME_PATTERNS) / sizeof(NAME_PATTERNS[0]);

// The edition counters a new manager starts with, in save order.
constexpr const char *EDITION_COUNTER_KEYS[] = { "HIGHEST", "TIER_S", "TIER_1", "TIER_2", "TIER_3", "TIER_OPEN", "EWC" };
constexpr size_t EDITION_COUNTER_KEYS_SIZE = sizeof(EDITION_COUNTER_KEYS) / sizeof(EDITION_COUNTER_KEYS[0]);

// Saved as STAGE_KIND_TEXTS; OTHER stands for a type the library does not know (a save from elsewhere).
enum class StageKind {
	SWISS,
	SINGLE_ELIM,
	BLAST_BRACKET,
	IEM_GROUPS,
	OTHER,
};

inline constexpr const char *STAGE_KIND_TEXTS[] = { "SWISS", "SINGLE_ELIM", "BLAST_BRACKET", "IEM_GROUPS" };

// team_count is unused by the kinds whose bracket fixes it; the best-of-five flag of the playoffs
// comes from the tier ("HIGHEST").
struct StagePlanRow {
	FormatKind format;
	StageKind kind;
	const char *name;
	int32_t team_count;
};

constexpr StagePlanRow STAGE_PLANS[] = {
	{ FormatKind::MAJOR, StageKind::SWISS, "Stage 1", 16 },
	{ FormatKind::MAJOR, StageKind::SWISS, "Stage 2", 16 },
	{ FormatKind::MAJOR, StageKind::SWISS, "Stage 3", 16 },
	{ FormatKind::MAJOR, StageKind::SINGLE_ELIM, "Playoffs", 8 },
	{ FormatKind::EPL, StageKind::SWISS, "Stage 1", 16 },
	{ FormatKind::EPL, StageKind::SWISS, "Stage 2", 16 },
	{ FormatKind::EPL, StageKind::SINGLE_ELIM, "Playoffs", 8 },
	{ FormatKind::IEM, StageKind::IEM_GROUPS, "Group Stage", 16 },
	{ FormatKind::IEM, StageKind::SINGLE_ELIM, "Playoffs", 6 },
	{ FormatKind::EWC, StageKind::SINGLE_ELIM, "Playoffs", 16 },
	{ FormatKind::BLAST, StageKind::BLAST_BRACKET, "Blast Finals", 8 },
};
constexpr size_t STAGE_PLANS_SIZE = sizeof(STAGE_PLANS) / sizeof(STAGE_PLANS[0]);

// The first stage of every plan numbers its matches from here; later stages count on.
constexpr int32_t FIRST_MATCH_NUMBER = 1000;

} // namespace teamforge
