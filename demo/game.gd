extends Control
# The demo game. One GameCore runs the world (teams, calendar, the player's tournaments and organiser funds);
# one EconomySystem holds the player's predictions. The screens read the game core's light queries; its signals
# only mark them stale, and one refresh per frame redraws the screen on show (a hidden one is redrawn when it is
# shown), so a week of days costs one redraw and a long career stays quick. At each turn of the year the
# tournaments that finished before the season just ended are archived: their results stay, their match records
# go. The player's language lives in a GameSettings node: choosing one sets its locale, and its locale_changed
# applies it to the engine and redraws the screens (see ui/texts.gd for how texts are translated).

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

# Names by id for the feed and the status line, read from the game core when an id is missing; a loaded or
# new game empties them.
var _tournament_names: Dictionary = {}
var _team_names: Dictionary = {}
var _refresh_queued := false
# The screens redrawn by refresh(); each one hidden at a refresh is redrawn when it is shown.
var _pages: Array[Control] = []
var _stale: Dictionary = {}
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
	tournaments.bind(core)
	predictions.bind(core, economy, team_name)
	predictions.books_changed.connect(_show_balance)
	statistics.bind(core)
	_pages = [leaderboard, organize, tournaments, predictions]
	screens.tab_changed.connect(func(_tab: int) -> void: _refresh_if_stale(screens.get_current_tab_control()))
	next_day_button.pressed.connect(advance.bind(1))
	next_week_button.pressed.connect(advance.bind(DAYS_PER_WEEK))
	save_button.pressed.connect(save_game)
	load_button.pressed.connect(load_game)
	new_game_button.pressed.connect(new_game)
	# A day, a load and a new game all announce the date; a creation its result. Not leaderboard_changed nor
	# organize_changed: the game core builds their views only for listeners, and the screens read what they need.
	core.current_date_changed.connect(_queue_refresh.unbind(1))
	core.tournament_created.connect(_queue_refresh.unbind(1))
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
		var year := core.get_current_date().left(4).to_int()
		if not core.advance_day():
			_news.append(func() -> String: return Texts.text("DEMO_CALENDAR_STUCK"))
			break
		var new_year := core.get_current_date().left(4).to_int()
		if new_year > year:
			# The last full season stays browsable match by match; anything older keeps its results only.
			core.archive_tournaments_before("%d-01-01" % (new_year - 1))
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
	_forget_game()
	core.from_dict(saved.game)
	feed.rebuild(core, tournament_name, team_name)
	settings.from_dict(saved.settings)
	var date := core.get_current_date()
	set_status(func() -> String: return Texts.text("DEMO_GAME_LOADED") % Texts.date(date))


func new_game() -> void:
	economy.from_dict({})
	_forget_game()
	core.initialize_new_game()
	feed.clear_feed()
	organize.clear_form()
	var date := core.get_current_date()
	set_status(func() -> String: return Texts.text("DEMO_NEW_SEASON") % Texts.date(date))


## Shows what text gives, and again in the new language when the language changes.
func set_status(text: Callable) -> void:
	_status_text = text
	status.text = text.call()


## Redraws the top bar and the screen on show now; the other screens are redrawn when shown.
func refresh() -> void:
	_refresh_queued = false
	date_label.text = Texts.date(core.get_current_date())
	credits_label.text = Texts.text("DEMO_CREDITS") % Texts.money(core.get_credits())
	_show_balance()
	var shown := screens.get_current_tab_control()
	for page in _pages:
		_stale[page] = true
	_refresh_if_stale(shown)


func tournament_name(id: int) -> String:
	if not _tournament_names.has(id):
		for summary in core.get_tournament_summaries():
			_tournament_names[int(summary.id)] = summary.name
	return _tournament_names.get(id, Texts.text("DEMO_TOURNAMENT_NUMBER") % id)


func team_name(id: String) -> String:
	# The roster is fixed for a game: read once.
	if _team_names.is_empty():
		for row in core.get_leaderboard_data().teams:
			_team_names[row.id] = row.name
	return _team_names.get(id, id)


# Another game reuses tournament ids, and may hold the same tournaments at another point: what the screens
# keep of the last one goes.
func _forget_game() -> void:
	_tournament_names.clear()
	_team_names.clear()
	statistics.forget_histories()
	predictions.forget_tournaments()
	tournaments.forget_tournaments()


func _refresh_if_stale(page: Control) -> void:
	if _stale.get(page, false):
		_stale[page] = false
		page.refresh()


func _show_balance() -> void:
	balance_label.text = Texts.text("DEMO_BALANCE") % Texts.money(economy.get_funds())


func _queue_refresh() -> void:
	if not _refresh_queued:
		_refresh_queued = true
		refresh.call_deferred()


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
