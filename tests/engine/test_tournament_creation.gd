extends TestCase
# TournamentManager.create_tournament: the catalog (prices, lead days, names and edition counters), the
# checks in their order with the case that just passes beside each, the complete stage plans with every
# node, and saving and loading a manager that holds every format.

const I32_MAX := 2147483647
const I64_MAX := 9223372036854775807
const I64_MIN := -I64_MAX - 1
const TIERS := ["HIGHEST", "TIER_S", "TIER_1", "TIER_2", "TIER_3", "TIER_OPEN"]
# Format -> prize per allowed tier.
const PRIZES := {
	"MAJOR": {"HIGHEST": 2000000},
	"IEM": {"HIGHEST": 1500000, "TIER_S": 1200000, "TIER_1": 900000},
	"EWC": {"HIGHEST": 1500000},
	"BLAST": {"HIGHEST": 1000000, "TIER_S": 800000, "TIER_1": 600000},
	"EPL": {"HIGHEST": 800000, "TIER_S": 640000, "TIER_1": 480000, "TIER_2": 320000, "TIER_3": 160000,
		"TIER_OPEN": 80000},
}
const SIZES := {"MAJOR": 32, "IEM": 16, "EWC": 16, "BLAST": 8, "EPL": 24}
const LEAD_DAYS := {"HIGHEST": 60, "TIER_S": 30, "TIER_1": 14, "TIER_2": 14, "TIER_3": 7, "TIER_OPEN": 3}
const REST_DAYS := {"HIGHEST": 7, "TIER_S": 3, "TIER_1": 3, "TIER_2": 3, "TIER_3": 3, "TIER_OPEN": 3}

# Swiss rounds of 16 teams: groups with their match counts, and each match's day after the start.
const SWISS_GROUPS := [[["0-0", 8]], [["1-0", 4], ["0-1", 4]], [["2-0", 2], ["1-1", 4], ["0-2", 2]],
		[["2-1", 3], ["1-2", 3]], [["2-2", 3]]]
const SWISS_DAYS := [[0, 0, 0, 0, 1, 1, 1, 1], [2, 2, 2, 2, 3, 3, 3, 3], [4, 4, 4, 4, 5, 5, 5, 5], [6, 6, 6, 6, 7, 7],
		[8, 8, 8]]
# Single elimination: [round, matches, loser tag, days] per bracket size, and the day after the last.
const BRACKETS := {
	16: [[["Round of 16", 8, "9th-16th", [0, 0, 1, 1, 2, 2, 3, 3]], ["Quarterfinals", 4, "5th-8th", [4, 4, 5, 5]],
		["Semifinals", 2, "3rd-4th", [6, 6]], ["Grand Final", 1, "2nd", [7]]], 8],
	8: [[["Quarterfinals", 4, "5th-8th", [0, 0, 1, 1]], ["Semifinals", 2, "3rd-4th", [2, 2]],
		["Grand Final", 1, "2nd", [3]]], 4],
	6: [[["Quarterfinals", 2, "5th-6th", [0, 0]], ["Semifinals", 2, "3rd-4th", [1, 1]], ["Grand Final", 1, "2nd", [2]]], 3],
}
# The double-elimination graph: label, name, loser tag in a BLAST bracket and in a group, winner and
# loser targets ([] for none). Group brackets have no LS and GF, and send M1, M2 on to LF.
const DOUBLE_ELIM := [
	["U1", "Upper R1", "", "", ["S1", "team_a"], ["L1", "team_a"]],
	["U2", "Upper R1", "", "", ["S1", "team_b"], ["L1", "team_b"]],
	["U3", "Upper R1", "", "", ["S2", "team_a"], ["L2", "team_a"]],
	["U4", "Upper R1", "", "", ["S2", "team_b"], ["L2", "team_b"]],
	["S1", "Upper SF", "", "", ["UF", "team_a"], ["M2", "team_a"]],
	["S2", "Upper SF", "", "", ["UF", "team_b"], ["M1", "team_a"]],
	["UF", "Upper Final", "", "", ["GF", "team_a"], ["LF", "team_b"]],
	["L1", "Lower R1", "7th-8th", "13th-16th", ["M1", "team_b"], []],
	["L2", "Lower R1", "7th-8th", "13th-16th", ["M2", "team_b"], []],
	["M1", "Lower R2", "5th-6th", "9th-12th", ["LS", "team_a"], []],
	["M2", "Lower R2", "5th-6th", "9th-12th", ["LS", "team_b"], []],
	["LS", "Lower SF", "4th", "", ["LF", "team_a"], []],
	["LF", "Lower Final", "3rd", "7th-8th", ["GF", "team_b"], []],
	["GF", "Grand Final", "2nd", "", [], []],
]
const GROUP_LINKS := {"M1": [["LF", "team_a"], []], "M2": [["LF", "team_b"], []], "UF": [[], []], "LF": [[], []]}

