extends RefCounted
# The series of MatchSimulator written in GDScript the way a Godot developer would: the same map pool,
# round model, overtime rules, stamina and rating updates and the same report dictionaries, with the
# engine's RandomNumberGenerator for the draws (so its series differ from the library's, but cost the
# same work). It is the yardstick of bench_simulator.gd.

signal match_simulated(report: Dictionary)

const MAP_POOL := [["Mirage", 70], ["Nuke", 60], ["Ancient", 50], ["Dust 2", 40], ["Inferno", 30],
		["Overpass", 20], ["Anubis", 10]]
const MAX_MAP_ROUNDS := 96

var rng := RandomNumberGenerator.new()


func set_seed(value: int) -> void:
	rng.seed = value


func pick_maps(count: int) -> Array:
	var pool := MAP_POOL.duplicate()
	var picked := []
	for i in mini(count, pool.size()):
		var total := 0
		for entry in pool:
			total += entry[1]
		if total < 1:
			break
		var roll := rng.randi_range(1, total)
		var running := 0
		for k in pool.size():
			running += pool[k][1]
			if running >= roll:
				picked.append(pool[k][0])
				pool.remove_at(k)
				break
	return picked


func play_map(p: float, map_name: String) -> Dictionary:
	p = clampf(p if is_finite(p) else 0.5, 0.01, 0.99)
	var score_a := 0
	var score_b := 0
	var overtime_count := 0
	var in_overtime := false
	var history := []
	while history.size() < MAX_MAP_ROUNDS:
		if not in_overtime:
			if score_a == 12 and score_b == 12:
				in_overtime = true
				overtime_count = 1
			elif score_a >= 13 or score_b >= 13:
				break
		else:
			var tie := (overtime_count + 4) * 3
			if score_a == tie and score_b == tie:
				overtime_count += 1
				continue
			if (score_a > tie or score_b > tie) and score_a != score_b:
				break
		if p > rng.randf():
			score_a += 1
			history.append("A")
		else:
			score_b += 1
			history.append("B")
	if history.size() >= MAX_MAP_ROUNDS and score_a == score_b:
		if p > rng.randf():
			score_a += 1
			history.append("A")
		else:
			score_b += 1
			history.append("B")
	return {
		"map_name": map_name,
		"mapName": map_name,
		"score_a": score_a,
		"scoreA": score_a,
		"score_b": score_b,
		"scoreB": score_b,
		"round_history": history,
		"roundHistory": history,
		"overtime_count": overtime_count,
	}


static func rating_change(own: int, opponent: int, won: bool) -> int:
	var expected := 1.0 / (pow(10.0, (opponent - own) / 400.0) + 1.0)
	return roundi((1400 - own) * 0.005 + ((1.0 if won else 0.0) - expected) * 40.0)


func simulate_match(team_a: TeamData, team_b: TeamData, is_bo5 := false) -> Dictionary:
	if team_a == null or team_b == null:
		return {"error": "ERROR_INVALID_TEAM_DATA"}
	var vrs_a := team_a.vrs
	var vrs_b := team_b.vrs
	var total := vrs_a + vrs_b
	var p := float(vrs_a) / total if total > 0 else 0.5

	var maps := pick_maps(5 if is_bo5 else 3)
	var needed := 3 if is_bo5 else 2
	var maps_a := 0
	var maps_b := 0
	var map_reports := []
	for map_name in maps:
		var map_report := play_map(p, map_name)
		map_reports.append(map_report)
		if map_report["score_a"] > map_report["score_b"]:
			maps_a += 1
		else:
			maps_b += 1
		if maps_a == needed or maps_b == needed:
			break
	var a_won := maps_a > maps_b
	var winner := team_a if a_won else team_b
	var loser := team_b if a_won else team_a

	var drop_a := rng.randi_range(10, 20) if is_bo5 else rng.randi_range(5, 10)
	var drop_b := rng.randi_range(10, 20) if is_bo5 else rng.randi_range(5, 10)
	team_a.stamina = clampi(team_a.stamina - drop_a, 0, 100)
	team_b.stamina = clampi(team_b.stamina - drop_b, 0, 100)

	var delta_a := rating_change(vrs_a, vrs_b, a_won)
	var delta_b := rating_change(vrs_b, vrs_a, not a_won)
	team_a.vrs = clampi(vrs_a + delta_a, 600, 2200)
	team_b.vrs = clampi(vrs_b + delta_b, 600, 2200)
	winner.wins += 1
	loser.losses += 1

	var report := {
		"team_a_id": team_a.id,
		"team_a_name": team_a.name,
		"team_b_id": team_b.id,
		"team_b_name": team_b.name,
		"winner_id": winner.id,
		"winner_name": winner.name,
		"loser_id": loser.id,
		"loser_name": loser.name,
		"score_a": maps_a,
		"score_b": maps_b,
		"is_bo5": is_bo5,
		"probability_a": p,
		"probability_b": 1.0 - p,
		"map_reports": map_reports,
		"vrs_before_a": vrs_a,
		"vrs_before_b": vrs_b,
		"vrs_after_a": team_a.vrs,
		"vrs_after_b": team_b.vrs,
		"vrs_delta_a": delta_a,
		"vrs_delta_b": delta_b,
		"stamina_before_a": clampi(team_a.stamina + drop_a, 0, 100),
		"stamina_before_b": clampi(team_b.stamina + drop_b, 0, 100),
		"stamina_after_a": team_a.stamina,
		"stamina_after_b": team_b.stamina,
		"stamina_drop_a": drop_a,
		"stamina_drop_b": drop_b,
		"change": absi(delta_a),
	}
	match_simulated.emit(report)
	return report
