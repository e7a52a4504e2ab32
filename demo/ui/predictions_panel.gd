extends VBoxContainer
# Predictions on upcoming matches with the player's EconomySystem: odds from the two teams' live ratings, a
# stake on one side, settlement when the game core reports the match played, the balance and the ledger.

const Texts := preload("res://ui/texts.gd")
const TableColumns := preload("res://addons/teamforge/controls/table_columns.gd")
const TableRows := preload("res://addons/teamforge/controls/table_rows.gd")

## The balance, the predictions or the ledger changed.
signal books_changed

enum UpcomingColumn { DATE, TOURNAMENT, MATCH, TEAM_A, ODDS_A, TEAM_B, ODDS_B }
enum HistoryColumn { DATE, MATCH, PICK, STAKE, ODDS, RESULT, PAYOUT }
enum LedgerColumn { DATE, ENTRY, CHANGE, BALANCE }

const UPCOMING_TITLES := ["DEMO_DATE_TITLE", "DEMO_TOURNAMENT", "DEMO_MATCH", "DEMO_TEAM_A", "DEMO_ODDS", "DEMO_TEAM_B",
		"DEMO_ODDS"]
const UPCOMING_WIDTHS := [100, 0, 150, 140, 55, 140, 55]
const HISTORY_TITLES := ["DEMO_DATE_TITLE", "DEMO_MATCH", "DEMO_PICK", "DEMO_STAKE", "DEMO_ODDS", "DEMO_RESULT",
		"DEMO_PAYOUT"]
const HISTORY_WIDTHS := [100, 0, 140, 110, 60, 70, 110]
const LEDGER_TITLES := ["DEMO_DATE_TITLE", "DEMO_ENTRY", "DEMO_CHANGE", "DEMO_BALANCE_TITLE"]
const BOOK_TITLES := ["DEMO_PREDICTIONS", "DEMO_LEDGER"]
const LEDGER_WIDTHS := [100, 0, 130, 140]
const MAX_UPCOMING := 80
const SUCCESS_COLOR := Color(0.45, 0.85, 0.5)
const FAILURE_COLOR := Color(1.0, 0.45, 0.4)

var core: GameCore
var economy: EconomySystem
## Returns a team's name by its id.
var team_name: Callable
## Live leaderboard rows by team id, from the last refresh: the ratings the odds come from.
var rows_by_id: Dictionary = {}
## The matches open for a stake, keyed "<tournament id>:<match id>": {"tournament", "stage_idx", "node",
## "match_label", "odds"}.
var upcoming: Dictionary = {}
## The last result of place_guess, and of each settle_prediction, as the economy returned them.
var last_place_result: Dictionary = {}
var last_settlements: Array = []

var _selected_key := ""
# The day the last stake was placed or refused: its message is news for that day only.
var _place_date := ""
# The tournaments under way as last read, by id: [summary, tournament]. A tournament's open matches change
# only with its summary (invitation, start) or on a day it reports an event (a match, a Swiss round).
var _read: Dictionary = {}
var _last_date := ""
var _upcoming_rows: TableRows
var _history_rows: TableRows
var _ledger_rows: TableRows

@onready var balance: Label = %Balance
@onready var open_count: Label = %OpenCount
@onready var upcoming_table: Tree = %Upcoming
@onready var pick: OptionButton = %Pick
@onready var amount: SpinBox = %Amount
@onready var place_button: Button = %PlaceGuess
@onready var message: Label = %Message
@onready var history: Tree = %History
@onready var ledger: Tree = %Ledger
@onready var books: TabContainer = %Books


func _ready() -> void:
	TableColumns.set_columns(upcoming_table, UPCOMING_TITLES, UPCOMING_WIDTHS)
	TableColumns.set_columns(history, HISTORY_TITLES, HISTORY_WIDTHS)
	TableColumns.set_columns(ledger, LEDGER_TITLES, LEDGER_WIDTHS)
	for tab in BOOK_TITLES.size():
		books.set_tab_title(tab, BOOK_TITLES[tab])
	_upcoming_rows = TableRows.new(upcoming_table, UPCOMING_WIDTHS)
	_history_rows = TableRows.new(history, HISTORY_WIDTHS)
	_ledger_rows = TableRows.new(ledger, LEDGER_WIDTHS)
	_upcoming_rows.empty_reason = func() -> String: return Texts.text(no_match_reason())
	_history_rows.empty_reason = func() -> String: return Texts.text("DEMO_NO_PREDICTIONS_YET")
	_ledger_rows.empty_reason = func() -> String: return Texts.text("DEMO_LEDGER_EMPTY")
	upcoming_table.item_selected.connect(_on_match_selected)
	place_button.pressed.connect(_on_place_pressed)


