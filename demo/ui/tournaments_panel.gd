extends VSplitContainer
# Every organised tournament, from the game core's summaries, and the one selected in detail, read alone: the
# stage plan with each match (teams, score, date), the Swiss records and the standings with prize money once
# it is completed (the addon's TeamforgeStandingsTable), and its brackets (TeamforgeBracketView). An archived
# tournament shows its standings and champion and says its matches are no longer kept. The list is built again
# only when a row would read differently, the detail only when the tournament shown changed.

const Texts := preload("res://ui/texts.gd")
const TableColumns := preload("res://addons/teamforge/controls/table_columns.gd")
const TableRows := preload("res://addons/teamforge/controls/table_rows.gd")

enum ListColumn { NAME, FORMAT, TIER, STATUS, INVITATIONS, START, FINAL_DAY }
enum MatchColumn { MATCH, TEAM_A, SCORE, TEAM_B, DATE, STATE }

const LIST_TITLES := ["DEMO_TOURNAMENT", "DEMO_FORMAT", "DEMO_TIER", "DEMO_STATUS", "DEMO_INVITATIONS", "DEMO_START",
		"DEMO_FINAL_DAY"]
const LIST_WIDTHS := [0, 170, 90, 120, 105, 105, 105]
const MATCH_TITLES := ["DEMO_MATCH", "DEMO_TEAM_A", "DEMO_SCORE", "DEMO_TEAM_B", "DEMO_DATE_TITLE", ""]
const MATCH_WIDTHS := [0, 190, 70, 190, 105, 120]
const WINNER_COLOR := Color(0.98, 0.62, 0.16)
const PENDING_COLOR := Color(0.6, 0.63, 0.7)
const SWISS_TAB := 1
const BRACKET_TAB := 3
const SECTION_TITLES := ["DEMO_MATCHES", "DEMO_SWISS_RECORDS", "DEMO_STANDINGS", "DEMO_BRACKET"]

var core: GameCore
## The tournament summaries on show, in creation order.
var summaries: Array = []
## The tournament shown in detail, as the game core gave it, or empty.
var tournament: Dictionary = {}
## The id of the tournament shown in detail, or -1.
var selected_id := -1
## The list's rows: a day that changes no tournament writes none.
var list_rows: TableRows

var _shown_locale := ""
# Final days by tournament id: [summary, day]. Only a tournament under way schedules new match days.
var _final_days: Dictionary = {}
# Selecting the shown row while the list is built is no choice of the player's.
var _building := false
# Ids of the tournaments that reported events since the last refresh.
var _touched: Dictionary = {}

@onready var list: Tree = %List
@onready var title: Label = %Title
@onready var details: Label = %Details
@onready var sections: TabContainer = %Sections
@onready var matches: Tree = %Matches
@onready var records: TeamforgeStandingsTable = %SwissRecords
@onready var standings_hint: Label = %StandingsHint
@onready var standings: TeamforgeStandingsTable = %StandingsTable
@onready var bracket: TeamforgeBracketView = %Bracket
@onready var full_view: Button = %FullView


func _ready() -> void:
	TableColumns.set_columns(list, LIST_TITLES, LIST_WIDTHS)
	list_rows = TableRows.new(list, LIST_WIDTHS)
	list_rows.empty_reason = func() -> String: return Texts.text("DEMO_NO_TOURNAMENTS_YET")
	TableColumns.set_columns(matches, MATCH_TITLES, MATCH_WIDTHS)
	# Tab titles are keys too: the tab bar translates them.
	for tab in SECTION_TITLES.size():
		sections.set_tab_title(tab, SECTION_TITLES[tab])
	# "Full view" hides the list to give the bracket room; leaving the bracket gives it back.
	full_view.toggled.connect(func(on: bool) -> void: list.visible = not on)
	bracket.visibility_changed.connect(func() -> void:
		if not bracket.is_visible_in_tree():
			full_view.button_pressed = false)
	list.item_selected.connect(func() -> void:
		if not _building:
			show_tournament(int(list.get_selected().get_metadata(0))))


func bind(game_core: GameCore) -> void:
	core = game_core
	core.achievement_event.connect(_on_achievement_event)


## Reads the tournament in detail and the final days again at the next refresh: another game was loaded.
func forget_tournaments() -> void:
	tournament = {}
	_final_days.clear()