var tm: TournamentManager
var db: TeamDatabase


class WarningCatcher:
	extends Logger
	var warnings: Array[String] = []

	func _log_error(_function: String, _file: String, _line: int, code: String, rationale: String,
			_editor_notify: bool, error_type: int, _script_backtraces: Array[ScriptBacktrace]) -> void:
		if error_type == ERROR_TYPE_WARNING:
			warnings.append(rationale if rationale != "" else code)


func before_each() -> void:
	tm = autofree(TournamentManager.new())
	db = autofree(TeamDatabase.new())
	tm.set_team_database(db)


func after_each() -> void:
	tm = null
	db = null


static func _day(start: String, offset: int) -> String:
	var noon := Time.get_unix_time_from_datetime_string(start + "T12:00:00")
	return Time.get_date_string_from_unix_time(noon + offset * 86400)


static func _node(id: String, name: String, group: String, date: String, tag := "", win := [], lose := [],
		bo5 := false) -> Dictionary:
	return {"id": id, "name": name, "group_name": group, "team_a": {}, "team_b": {},
		"winner_to": {"id": win[0] if win else "", "slot": win[1] if win else ""},
		"loser_to": {"id": lose[0] if lose else "", "slot": lose[1] if lose else ""}, "status": "PENDING",
		"is_bo5": bo5, "loser_tag": tag, "date": date, "details": [], "heat": 0, "winner": {}, "loser": {},
		"score_a": 0, "score_b": 0, "vrs_delta_a": 0, "vrs_delta_b": 0}


static func _stage(type: String, name: String, nodes: Array, rounds: Array, groups: Array, next_date: String,
		next_id: int, playoff: bool) -> Dictionary:
	return {"type": type, "name": name, "rounds": rounds, "nodes": nodes, "next_date": next_date, "records": [],
		"final_groups": {}, "current_round": 1, "is_playoff": playoff, "groups": groups, "next_id": next_id}


static func _swiss(name: String, first: int, start: String) -> Dictionary:
	var nodes := []
	var rounds := []
	var number := first
	for r in 5:
		var groups := []
		var k := 0
		for group in SWISS_GROUPS[r]:
			var ids := []
			for i in group[1]:
				ids.append("m_%d" % number)
				nodes.append(_node(ids[-1], "Round %d" % (r + 1), group[0], _day(start, SWISS_DAYS[r][k])))
				number += 1
				k += 1
			groups.append({"name": group[0], "match_ids": ids})
		rounds.append({"name": "Round %d" % (r + 1), "groups": groups})
	return _stage("SWISS", name, nodes, rounds, [], _day(start, 9), number, false)


static func _single_elim(teams: int, bo5: bool, first: int, start: String) -> Dictionary:
	var bracket: Array = BRACKETS[teams][0]
	var ids := []
	var number := first
	for round in bracket:
		var round_ids := []
		for i in round[1]:
			round_ids.append("m_%d" % number)
			number += 1
		ids.append(round_ids)
	var nodes := []
	var rounds := []
	for r in bracket.size():
		var round: Array = bracket[r]
		for k in round[1]:
			var win := []
			if r + 1 < bracket.size():
				# The 6-team quarterfinal winners meet a seeded team waiting in the semifinal.
				var target: int = k if teams == 6 and r == 0 else k / 2
				var side := "team_b" if teams == 6 and r == 0 or k % 2 == 1 else "team_a"
				win = [ids[r + 1][target], side]
			var final := r + 1 == bracket.size()
			nodes.append(_node(ids[r][k], round[0], "Bo3", _day(start, round[3][k]), round[2], win, [], bo5 and final))
		var group_name := "Bo5" if bo5 and r + 1 == bracket.size() else "Bo3"
		rounds.append({"name": round[0], "groups": [{"name": group_name, "match_ids": ids[r]}]})
	return _stage("SINGLE_ELIM", "Playoffs", nodes, rounds, [], _day(start, BRACKETS[teams][1]), number, true)


