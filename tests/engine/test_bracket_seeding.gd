extends TestCase
# Seeding of the single-elimination, double-elimination and group brackets, teams moving through
# their links, and the six qualifiers of the group stage.

var probe: TeamforgeTournamentProbe


func before_each() -> void:
	probe = TeamforgeTournamentProbe.new()


func after_each() -> void:
	probe = null


# Entries named by seed: "s1", "s2", ...
func _entries(count: int) -> Array:
	var entries := []
	for i in count:
		entries.append({"id": "s%d" % (i + 1), "name": "Seed %d" % (i + 1), "seed": i + 1})
	return entries


func _ids(node: Dictionary) -> Array:
	return [node.team_a.get("id", ""), node.team_b.get("id", "")]


func _sides(index: int, from: int, to: int) -> Array:
	return probe.get_stage(index).nodes.slice(from, to).map(_ids)


func _node(index: int, node_id: String) -> Dictionary:
	for node in probe.get_stage(index).nodes:
		if node.id == node_id:
			return node
	return {}


func _seed_of(entry: Dictionary) -> int:
	return entry.get("seed", 99)


# Plays every node with both sides, in node order, until none is left; the better seed wins unless
# `upsets` names the node.
func _play_all(index: int, upsets := []) -> void:
	for guard in 30:
		var played := false
		for node in probe.get_stage(index).nodes:
			if node.status != "PENDING" or node.team_a.is_empty() or node.team_b.is_empty():
				continue
			var a_wins: bool = (_seed_of(node.team_a) < _seed_of(node.team_b)) != (node.id in upsets)
			probe.score_node(index, node.id, 2 if a_wins else 0, 0 if a_wins else 2)
			played = true
		if not played:
			return


func test_single_elimination_seeding_by_stage_and_pool_size() -> void:
	var sixteen := probe.build_single_elim("Playoffs", 16, false, 1000, "2026-05-01")
	probe.seed_stage(sixteen, _entries(20), true)
	var expected := []
	for k in 15:
		expected.append(["s%d" % (2 * k + 1), "s%d" % (2 * k + 2)] if k < 8 else ["", ""])
	assert_eq(_sides(sixteen, 0, 15), expected, "neighbours meet; a longer list is cut")

	# A short first stage seats its last team alone instead of dropping it.
	var short := probe.build_single_elim("Playoffs", 16, false, 2000, "2026-05-01")
	probe.seed_stage(short, _entries(15), true)
	assert_eq(_sides(short, 6, 8), [["s13", "s14"], ["s15", ""]], "a lone last team")

	var later_eight := probe.build_single_elim("Playoffs", 8, false, 3000, "2026-05-01")
	probe.seed_stage(later_eight, _entries(8), false)
	assert_eq(_sides(later_eight, 0, 7), [["s1", "s2"], ["s3", "s4"], ["s5", "s6"], ["s7", "s8"],
			["", ""], ["", ""], ["", ""]], "later stage of eight")
	var later_seven := probe.build_single_elim("Playoffs", 8, false, 4000, "2026-05-01")
	probe.seed_stage(later_seven, _entries(7), false)
	assert_eq(_sides(later_seven, 0, 7).filter(func(s): return s != ["", ""]), [], "a later pool of seven is not seeded")
	var later_sixteen := probe.build_single_elim("Playoffs", 16, false, 5000, "2026-05-01")
	probe.seed_stage(later_sixteen, _entries(16), false)
	assert_eq(_sides(later_sixteen, 7, 9), [["s15", "s16"], ["", ""]], "later stage of sixteen")


func test_six_team_playoffs_seat_two_byes_and_play_through() -> void:
	var six := probe.build_single_elim("Playoffs", 6, true, 1024, "2026-05-01")
	probe.seed_stage(six, _entries(6), false)
	assert_eq(_sides(six, 0, 5), [["s1", "s2"], ["s3", "s4"], ["s5", ""], ["s6", ""], ["", ""]], "byes wait")
	_play_all(six, ["m_1024"])
	# s2 upsets s1 and meets s5; s3 meets s6; the final is best of five.
	assert_eq(_sides(six, 2, 5), [["s5", "s2"], ["s6", "s3"], ["s2", "s3"]], "winners fill side B")
	var final := _node(six, "m_1028")
	assert_eq([final.status, final.winner.id, final.loser.id, final.is_bo5, final.loser_tag],
			["PLAYED", "s2", "s3", true, "2nd"], "the final")
	var other := probe.build_single_elim("Playoffs", 6, false, 1, "2026-05-01")
	probe.seed_stage(other, _entries(5), false)
	assert_eq(_sides(other, 0, 5).filter(func(s): return s != ["", ""]), [], "five teams seed nothing")


