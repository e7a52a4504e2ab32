extends SceneTree
# The addon's controls in a project that has the addon: bound to a GameCore through a season of every bracket
# kind and to a TournamentManager of its own, they show what the library holds and follow it day by day; a
# click opens the right match; malformed dictionaries and freed sources draw nothing and report no error
# (tools/test_package.sh fails on any engine or script error in the output).
#   godot --headless --path <project> -s res://controls.gd

const Texts := preload("res://addons/teamforge/controls/control_texts.gd")
const SEASON := [["MAJOR", "HIGHEST", "2026-01-03", "Austin"], ["BLAST", "TIER_1", "2026-01-05", "Lisbon"],
		["IEM", "TIER_1", "2026-01-05", "Dallas"]]

var failures := PackedStringArray()


func _initialize() -> void:
	_run.call_deferred()


func _expect(condition: bool, failure: String) -> void:
	if not condition:
		failures.append(failure)


func _run() -> void:
	# A headless run's window is tiny; the controls get the room a game gives them.
	root.size = Vector2i(1280, 720)
	var core := GameCore.new()
	root.add_child(core)
	core.set_seed(11)
	core.initialize_new_game()
	for request in SEASON:
		_expect(core.create_tournament(request[0], request[1], request[2], request[3]).ok, "%s refused" % [request])
	var ids := {}
	for summary in core.get_tournament_summaries():
		ids[summary.format_id] = str(summary.id)
	var board: TeamforgeLeaderboardTable = _add(TeamforgeLeaderboardTable.new())
	board.sort_by = "PRIZE"
	board.max_rows = 10
	board.source = core
	var standings: TeamforgeStandingsTable = _add(TeamforgeStandingsTable.new())
	standings.source = core
	standings.tournament_id = ids.MAJOR
	var swiss: TeamforgeStandingsTable = _add(TeamforgeStandingsTable.new())
	swiss.content = TeamforgeStandingsTable.Content.SWISS
	swiss.source = core
	swiss.tournament_id = ids.MAJOR
	var bracket: TeamforgeBracketView = _add(TeamforgeBracketView.new())
	bracket.source = core

	# Day by day the Swiss table follows the Major's latest drawn stage, sorted by record.
	var swiss_days := 0
	while core.get_tournament_summaries().any(func(s): return s.status != "COMPLETED"):
		if swiss_days >= 400:
			_expect(false, "the season did not end within 400 days")
			break
		core.advance_day()
		swiss_days += 1
		await process_frame
		var major := core.get_tournament(int(ids.MAJOR))
		var drawn: Array = major.stages.filter(func(s): return s.type == "SWISS" and not s.records.is_empty())
		if not drawn.is_empty():
			var records: Array = drawn.back().records
			var shown := swiss.row_texts()
			_expect(shown.size() == records.size() and shown.all(func(row): return records.any(func(r):
					return [r.team.name, str(r.seed), str(r.w), str(r.l)] == row.slice(0, 4))),
					"day %s: the Swiss table shows %s" % [core.get_current_date(), shown])
	await process_frame

	var top: Array = core.get_leaderboard_data("ALL", "PRIZE").teams.slice(0, 10)
	_expect(board.row_texts() == top.map(func(t): return [str(t.rank), t.name, Texts.name_of(t.region_key), str(t.vrs),
			"%d-%d" % [t.wins, t.losses], Texts.money(t.prize_total), str(t.honors.size())]),
			"the leaderboard shows %s" % [board.row_texts()])
	_expect(board.row_texts().all(func(row): return row[4] != "0-0" and row[5] != Texts.money(0)),
			"the top ten by prize money have records and prize money")
	board.region = "AS"
	await process_frame
	_expect(not board.row_texts().is_empty() and board.row_texts().all(func(row): return row[2] == Texts.name_of("REGION_AS")),
			"one region's leaderboard: %s" % [board.row_texts()])
	var major := core.get_tournament(int(ids.MAJOR))
	_expect(standings.shows_standings and standings.row_texts() == major.standings.map(func(s): return [
			Texts.name_of(s.placement), s.team.name, Texts.name_of("REGION_" + s.team.region), Texts.money(s.prize),
			str(s.vrs_before), str(s.vrs_after), "%+d" % s.delta_vrs]), "the Major's final standings")

	# Every elimination stage of each kind is drawn, a box per match; a click on a final opens its report.
	var selected := []
	bracket.match_selected.connect(func(id): selected.append(id))
	for format in ids:
		bracket.tournament_id = ids[format]
		await process_frame
		var t := core.get_tournament(int(ids[format]))
		var nodes := {}
		for stage in t.stages.filter(func(s): return s.type != "SWISS"):
			for node in stage.nodes:
				nodes[node.id] = node
		var boxed: Array = bracket.view.boxes.keys()
		boxed.sort()
		var expected := nodes.keys()
		expected.sort()
		_expect(boxed == expected and not boxed.is_empty(), "%s: a box per elimination match" % format)
		_expect(bracket.view.layout.stages.map(func(s): return t.stages[s.index].type) == t.stages.filter(func(s):
				return s.type != "SWISS").map(func(s): return s.type), "%s: every elimination stage drawn" % format)
		var final_id: String = nodes.keys().filter(func(id): return nodes[id].winner_to.id == "").back()
		bracket.view.reveal(final_id)
		await _click(bracket.view.get_global_transform() * bracket.view.to_view(bracket.view.boxes[final_id].get_center()))
		_expect(bracket.report.visible and bracket.report.node.get("id") == final_id and selected.back() == final_id
				and bracket.report.rows.size() == nodes[final_id].details.size(), "%s: a click opens the final" % format)

	# A bracket filled and opened before it enters the tree keeps its report open and scrolls to it.
	var early := TeamforgeBracketView.new()
	early.show_tournament(core.get_tournament(int(ids.IEM)))
	var last_id: String = early.view.layout.nodes.keys().back()
	early.open_match(last_id)
	early.view.reveal(last_id)
	_add(early)
	await process_frame
	_expect(early.report.visible and early.view.selected == last_id, "a report opened before the bracket was shown")
	early.free()

	# A game's theme restyles them, and they speak the current language.
	var theme := Theme.new()
	theme.set_color(&"accent_color", &"TeamforgeBracketView", Color.RED)
	theme.set_font_size(&"font_size", &"TeamforgeBracketView", 23)
	theme.set_color(&"winner_color", &"TeamforgeStandingsTable", Color.GREEN)
	bracket.theme = theme
	standings.theme = theme
	standings.refresh()
	TranslationServer.set_locale("de")
	board.refresh()
	_expect(bracket.view.accent_colour() == Color.RED and bracket.report.text_size() == 23
			and standings.tree.get_root().get_child(0).get_custom_color(1) == Color.GREEN, "the theme restyles the controls")
	_expect(board.row_texts()[0][2] == TranslationServer.translate("REGION_AS") and board.row_texts()[0][2] != "Asia"
			and Texts.text("TEAMFORGE_RANK") == "Rang", "the controls speak German: %s" % [board.row_texts()[0]])
	TranslationServer.set_locale("en")

	# A TournamentManager of its own: the bracket and standings follow its days.
	var database := TeamDatabase.new()
	database.initialize_defaults()
	var manager := TournamentManager.new()
	manager.team_database = database
	manager.match_simulator.seed = 5
	_expect(manager.create_tournament("BLAST", "TIER_S", "2026-01-03", "Porto"), "the manager organises a BLAST")
	bracket.source = manager
	bracket.tournament_id = "1"
	standings.source = manager
	standings.tournament_id = "1"
	var days := 0
	while manager.get_tournament(1).status != "COMPLETED":
		if days >= 200:
			_expect(false, "the BLAST did not complete within 200 days")
			break
		manager.advance_day()
		days += 1
		await process_frame
		var played: int = manager.get_tournament(1).stages[0].nodes.filter(func(n): return n.status == "PLAYED").size()
		_expect(bracket.view.cells.values().filter(func(c): return c.winner >= 0).size() == played,
				"day %d: the bracket shows the %d matches played" % [days, played])
	_expect(standings.row_texts().size() == 8 and standings.row_texts()[0][0] == Texts.name_of("1st"),
			"the manager's BLAST standings")

	# Malformed input draws what it can and reports nothing.
	var broken := {"status": 5, "current_stage_idx": "x", "standings": [1, {"team": "x", "prize": "abc"}],
			"stages": [1, "x", {"type": "SINGLE_ELIM", "nodes": "x", "rounds": 3},
			{"type": "BLAST_BRACKET", "groups": [{"rounds": [{"match_ids": ["a", 7, null, "b"]}, 4]}, "g"],
			"nodes": [{"id": 5}, {"id": "a", "winner_to": {"id": "b", "slot": 9}, "team_a": "x", "status": "PLAYED",
			"score_a": [], "details": [3, {"round_history": "AB", "score_a": {}}], "is_bo5": "yes"},
			{"id": "b", "team_b": {"name": 4}, "date": 20260101, "winner": "a"}]},
			{"type": "SWISS", "records": [2, {"team": [], "w": "3", "l": null}]}]}
	for control in [bracket, standings, swiss]:
		control.show_tournament(broken)
	_expect(bracket.view.boxes.size() == 2, "the well-formed matches of a broken tournament are drawn")
	bracket.open_match("a")
	bracket.open_match("nothing")
	swiss.stage_index = 99
	standings.content = TeamforgeStandingsTable.Content.AUTO
	board.show_leaderboard({"teams": [1, {"name": 5, "honors": "x", "wins": "2"}, null]})
	_expect(board.row_texts().size() == 1, "a broken leaderboard row is shown, the rest skipped")
	board.show_leaderboard({"teams": "x"})
	await process_frame

	# Freed sources read as none, with a refresh still pending or not.
	board.refresh()
	core.free()
	await process_frame
	_expect(board.row_texts().is_empty(), "a source freed in the tree clears its control")
	manager.advance_day()
	manager.free()
	await process_frame
	for control in [bracket, standings, board]:
		control.refresh()
	_expect(bracket.view.boxes.is_empty() and standings.row_texts().is_empty() and board.row_texts().is_empty(),
			"a freed source shows nothing")
	var orphan := TeamforgeBracketView.new()
	orphan.tournament_id = "1"
	orphan.free()
	await process_frame
	database.free()

	if failures.is_empty():
		print("controls test passed")
		quit(0)
		return
	for failure in failures:
		printerr("controls test: " + failure)
	quit(1)


func _add(control: Control) -> Control:
	control.position = Vector2.ZERO
	control.size = Vector2(root.size)
	root.add_child(control)
	return control


func _click(at: Vector2) -> void:
	var motion := InputEventMouseMotion.new()
	motion.position = at
	motion.global_position = at
	root.push_input(motion)
	for pressed in [true, false]:
		var event := InputEventMouseButton.new()
		event.button_index = MOUSE_BUTTON_LEFT
		event.button_mask = MOUSE_BUTTON_MASK_LEFT if pressed else 0
		event.pressed = pressed
		event.position = at
		event.global_position = at
		root.push_input(event)
	await process_frame
