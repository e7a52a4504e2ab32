extends RefCounted
# Shared by the tournament play suites: the placement weights, a checker for a finished tournament,
# and a few look-ups over tournament dictionaries.

const WEIGHTS := {"1st": 5000.0, "2nd": 2000.0, "3rd": 1000.0, "3rd-4th": 900.0, "4th": 800.0, "5th-6th": 400.0,
	"5th-8th": 350.0, "7th-8th": 300.0, "9th-11th": 150.0, "9th-12th": 100.0, "12th-14th": 100.0, "15th-16th": 75.0,
	"9th-16th": 70.0, "17th-19th": 50.0, "13th-16th": 40.0, "20th-22nd": 35.0, "17th-24th": 30.0, "23rd-24th": 25.0,
	"25th-27th": 15.0, "28th-30th": 10.0, "31st-32nd": 3.5}

# The final table of a full field of each format, label by label.
const FULL_FIELD_TAGS := {
	"MAJOR": {"1st": 1, "2nd": 1, "3rd-4th": 2, "5th-8th": 4, "9th-11th": 3, "12th-14th": 3, "15th-16th": 2,
		"17th-19th": 3, "20th-22nd": 3, "23rd-24th": 2, "25th-27th": 3, "28th-30th": 3, "31st-32nd": 2},
	"EPL": {"1st": 1, "2nd": 1, "3rd-4th": 2, "5th-8th": 4, "9th-11th": 3, "12th-14th": 3, "15th-16th": 2,
		"17th-19th": 3, "20th-22nd": 3, "23rd-24th": 2},
	"IEM": {"1st": 1, "2nd": 1, "3rd-4th": 2, "5th-6th": 2, "7th-8th": 2, "9th-12th": 4, "13th-16th": 4},
	"EWC": {"1st": 1, "2nd": 1, "3rd-4th": 2, "5th-8th": 4, "9th-16th": 8},
	"BLAST": {"1st": 1, "2nd": 1, "3rd": 1, "4th": 1, "5th-6th": 2, "7th-8th": 2},
}


static func weight(tag: String) -> float:
	return WEIGHTS.get(tag, 0.0)


static func find(tournaments: Array, id: int) -> Dictionary:
	for t in tournaments:
		if t.id == id:
			return t
	return {}


static func ids(entries: Array) -> Array:
	var list := entries.map(func(e): return e.get("id", ""))
	list.sort()
	return list


## Checks a finished tournament against what completion promises; returns the problems found.
static func problems_of_completed(t: Dictionary, full_field: bool) -> Array:
	var problems := []
	var label: String = t.name
	if t.status != "COMPLETED":
		problems.append("%s: status %s" % [label, t.status])
		return problems
	var heat := 0
	var deltas := {}
	for stage in t.stages:
		for node in stage.nodes:
			if full_field and node.status != "PLAYED":
				problems.append("%s: %s %s left %s" % [label, stage.name, node.id, node.status])
			heat += node.heat
			if node.status == "PLAYED" and not node.details.is_empty():
				deltas[node.team_a.id] = deltas.get(node.team_a.id, 0) + node.vrs_delta_a
				deltas[node.team_b.id] = deltas.get(node.team_b.id, 0) + node.vrs_delta_b
	if heat != t.total_heat:
		problems.append("%s: total heat %d, nodes sum to %d" % [label, t.total_heat, heat])
	if deltas != t.vrs_delta_map:
		problems.append("%s: rating changes %s, nodes sum to %s" % [label, t.vrs_delta_map, deltas])
	var standings: Array = t.standings
	if ids(standings.map(func(s): return s.team)) != ids(t.participants):
		problems.append("%s: standings are not one per participant" % label)
	if standings.is_empty() or standings[0].placement != "1st":
		problems.append("%s: no champion on top" % label)
	var tags := {}
	var total_weight := 0.0
	for s in standings:
		tags[s.placement] = tags.get(s.placement, 0) + 1
		total_weight += weight(s.placement)
	if full_field and tags != FULL_FIELD_TAGS.get(t.format_id, {}):
		problems.append("%s: placements %s" % [label, tags])
	var paid := 0
	for i in standings.size():
		var s: Dictionary = standings[i]
		var share := roundi(t.prize * weight(s.placement) / maxf(total_weight, 1.0))
		if s.prize != share:
			problems.append("%s: %s paid %d, its share is %d" % [label, s.placement, s.prize, share])
		paid += s.prize
		if s.delta_vrs != t.vrs_delta_map.get(s.team.id, s.vrs_after - s.vrs_before):
			problems.append("%s: %s rating change %d" % [label, s.team.id, s.delta_vrs])
		if i > 0:
			var above: Dictionary = standings[i - 1]
			var wa := weight(above.placement)
			var wb := weight(s.placement)
			if wb > wa + 0.001 or (absf(wa - wb) <= 0.001 and s.vrs_after > above.vrs_after):
				problems.append("%s: standing %d out of order" % [label, i])
	if absi(paid - t.prize) > standings.size():
		problems.append("%s: paid %d of %d" % [label, paid, t.prize])
	return problems