func refresh() -> void:
	if core == null:
		return
	var shown_summary := summary_by_id(selected_id)
	summaries = core.get_tournament_summaries()
	if summary_by_id(selected_id).is_empty():
		selected_id = int(summaries[0].id) if not summaries.is_empty() else -1
	var locale := TranslationServer.get_locale()
	_building = true
	list_rows.show(summaries.map(func(summary: Dictionary) -> Array: return [summary, _final_day_of(summary)]),
			_write_row)
	# The row shown in detail stays selected when another game or tournament takes its place.
	var selected := list.get_selected()
	if (selected == null or int(selected.get_metadata(0)) != selected_id) and selected_id >= 0:
		for item in list.get_root().get_children():
			if int(item.get_metadata(0)) == selected_id:
				item.select(0)
	_building = false
	var summary := summary_by_id(selected_id)
	# A tournament changes with its summary (invitation, start, completion, archiving) and with its events
	# (matches, Swiss rounds); between them only its rest days count down.
	if summary != shown_summary or locale != _shown_locale or _touched.has(selected_id) \
			or int(tournament.get("rest", 0)) > 0 or tournament.is_empty() != summary.is_empty():
		var t := core.get_tournament(selected_id) if not summary.is_empty() else {}
		if t != tournament or summary != shown_summary or locale != _shown_locale:
			show_tournament(selected_id, t)
	_shown_locale = locale
	_touched.clear()


func summary_by_id(id: int) -> Dictionary:
	for summary in summaries:
		if int(summary.id) == id:
			return summary
	return {}


## Shows one tournament in detail: t is its dictionary when the caller has it already.
func show_tournament(id: int, t: Dictionary = {}) -> void:
	selected_id = id
	if t.is_empty() and core != null and not summary_by_id(id).is_empty():
		t = core.get_tournament(id)
	tournament = t
	bracket.show_tournament(t)
	sections.set_tab_hidden(BRACKET_TAB, not TeamforgeBracketView.has_bracket(t))
	if sections.is_tab_hidden(sections.current_tab):
		sections.current_tab = 0
	matches.clear()
	records.show_tournament(t)
	standings.show_tournament(t)
	if t.is_empty():
		title.text = "DEMO_NO_TOURNAMENT"
		details.text = "DEMO_NO_TOURNAMENT_HINT"
		sections.set_tab_hidden(SWISS_TAB, true)
		standings_hint.visible = true
		return
	var summary := summary_by_id(id)
	title.text = t.name
	details.text = _details(t, summary)
	# An archived tournament has no stages left: the tables of matches and records stay empty, and say why.
	if summary.get("archived", false):
		details.text += "\n" + Texts.text("DEMO_ARCHIVED_MATCHES")
	_show_matches(t)
	sections.set_tab_hidden(SWISS_TAB, records.swiss_stages().is_empty())
	if sections.current_tab == SWISS_TAB and sections.is_tab_hidden(SWISS_TAB):
		sections.current_tab = 0
	standings_hint.visible = t.status != "COMPLETED"
	TableColumns.fit(matches, MATCH_WIDTHS)


func _write_row(item: TreeItem, record: Array) -> void:
	var summary: Dictionary = record[0]
	item.set_metadata(0, summary.id)
	item.set_text(ListColumn.NAME, summary.name)
	item.set_tooltip_text(ListColumn.NAME, Texts.text("DEMO_PRIZE_POOL_TOOLTIP") % [summary.name,
			Texts.money(summary.prize)])
	item.set_text(ListColumn.FORMAT, Texts.format_name(summary.format_id))
	item.set_text(ListColumn.TIER, Texts.tier_name(summary.tier_id))
	item.set_text(ListColumn.STATUS, Texts.text("DEMO_ARCHIVED") if summary.archived else Texts.status_name(summary.status))
	item.set_tooltip_text(ListColumn.STATUS, Texts.text("DEMO_ARCHIVED_TOOLTIP") if summary.archived else "")
	item.set_text(ListColumn.INVITATIONS, Texts.date(summary.inv_date))
	item.set_text(ListColumn.START, Texts.date(summary.start_date))
	item.set_text(ListColumn.FINAL_DAY, Texts.date(record[1]))
	if int(summary.id) == selected_id:
		item.select(0)
	else:
		item.deselect(0)


# Creation schedules every match of the stage plan; only a Swiss stage adds matches, a round at a time, and
# says so in an event (which forgets the day known). An archived tournament keeps no match days.
func _final_day_of(summary: Dictionary) -> String:
	var id := int(summary.id)
	var known: Array = _final_days.get(id, [])
	if not known.is_empty() and known[0] == summary:
		return known[1]
	var day := "" if summary.archived else final_day(core.get_tournament(id))
	_final_days[id] = [summary, day]
	return day