func test_blast_bracket_seeding_and_lower_bracket_crossover() -> void:
	var blast := probe.build_blast("Blast Finals", false, 1000, "2026-05-01")
	probe.seed_stage(blast, _entries(12), true)
	assert_eq(_sides(blast, 0, 5), [["s1", "s8"], ["s4", "s5"], ["s2", "s7"], ["s3", "s6"], ["", ""]],
			"seeds 1 and 2 on opposite halves")
	# s8 upsets s1 in U1; s1 wins L1 and meets the loser of S2 (s3) in M1.
	_play_all(blast, ["m_1000"])
	assert_eq([_ids(_node(blast, "m_1007")), _ids(_node(blast, "m_1009")), _ids(_node(blast, "m_1010"))],
			[["s1", "s5"], ["s3", "s1"], ["s8", "s6"]], "losers of the upper semifinals cross over")
	var grand_final := _node(blast, "m_1013")
	assert_eq([grand_final.status, _ids(grand_final), grand_final.winner.id], ["PLAYED", ["s2", "s1"], "s1"],
			"the lower bracket's winner reaches the grand final")

	var short := probe.build_blast("Blast Finals", false, 2000, "2026-05-01")
	probe.seed_stage(short, _entries(7), true)
	assert_eq(_sides(short, 0, 4), [["s1", ""], ["s4", "s5"], ["s2", "s7"], ["s3", "s6"]],
			"a short field is seated as far as it goes")
	var broken: Dictionary = probe.get_stage(short)
	broken.nodes = broken.nodes.slice(1)
	probe.set_stage(short, broken)
	probe.seed_stage(short, _entries(8).map(func(e): return {"id": "x" + e.id}), true)
	assert_eq(probe.get_stage(short).nodes.slice(0, 3).map(func(n): return n.team_a.get("id", "")),
			["s4", "s2", "s3"], "a bracket without four opening matches is not seeded")


func test_group_stage_seeding_and_qualifiers() -> void:
	var groups := probe.build_groups(1000, "2026-05-01")
	probe.seed_stage(groups, _entries(16), true)
	assert_eq(_sides(groups, 0, 4), [["s1", "s8"], ["s4", "s5"], ["s2", "s7"], ["s3", "s6"]], "group A")
	assert_eq(_sides(groups, 12, 16), [["s9", "s16"], ["s12", "s13"], ["s10", "s15"], ["s11", "s14"]], "group B")
	# Seeding again fills only opening matches that are still empty.
	probe.seed_stage(groups, _entries(16).slice(8) + _entries(8), true)
	assert_eq(_sides(groups, 0, 1) + _sides(groups, 12, 13), [["s1", "s8"], ["s9", "s16"]], "seated teams stay")

	_play_all(groups)
	var stage: Dictionary = probe.get_stage(groups)
	assert_eq(stage.nodes.filter(func(n): return n.status != "PLAYED").size(), 0, "all 24 matches played")
	assert_eq(probe.group_qualifiers(groups).map(func(e): return e.id), ["s1", "s11", "s2", "s10", "s9", "s3"],
			"qualifiers: A upper winner, B lower winner, the upper finals' losers, B upper winner, A lower winner")
	var out: Array = stage.nodes.filter(func(n): return n.loser_tag != "").map(func(n): return [n.loser.id, n.loser_tag])
	assert_eq(out.size(), 10, "ten teams leave with a tag")
	assert_true(out.has(["s7", "13th-16th"]) and out.has(["s6", "9th-12th"]) and out.has(["s4", "7th-8th"]),
			"lower bracket tags")

	# A final that cannot be found, or an empty result, is left out.
	stage.nodes = stage.nodes.filter(func(n): return n.id != "GrB_1023")
	stage.nodes[6].winner = {}
	probe.set_stage(groups, stage)
	assert_eq(probe.group_qualifiers(groups).map(func(e): return e.id), ["s2", "s10", "s9", "s3"], "gaps skipped")


func test_short_group_field_leaves_missing_sides_empty() -> void:
	var groups := probe.build_groups(1000, "2026-05-01")
	probe.seed_stage(groups, _entries(12), true)
	assert_eq(_sides(groups, 0, 4), [["s1", "s8"], ["s4", "s5"], ["s2", "s7"], ["s3", "s6"]], "group A full")
	assert_eq(_sides(groups, 12, 16), [["s9", ""], ["s12", ""], ["s10", ""], ["s11", ""]], "group B short")
	var none := probe.build_groups(2000, "2026-05-01")
	probe.seed_stage(none, [], true)
	assert_eq(_sides(none, 0, 24).filter(func(s): return s != ["", ""]), [], "nothing to seat")


func test_group_pairs_pass_an_opening_match_already_seated() -> void:
	var groups := probe.build_groups(1000, "2026-05-01")
	var stage: Dictionary = probe.get_stage(groups)
	stage.nodes[0].team_a = {"id": "held"}
	stage.nodes[14].team_a = {"id": "kept"}
	probe.set_stage(groups, stage)
	probe.seed_stage(groups, _entries(16), true)
	assert_eq(_sides(groups, 0, 4), [["held", ""], ["s1", "s8"], ["s4", "s5"], ["s2", "s7"]],
			"group A: each pair takes the next free opening match")
	assert_eq(_sides(groups, 12, 16), [["s9", "s16"], ["s12", "s13"], ["kept", ""], ["s10", "s15"]], "group B")
