extends VBoxContainer
# The season in charts, from the library's own records: the rating of the teams the player picks, match
# by match (the game core's rating history), prize money by team and by region, and titles by team (the
# leaderboard's prize totals and honours). The game core's signals only mark the charts stale; they are
# rebuilt when the tab is on show, so playing days on other tabs costs nothing here.

const Texts := preload("res://ui/texts.gd")
const Chart := preload("res://ui/charts/chart.gd")
const LineChart := preload("res://ui/charts/line_chart.gd")
const BarChart := preload("res://ui/charts/bar_chart.gd")

const MAX_PICKS := 6
## Teams on the rating chart before the player picks any: the best-rated ones.
const FIRST_PICKS := 3
## Rows of the per-team bar charts.
const BAR_ROWS := 8
const REGIONS := ["EU", "AM", "AS"]
const SECONDS_PER_DAY := 86400

var core: GameCore
## Picked team ids, in the order they were picked; each keeps its colour while picked.
var picked: PackedStringArray = []
## The library's rating history of each picked team, by id, as last drawn.
var histories: Dictionary = {}

var _stale := true
# Rating histories by team id, as the game core gave them; a team is read again once it has played.
var _histories_read: Dictionary = {}
# The rating lines built from them, by team id: {"history", "locale", "points", "notes"}.
var _lines_drawn: Dictionary = {}
var _last_date := ""
var _board: Dictionary = {}
var _picker_ids: Array = []
var _picked_first := false

@onready var picker: ItemList = %TeamPicker
@onready var pick_hint: Label = %PickHint
@onready var rating_chart: LineChart = %RatingChart
@onready var prize_by_team: BarChart = %PrizeByTeam
@onready var prize_by_region: BarChart = %PrizeByRegion
@onready var titles_by_team: BarChart = %TitlesByTeam


func _ready() -> void:
	rating_chart.steps = true
	rating_chart.min_y_span = 100.0
	picker.item_clicked.connect(_on_team_clicked)
	visibility_changed.connect(_refresh_if_stale)
	_show_texts()


func _notification(what: int) -> void:
	# A new language: the texts drawn in code follow, and the charts' notes and axes are built again.
	if what == NOTIFICATION_TRANSLATION_CHANGED and is_node_ready():
		_show_texts()
		_mark_stale()


func bind(game_core: GameCore) -> void:
	core = game_core
	# A day, a load or a new game; not leaderboard_changed, whose view the game core builds only for listeners.
	core.current_date_changed.connect(_on_date_changed)
	core.achievement_event.connect(_on_achievement_event)
	_mark_stale()


## Reads every rating history again at the next refresh: another game was loaded or started.
func forget_histories() -> void:
	_histories_read.clear()


## Rebuilds the picker and every chart from the game core now.
func refresh() -> void:
	_stale = false
	if core == null:
		return
	_board = core.get_leaderboard_data("ALL", "VRS")
	var teams: Array = _board.get("teams", [])
	var known := teams.map(func(row): return row.id)
	picked = PackedStringArray(Array(picked).filter(func(id): return id in known))
	# Only the first time: a player who takes every line off gets an empty chart.
	if not _picked_first:
		_picked_first = true
		for row in teams.slice(0, FIRST_PICKS):
			picked.append(row.id)
	_fill_picker(teams)
	_draw_ratings()
	_draw_prize_money(teams)
	_draw_titles(teams)


## The colour of a picked team's line (and of its row in the picker and its bars).
func team_colour(id: String) -> Color:
	return Chart.colour(picked.find(id))


func _fill_picker(teams: Array) -> void:
	var ids := teams.map(func(row): return row.id)
	# Rebuilt only when the order changed, so a pick keeps the list where the player scrolled it.
	if ids != _picker_ids:
		_picker_ids = ids
		picker.clear()
		for row in teams:
			picker.set_item_metadata(picker.add_item(row.name), row.id)
	for index in teams.size():
		var row: Dictionary = teams[index]
		picker.set_item_tooltip(index, "%s, %d" % [Texts.region_name(row.region_key), row.vrs])
		# A picked team's row is tinted with its line's colour: the list is the chart's legend too.
		if row.id in picked:
			picker.select(index, false)
			picker.set_item_custom_bg_color(index, Color(team_colour(row.id), 0.4))
		else:
			picker.deselect(index)
			picker.set_item_custom_bg_color(index, Color(0, 0, 0, 0))


## A click adds the team or takes it off the chart; the list's own selection is then set to match.
func _on_team_clicked(index: int, _at_position: Vector2, button: int) -> void:
	if button != MOUSE_BUTTON_LEFT:
		return
	var id: String = picker.get_item_metadata(index)
	if id in picked:
		picked.remove_at(picked.find(id))
	elif picked.size() < MAX_PICKS:
		picked.append(id)
	refresh()


func _draw_ratings() -> void:
	histories.clear()
	var today := _day(core.get_current_date())
	var first_day := today
	var list := []
	for id in picked:
		if not _histories_read.has(id):
			_histories_read[id] = core.get_rating_history(id)
		var history: Array = _histories_read[id]
		histories[id] = history
		var row := _row(id)
		# A line and its notes stand as long as the history and the language do.
		var line: Dictionary = _lines_drawn.get(id, {})
		if line.get("history") != history or line.get("locale") != TranslationServer.get_locale() or history.is_empty():
			line = {"history": history, "locale": TranslationServer.get_locale()}
			var points := PackedVector2Array()
			var notes := []
			var start_rating: int = history[0].vrs_before if not history.is_empty() else int(row.get("vrs", 0))
			points.append(Vector2(_season_start(history[0].date if not history.is_empty() else core.get_current_date()),
					start_rating))
			notes.append(PackedStringArray([Texts.text("DEMO_STATS_POINT_START") % start_rating]))
			for match in history:
				# A match played later than planned keeps its planned day; the line never runs back.
				var day := maxf(_day(match.date), points[points.size() - 1].x)
				points.append(Vector2(day, match.vrs_after))
				notes.append(_match_note(match))
			line.points = points
			line.notes = notes
			_lines_drawn[id] = line
		first_day = mini(first_day, int(line.points[0].x))
		list.append({"name": row.get("name", id), "color": team_colour(id), "points": line.points, "notes": line.notes})
	rating_chart.x_domain = Vector2(first_day, today)
	rating_chart.x_ticks = _month_ticks(first_day, today)
	rating_chart.set_series(list)