# The nodes of one double-elimination bracket, dated from `days`; returns the next match number.
static func _double_elim(prefix: String, in_group: bool, bo5: bool, first: int, start: String, days: Array,
		r_nodes: Array, r_ids: Dictionary) -> int:
	var rows := DOUBLE_ELIM.filter(func(row): return not (in_group and row[0] in ["LS", "GF"]))
	for i in rows.size():
		r_ids[rows[i][0]] = "%s_%d" % [prefix, first + i]
	for i in rows.size():
		var row: Array = rows[i]
		var links: Array = GROUP_LINKS.get(row[0], [row[4], row[5]]) if in_group else [row[4], row[5]]
		var win: Array = [r_ids[links[0][0]], links[0][1]] if links[0] else []
		var lose: Array = [r_ids[links[1][0]], links[1][1]] if links[1] else []
		r_nodes.append(_node(r_ids[row[0]], row[1], "Bo3", _day(start, days[i]), row[3] if in_group else row[2],
				win, lose, bo5 and row[0] == "GF"))
	return first + rows.size()


static func _blast(bo5: bool, first: int, start: String) -> Dictionary:
	var nodes := []
	var ids := {}
	var next := _double_elim("m", false, bo5, first, start, range(14).map(func(i): return i / 2), nodes, ids)
	var rounds := func(pairs: Array) -> Array:
		return pairs.map(func(p): return {"name": p[0], "match_ids": p[1].map(func(label): return ids[label])})
	var groups := [
		{"name": "Upper Bracket", "rounds": rounds.call([["Opening round", ["U1", "U2", "U3", "U4"]],
			["Upper semi-finals", ["S1", "S2"]], ["Upper final", ["UF"]]])},
		{"name": "Lower Bracket", "rounds": rounds.call([["Lower round 1", ["L1", "L2"]],
			["Lower semi-finals", ["M1", "M2"]], ["Lower SF", ["LS"]], ["Consolidation", ["LF"]]])},
		{"name": "Grand Final", "rounds": rounds.call([["Grand Final", ["GF"]]])},
	]
	return _stage("BLAST_BRACKET", "Blast Finals", nodes, [], groups, _day(start, 7), next, true)


static func _groups(first: int, start: String) -> Dictionary:
	var nodes := []
	var groups := []
	var next := first
	for g in 2:
		var ids := {}
		next = _double_elim(["GrA", "GrB"][g], true, false, next, start, range(12).map(func(i): return 3 * g + i / 4),
				nodes, ids)
		var rounds := func(pairs: Array) -> Array:
			return pairs.map(func(p): return {"name": p[0], "match_ids": p[1].map(func(label): return ids[label])})
		groups.append({"name": ["Group A", "Group B"][g],
			"upper_rounds": rounds.call([["Opening round", ["U1", "U2", "U3", "U4"]], ["Upper semi-finals", ["S1", "S2"]],
				["Upper final", ["UF"]]]),
			"lower_rounds": rounds.call([["Lower round 1", ["L1", "L2"]], ["Lower semi-finals", ["M1", "M2"]],
				["Lower final", ["LF"]]])})
	return _stage("IEM_GROUPS", "Group Stage", nodes, [], groups, _day(start, 6), next, false)


func _create(format: String, tier: String, date: String, city := "") -> String:
	var ok := tm.create_tournament(format, tier, date, city)
	var error := tm.get_last_create_error()
	assert_eq(ok, error == "", "%s %s %s: the result agrees with the error %s" % [format, tier, date, error])
	return error


func _last(field: String):
	var list := tm.get_tournaments()
	return list[-1][field] if list else null


func _last_match_day(tournament: Dictionary) -> String:
	var last := ""
	for stage in tournament["stages"]:
		for node in stage["nodes"]:
			last = maxs(last, node["date"]) if last else node["date"]
	return last


static func maxs(a: String, b: String) -> String:
	return a if a > b else b


