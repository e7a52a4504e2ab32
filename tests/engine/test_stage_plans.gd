extends TestCase
# The stage builders: every node's id, name, group, tag, links, best-of-five flag and match day, the
# round and group descriptors, and where the next stage may start.

const NODE_KEYS := ["id", "name", "group_name", "team_a", "team_b", "winner_to", "loser_to", "status",
		"is_bo5", "loser_tag", "date", "details", "heat", "winner", "loser", "score_a", "score_b",
		"vrs_delta_a", "vrs_delta_b"]
# Crosses a month end, so the dates must come from the calendar and not from text arithmetic.
const START := "2026-02-25"

var probe: TeamforgeTournamentProbe
var hooks: TeamforgeTestHooks


func before_each() -> void:
	probe = TeamforgeTournamentProbe.new()
	hooks = TeamforgeTestHooks.new()


func after_each() -> void:
	probe = null
	hooks = null


func _day(offset: int) -> String:
	return hooks.add_days(START, offset)


func _link(id: String, slot: String) -> Dictionary:
	return {"id": id, "slot": slot}


# Every node is fresh: pending, no teams, no result.
func _check_fresh(nodes: Array, what: String) -> void:
	for node in nodes:
		assert_keys(node, NODE_KEYS, "%s node keys" % what)
		assert_eq([node.status, node.team_a, node.team_b, node.winner, node.loser, node.details],
				["PENDING", {}, {}, {}, {}, []], "%s %s is fresh" % [what, node.id])


# Checks nodes against rows [id, name, loser_tag, winner_to, loser_to, is_bo5, day offset].
func _check_rows(nodes: Array, rows: Array, what: String) -> void:
	assert_eq(nodes.size(), rows.size(), "%s node count" % what)
	for i in mini(nodes.size(), rows.size()):
		var n: Dictionary = nodes[i]
		var r: Array = rows[i]
		assert_eq([n.id, n.name, n.group_name, n.loser_tag, n.winner_to, n.loser_to, n.is_bo5, n.date],
				[r[0], r[1], "Bo3", r[2], r[3], r[4], r[5], _day(r[6])], "%s node %d" % [what, i])


func _round(round_name: String, ids: Array) -> Dictionary:
	return {"name": round_name, "match_ids": ids}


func test_swiss_stage_of_sixteen_has_five_dated_rounds() -> void:
	var stage: Dictionary = probe.get_stage(probe.build_swiss("Stage 2", 16, 1000, START))
	assert_keys(stage, ["type", "name", "rounds", "nodes", "next_date", "records", "final_groups",
			"current_round", "is_playoff", "groups", "next_id"], "stage keys")
	assert_eq([stage.type, stage.name, stage.current_round, stage.is_playoff, stage.groups, stage.records,
			stage.final_groups, stage.next_id, stage.next_date],
			["SWISS", "Stage 2", 1, false, [], [], {}, 1033, _day(9)], "stage fields")
	var nodes: Array = stage.nodes
	_check_fresh(nodes, "swiss")
	# Round by round: groups with their sizes, then the day offset of each match in creation order.
	var table := [
		[["0-0", 8]], [0, 0, 0, 0, 1, 1, 1, 1],
		[["1-0", 4], ["0-1", 4]], [2, 2, 2, 2, 3, 3, 3, 3],
		[["2-0", 2], ["1-1", 4], ["0-2", 2]], [4, 4, 4, 4, 5, 5, 5, 5],
		[["2-1", 3], ["1-2", 3]], [6, 6, 6, 6, 7, 7],
		[["2-2", 3]], [8, 8, 8],
	]
	var number := 1000
	var expected_rounds := []
	for r in 5:
		var groups := []
		var offsets: Array = table[2 * r + 1]
		var k := 0
		for group in table[2 * r]:
			var ids := []
			for i in group[1]:
				var node: Dictionary = nodes[number - 1000]
				assert_eq([node.id, node.name, node.group_name, node.date, node.is_bo5, node.loser_tag,
						node.winner_to, node.loser_to],
						["m_%d" % number, "Round %d" % (r + 1), group[0], _day(offsets[k]), false, "",
						_link("", ""), _link("", "")], "swiss node m_%d" % number)
				ids.append("m_%d" % number)
				number += 1
				k += 1
			groups.append({"name": group[0], "match_ids": ids})
		expected_rounds.append({"name": "Round %d" % (r + 1), "groups": groups})
	assert_eq(nodes.size(), 33, "33 matches")
	assert_eq(stage.rounds, expected_rounds, "round descriptors")
	assert_keys(stage.rounds[2], ["name", "groups"], "round descriptor keys")
	assert_keys(stage.rounds[2].groups[1], ["name", "match_ids"], "group descriptor keys")


