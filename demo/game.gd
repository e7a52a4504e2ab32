extends Control
# The demo game. One GameCore runs the world (teams, calendar, the player's tournaments and organiser funds);
# one EconomySystem holds the player's predictions. The screens read the game core's views; its signals only
# mark them stale, and one refresh per frame redraws them, so a week of days costs one redraw. The player's
# language lives in a GameSettings node: choosing one sets its locale, and its locale_changed applies it to the
# engine and redraws every screen (see ui/texts.gd for how texts are translated).

const Texts := preload("res://ui/texts.gd")
const SaveGame := preload("res://ui/save_game.gd")
const LeaderboardPanel := preload("res://ui/leaderboard_panel.gd")
const OrganizePanel := preload("res://ui/organize_panel.gd")
const TournamentsPanel := preload("res://ui/tournaments_panel.gd")
const PredictionsPanel := preload("res://ui/predictions_panel.gd")
const EventFeed := preload("res://ui/event_feed.gd")
const StatsPanel := preload("res://ui/stats/stats_panel.gd")
const DAYS_PER_WEEK := 7
const SCREEN_TITLES := {"Leaderboard": "DEMO_TAB_LEADERBOARD", "Organize": "DEMO_TAB_ORGANIZE",
		"Tournaments": "DEMO_TAB_TOURNAMENTS", "Predictions": "DEMO_TAB_PREDICTIONS", "Statistics": "DEMO_TAB_STATISTICS"}
## The languages the demo offers, each named in itself.
const LANGUAGES := {"en": "English", "de": "Deutsch", "fr": "Français", "es": "Español",
		"pt_BR": "Português (Brasil)", "ru": "Русский"}

## Where Save and Load keep the game.
@export var save_path := "user://teamforge_save.txt"

var economy := EconomySystem.new()
## Live leaderboard rows by team id, from the last refresh.
var teams_by_id: Dictionary = {}
## The organize data of the last refresh.
var organize_data: Dictionary = {}

var _tournament_names: Dictionary = {}
var _refresh_queued := false
# What happened during the days being played, for the status line: callables that give each line in the
# current language, so the line follows a change of language.
var _news: Array = []
var _status_text := Callable()

@onready var core: GameCore = $GameCore
@onready var settings: GameSettings = $Settings
@onready var language_option: OptionButton = %Language
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
@onready var statistics: StatsPanel = %Statistics
@onready var feed: EventFeed = %Feed
@onready var status: Label = %Status


func _ready() -> void:
	# Tab titles are keys: the tab bar translates them.
	for page in SCREEN_TITLES:
		screens.set_tab_title(screens.get_tab_idx_from_control(get_node("%" + page)), SCREEN_TITLES[page])
	leaderboard.bind(core)
	organize.bind(core)
	predictions.bind(core, economy, func(id: String) -> Dictionary: return teams_by_id.get(id, {}))
	predictions.books_changed.connect(_show_balance)
	statistics.bind(core)
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
	for code in LANGUAGES:
		language_option.add_item(LANGUAGES[code])
		language_option.set_item_metadata(language_option.item_count - 1, code)
	language_option.item_selected.connect(func(index: int) -> void:
		settings.set_locale(language_option.get_item_metadata(index)))
	settings.locale_changed.connect(_apply_locale)
	_apply_locale(settings.get_locale())
	set_status(func() -> String: return Texts.text("DEMO_WELCOME"))


func advance(days: int) -> void:
	_news.clear()
	for day in days:
		if not core.advance_day():
			_news.append(func() -> String: return Texts.text("DEMO_CALENDAR_STUCK"))
			break
	var date := core.get_current_date()
	var news := _news.duplicate()
	set_status(func() -> String:
		return " ".join([Texts.text("DEMO_PLAYED_UNTIL") % Texts.date(date)] + news.map(func(line): return line.call())))


func save_game() -> void:
	var error := SaveGame.write(save_path, core, economy, settings)
	var date := core.get_current_date()
	set_status(func() -> String: return error if error != "" else Texts.text("DEMO_GAME_SAVED") % Texts.date(date))


func load_game() -> void:
	var saved := SaveGame.read(save_path)
	if not saved.ok:
		set_status(func() -> String: return saved.error)
		return
	economy.from_dict(saved.economy)
	core.from_dict(saved.game)
	feed.clear_feed()
	settings.from_dict(saved.settings)
	var date := core.get_current_date()
	set_status(func() -> String: return Texts.text("DEMO_GAME_LOADED") % Texts.date(date))


func new_game() -> void:
	economy.from_dict({})
	core.initialize_new_game()
	feed.clear_feed()
	organize.clear_form()
	var date := core.get_current_date()
	set_status(func() -> String: return Texts.text("DEMO_NEW_SEASON") % Texts.date(date))


## Shows what text gives, and again in the new language when the language changes.
func set_status(text: Callable) -> void:
	_status_text = text
	status.text = text.call()


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
	date_label.text = Texts.date(core.get_current_date())
	credits_label.text = Texts.text("DEMO_CREDITS") % Texts.money(core.get_credits())
	_show_balance()
	leaderboard.refresh()
	organize.refresh(organize_data)
	tournaments.refresh(organize_data.tournaments)
	predictions.refresh(organize_data.tournaments)


func tournament_name(id: int) -> String:
	return _tournament_names.get(id, Texts.text("DEMO_TOURNAMENT_NUMBER") % id)


func team_name(id: String) -> String:
	return teams_by_id.get(id, {}).get("name", id)


func _show_balance() -> void:
	balance_label.text = Texts.text("DEMO_BALANCE") % Texts.money(economy.get_funds())


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
		var name := tournament_name(int(event.get("tour_id", 0)))
		_news.append(func() -> String: return Texts.text("DEMO_TOURNAMENT_COMPLETED") % name)


# The engine's locale follows the settings; every screen is redrawn in it at once.
func _apply_locale(locale: String) -> void:
	TranslationServer.set_locale(locale)
	var index := range(language_option.item_count).map(language_option.get_item_metadata).find(locale)
	language_option.select(index)
	refresh()
	feed.redraw(tournament_name, team_name)
	if _status_text.is_valid():
		status.text = _status_text.call()
