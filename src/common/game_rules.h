#pragma once

// The game's own numbers and codes: every system that needs one reads it from here, so a rule changes in
// one place.

#include <cstddef>
#include <cstdint>

namespace teamforge {

// A new game's calendar starts on this day.
inline constexpr const char *START_DATE = "2026-01-01";

// The organiser's and the player's funds before anything is spent or staked.
inline constexpr int64_t STARTING_FUNDS = 10000000;

// A team's rating: where an unknown team stands, and the bounds the simulator holds it to.
inline constexpr int32_t DEFAULT_RATING = 1000;
inline constexpr int32_t RATING_MIN = 600;
inline constexpr int32_t RATING_MAX = 2200;

// A team's stamina, full at the start and restored by one point each day.
inline constexpr int32_t STAMINA_MIN = 0;
inline constexpr int32_t STAMINA_MAX = 100;
inline constexpr int32_t DAILY_STAMINA_RECOVERY = 1;

// The rank of a team that is on no ranking.
inline constexpr int64_t UNRANKED = 9999;

// The three region codes, in the order quotas and invitations use them.
inline constexpr const char *REGION_EU = "EU";
inline constexpr const char *REGION_AM = "AM";
inline constexpr const char *REGION_AS = "AS";
inline constexpr const char *REGION_CODES[] = { REGION_EU, REGION_AM, REGION_AS };
inline constexpr size_t REGION_COUNT = sizeof(REGION_CODES) / sizeof(REGION_CODES[0]);

} // namespace teamforge
