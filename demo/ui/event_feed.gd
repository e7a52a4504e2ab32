extends RichTextLabel
# The achievement feed: one short paragraph per event the game core relays, newest at the bottom. Old entries
# drop off so a long season stays cheap to draw. The events are kept, so the feed can be written again in
# another language. A loaded game writes it again from what the game core keeps: the matches played and the
# tournaments completed of every tournament whose matches are not archived, then a line that says so.

const Texts := preload("res://ui/texts.gd")
const MAX_ENTRIES := 200
const DATE_COLOR := "#8a93a6"
const NAME_COLOR := "#f99e29"
## The feed's own event: the game was loaded and the lines before it were written again.
const LOADED := "demo_game_loaded"

## Number of events shown, one paragraph each.
var entry_count: int:
	get:
		return _entries

var _entries := 0
# [date, event] of the entries shown, oldest first.
var _events: Array = []


func clear_feed() -> void:
	clear()
	_entries = 0
	_events.clear()


## Adds one event. tournament_name and team_name turn the event's ids into names.
func add_event(date: String, event: Dictionary, tournament_name: Callable, team_name: Callable) -> void:
	if _entries >= MAX_ENTRIES:
		remove_paragraph(0)
		_entries -= 1
		_events.pop_front()
	_events.append([date, event])
	_append(date, event, tournament_name, team_name)


## Writes the feed again from the game core's tournaments, oldest first, after a load. Swiss rounds drawn are not
## kept as such: the matches played tell the story.
func rebuild(core: GameCore, tournament_name: Callable, team_name: Callable) -> void:
	clear_feed()
	var kept: Array = []
	for summary in core.get_tournament_summaries():
		if summary.get("archived", false) or summary.status == "WAITING":
			continue
		var t := core.get_tournament(int(summary.id))
		var last_day := ""
		for stage in t.get("stages", []):
			for node in stage.get("nodes", []):
				if node.status != "PLAYED":
					continue
				if node.date > last_day:
					last_day = node.date
				kept.append([node.date, kept.size(), {"type": "match_played", "tour_id": t.id, "context": {
						"stage_name": stage.name, "match_name": node.name, "match_id": node.id,
						"team_a_id": node.team_a.get("id", ""), "team_b_id": node.team_b.get("id", ""),
						"score_a": node.score_a, "score_b": node.score_b}}])
		if t.status == "COMPLETED":
			kept.append([last_day, kept.size(), {"type": "tournament_completed", "tour_id": t.id,
					"context": {"standings": t.get("standings", [])}}])
	# By day; on one day, in the order read.
	kept.sort_custom(func(a: Array, b: Array) -> bool: return a[0] < b[0] or (a[0] == b[0] and a[1] < b[1]))
	for entry in kept.slice(maxi(kept.size() - (MAX_ENTRIES - 1), 0)):
		add_event(entry[0], entry[2], tournament_name, team_name)
	add_event(core.get_current_date(), {"type": LOADED}, tournament_name, team_name)


## Writes every entry again, in the current language.
func redraw(tournament_name: Callable, team_name: Callable) -> void:
	var shown := _events.duplicate()
	clear()
	_entries = 0
	for entry in shown:
		_append(entry[0], entry[1], tournament_name, team_name)


func _append(date: String, event: Dictionary, tournament_name: Callable, team_name: Callable) -> void:
	var context: Dictionary = event.get("context", {}) if event.get("context") is Dictionary else {}
	var tour: String = str(tournament_name.call(int(event.tour_id))) if event.has("tour_id") else ""
	var line := describe(event.get("type", ""), context, team_name)
	if _entries > 0:
		newline()
	var name := "" if tour == "" else "[color=%s]%s[/color]  " % [NAME_COLOR, _escape(tour)]
	append_text("[color=%s]%s[/color] %s%s" % [DATE_COLOR, Texts.date(date), name, _escape(line)])
	_entries += 1


## The line for one event in the current language, without date and tournament.
static func describe(type: String, context: Dictionary, team_name: Callable) -> String:
	var stage := Texts.name_of(str(context.get("stage_name", "")))
	match type:
		LOADED:
			return Texts.text("DEMO_FEED_REBUILT")
		"match_played":
			return "%s: %s %d-%d %s" % [_stage_and_match(context), team_name.call(str(context.get("team_a_id", ""))),
					int(context.get("score_a", 0)), int(context.get("score_b", 0)),
					team_name.call(str(context.get("team_b_id", "")))]
		"swiss_round_advanced":
			return Texts.text("DEMO_EVENT_ROUND_DRAWN") % [stage, int(context.get("current_round", 0))]
		"swiss_stage_completed":
			var groups: Dictionary = context.get("final_groups", {}) if context.get("final_groups") is Dictionary else {}
			var through := 0
			for key in ["3-0", "3-1", "3-2"]:
				through += (groups.get(key, []) as Array).size() if groups.get(key) is Array else 0
			return Texts.text("DEMO_EVENT_STAGE_FINISHED") % [stage, Texts.count("DEMO_TEAMS_THROUGH", through)]
		"tournament_completed":
			var standings: Array = context.get("standings", []) if context.get("standings") is Array else []
			if standings.is_empty() or not standings[0] is Dictionary:
				return Texts.label(type)
			var champion: Dictionary = standings[0].get("team", {})
			return Texts.text("DEMO_EVENT_CHAMPION") % [champion.get("name", "?"),
					Texts.money(int(standings[0].get("prize", 0)))]
	return Texts.label(type)


static func _stage_and_match(context: Dictionary) -> String:
	var stage := Texts.name_of(str(context.get("stage_name", "")))
	var match_name := str(context.get("match_name", ""))
	if match_name == "" or match_name == str(context.get("stage_name", "")):
		return stage
	return stage + ", " + Texts.name_of(match_name)


static func _escape(text: String) -> String:
	return text.replace("[", "[lb]")
