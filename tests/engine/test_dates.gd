extends TestCase
# Calendar arithmetic and date ordering, reached through the test-build hooks.

const INT32_MAX := 2147483647
const INT32_MIN := -2147483648

var hooks: TeamforgeTestHooks


func before_each() -> void:
	hooks = TeamforgeTestHooks.new()


func after_each() -> void:
	hooks = null


func _is_leap(year: int) -> bool:
	return (year % 4 == 0 and year % 100 != 0) or year % 400 == 0


func _month_length(year: int, month: int) -> int:
	if month == 2:
		return 29 if _is_leap(year) else 28
	if month in [4, 6, 9, 11]:
		return 30
	return 31


func _fmt(year: int, month: int, day: int) -> String:
	return "%04d-%02d-%02d" % [year, month, day]


func _expect_add(date: String, days: int, expected: String) -> void:
	assert_eq(hooks.add_days(date, days), expected, "add_days(\"%s\", %d)" % [date, days])


func test_year_and_month_boundaries() -> void:
	_expect_add("2026-12-31", 1, "2027-01-01")
	_expect_add("2026-01-31", 1, "2026-02-01")
	_expect_add("2026-06-30", 1, "2026-07-01")
	_expect_add("2027-01-01", -1, "2026-12-31")
	_expect_add("2026-01-01", 0, "2026-01-01")


func test_leap_year_rules() -> void:
	_expect_add("2028-02-28", 1, "2028-02-29")
	_expect_add("2028-02-29", 1, "2028-03-01")
	_expect_add("2026-02-28", 1, "2026-03-01")
	# Centuries are common years unless divisible by 400.
	_expect_add("2100-02-28", 1, "2100-03-01")
	_expect_add("1900-02-28", 1, "1900-03-01")
	_expect_add("2000-02-28", 1, "2000-02-29")
	_expect_add("2400-02-28", 1, "2400-02-29")
	_expect_add("2026-03-01", -1, "2026-02-28")
	_expect_add("2024-03-01", -1, "2024-02-29")
	_expect_add("0000-03-01", -1, "0000-02-29")


func test_day_beyond_month_end_counts_on() -> void:
	_expect_add("2026-04-31", 1, "2026-05-02")
	_expect_add("2026-04-31", 0, "2026-05-01")
	_expect_add("2026-02-30", 0, "2026-03-02")
	_expect_add("2024-02-31", 0, "2024-03-02")
	_expect_add("2026-02-31", -1, "2026-03-02")


func test_result_is_zero_padded() -> void:
	_expect_add("2026-1-5", 1, "2026-01-06")
	_expect_add("2026-1-5", 0, "2026-01-05")
	_expect_add("26-1-5", 0, "0026-01-05")
	_expect_add("0-1-1", 0, "0000-01-01")
	_expect_add("9999-12-31", 1, "10000-01-01")


func test_negative_day_counts() -> void:
	_expect_add("2026-01-01", -1, "2025-12-31")
	_expect_add("2026-01-01", -365, "2025-01-01")
	_expect_add("2024-12-31", -366, "2023-12-31")
	_expect_add("2400-01-01", -146097, "2000-01-01")
	# Below year 0 the result carries a minus sign (such a text does not parse back).
	var before_zero: String = hooks.add_days("0001-01-01", -367)
	assert_true(before_zero.begins_with("-") and before_zero.ends_with("-12-31"),
			"a day before year 0 is the last day of year -1, got \"%s\"" % before_zero)


func test_long_spans() -> void:
	_expect_add("2000-01-01", 146097, "2400-01-01")
	_expect_add("1970-01-01", 20454, "2026-01-01")
	_expect_add("2026-01-01", -20454, "1970-01-01")


func test_walk_day_by_day_matches_calendar() -> void:
	# Two centuries one day at a time, checked against a plain month-length count,
	# plus jumps of many days from the start.
	var year := 1899
	var month := 12
	var day := 1
	var date := _fmt(year, month, day)
	var start := date
	var steps := 0
	var mismatches := 0
	while year < 2101:
		var next_date: String = hooks.add_days(date, 1)
		day += 1
		if day > _month_length(year, month):
			day = 1
			month += 1
			if month > 12:
				month = 1
				year += 1
		date = _fmt(year, month, day)
		steps += 1
		if next_date != date:
			mismatches += 1
			if mismatches <= 3:
				fail("step %d: expected %s, got %s" % [steps, date, next_date])
		if steps % 7919 == 0:
			assert_eq(hooks.add_days(start, steps), date, "jump of %d days" % steps)
			assert_eq(hooks.add_days(date, -steps), start, "jump back of %d days" % steps)
	assert_eq(mismatches, 0, "day-by-day mismatches")
	assert_eq(hooks.add_days(start, steps), date, "one jump over the whole walk")