func test_every_allowed_format_and_tier_is_priced_named_and_dated() -> void:
	var created := watch_signals(tm, ["tournament_created"])
	var funds := 10000000 * 3
	tm.set_available_funds(funds)
	var year := 2026
	for format in PRIZES:
		for tier in TIERS:
			var allowed: bool = PRIZES[format].has(tier)
			year += 1
			var date := "%d-03-01" % year
			var error := _create(format, tier, date, " Lisbon ")
			if not allowed:
				assert_eq(error, "ERROR_TIER_NOT_ALLOWED_FOR_FORMAT", "%s %s" % [format, tier])
				continue
			funds -= PRIZES[format][tier]
			var t: Dictionary = tm.get_tournaments()[-1]
			var what := "%s %s" % [format, tier]
			assert_eq([t["status"], t["format_id"], t["tier_id"], t["prize"], t["size"], t["inv_date"], t["date"]],
					["PENDING", format, tier, PRIZES[format][tier], SIZES[format], date, date], what)
			assert_eq(t["start_date"], _day(date, LEAD_DAYS[tier]), "%s starts after its lead days" % what)
			assert_eq(t["city"], "Lisbon" if format in ["MAJOR", "IEM", "BLAST"] else "", "%s city" % what)
			assert_eq(t["major_slots"], tm.get_major_slots() if format == "MAJOR" else {}, "%s quotas" % what)
			assert_eq(tm.get_available_funds(), funds, "%s is paid for" % what)
			assert_eq([t["current_stage_idx"], t["rest"], t["total_heat"], t["participants"], t["placements"]],
					[0, 0, 0, [], []], "%s starts empty" % what)
	var ids := tm.get_tournaments().map(func(t): return t["id"])
	assert_eq(ids, range(1, 15), "ids count up from 1")
	assert_eq(created, ids.map(func(id): return ["tournament_created", id]), "one signal per tournament")
	assert_eq(tm.to_dict()["next_tournament_id"], 15)
	# A Major's quotas are a copy of the manager's, normalised when it is created.
	var major: Dictionary = tm.get_tournaments()[0]
	assert_eq(major["name"], "Lisbon Major 2027")
	tm.get_major_slots()["stage1"]["EU"] = 1
	assert_eq(tm.get_tournaments()[0]["major_slots"]["stage1"]["EU"], 6, "the Major keeps its own quotas")


func test_every_check_in_order_beside_the_case_that_just_passes() -> void:
	var catcher := WarningCatcher.new()
	OS.add_logger(catcher)
	var created := watch_signals(tm, ["tournament_created"])
	tm.set_available_funds(100000000)
	var cases := [
		# [format, tier, invitation, city, expected error]
		["NOPE", "TIER_9", "1990-01-01", "", "ERROR_INVALID_TOURNAMENT_FORMAT"],
		["major", "HIGHEST", "2026-05-01", "Rome", "ERROR_INVALID_TOURNAMENT_FORMAT"],
		["MAJOR", "TIER_S", "1990-01-01", "", "ERROR_TIER_NOT_ALLOWED_FOR_FORMAT"],
		["EPL", "tier_1", "2026-05-01", "", "ERROR_TIER_NOT_ALLOWED_FOR_FORMAT"],
		# Only real days written as the calendar writes them; checked before the date is compared.
		["MAJOR", "HIGHEST", "abc", "", "ERROR_INVALID_INVITATION_DATE"],
		["EPL", "TIER_OPEN", "9999-99-99", "", "ERROR_INVALID_INVITATION_DATE"],
		["EPL", "TIER_OPEN", "2026-13-45", "", "ERROR_INVALID_INVITATION_DATE"],
		["EPL", "TIER_OPEN", "2026-02-30", "", "ERROR_INVALID_INVITATION_DATE"],
		["EPL", "TIER_OPEN", "2026-03-01 junk", "", "ERROR_INVALID_INVITATION_DATE"],
		["EPL", "TIER_OPEN", "2026-3-01", "", "ERROR_INVALID_INVITATION_DATE"],
		["EPL", "TIER_OPEN", "02026-03-01", "", "ERROR_INVALID_INVITATION_DATE"],
		["EPL", "TIER_OPEN", "2100-02-29", "", "ERROR_INVALID_INVITATION_DATE"],
		["EPL", "TIER_OPEN", "2026-04-31", "", "ERROR_INVALID_INVITATION_DATE"],
		["EPL", "TIER_OPEN", "2000-02-29", "", "ERROR_INVITATION_DATE_AFTER_CURRENT_DATE"],
		["EPL", "TIER_OPEN", "2025-12-31", "", "ERROR_INVITATION_DATE_AFTER_CURRENT_DATE"],
		["EPL", "TIER_OPEN", "2026-01-01", "", "ERROR_INVITATION_DATE_AFTER_CURRENT_DATE"],
		["EPL", "TIER_OPEN", "2026-01-02", "", ""],
		["IEM", "TIER_1", "2026-03-01", " \t\n", "ERROR_HOST_CITY_REQUIRED"],
		["BLAST", "TIER_1", "2026-03-01", "", "ERROR_HOST_CITY_REQUIRED"],
		["EWC", "HIGHEST", "2026-03-01", "", ""],
		["IEM", "TIER_1", "2026-02-01", "Cologne", ""],
		["IEM", "HIGHEST", "2026-11-01", " cOLOGNE  ", "ERROR_DUPLICATE_CITY_FORMAT_YEAR"],
		["BLAST", "TIER_1", "2026-11-01", "Cologne", ""],
		["IEM", "TIER_1", "2027-02-01", "Cologne", ""],
		["EWC", "HIGHEST", "2026-12-31", "", "ERROR_EWC_YEAR_LIMIT"],
		["EWC", "HIGHEST", "2027-01-01", "", ""],
		["EPL", "TIER_OPEN", "2028-02-29", "", ""],
		["EPL", "TIER_OPEN", "9999-12-31", "", ""],
	]
	for c in cases:
		var before := tm.to_dict()
		var signals := created.size()
		var error := _create(c[0], c[1], c[2], c[3])
		assert_eq(error, c[4], "%s" % [c])
		if error != "":
			assert_eq(tm.to_dict(), before, "%s changes nothing" % [c])
			assert_eq(created.size(), signals, "%s announces nothing" % [c])
	# Majors: three a year, each invited after the previous one's last match day.
	assert_eq(_create("MAJOR", "HIGHEST", "2027-01-10", "A"), "")
	for city in ["B", "C"]:
		var last := _last_match_day(tm.get_tournaments()[-1])
		assert_eq(_create("MAJOR", "HIGHEST", last, city), "ERROR_MAJOR_INVITATION_AFTER_PREVIOUS_FINAL", "on %s" % last)
		assert_eq(_create("MAJOR", "HIGHEST", _day(last, 1), city), "", "the day after %s" % last)
	assert_eq(date_year(_last("inv_date")), "2027", "three Majors in 2027")
	assert_eq(_create("MAJOR", "HIGHEST", "2027-12-31", "D"), "ERROR_MAJOR_YEAR_LIMIT", "a fourth in 2027")
	assert_eq(_create("MAJOR", "HIGHEST", "2027-01-05", "D"), "ERROR_MAJOR_YEAR_LIMIT", "the limit comes first")
	assert_eq(_create("MAJOR", "HIGHEST", "2028-01-01", "D"), "", "2028, after the last Major")
	# Funds: one short of the pool fails, exactly the pool passes and leaves nothing.
	tm.set_available_funds(159999)
	assert_eq(_create("EPL", "TIER_3", "2030-01-01"), "ERROR_INSUFFICIENT_FUNDS")
	tm.set_available_funds(160000)
	assert_eq(_create("EPL", "TIER_3", "2030-01-01"), "")
	assert_eq(tm.get_available_funds(), 0)
	tm.set_team_database(null)
	assert_eq(_create("NOPE", "", ""), "ERROR_TEAM_DATABASE_REQUIRED", "no database comes first")
	OS.remove_logger(catcher)
	var codes := cases.map(func(c): return c[4]).filter(func(code): return code != "")
	codes.append_array(["ERROR_MAJOR_INVITATION_AFTER_PREVIOUS_FINAL", "ERROR_MAJOR_INVITATION_AFTER_PREVIOUS_FINAL",
		"ERROR_MAJOR_YEAR_LIMIT", "ERROR_MAJOR_YEAR_LIMIT", "ERROR_INSUFFICIENT_FUNDS", "ERROR_TEAM_DATABASE_REQUIRED"])
	assert_eq(catcher.warnings, codes, "each failure warns with its code alone")
	assert_eq(tm.get_last_create_error(), "ERROR_TEAM_DATABASE_REQUIRED")