func bind(game_core: GameCore, player_economy: EconomySystem, name_of_team: Callable) -> void:
	core = game_core
	economy = player_economy
	team_name = name_of_team
	core.achievement_event.connect(func(event: Dictionary) -> void: _read.erase(int(event.get("tour_id", 0))))
	core.current_date_changed.connect(_on_date_changed)


## Reads every tournament again at the next refresh: another game was loaded or started.
func forget_tournaments() -> void:
	_read.clear()


## A TeamData with the team's live rating, for the economy's odds and stakes; null for an unknown id.
func team_data(id: String) -> TeamData:
	var row: Dictionary = rows_by_id.get(id, {})
	if row.is_empty():
		return null
	var team := TeamData.new()
	team.from_dict(row)
	return team


func refresh() -> void:
	if core == null:
		return
	rows_by_id.clear()
	for row in core.get_leaderboard_data().teams:
		rows_by_id[row.id] = row
	_collect_upcoming()
	var keys := upcoming.keys()
	keys.sort_custom(func(x: String, y: String) -> bool:
		var dx: String = upcoming[x].node.date
		var dy: String = upcoming[y].node.date
		return dx < dy if dx != dy else x < y)
	# Each row as it reads: a row is written again only when its text changes.
	var rows := keys.slice(0, MAX_UPCOMING).map(func(key: String) -> Array:
		var entry: Dictionary = upcoming[key]
		var node: Dictionary = entry.node
		return [key, Texts.date(node.date), entry.tournament.name, entry.match_label, node.team_a.get("name", ""),
				Texts.odds(entry.odds.ratio_a), node.team_b.get("name", ""), Texts.odds(entry.odds.ratio_b)])
	_upcoming_rows.show(rows, func(item: TreeItem, row: Array) -> void:
		item.set_metadata(0, row[0])
		for column in UpcomingColumn.values():
			item.set_text(column, row[column + 1])
		for column in [UpcomingColumn.ODDS_A, UpcomingColumn.ODDS_B]:
			item.set_text_alignment(column, HORIZONTAL_ALIGNMENT_RIGHT)
		if row[0] == _selected_key:
			item.select(0)
		else:
			item.deselect(0))
	if not upcoming.has(_selected_key):
		_select_match("")
	_explain_place_button()
	refresh_books()


## Balance, open count, the predictions and the ledger.
func refresh_books() -> void:
	if economy == null:
		return
	if _place_date != core.get_current_date():
		last_place_result = {}
	_show_balance()
	# The currency sits where the language writes it: "$%s" or "%s $".
	var currency := Texts.text("TEAMFORGE_MONEY").split("%s")
	amount.prefix = currency[0].replace("\u00a0", " ").strip_edges()
	amount.suffix = currency[-1].replace("\u00a0", " ").strip_edges() if currency.size() > 1 else ""
	var guesses := economy.get_guess_history().filter(func(guess: Variant) -> bool: return guess is Dictionary)
	_history_rows.show(guesses, _write_guess)
	var open := guesses.filter(func(guess: Dictionary) -> bool: return guess.get("status", "OPEN") != "SETTLED").size()
	open_count.text = Texts.text("DEMO_PREDICTION_COUNTS").format({"open": Texts.count("DEMO_OPEN_COUNT", open),
			"all": Texts.count("DEMO_PREDICTION_COUNT", guesses.size())})
	# Newest first.
	var entries := economy.get_fund_ledger().filter(func(entry: Variant) -> bool: return entry is Dictionary)
	entries.reverse()
	# An entry names its prediction by the match and tournament, never by the economy's id.
	var guesses_by_id := {}
	for guess in guesses:
		guesses_by_id[guess.get("id", "")] = guess
	_ledger_rows.show(entries.map(func(entry: Dictionary) -> Array: return [entry,
			guesses_by_id.get(entry.get("guess_id", ""), {})]), func(item: TreeItem, record: Array) -> void:
		var entry: Dictionary = record[0]
		item.set_text(LedgerColumn.DATE, Texts.date(entry.get("date", "")))
		item.set_text(LedgerColumn.ENTRY, ledger_entry_text(entry, record[1]))
		item.set_text(LedgerColumn.CHANGE, Texts.signed_money(int(entry.get("delta", 0))))
		item.set_text(LedgerColumn.BALANCE, Texts.money(int(entry.get("balance_after", 0))))
		for column in [LedgerColumn.CHANGE, LedgerColumn.BALANCE]:
			item.set_text_alignment(column, HORIZONTAL_ALIGNMENT_RIGHT))
	_show_place_result()
	books_changed.emit()