func _match_note(match: Dictionary) -> PackedStringArray:
	var result := Texts.text("DEMO_STATS_POINT_WON" if match.won else "DEMO_STATS_POINT_LOST") % [match.opponent_name,
			match.maps_won, match.maps_lost]
	return PackedStringArray([
		Texts.text("DEMO_STATS_POINT_MATCH") % [Texts.date(match.date), match.tour_name, Texts.name_of(match.match_name)],
		result,
		Texts.text("DEMO_STATS_POINT_RATING") % [match.vrs_before, match.vrs_after, match.vrs_after - match.vrs_before],
	])


func _draw_prize_money(teams: Array) -> void:
	var ranked := _largest(teams, teams.map(func(row): return int(row.prize_total)))
	prize_by_team.set_bars(ranked.map(func(pair): return _team_bar(pair[0], pair[1], Texts.money(pair[1]))))
	var by_region := {}
	for row in teams:
		by_region[row.region] = by_region.get(row.region, 0) + int(row.prize_total)
	var regions := REGIONS.filter(func(code): return by_region.get(code, 0) > 0)
	prize_by_region.set_bars(regions.map(func(code): return {"label": Texts.region_name("REGION_" + code),
			"value": by_region[code], "text": Texts.money(by_region[code])}))


func _draw_titles(teams: Array) -> void:
	var titles := teams.map(func(row): return row.honors.filter(
			func(honour): return honour is Dictionary and honour.get("placement") == "1st").size())
	titles_by_team.set_bars(_largest(teams, titles).map(func(pair): return _team_bar(pair[0], pair[1], str(pair[1]))))


## The BAR_ROWS rows with the largest positive values, as [row, value] pairs; equal values keep the
## leaderboard's order.
static func _largest(teams: Array, values: Array) -> Array:
	var order := range(teams.size()).filter(func(i): return values[i] > 0)
	order.sort_custom(func(a, b): return values[a] > values[b] or (values[a] == values[b] and a < b))
	return order.slice(0, BAR_ROWS).map(func(i): return [teams[i], values[i]])


func _team_bar(row: Dictionary, value: int, text: String) -> Dictionary:
	var bar := {"label": row.name, "value": value, "text": text}
	if row.id in picked:
		bar.color = team_colour(row.id)
	return bar


func _row(id: String) -> Dictionary:
	for row in _board.get("teams", []):
		if row.id == id:
			return row
	return {}


# A team's history changes only when it plays; the turn of a year archives series, and any other jump of the
# calendar is another game.
func _on_date_changed(date: String) -> void:
	if date.left(4) != _last_date.left(4) or _day(date) != _day(_last_date) + 1:
		_histories_read.clear()
	_last_date = date
	_mark_stale()


func _on_achievement_event(event: Dictionary) -> void:
	if event.get("type") == "match_played" and event.get("context") is Dictionary:
		_histories_read.erase(str(event.context.get("team_a_id", "")))
		_histories_read.erase(str(event.context.get("team_b_id", "")))


func _mark_stale() -> void:
	_stale = true
	_refresh_if_stale()


func _refresh_if_stale() -> void:
	if _stale and is_visible_in_tree():
		# Once per frame at most, however many signals came.
		_stale = false
		refresh.call_deferred()


func _show_texts() -> void:
	pick_hint.text = Texts.text("DEMO_STATS_PICK_HINT") % MAX_PICKS
	rating_chart.title = Texts.text("DEMO_STATS_RATING_OVER_SEASON")
	rating_chart.empty_text = Texts.text("DEMO_STATS_NO_TEAMS_PICKED")
	prize_by_team.title = Texts.text("DEMO_STATS_PRIZE_BY_TEAM")
	prize_by_team.empty_text = Texts.text("DEMO_STATS_NO_PRIZE_MONEY")
	prize_by_region.title = Texts.text("DEMO_STATS_PRIZE_BY_REGION")
	prize_by_region.empty_text = Texts.text("DEMO_STATS_NO_PRIZE_MONEY")
	titles_by_team.title = Texts.text("DEMO_STATS_TITLES_BY_TEAM")
	titles_by_team.empty_text = Texts.text("DEMO_STATS_NO_TITLES")


static func _day(date: String) -> int:
	return int(Time.get_unix_time_from_datetime_string(date + "T00:00:00") / SECONDS_PER_DAY)


static func _season_start(date: String) -> int:
	return _day(date.left(4) + "-01-01")


## The first day of each month from `first` to `last`, labelled with month and year.
static func _month_ticks(first: int, last: int) -> Array:
	var result := []
	var date := Time.get_date_dict_from_unix_time(first * SECONDS_PER_DAY)
	var year: int = date.year
	var month: int = date.month
	while true:
		var day := _day("%04d-%02d-01" % [year, month])
		if day > last:
			break
		if day >= first:
			result.append([day, Texts.text("DEMO_STATS_MONTH").format({"year": "%04d" % year, "month": "%02d" % month})])
		month += 1
		if month > 12:
			month = 1
			year += 1
	return result
