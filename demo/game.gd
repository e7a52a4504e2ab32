extends Control
# The demo game. One GameCore runs the world (teams, calendar, the player's tournaments and organiser funds);
# one EconomySystem holds the player's predictions. The screens read the game core's views; its signals only
# mark them stale, and one refresh per frame redraws them, so a week of days costs one redraw.

const Texts := preload("res://ui/texts.gd")
const SaveGame := preload("res://ui/save_game.gd")
const LeaderboardPanel := preload("res://ui/leaderboard_panel.gd")
const OrganizePanel := preload("res://ui/organize_panel.gd")
const TournamentsPanel := preload("res://ui/tournaments_panel.gd")
const PredictionsPanel := preload("res://ui/predictions_panel.gd")
const EventFeed := preload("res://ui/event_feed.gd")
const DAYS_PER_WEEK := 7

## Where Save and Load keep the game.
@export var save_path := "user://teamforge_save.txt"

var economy := EconomySystem.new()
## Live leaderboard rows by team id, from the last refresh.
var teams_by_id: Dictionary = {}
## The organize data of the last refresh.
var organize_data: Dictionary = {}

var _tournament_names: Dictionary = {}
var _refresh_queued := false
# What happened to the player's predictions during the days being played, for the status line.
var _news := PackedStringArray()

@onready var core: GameCore = $GameCore
@onready var date_label: Label = %Date
@onready var credits_label: Label = %Credits
@onready var balance_label: Label = %Balance
@onready var next_day_button: Button = %NextDay
@onready var next_week_button: Button = %NextWeek
@onready var save_button: Button = %SaveGame
@onready var load_button: Button = %LoadGame
@onready var new_game_button: Button = %NewGame
@onready var screens: TabContainer = %Screens
@onready var leaderboard: LeaderboardPanel = %Leaderboard
@onready var organize: OrganizePanel = %Organize
@onready var tournaments: TournamentsPanel = %Tournaments
@onready var predictions: PredictionsPanel = %Predictions
@onready var feed: EventFeed = %Feed
@onready var status: Label = %Status


func _ready() -> void:
	leaderboard.bind(core)
	organize.bind(core)
	predictions.bind(core, economy, func(id: String) -> Dictionary: return teams_by_id.get(id, {}))
	predictions.books_changed.connect(_show_balance)
	next_day_button.pressed.connect(advance.bind(1))
	next_week_button.pressed.connect(advance.bind(DAYS_PER_WEEK))
	save_button.pressed.connect(save_game)
	load_button.pressed.connect(load_game)
	new_game_button.pressed.connect(new_game)
	core.current_date_changed.connect(_queue_refresh.unbind(1))
	core.leaderboard_changed.connect(_queue_refresh.unbind(1))
	core.organize_changed.connect(_queue_refresh.unbind(1))
	core.tournament_created.connect(_on_tournament_created)
	core.achievement_event.connect(_on_achievement_event)
	refresh()


func advance(days: int) -> void:
	_news.clear()
	for day in days:
		if not core.advance_day():
			_news.append("The calendar could not move on: start a new game.")
			break
	_news.insert(0, "Played until %s." % core.get_current_date())
	set_status(" ".join(_news))


func save_game() -> void:
	var error := SaveGame.write(save_path, core, economy)
	set_status(error if error != "" else "Game saved on %s." % core.get_current_date())


func load_game() -> void:
	var saved := SaveGame.read(save_path)
	if not saved.ok:
		set_status(saved.error)
		return
	economy.from_dict(saved.economy)
	core.from_dict(saved.game)
	feed.clear_feed()
	set_status("Game loaded: back on %s." % core.get_current_date())


func new_game() -> void:
	economy.from_dict({})
	core.initialize_new_game()
	feed.clear_feed()
	set_status("A new season begins on %s." % core.get_current_date())


func set_status(text: String) -> void:
	status.text = text


## Redraws every screen from the game core's views now.
func refresh() -> void:
	_refresh_queued = false
	organize_data = core.get_organize_data()
	var board := core.get_leaderboard_data()
	teams_by_id.clear()
	for row in board.teams:
		teams_by_id[row.id] = row
	_tournament_names.clear()
	for t in organize_data.tournaments:
		_tournament_names[int(t.id)] = t.name
	date_label.text = core.get_current_date()
	credits_label.text = "Credits " + Texts.money(core.get_credits())
	_show_balance()
	leaderboard.refresh()
	organize.refresh(organize_data)
	tournaments.refresh(organize_data.tournaments)
	predictions.refresh(organize_data.tournaments)


func tournament_name(id: int) -> String:
	return _tournament_names.get(id, "Tournament %d" % id)


func team_name(id: String) -> String:
	return teams_by_id.get(id, {}).get("name", id)


func _show_balance() -> void:
	balance_label.text = "Balance " + Texts.money(economy.get_funds())


func _queue_refresh() -> void:
	if not _refresh_queued:
		_refresh_queued = true
		refresh.call_deferred()


func _on_tournament_created(result: Dictionary) -> void:
	if result.ok:
		for t in result.organize_data.tournaments:
			_tournament_names[int(t.id)] = t.name
	_queue_refresh()


func _on_achievement_event(event: Dictionary) -> void:
	var date := core.get_current_date()
	feed.add_event(date, event, tournament_name, team_name)
	if event.get("type") == "match_played":
		_news.append_array(predictions.settle_match(event, date))
	elif event.get("type") == "tournament_completed":
		_news.append("%s is completed." % tournament_name(int(event.get("tour_id", 0))))