static func date_year(date: String) -> String:
	return date.substr(0, 4)


func test_a_major_plans_four_stages_numbered_and_dated_on_from_each_other() -> void:
	assert_eq(_create("MAJOR", "HIGHEST", "2026-03-01", "  Lisbon "), "")
	var t: Dictionary = tm.get_tournaments()[0]
	assert_eq([t["name"], t["start_date"]], ["Lisbon Major 2026", "2026-04-30"])
	var d := "2026-04-30"
	# Each stage starts seven rest days after the previous stage's first free day.
	var expected := [_swiss("Stage 1", 1000, d), _swiss("Stage 2", 1033, _day(d, 16)), _swiss("Stage 3", 1066, _day(d, 32)),
		_single_elim(8, true, 1099, _day(d, 48))]
	var stages: Array = t["stages"]
	if not assert_eq(stages.size(), 4, "four stages"):
		return
	for i in 4:
		assert_keys(stages[i], expected[i].keys(), "stage %d keys" % i)
		for k in expected[i]["nodes"].size():
			assert_eq(stages[i]["nodes"][k], expected[i]["nodes"][k], "stage %d node %d" % [i, k])
		assert_eq(stages[i], expected[i], "stage %d" % i)
	# The figures as the schedule states them.
	var first: Dictionary = stages[0]
	assert_eq([first["nodes"][0]["id"], first["nodes"][32]["id"], first["next_id"], first["next_date"]],
			["m_1000", "m_1032", 1033, "2026-05-09"])
	assert_eq(first["nodes"].map(func(n): return n["date"]).count("2026-05-06"), 4, "four matches on D+6")
	var playoffs: Dictionary = stages[3]
	assert_eq([playoffs["nodes"][0]["date"], playoffs["nodes"][6]["date"], playoffs["next_date"], playoffs["next_id"]],
			["2026-06-17", "2026-06-20", "2026-06-21", 1106])
	assert_eq([playoffs["nodes"][6]["is_bo5"], playoffs["nodes"][6]["group_name"], playoffs["rounds"][2]["groups"][0]["name"]],
			[true, "Bo3", "Bo5"], "a best-of-five final, named so in its round")