func test_malformed_dates_come_back_unchanged() -> void:
	for bad in ["2026-13-01", "2026-00-10", "2026-01-00", "2026-01-32", "2026/01/01", "", "a-b-c",
			"2026-01", "2026-01-01-01", "2026--01", "-2026-01-01", "2026-01-", "--"]:
		assert_eq(hooks.add_days(bad, 1), bad, "malformed \"%s\" plus 1" % bad)
		assert_eq(hooks.add_days(bad, -40), bad, "malformed \"%s\" minus 40" % bad)


func _expect_unchanged_or(date: String, days: int, correct: String) -> void:
	var got: String = hooks.add_days(date, days)
	assert_true(got == date or got == correct,
			"add_days(\"%s\", %d): expected \"%s\" or the input, got \"%s\"" % [date, days, correct, got])


func test_extreme_inputs_give_a_correct_date_or_the_input() -> void:
	_expect_unchanged_or("2026-01-01", INT32_MAX, "5881636-07-11")
	_expect_unchanged_or("2026-01-01", INT32_MIN, "-5877585-06-23")
	_expect_unchanged_or("2026-01-01", INT32_MIN + 1, "-5877585-06-24")
	_expect_unchanged_or("999999999999-01-01", 1, "999999999999-01-02")
	_expect_unchanged_or("999999999999-12-31", 1, "1000000000000-01-01")
	_expect_unchanged_or("2147483647-12-31", 1, "2147483648-01-01")
	_expect_unchanged_or("9000000000000000000-01-01", 1, "9000000000000000000-01-02")
	_expect_unchanged_or("9000000000000000000-01-01", INT32_MAX, "9000000000005879610-07-11")
	# Pieces too long for a 64-bit integer are refused without an engine error from the conversion.
	for huge in ["99999999999999999999-01-01", "2026-01-99999999999999999999", "2026-99999999999999999999-01"]:
		assert_eq(hooks.add_days(huge, 1), huge, "too long to read: \"%s\"" % huge)
	_expect_add("2026-000000000000000000001-01", 1, "2026-01-02")
	# Every year that fits 32 bits must still work.
	_expect_add("2000000000-06-15", 1, "2000000000-06-16")


func test_compare_dates_uses_natural_order() -> void:
	assert_true(hooks.compare_dates("2026-2-1", "2026-10-01") < 0, "2026-2-1 before 2026-10-01")
	assert_true(hooks.compare_dates("2026-10-01", "2026-2-1") > 0, "2026-10-01 after 2026-2-1")
	assert_true(hooks.compare_dates("2026-02-09", "2026-02-10") < 0, "2026-02-09 before 2026-02-10")
	assert_true(hooks.compare_dates("2025-12-31", "2026-01-01") < 0, "2025-12-31 before 2026-01-01")
	assert_true(hooks.compare_dates("10000-01-01", "9999-12-31") > 0, "year 10000 after 9999")
	assert_eq(hooks.compare_dates("2026-01-01", "2026-01-01"), 0, "equal dates")
	assert_eq(hooks.compare_dates("2026-01-01x", "2026-01-01X"), 0, "letters compare without case")
	for pair in [["2026-01-01", "2026-1-1"], ["", "2026-01-01"], ["abc", "ABD"], ["2026-01-02", "2026-01-01"]]:
		var expected: int = signi(pair[0].naturalnocasecmp_to(pair[1]))
		assert_eq(signi(hooks.compare_dates(pair[0], pair[1])), expected, "compare %s" % [pair])


func test_add_days_agrees_with_date_order() -> void:
	var date := "2027-12-25"
	for i in 20:
		var later: String = hooks.add_days(date, 1 + i * 3)
		assert_true(hooks.compare_dates(date, later) < 0, "%s before %s" % [date, later])
		date = later