func test_swiss_stage_leaves_out_groups_without_matches() -> void:
	# Eight teams: a sixteenth is zero, so rounds four and five have no groups and no days.
	var stage: Dictionary = probe.get_stage(probe.build_swiss("Stage 1", 8, 7, START))
	assert_eq(stage.nodes.map(func(n): return [n.group_name, n.date]), [
			["0-0", _day(0)], ["0-0", _day(0)], ["0-0", _day(0)], ["0-0", _day(0)],
			["1-0", _day(1)], ["1-0", _day(1)], ["0-1", _day(1)], ["0-1", _day(1)],
			["2-0", _day(2)], ["1-1", _day(2)], ["1-1", _day(2)], ["0-2", _day(2)]], "groups and days")
	assert_eq(stage.rounds.map(func(r): return r.groups.size()), [1, 2, 3, 0, 0], "groups per round")
	assert_eq([stage.rounds[4].name, stage.next_id, stage.next_date, stage.nodes[11].id],
			["Round 5", 19, _day(3), "m_18"], "empty rounds keep their place")
	var none: Dictionary = probe.get_stage(probe.build_swiss("Stage 1", 0, 50, START))
	assert_eq([none.nodes, none.rounds.size(), none.next_id, none.next_date], [[], 5, 50, START],
			"no teams, no matches")


func test_sixteen_team_playoffs_link_winners_and_date_two_a_day() -> void:
	var stage: Dictionary = probe.get_stage(probe.build_single_elim("Playoffs", 16, true, 1000, START))
	assert_eq([stage.type, stage.name, stage.is_playoff, stage.groups, stage.records, stage.current_round,
			stage.next_id, stage.next_date], ["SINGLE_ELIM", "Playoffs", true, [], [], 1, 1015, _day(8)],
			"stage fields")
	_check_fresh(stage.nodes, "playoffs")
	var rows := []
	var rounds := [["Round of 16", 8, "9th-16th", 1000], ["Quarterfinals", 4, "5th-8th", 1008],
			["Semifinals", 2, "3rd-4th", 1012], ["Grand Final", 1, "2nd", 1014]]
	var day := 0
	for r in rounds.size():
		var round_info: Array = rounds[r]
		for k in round_info[1]:
			var to := _link("", "")
			if r < 3:
				to = _link("m_%d" % (rounds[r + 1][3] + k / 2), "team_a" if k % 2 == 0 else "team_b")
			rows.append(["m_%d" % (round_info[3] + k), round_info[0], round_info[2], to, _link("", ""),
					r == 3, day + k / 2])
		day += (round_info[1] + 1) / 2
	_check_rows(stage.nodes, rows, "16 teams")
	# The third Round-of-16 winner opens the second quarterfinal.
	assert_eq(stage.nodes[2].winner_to, _link("m_1009", "team_a"), "third winner")
	assert_eq(stage.rounds.map(func(r): return [r.name, r.groups]), [
			["Round of 16", [{"name": "Bo3", "match_ids": rows.slice(0, 8).map(func(x): return x[0])}]],
			["Quarterfinals", [{"name": "Bo3", "match_ids": ["m_1008", "m_1009", "m_1010", "m_1011"]}]],
			["Semifinals", [{"name": "Bo3", "match_ids": ["m_1012", "m_1013"]}]],
			["Grand Final", [{"name": "Bo5", "match_ids": ["m_1014"]}]]], "round descriptors")


