extends RichTextLabel
# The achievement feed: one short paragraph per event the game core relays, newest at the bottom. Old entries
# drop off so a long season stays cheap to draw. The events are kept, so the feed can be written again in
# another language.

const Texts := preload("res://ui/texts.gd")
const MAX_ENTRIES := 200
const DATE_COLOR := "#8a93a6"
const NAME_COLOR := "#f99e29"

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


## Writes every entry again, in the current language.
func redraw(tournament_name: Callable, team_name: Callable) -> void:
	var shown := _events.duplicate()
	clear()
	_entries = 0
	for entry in shown:
		_append(entry[0], entry[1], tournament_name, team_name)


func _append(date: String, event: Dictionary, tournament_name: Callable, team_name: Callable) -> void:
	var context: Dictionary = event.get("context", {}) if event.get("context") is Dictionary else {}
	var tour := tournament_name.call(int(event.get("tour_id", 0))) as String
	var line := describe(event.get("type", ""), context, team_name)
	if _entries > 0:
		newline()
	append_text("[color=%s]%s[/color] [color=%s]%s[/color]  %s" % [DATE_COLOR, Texts.date(date), NAME_COLOR,
			_escape(tour), _escape(line)])
	_entries += 1


## The line for one event in the current language, without date and tournament.
static func describe(type: String, context: Dictionary, team_name: Callable) -> String:
	var stage := Texts.name_of(str(context.get("stage_name", "")))
	match type:
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