func test_the_previous_major_is_the_first_latest_invited_before_and_ends_on_its_last_known_day() -> void:
	tm.set_available_funds(I64_MAX)
	db.set_current_date("")
	var major := func(id: int, inv: String, start: String, dates: Array) -> Dictionary:
		return {"id": id, "format_id": "MAJOR", "city": "C%d" % id, "inv_date": inv, "start_date": start,
			"stages": [{"nodes": dates.map(func(d): return {"date": d})}, {}]}
	var early: Dictionary = major.call(1, "2027-01-10", "", ["2027-03-01"])
	var late: Dictionary = major.call(2, "2027-01-10", "", ["2027-06-01"])
	var unordered: Dictionary = major.call(3, "2027-01-10", "", ["2027-9-30", "", "2027-09-29"])
	var too := "ERROR_MAJOR_INVITATION_AFTER_PREVIOUS_FINAL"
	var cases := [
		# [Majors that exist, the new invitation date, the error]
		[[early, late], "2027-03-02", "", "of two invited the same day, the first listed"],
		[[late, early], "2027-03-02", too, "of two invited the same day, the first listed"],
		[[late, major.call(4, "2027-02-01", "", ["2027-02-20"])], "2027-03-02", "", "the latest invited"],
		[[late], "2027-01-10", "", "one invited the same day is not before"],
		[[unordered], "2027-09-30", too, "the latest day by value, undated nodes passed over"],
		[[unordered], "2027-10-01", "", "the day after the latest"],
		[[major.call(5, "2027-01-10", "2027-05-05", [""])], "2027-05-05", too, "no dated node: the start date"],
		# With nothing dated the last day is "0000-00-00", which no real day reaches.
		[[major.call(6, "", "", [])], "0000-00-00", "ERROR_INVALID_INVITATION_DATE", "nothing dated at all"],
		[[major.call(6, "", "", [])], "0000-01-01", "", "nothing dated at all"],
	]
	for c in cases:
		tm.set_tournaments(c[0])
		assert_eq(_create("MAJOR", "HIGHEST", c[1], "New"), c[2], "%s, then one invited %s" % [c[3], c[1]])


func test_every_other_format_plans_its_stages() -> void:
	tm.set_available_funds(I64_MAX)
	var plans := [
		["EPL", "TIER_3", func(d): return [_swiss("Stage 1", 1000, d), _swiss("Stage 2", 1033, _day(d, 12)),
			_single_elim(8, false, 1066, _day(d, 24))]],
		["IEM", "HIGHEST", func(d): return [_groups(1000, d), _single_elim(6, true, 1024, _day(d, 13))]],
		["IEM", "TIER_1", func(d): return [_groups(1000, d), _single_elim(6, false, 1024, _day(d, 9))]],
		["EWC", "HIGHEST", func(d): return [_single_elim(16, true, 1000, d)]],
		["BLAST", "HIGHEST", func(d): return [_blast(true, 1000, d)]],
		["BLAST", "TIER_S", func(d): return [_blast(false, 1000, d)]],
	]
	var year := 2026
	for plan in plans:
		year += 1
		if not assert_eq(_create(plan[0], plan[1], "%d-06-01" % year, "Oslo"), "", "%s %s" % [plan[0], plan[1]]):
			continue
		var t: Dictionary = tm.get_tournaments()[-1]
		var expected: Array = plan[2].call(t["start_date"])
		assert_eq(t["stages"].size(), expected.size(), "%s %s stages" % [plan[0], plan[1]])
		for i in mini(t["stages"].size(), expected.size()):
			assert_eq(t["stages"][i], expected[i], "%s %s stage %d" % [plan[0], plan[1], i])
	# Spot checks in the documents' own words.
	var list := tm.get_tournaments()
	var ewc: Array = list[3]["stages"][0]["nodes"]
	assert_eq([ewc[2]["winner_to"], ewc[3]["winner_to"]], [{"id": "m_1009", "slot": "team_a"},
		{"id": "m_1009", "slot": "team_b"}], "third and fourth round-of-16 winners meet in the second quarterfinal")
	var groups: Array = list[1]["stages"][0]["nodes"]
	assert_eq([groups[0]["id"], groups[11]["id"], groups[12]["id"], groups[23]["id"], list[1]["stages"][0]["next_id"]],
			["GrA_1000", "GrA_1011", "GrB_1012", "GrB_1023", 1024])
	var blast: Array = list[4]["stages"][0]["nodes"]
	assert_eq([blast[0]["id"], blast[13]["id"], blast[13]["is_bo5"], list[5]["stages"][0]["nodes"][13]["is_bo5"]],
			["m_1000", "m_1013", true, false], "the grand final is best of five only at the highest tier")