func test_eight_and_six_team_playoffs() -> void:
	var eight: Dictionary = probe.get_stage(probe.build_single_elim("Playoffs", 8, false, 1033, START))
	_check_rows(eight.nodes, [
			["m_1033", "Quarterfinals", "5th-8th", _link("m_1037", "team_a"), _link("", ""), false, 0],
			["m_1034", "Quarterfinals", "5th-8th", _link("m_1037", "team_b"), _link("", ""), false, 0],
			["m_1035", "Quarterfinals", "5th-8th", _link("m_1038", "team_a"), _link("", ""), false, 1],
			["m_1036", "Quarterfinals", "5th-8th", _link("m_1038", "team_b"), _link("", ""), false, 1],
			["m_1037", "Semifinals", "3rd-4th", _link("m_1039", "team_a"), _link("", ""), false, 2],
			["m_1038", "Semifinals", "3rd-4th", _link("m_1039", "team_b"), _link("", ""), false, 2],
			["m_1039", "Grand Final", "2nd", _link("", ""), _link("", ""), false, 3]], "8 teams")
	assert_eq([eight.next_id, eight.next_date, eight.rounds[2].groups[0].name], [1040, _day(4), "Bo3"],
			"8 teams: next stage and a best-of-three final")

	var six: Dictionary = probe.get_stage(probe.build_single_elim("Playoffs", 6, true, 1024, START))
	# The quarterfinal winners meet the two byes, who hold side A of the semifinals.
	_check_rows(six.nodes, [
			["m_1024", "Quarterfinals", "5th-6th", _link("m_1026", "team_b"), _link("", ""), false, 0],
			["m_1025", "Quarterfinals", "5th-6th", _link("m_1027", "team_b"), _link("", ""), false, 0],
			["m_1026", "Semifinals", "3rd-4th", _link("m_1028", "team_a"), _link("", ""), false, 1],
			["m_1027", "Semifinals", "3rd-4th", _link("m_1028", "team_b"), _link("", ""), false, 1],
			["m_1028", "Grand Final", "2nd", _link("", ""), _link("", ""), true, 2]], "6 teams")
	assert_eq([six.next_id, six.next_date, six.rounds.size()], [1029, _day(3), 3], "6 teams: next stage")

	var odd: Dictionary = probe.get_stage(probe.build_single_elim("Playoffs", 7, false, 1000, START))
	assert_eq([odd.nodes, odd.rounds, odd.next_id, odd.next_date, odd.type],
			[[], [], 1000, START, "SINGLE_ELIM"], "an unsupported size builds an empty stage")


func test_blast_bracket_nodes_links_and_days() -> void:
	var stage: Dictionary = probe.get_stage(probe.build_blast("Blast Finals", true, 1000, START))
	assert_eq([stage.type, stage.name, stage.is_playoff, stage.rounds, stage.next_id, stage.next_date],
			["BLAST_BRACKET", "Blast Finals", true, [], 1014, _day(7)], "stage fields")
	_check_fresh(stage.nodes, "blast")
	var none := _link("", "")
	_check_rows(stage.nodes, [
			["m_1000", "Upper R1", "", _link("m_1004", "team_a"), _link("m_1007", "team_a"), false, 0],
			["m_1001", "Upper R1", "", _link("m_1004", "team_b"), _link("m_1007", "team_b"), false, 0],
			["m_1002", "Upper R1", "", _link("m_1005", "team_a"), _link("m_1008", "team_a"), false, 1],
			["m_1003", "Upper R1", "", _link("m_1005", "team_b"), _link("m_1008", "team_b"), false, 1],
			["m_1004", "Upper SF", "", _link("m_1006", "team_a"), _link("m_1010", "team_a"), false, 2],
			["m_1005", "Upper SF", "", _link("m_1006", "team_b"), _link("m_1009", "team_a"), false, 2],
			["m_1006", "Upper Final", "", _link("m_1013", "team_a"), _link("m_1012", "team_b"), false, 3],
			["m_1007", "Lower R1", "7th-8th", _link("m_1009", "team_b"), none, false, 3],
			["m_1008", "Lower R1", "7th-8th", _link("m_1010", "team_b"), none, false, 4],
			["m_1009", "Lower R2", "5th-6th", _link("m_1011", "team_a"), none, false, 4],
			["m_1010", "Lower R2", "5th-6th", _link("m_1011", "team_b"), none, false, 5],
			["m_1011", "Lower SF", "4th", _link("m_1012", "team_a"), none, false, 5],
			["m_1012", "Lower Final", "3rd", _link("m_1013", "team_b"), none, false, 6],
			["m_1013", "Grand Final", "2nd", none, none, true, 6]], "blast")
	assert_eq(stage.groups, [
			{"name": "Upper Bracket", "rounds": [_round("Opening round", ["m_1000", "m_1001", "m_1002", "m_1003"]),
					_round("Upper semi-finals", ["m_1004", "m_1005"]), _round("Upper final", ["m_1006"])]},
			{"name": "Lower Bracket", "rounds": [_round("Lower round 1", ["m_1007", "m_1008"]),
					_round("Lower semi-finals", ["m_1009", "m_1010"]), _round("Lower SF", ["m_1011"]),
					_round("Consolidation", ["m_1012"])]},
			{"name": "Grand Final", "rounds": [_round("Grand Final", ["m_1013"])]}], "section descriptors")
	assert_keys(stage.groups[0], ["name", "rounds"], "section keys")
	var plain: Dictionary = probe.get_stage(probe.build_blast("Blast Finals", false, 1, START))
	assert_eq(plain.nodes.map(func(n): return n.is_bo5).count(true), 0, "no best-of-five without the flag")