## A ledger entry in words: what happened and to which prediction, by its match and tournament.
static func ledger_entry_text(entry: Dictionary, guess: Dictionary) -> String:
	var what := Texts.ledger_type_name(str(entry.get("type", "")))
	if guess.is_empty():
		return what
	return Texts.text("DEMO_LEDGER_ENTRY").format({"entry": what, "match": str(guess.get("match_name", "")),
			"tournament": str(guess.get("tour_name", ""))})


func _write_guess(item: TreeItem, guess: Dictionary) -> void:
	item.set_metadata(0, guess.get("id", ""))
	item.set_text(HistoryColumn.DATE, Texts.date(guess.get("match_date", "")))
	item.set_text(HistoryColumn.MATCH, guess.get("match_name", ""))
	item.set_tooltip_text(HistoryColumn.MATCH, "%s\n%s" % [guess.get("match_name", ""), guess.get("tour_name", "")])
	item.set_text(HistoryColumn.PICK, guess.get("pick_name", ""))
	item.set_text(HistoryColumn.STAKE, Texts.money(int(guess.get("amount", 0))))
	item.set_text(HistoryColumn.ODDS, Texts.odds(float(guess.get("chosen_odds", 0.0))))
	if guess.get("status", "OPEN") == "SETTLED":
		var won: bool = guess.get("success") == true
		item.set_text(HistoryColumn.RESULT, Texts.text("DEMO_WON" if won else "DEMO_LOST"))
		item.set_custom_color(HistoryColumn.RESULT, SUCCESS_COLOR if won else FAILURE_COLOR)
		item.set_text(HistoryColumn.PAYOUT, Texts.money(int(guess.get("payout", 0))))
		item.set_tooltip_text(HistoryColumn.RESULT, Texts.text("DEMO_SETTLED_TOOLTIP") % [guess.get("winner_name", ""),
				Texts.date(guess.get("settle_date", ""))])
	else:
		item.clear_custom_color(HistoryColumn.RESULT)
		item.set_tooltip_text(HistoryColumn.RESULT, "")
		item.set_text(HistoryColumn.RESULT, Texts.label(str(guess.get("status", "OPEN"))))
		item.set_text(HistoryColumn.PAYOUT, "(%s)" % Texts.money(int(guess.get("potential_payout", 0))))
	for column in [HistoryColumn.STAKE, HistoryColumn.ODDS, HistoryColumn.PAYOUT]:
		item.set_text_alignment(column, HORIZONTAL_ALIGNMENT_RIGHT)


## Settles every open prediction on a match the game core reports played; returns for each a callable that
## gives its line in the current language.
func settle_match(event: Dictionary, date: String) -> Array:
	var lines := []
	var context: Dictionary = event.get("context", {})
	var match_id: String = context.get("match_id", "")
	var winner_id: String = context.get("winner_id", "")
	var due := []
	for guess in economy.get_guess_history():
		if guess is Dictionary and guess.get("status", "OPEN") != "SETTLED" and guess.get("match_id", "") == match_id \
				and int(guess.get("tour_id", -1)) == int(event.get("tour_id", 0)):
			due.append(guess)
	for guess in due:
		var winner_name := str(team_name.call(winner_id))
		for side in ["team_a", "team_b"]:
			if winner_id == str(guess.get(side + "_id", "")):
				winner_name = str(guess.get(side + "_name", winner_name))
		var result: Dictionary = economy.settle_prediction(str(guess.get("id", "")), winner_id, winner_name, date)
		last_settlements.append(result)
		var pick_name := str(guess.get("pick_name", ""))
		var match_name := str(guess.get("match_name", ""))
		if not result.get("ok", false):
			var code := str(result.get("error", ""))
			lines.append(func() -> String: return Texts.message(code))
		elif result.guess.success:
			var payout := int(result.guess.payout)
			lines.append(func() -> String: return Texts.text("DEMO_PREDICTION_WON") % [pick_name, Texts.money(payout)])
		else:
			lines.append(func() -> String: return Texts.text("DEMO_PREDICTION_LOST") % [pick_name, winner_name, match_name])
	# The tables wait until the screen is shown; the balance is one label.
	if not due.is_empty():
		if is_visible_in_tree():
			refresh_books()
		else:
			_show_balance()
			books_changed.emit()
	return lines


func _show_balance() -> void:
	balance.text = Texts.text("DEMO_BALANCE") % Texts.money(economy.get_funds())