func test_names_and_edition_counters() -> void:
	tm.set_available_funds(I64_MAX)
	var cases := [
		["EPL", "TIER_2", "2026-02-01", "", "ESL WILD 1"],
		["EPL", "TIER_2", "2026-02-01", "", "ESL WILD 2"],
		["EPL", "HIGHEST", "2026-02-01", "x", "ESL PRO LEAGUE 1"],
		["EPL", "TIER_S", "2026-02-01", "", "ESL HIGH 1"],
		["EPL", "TIER_1", "2026-02-01", "", "ESL POWER 1"],
		["EPL", "TIER_3", "2026-02-01", "", "ECL PRO 1"],
		["EPL", "TIER_OPEN", "2026-02-01", "", "ECL OPEN 1"],
		["EWC", "HIGHEST", "2026-07-01", "Riyadh", "Esports World Cup 1"],
		["EWC", "HIGHEST", "2027-07-01", "", "Esports World Cup 2"],
		["IEM", "TIER_S", "2026-02-01", "  Katowice\t", "Intel Extreme Masters Katowice 2026"],
		["BLAST", "HIGHEST", "2026-02-01", "Lisbon", "BLAST Grand Final Lisbon 2026"],
		["BLAST", "TIER_S", "2027-02-01", "Lisbon", "BLAST Rivals Lisbon 2027"],
		["BLAST", "TIER_1", "2028-02-01", "Lisbon", "BLAST Open Lisbon 2028"],
		["MAJOR", "HIGHEST", "2031-11-30", " São Paulo ", "São Paulo Major 2031"],
		# A text that is no day of the calendar is refused before anything is named.
		["IEM", "TIER_1", "zz", "Oslo", "ERROR_INVALID_INVITATION_DATE"],
		["MAJOR", "HIGHEST", "abc", "Oslo", "ERROR_INVALID_INVITATION_DATE"],
	]
	for c in cases:
		var refused: bool = c[4].begins_with("ERROR_")
		if assert_eq(_create(c[0], c[1], c[2], c[3]), c[4] if refused else "", "%s" % [c]) and not refused:
			assert_eq(_last("name"), c[4])
	assert_eq(tm.to_dict()["epl_counters"], {"HIGHEST": 2, "TIER_S": 2, "TIER_1": 2, "TIER_2": 3, "TIER_3": 2,
		"TIER_OPEN": 2, "EWC": 3}, "the next number per key, in the saved order")
	assert_eq(_create("EWC", "HIGHEST", "2027-08-01"), "ERROR_EWC_YEAR_LIMIT")
	assert_eq(tm.to_dict()["epl_counters"]["EWC"], 3, "a refused creation takes no number")
	# A save without counters counts from 1 again; a saved counter goes on from its value.
	var saved := tm.to_dict()
	saved.erase("epl_counters")
	tm.from_dict(saved)
	assert_eq([_create("EWC", "HIGHEST", "2029-07-01"), _last("name")], ["", "Esports World Cup 1"])
	assert_eq(tm.to_dict()["epl_counters"], {"EWC": 2}, "only the key used is added")
	tm.from_dict({"epl_counters": {"TIER_2": 41.0, "TIER_3": "7", "TIER_1": I64_MAX}})
	for c in [["TIER_2", "ESL WILD 41"], ["TIER_3", "ECL PRO 7"], ["TIER_1", "ESL POWER %d" % I64_MAX]]:
		assert_eq([_create("EPL", c[0], "2026-05-05"), _last("name")], ["", c[1]])
	assert_eq(tm.to_dict()["epl_counters"], {"TIER_2": 42, "TIER_3": 8, "TIER_1": I64_MAX}, "held at the top")
	# Counters a script froze or typed are replaced, not written through.
	var frozen: Dictionary = tm.to_dict()["epl_counters"]
	frozen.make_read_only()
	var typed: Dictionary[String, String] = {"TIER_2": "5"}
	for counters in [frozen, typed]:
		tm.from_dict({"epl_counters": counters})
		assert_eq([_create("EPL", "TIER_2", "2026-05-05"), _last("name")], ["", "ESL WILD %s" % counters["TIER_2"]])
	assert_eq([typed, frozen["TIER_2"]], [{"TIER_2": "5"}, 42], "the script's dictionaries are untouched")
	var int_keys: Dictionary[int, int] = {3: 4}
	tm.from_dict({"epl_counters": int_keys})
	assert_eq([_create("EPL", "TIER_2", "2026-05-05"), _last("name"), tm.to_dict()["epl_counters"]],
			["", "ESL WILD 1", {3: 4, "TIER_2": 2}], "counters whose keys a script typed as numbers")