func _on_achievement_event(event: Dictionary) -> void:
	var id := int(event.get("tour_id", 0))
	_touched[id] = true
	if str(event.get("type", "")).begins_with("swiss_"):
		_final_days.erase(id)


## The last scheduled match day of a tournament, "" before any match has a date.
static func final_day(t: Dictionary) -> String:
	var last := ""
	for stage in t.get("stages", []):
		for node in stage.get("nodes", []):
			var date: String = node.get("date", "")
			if date != "" and date.naturalnocasecmp_to(last) > 0:
				last = date
	return last


static func team_name(entry: Variant) -> String:
	return entry.get("name", Texts.text("DEMO_TBD")) if entry is Dictionary and not entry.is_empty() else Texts.text("DEMO_TBD")


static func _details(t: Dictionary, summary: Dictionary) -> String:
	var parts := PackedStringArray([Texts.format_name(t.format_id), Texts.tier_name(t.tier_id)])
	if str(t.city) != "":
		parts.append(t.city)
	parts.append(Texts.text("DEMO_PRIZE_POOL") % Texts.money(t.prize))
	parts.append(Texts.count("DEMO_TEAM_COUNT", int(t.size)))
	parts.append(Texts.text("DEMO_ARCHIVED") if summary.get("archived", false) else Texts.status_name(t.status))
	if str(summary.get("champion_name", "")) != "":
		parts.append(Texts.text("DEMO_CHAMPION") % summary.champion_name)
	var stages: Array = t.get("stages", [])
	var index := int(t.current_stage_idx)
	if t.status == "ACTIVE" and index >= 0 and index < stages.size():
		parts.append(Texts.text("DEMO_CURRENT_STAGE") % [Texts.name_of(stages[index].name), index + 1, stages.size()])
		if int(t.rest) > 0:
			parts.append(Texts.count("DEMO_REST_DAYS", int(t.rest)))
	return Texts.text("DEMO_LIST_SEPARATOR").join(parts)


func _show_matches(t: Dictionary) -> void:
	var root := matches.create_item()
	var stages: Array = t.get("stages", [])
	for index in stages.size():
		var stage: Dictionary = stages[index]
		var stage_item := matches.create_item(root)
		stage_item.set_text(MatchColumn.MATCH, "%s, %s" % [Texts.name_of(stage.name), Texts.stage_type_name(stage.type)])
		# A stage's heading spans the row: it needs no room in the match column.
		stage_item.set_expand_right(MatchColumn.MATCH, true)
		if index == int(t.current_stage_idx) and t.status == "ACTIVE":
			stage_item.set_custom_color(MatchColumn.MATCH, WINNER_COLOR)
		for node in stage.get("nodes", []):
			var item := matches.create_item(stage_item)
			item.set_metadata(0, node.id)
			var label := Texts.name_of(node.name)
			if str(node.group_name) != "":
				label += ", " + Texts.name_of(str(node.group_name))
			item.set_text(MatchColumn.MATCH, label)
			item.set_text(MatchColumn.TEAM_A, team_name(node.team_a))
			item.set_text(MatchColumn.TEAM_B, team_name(node.team_b))
			item.set_text(MatchColumn.DATE, Texts.date(node.date))
			item.set_text_alignment(MatchColumn.SCORE, HORIZONTAL_ALIGNMENT_CENTER)
			if node.status == "PLAYED":
				item.set_text(MatchColumn.SCORE, "%d-%d" % [node.score_a, node.score_b])
				item.set_tooltip_text(MatchColumn.SCORE, _map_scores(node.details))
				item.set_text(MatchColumn.STATE, Texts.text("DEMO_BEST_OF_5" if node.is_bo5 else "DEMO_BEST_OF_3"))
				var winner_column := MatchColumn.TEAM_A if node.score_a > node.score_b else MatchColumn.TEAM_B
				item.set_custom_color(winner_column, WINNER_COLOR)
			else:
				var teams_known: bool = not node.team_a.is_empty() and not node.team_b.is_empty()
				item.set_text(MatchColumn.SCORE, Texts.text("DEMO_VERSUS"))
				item.set_text(MatchColumn.STATE, Texts.match_status_name(node.status) if teams_known
						else Texts.text("DEMO_WAITING_FOR_TEAMS"))
				for column in MatchColumn.values():
					item.set_custom_color(column, PENDING_COLOR)



static func _map_scores(reports: Array) -> String:
	var lines := PackedStringArray()
	for report in reports:
		if report is Dictionary:
			lines.append("%s %d-%d" % [report.get("map_name", report.get("mapName", "")), report.get("score_a", 0),
					report.get("score_b", 0)])
	return "\n".join(lines)