# Only the tournaments under way can have a match open for a stake: each is read alone.
func _collect_upcoming() -> void:
	upcoming.clear()
	var rated := {}
	for summary in core.get_tournament_summaries():
		if summary.status != "WAITING" and summary.status != "ACTIVE":
			continue
		var id := int(summary.id)
		if not _read.has(id) or _read[id][0] != summary:
			_read[id] = [summary, core.get_tournament(id)]
		var t: Dictionary = _read[id][1]
		var stages: Array = t.get("stages", [])
		for stage_idx in stages.size():
			var stage_name: String = stages[stage_idx].get("name", "")
			for node in stages[stage_idx].get("nodes", []):
				if node.status != "PENDING" or node.team_a.is_empty() or node.team_b.is_empty():
					continue
				var odds := economy.calculate_guess_ratios(_rated(node.team_a.get("id", ""), rated),
						_rated(node.team_b.get("id", ""), rated))
				var label := Texts.name_of(node.name) if node.name == stage_name \
						else "%s, %s" % [Texts.name_of(stage_name), Texts.name_of(node.name)]
				upcoming["%d:%s" % [t.id, node.id]] = {"tournament": t, "stage_idx": stage_idx, "node": node,
						"match_label": label, "odds": odds}


# The odds read the live rating alone: a team made of id, name and rating, once per team.
func _rated(id: String, made: Dictionary) -> TeamData:
	if not made.has(id):
		var row: Dictionary = rows_by_id.get(id, {})
		var team: TeamData = null
		if not row.is_empty():
			team = TeamData.new()
			team.from_dict({"id": row.id, "name": row.name, "vrs": row.vrs})
		made[id] = team
	return made[id]


# Any jump of the calendar but a day is another game.
func _on_date_changed(date: String) -> void:
	var next_day := Time.get_date_string_from_unix_time(
			Time.get_unix_time_from_datetime_string(_last_date + "T00:00:00") + 86400) if _last_date != "" else ""
	if date != next_day:
		_read.clear()
	_last_date = date


## Why no match is open for a stake, as a key: no tournament under way, or none of its matches has both teams
## yet.
func no_match_reason() -> String:
	if core != null and core.get_tournament_summaries().any(func(summary: Dictionary) -> bool:
			return summary.status == "WAITING" or summary.status == "ACTIVE"):
		return "DEMO_NO_MATCH_READY"
	return "DEMO_NO_TOURNAMENT_RUNNING"


func _on_match_selected() -> void:
	var item := upcoming_table.get_selected()
	var key := str(item.get_metadata(0)) if item != null else ""
	if key != _selected_key:
		# Another match: the last stake's message belongs to the one before.
		last_place_result = {}
		message.text = ""
	_select_match(key)


func _select_match(key: String) -> void:
	_selected_key = key
	pick.clear()
	place_button.disabled = not upcoming.has(key)
	_explain_place_button()
	if not upcoming.has(key):
		return
	var entry: Dictionary = upcoming[key]
	for side in [["team_a", "ratio_a"], ["team_b", "ratio_b"]]:
		var team: Dictionary = entry.node[side[0]]
		pick.add_item(Texts.text("DEMO_PICK_AT_ODDS") % [team.get("name", ""), Texts.odds(entry.odds[side[1]])])
		pick.set_item_metadata(pick.item_count - 1, team.get("id", ""))
	pick.select(0)


# A disabled button says why; the button translates the key itself.
func _explain_place_button() -> void:
	place_button.tooltip_text = "" if not place_button.disabled else "DEMO_CHOOSE_A_MATCH" if not upcoming.is_empty() \
			else no_match_reason()


func _on_place_pressed() -> void:
	if not upcoming.has(_selected_key) or pick.selected < 0:
		return
	var entry: Dictionary = upcoming[_selected_key]
	var t: Dictionary = entry.tournament
	var node: Dictionary = entry.node
	var stake := int(amount.value)
	last_place_result = economy.place_guess(int(t.id), t.name, entry.stage_idx, node.id,
			"%s vs %s" % [node.team_a.get("name", ""), node.team_b.get("name", "")], node.date,
			team_data(node.team_a.get("id", "")), team_data(node.team_b.get("id", "")),
			pick.get_item_metadata(pick.selected), stake)
	_place_date = core.get_current_date()
	refresh_books()


func _show_place_result() -> void:
	if last_place_result.is_empty():
		message.text = ""
	elif last_place_result.get("ok", false):
		var guess: Dictionary = last_place_result.guess
		message.text = Texts.text("DEMO_STAKED") % [Texts.money(guess.amount), guess.pick_name,
				Texts.odds(guess.chosen_odds), Texts.money(guess.potential_payout)]
		message.add_theme_color_override("font_color", SUCCESS_COLOR)
	else:
		message.text = Texts.message(last_place_result.get("error", ""))
		message.add_theme_color_override("font_color", FAILURE_COLOR)
