extends RefCounted
# Where each match of a tournament's elimination stages sits in its bracket. The structure comes from what
# the library hands out: a single-elimination stage lists its rounds, a double-elimination stage its upper and
# lower brackets and grand final, the group stage each group's upper and lower rounds. Matches are linked by
# their "winner_to" slots: a match sits level with the matches that feed it, so the lines between them read
# as a tree. A block fed only from other blocks (the grand final) stands to the right of the others, between
# its feeders. Swiss stages have no bracket.

## Column headers by the library's match name; another name shows as the library's catalogue gives it.
const NAMES := {"Round of 16": "TEAMFORGE_BRACKET_ROUND_OF_16", "Quarterfinals": "TEAMFORGE_BRACKET_QUARTERFINALS",
		"Semifinals": "TEAMFORGE_BRACKET_SEMIFINALS", "Grand Final": "TEAMFORGE_BRACKET_GRAND_FINAL",
		"Upper R1": "TEAMFORGE_BRACKET_UPPER_R1", "Upper SF": "TEAMFORGE_BRACKET_UPPER_SF", "Upper Final": "TEAMFORGE_BRACKET_UPPER_FINAL",
		"Lower R1": "TEAMFORGE_BRACKET_LOWER_R1", "Lower R2": "TEAMFORGE_BRACKET_LOWER_R2", "Lower SF": "TEAMFORGE_BRACKET_LOWER_SF",
		"Lower Final": "TEAMFORGE_BRACKET_LOWER_FINAL"}
const ELIMINATION_TYPES := ["SINGLE_ELIM", "BLAST_BRACKET", "IEM_GROUPS"]

## Each elimination stage: {"index": stage index, "name": the library's stage name, "blocks": Array}. A block:
## {"title": the library's group name, or "", "columns": Array of Arrays of match ids, "floating": bool}. The
## column headers name the bracket ("Upper Bracket, Round 1"), so only a group's first block has a title.
var stages: Array = []
## The match dictionaries by id, as the library gave them.
var nodes: Dictionary = {}
## Match id -> [[feeder id, slot]] of the matches whose winner goes there.
var feeders: Dictionary = {}
## Match id -> {slot ("team_a", "team_b"): [source id, true for its winner, false for its loser]}.
var sources: Dictionary = {}
## Match id -> [the library's match name, its number in its column (from 1), the column's size].
var numbers: Dictionary = {}


static func has_bracket(t: Dictionary) -> bool:
	for stage in _list(t.get("stages")):
		if stage is Dictionary and stage.get("type", "") in ELIMINATION_TYPES and not _list(stage.get("nodes")).is_empty():
			return true
	return false


func _init(t: Dictionary) -> void:
	var all_stages: Array = _list(t.get("stages"))
	for index in all_stages.size():
		var stage = all_stages[index]
		if not stage is Dictionary or not stage.get("type", "") in ELIMINATION_TYPES or not stage.get("nodes") is Array:
			continue
		var stage_nodes := {}
		for node in stage.nodes:
			if node is Dictionary and node.get("id") is String:
				stage_nodes[node.id] = node
		nodes.merge(stage_nodes)
		for node in stage_nodes.values():
			for way in [["winner_to", true], ["loser_to", false]]:
				var link = node.get(way[0], {})
				if not link is Dictionary or not stage_nodes.has(link.get("id", "")):
					continue
				var slot := str(link.get("slot", ""))
				if not sources.has(link.id):
					sources[link.id] = {}
				sources[link.id][slot] = [node.id, way[1]]
				if way[1]:
					if not feeders.has(link.id):
						feeders[link.id] = []
					feeders[link.id].append([node.id, slot])
		var blocks := _blocks(stage, stage_nodes)
		if not blocks.is_empty():
			stages.append({"index": index, "name": str(stage.get("name", "")), "blocks": blocks})
		for block in blocks:
			for ids in block.columns:
				for k in ids.size():
					numbers[ids[k]] = [str(stage_nodes[ids[k]].get("name", "")), k + 1, ids.size()]


## The key (or the library's name) of a round whose matches the library calls `name`.
static func round_name(name: String) -> String:
	return NAMES.get(name, name)


static func _blocks(stage: Dictionary, stage_nodes: Dictionary) -> Array:
	var blocks := []
	var groups: Array = _list(stage.get("groups"))
	match stage.type:
		"SINGLE_ELIM":
			var columns := []
			for round in _list(stage.get("rounds")):
				var ids := []
				for group in _list(round.get("groups") if round is Dictionary else null):
					ids.append_array(_ids(group, stage_nodes))
				columns.append(ids)
			blocks.append({"title": "", "columns": columns})
		"BLAST_BRACKET":
			for group in groups:
				if group is Dictionary:
					blocks.append({"title": "", "columns": _columns(group.get("rounds"), stage_nodes)})
		"IEM_GROUPS":
			for group in groups:
				if group is Dictionary:
					blocks.append({"title": str(group.get("name", "")), "columns": _columns(group.get("upper_rounds"),
							stage_nodes)})
					blocks.append({"title": "", "columns": _columns(group.get("lower_rounds"), stage_nodes)})
	blocks = blocks.filter(func(block: Dictionary) -> bool:
		block.columns = block.columns.filter(func(ids: Array) -> bool: return not ids.is_empty())
		return not block.columns.is_empty())
	# A block whose every match is fed from other blocks only, such as the grand final, stands beside them.
	var placed := {}
	for block in blocks:
		var own := {}
		for ids in block.columns:
			for id in ids:
				own[id] = true
		block.floating = not placed.is_empty() and own.keys().all(func(id: String) -> bool:
			var fed_from := stage_nodes.values().filter(func(node: Dictionary) -> bool:
				return node.get("winner_to", {}) is Dictionary and node.get("winner_to", {}).get("id", "") == id)
			return not fed_from.is_empty() and fed_from.all(func(node: Dictionary) -> bool: return placed.has(node.id)))
		placed.merge(own)
	return blocks


static func _columns(rounds: Variant, stage_nodes: Dictionary) -> Array:
	return _list(rounds).map(func(round: Variant) -> Array: return _ids(round, stage_nodes))


static func _ids(entry: Variant, stage_nodes: Dictionary) -> Array:
	if not entry is Dictionary:
		return []
	return _list(entry.get("match_ids")).filter(func(id: Variant) -> bool: return id is String and stage_nodes.has(id))


static func _list(value: Variant) -> Array:
	return value if value is Array else []

