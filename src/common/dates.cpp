#include "dates.h"

#include "common/integer_text.h"

#include <godot_cpp/variant/packed_string_array.hpp>

#include <cstdio>
#include <limits>

using namespace godot;

namespace teamforge {

namespace {

constexpr int64_t DAYS_PER_ERA = 146097;
// Day number of 0000-03-01 counted from 1970-01-01.
constexpr int64_t EPOCH_SHIFT = 719468;

int64_t floor_div(int64_t p_value, int64_t p_divisor) {
	const int64_t quotient = p_value / p_divisor;
	return (p_value % p_divisor != 0 && (p_value < 0) != (p_divisor < 0)) ? quotient - 1 : quotient;
}

// to_int reports an engine error once a value no longer fits 64 bits; a text with more digits is far
// outside every accepted range, so it is refused before conversion.
bool fits_to_int(const String &p_piece) {
	return scan_integer_text(p_piece).significant_digits <= MAX_SAFE_DIGITS;
}

// Days since 1970-01-01 in the proleptic Gregorian calendar; computational years start in
// March so the leap day falls at the end. Linear in p_day, so a day past the month's end
// simply counts on into the next month.
int64_t days_from_civil(int64_t p_year, int64_t p_month, int64_t p_day) {
	const int64_t year = p_month <= 2 ? p_year - 1 : p_year;
	const int64_t era = floor_div(year, 400);
	const int64_t year_of_era = year - era * 400;
	const int64_t month_from_march = (p_month + 9) % 12;
	const int64_t day_of_year = (153 * month_from_march + 2) / 5 + p_day - 1;
	const int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
	return era * DAYS_PER_ERA + day_of_era - EPOCH_SHIFT;
}

void civil_from_days(int64_t p_days, int64_t &r_year, int64_t &r_month, int64_t &r_day) {
	const int64_t shifted = p_days + EPOCH_SHIFT;
	const int64_t era = floor_div(shifted, DAYS_PER_ERA);
	const int64_t day_of_era = shifted - era * DAYS_PER_ERA;
	const int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
	const int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
	const int64_t month_from_march = (5 * day_of_year + 2) / 153;
	r_day = day_of_year - (153 * month_from_march + 2) / 5 + 1;
	r_month = month_from_march < 10 ? month_from_march + 3 : month_from_march - 9;
	r_year = year_of_era + era * 400 + (r_month <= 2 ? 1 : 0);
}

bool is_leap_year(int64_t p_year) {
	return (p_year % 4 == 0 && p_year % 100 != 0) || p_year % 400 == 0;
}

int64_t days_in_month(int64_t p_year, int64_t p_month) {
	static const int64_t lengths[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
	return p_month == 2 && is_leap_year(p_year) ? 29 : lengths[p_month - 1];
}

// The value of p_count ASCII digits from p_text, or -1 when one of them is no digit.
int64_t read_digits(const char *p_text, int p_count) {
	int64_t value = 0;
	for (int i = 0; i < p_count; ++i) {
		if (p_text[i] < '0' || p_text[i] > '9') {
			return -1;
		}
		value = value * 10 + (p_text[i] - '0');
	}
	return value;
}

} // namespace

String add_days(const String &p_date, int32_t p_days) {
	const PackedStringArray pieces = p_date.split("-", true);
	if (pieces.size() != 3) {
		return p_date;
	}
	for (int64_t i = 0; i < 3; ++i) {
		if (!fits_to_int(pieces[i])) {
			return p_date;
		}
	}

	const int64_t year = pieces[0].to_int();
	const int64_t month = pieces[1].to_int();
	const int64_t day = pieces[2].to_int();
	if (month < 1 || month > 12 || day < 1 || day > 31) {
		return p_date;
	}
	// A year outside 32 bits can never come back into range with a 32-bit day count
	// (2^31 days are under six million years), and bounding it keeps the day number small.
	if (year < std::numeric_limits<int32_t>::min() || year > std::numeric_limits<int32_t>::max()) {
		return p_date;
	}

	int64_t new_year = 0;
	int64_t new_month = 0;
	int64_t new_day = 0;
	civil_from_days(days_from_civil(year, month, day) + p_days, new_year, new_month, new_day);
	if (new_year < std::numeric_limits<int32_t>::min() || new_year > std::numeric_limits<int32_t>::max()) {
		return p_date;
	}

	char buffer[32];
	std::snprintf(buffer, sizeof(buffer), "%04d-%02u-%02u", static_cast<int>(new_year), static_cast<unsigned>(new_month),
			static_cast<unsigned>(new_day));
	return String(buffer);
}

int compare_dates(const String &p_a, const String &p_b) {
	const int64_t order = p_a.naturalnocasecmp_to(p_b);
	return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool is_calendar_date(const String &p_date) {
	constexpr int64_t DATE_LENGTH = 10;
	if (p_date.length() != DATE_LENGTH) {
		return false;
	}
	const CharString utf8 = p_date.utf8();
	if (utf8.length() != DATE_LENGTH) {
		return false;
	}
	const char *text = utf8.get_data();
	const int64_t year = read_digits(text, 4);
	const int64_t month = read_digits(text + 5, 2);
	const int64_t day = read_digits(text + 8, 2);
	if (text[4] != '-' || text[7] != '-' || year < 0 || month < 1 || month > 12 || day < 1) {
		return false;
	}
	return day <= days_in_month(year, month);
}

bool is_reachable_date(const String &p_date) {
	// Beyond nine digits a year would take longer than the calendar can count.
	constexpr int64_t MAX_PIECE_DIGITS = 9;
	const PackedStringArray pieces = p_date.split("-", true);
	if (pieces.size() != 3) {
		return false;
	}
	int64_t values[3] = { 0, 0, 0 };
	for (int64_t i = 0; i < 3; ++i) {
		const CharString digits = pieces[i].utf8();
		if (digits.length() == 0 || digits.length() > MAX_PIECE_DIGITS) {
			return false;
		}
		values[i] = read_digits(digits.get_data(), static_cast<int>(digits.length()));
		if (values[i] < 0) {
			return false;
		}
	}
	return values[1] >= 1 && values[1] <= 12 && values[2] >= 1 && values[2] <= 31;
}

} // namespace teamforge