func test_a_manager_holding_every_format_saves_and_loads_unchanged() -> void:
	tm.set_available_funds(I64_MAX)
	var year := 2026
	for format in PRIZES:
		for tier in PRIZES[format]:
			year += 1
			_create(format, tier, "%d-04-01" % year, "City %d" % year)
	tm.set_major_slots({"stage2": {"AS": 3}})
	var saved := tm.to_dict()
	assert_eq(saved["tournaments"].size(), 14)
	for copy_of in [saved, str_to_var(var_to_str(saved))]:
		var copy: TournamentManager = autofree(TournamentManager.new())
		copy.from_dict(copy_of)
		assert_eq(copy.to_dict(), saved, "save, load, save")
		assert_eq(copy.get_tournaments(), tm.get_tournaments())
	# The loaded manager creates on with the next id and number.
	var loaded: TournamentManager = autofree(TournamentManager.new())
	loaded.set_team_database(db)
	loaded.from_dict(saved)
	assert_true(loaded.create_tournament("EPL", "TIER_OPEN", "2050-01-01"))
	assert_eq([loaded.get_tournaments()[-1]["id"], loaded.get_tournaments()[-1]["name"]], [15, "ECL OPEN 2"])


func test_absurd_requests_and_states_never_break_creation() -> void:
	var huge := "9".repeat(100000)
	tm.set_available_funds(I64_MIN)
	assert_eq(_create("EPL", "TIER_OPEN", "2026-01-02"), "ERROR_INSUFFICIENT_FUNDS", "funds at the bottom")
	tm.set_available_funds(I64_MAX)
	# Texts that are no dates are compared as text and left as they are by the calendar.
	for date in ["zzzz", "2026-02-30", "9999-12-31", huge, "2026-13-01", "２０２６-05-01"]:
		var error := _create("BLAST", "TIER_1", date, "Oslo " + str(date.length()) + date.substr(0, 12))
		if error == "":
			var t: Dictionary = tm.get_tournaments()[-1]
			assert_eq(t["inv_date"], date, "stored as given")
			assert_eq(t["stages"][0]["nodes"].size(), 14, "a full plan even for %s" % date.substr(0, 12))
	db.set_current_date("")
	assert_eq(_create("EPL", "TIER_OPEN", "2026-03-01", huge), "", "an empty calendar date is before any date")
	tm.from_dict({"next_tournament_id": I32_MAX, "epl_counters": {"TIER_OPEN": I64_MAX}})
	tm.set_available_funds(10000000)
	assert_eq([_create("EPL", "TIER_OPEN", "2026-03-01"), _create("EPL", "TIER_OPEN", "2026-03-01")], ["", ""])
	assert_eq(tm.get_tournaments().map(func(t): return t["id"]), [I32_MAX, I32_MAX], "ids held at the top")
	assert_eq(tm.get_available_funds(), 10000000 - 160000, "each one paid")
	# A handler that creates again, replaces the state or drops the database.
	var handlers := {
		"creates again": [func(_id): tm.create_tournament("EPL", "TIER_3", "2026-04-01"), 2],
		"replaces the state": [func(_id): tm.from_dict({}), 0],
		"drops the database": [func(_id): tm.set_team_database(null), 1],
	}
	for what in handlers:
		tm.from_dict({})
		tm.set_team_database(db)
		tm.tournament_created.connect(handlers[what][0], CONNECT_ONE_SHOT)
		assert_true(tm.create_tournament("EPL", "TIER_2", "2026-04-01"), what)
		assert_eq(tm.get_tournaments().size(), handlers[what][1], "a handler that %s" % what)
