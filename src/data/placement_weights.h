#pragma once

// Weight of each placement label: it ranks the labels (higher is better) and sets each placement's
// share of the prize pool. Labels outside the table weigh nothing.

#include <cstddef>

namespace teamforge {

struct PlacementWeight {
	const char *label;
	double weight;
};

constexpr PlacementWeight PLACEMENT_WEIGHTS[] = {
	{ "1st", 5000.0 },
	{ "2nd", 2000.0 },
	{ "3rd", 1000.0 },
	{ "3rd-4th", 900.0 },
	{ "4th", 800.0 },
	{ "5th-6th", 400.0 },
	{ "5th-8th", 350.0 },
	{ "7th-8th", 300.0 },
	{ "9th-11th", 150.0 },
	{ "9th-12th", 100.0 },
	{ "12th-14th", 100.0 },
	{ "15th-16th", 75.0 },
	{ "9th-16th", 70.0 },
	{ "17th-19th", 50.0 },
	{ "13th-16th", 40.0 },
	{ "20th-22nd", 35.0 },
	{ "17th-24th", 30.0 },
	{ "23rd-24th", 25.0 },
	{ "25th-27th", 15.0 },
	{ "28th-30th", 10.0 },
	{ "31st-32nd", 3.5 },
};

constexpr size_t PLACEMENT_WEIGHT_COUNT = sizeof(PLACEMENT_WEIGHTS) / sizeof(PLACEMENT_WEIGHTS[0]);

// Two weights this close rank equal.
constexpr double PLACEMENT_WEIGHT_TOLERANCE = 0.001;

} // namespace teamforge