func test_group_stage_numbers_both_groups_on_and_plays_four_a_day() -> void:
	var stage: Dictionary = probe.get_stage(probe.build_groups(1000, START))
	assert_eq([stage.type, stage.name, stage.is_playoff, stage.rounds, stage.next_id, stage.next_date],
			["IEM_GROUPS", "Group Stage", false, [], 1024, _day(6)], "stage fields")
	_check_fresh(stage.nodes, "groups")
	var none := _link("", "")
	var rows := []
	var groups := []
	for g in 2:
		var p := "GrA" if g == 0 else "GrB"
		var b := 1000 + 12 * g
		var id := func(k: int) -> String: return "%s_%d" % [p, b + k]
		var d := 3 * g
		rows.append_array([
				[id.call(0), "Upper R1", "", _link(id.call(4), "team_a"), _link(id.call(7), "team_a"), false, d],
				[id.call(1), "Upper R1", "", _link(id.call(4), "team_b"), _link(id.call(7), "team_b"), false, d],
				[id.call(2), "Upper R1", "", _link(id.call(5), "team_a"), _link(id.call(8), "team_a"), false, d],
				[id.call(3), "Upper R1", "", _link(id.call(5), "team_b"), _link(id.call(8), "team_b"), false, d],
				[id.call(4), "Upper SF", "", _link(id.call(6), "team_a"), _link(id.call(10), "team_a"), false, d + 1],
				[id.call(5), "Upper SF", "", _link(id.call(6), "team_b"), _link(id.call(9), "team_a"), false, d + 1],
				[id.call(6), "Upper Final", "", none, none, false, d + 1],
				[id.call(7), "Lower R1", "13th-16th", _link(id.call(9), "team_b"), none, false, d + 1],
				[id.call(8), "Lower R1", "13th-16th", _link(id.call(10), "team_b"), none, false, d + 2],
				[id.call(9), "Lower R2", "9th-12th", _link(id.call(11), "team_a"), none, false, d + 2],
				[id.call(10), "Lower R2", "9th-12th", _link(id.call(11), "team_b"), none, false, d + 2],
				[id.call(11), "Lower Final", "7th-8th", none, none, false, d + 2]])
		groups.append({"name": "Group A" if g == 0 else "Group B",
				"upper_rounds": [_round("Opening round", [id.call(0), id.call(1), id.call(2), id.call(3)]),
						_round("Upper semi-finals", [id.call(4), id.call(5)]), _round("Upper final", [id.call(6)])],
				"lower_rounds": [_round("Lower round 1", [id.call(7), id.call(8)]),
						_round("Lower semi-finals", [id.call(9), id.call(10)]), _round("Lower final", [id.call(11)])]})
	_check_rows(stage.nodes, rows, "groups")
	assert_eq(stage.groups, groups, "group descriptors")
	assert_keys(stage.groups[1], ["name", "upper_rounds", "lower_rounds"], "group descriptor keys")
