extends Control
# What a new project writes to show a bracket with the addon's control: a game core plays a BLAST, the
# TeamforgeBracketView bound to it draws the bracket, and the grand final's report is open as after a click.

func _ready() -> void:
	var background := ColorRect.new()
	background.color = Color(0.075, 0.082, 0.102)
	background.set_anchors_and_offsets_preset(PRESET_FULL_RECT)
	add_child(background)
	var core := GameCore.new()
	add_child(core)
	core.set_seed(7)
	core.initialize_new_game()
	core.create_tournament("BLAST", "HIGHEST", "2026-01-03", "Lisbon")
	var id: int = core.get_tournament_summaries()[0].id
	var bracket := TeamforgeBracketView.new()
	bracket.set_anchors_and_offsets_preset(PRESET_FULL_RECT)
	add_child(bracket)
	bracket.source = core
	bracket.tournament_id = str(id)
	for day in 200:
		if core.get_tournament(id).status == "COMPLETED":
			break
		core.advance_day()
	if core.get_tournament(id).status != "COMPLETED":
		push_error("the BLAST did not complete within 200 days")
		return
	bracket.refresh()
	var final: Dictionary = core.get_tournament(id).stages[0].nodes.back()
	bracket.open_match(final.id)
