extends SceneTree
# Plays the demo game through a season in a real window, as a player would: clicks its buttons and tabs, picks
# options, types into its fields, and checks what its tables and labels show against the library's own answers
# (the game core's views, the tournaments, the economy). Then chooses another language in the top bar and
# plays the season again in it, and again in a third. On every screen it checks that no raw code or internal id
# is visible, no text is cut off without its tooltip and no table scrolls sideways, saves a screenshot, and
# fails on any script or engine error reported while it runs.
#   tools/run_demo.sh --build <dir> --xvfb --check --script tests/demo/test_demo_season.gd -- --out=<dir>
# Prints "demo season: N checks, N failed" last; exits 1 on any failure.

const Texts := preload("res://ui/texts.gd")
const GAME_SCENE := preload("res://game.tscn")
const Game := preload("res://game.gd")
const EventFeed := preload("res://ui/event_feed.gd")
const BracketCanvas := preload("res://addons/teamforge/controls/bracket_canvas.gd")

# The season is played in each; the first is the game's default.
const LOCALES := ["en", "de", "ru"]
# A text that reads like a code the library or the demo hands out, not a word.
static var RAW_CODE := RegEx.create_from_string("^[A-Z][A-Z0-9_]+$")
# An id the library hands out anywhere in a text: a match ("m_12"), a team ("t-7"), a prediction ("2:m_12:1").
static var INTERNAL_ID := RegEx.create_from_string("(?<![A-Za-z0-9])[a-z]{1,3}[_-]\\d+(?![A-Za-z0-9])")
# A cell of figures (a date, a sum, odds, a record): never shortened.
static var FIGURES := RegEx.create_from_string("^[-+(]?(US\\$ ?)?[\\d.,/:$\\s\u00a0\u202f–-]+\\)?$")

# Format, tier, invitation date, city, the message key expected. Spends the organiser's 10 million down to
# a refusal, and meets on the way every refusal the form can produce.
const ORGANIZE := [
	["MAJOR", "HIGHEST", "", "", "ERROR_HOST_CITY_REQUIRED"],
	["MAJOR", "HIGHEST", "2026-02-30", "Austin", "ERROR_INVALID_INVITATION_DATE"],
	["MAJOR", "HIGHEST", "soon", "Austin", "ERROR_INVALID_INVITATION_DATE"],
	["MAJOR", "HIGHEST", "2026-01-01", "Austin", "ERROR_INVITATION_DATE_AFTER_CURRENT_DATE"],
	["MAJOR", "HIGHEST", "2026-01-10", "Austin", "ORGANIZE_CREATE_SUCCESS"],
	["EPL", "TIER_OPEN", "", "", "ORGANIZE_CREATE_SUCCESS"],
	["BLAST", "TIER_S", "2026-01-05", "Lisbon", "ORGANIZE_CREATE_SUCCESS"],
	["BLAST", "TIER_1", "2026-03-01", " lisbon ", "ERROR_DUPLICATE_CITY_FORMAT_YEAR"],
	["IEM", "TIER_1", "2026-02-01", "Dallas", "ORGANIZE_CREATE_SUCCESS"],
	["EWC", "HIGHEST", "2026-04-01", "", "ORGANIZE_CREATE_SUCCESS"],
	["EWC", "HIGHEST", "2026-09-01", "", "ERROR_EWC_YEAR_LIMIT"],
	["MAJOR", "HIGHEST", "2026-02-01", "Paris", "ERROR_MAJOR_INVITATION_AFTER_PREVIOUS_FINAL"],
	["MAJOR", "HIGHEST", "2026-06-01", "Paris", "ORGANIZE_CREATE_SUCCESS"],
	["IEM", "HIGHEST", "2026-06-10", "Cologne", "ORGANIZE_CREATE_SUCCESS"],
	["BLAST", "HIGHEST", "2026-06-15", "Abu Dhabi", "ORGANIZE_CREATE_SUCCESS"],
	["EPL", "HIGHEST", "2026-07-01", "", "ERROR_INSUFFICIENT_FUNDS"],
]
const STAKE := 250000
const MAX_WEEKS := 60
# A stuck run fails instead of waiting for the shell's timeout.
const TIME_LIMIT_S := 600.0


## Fails the run on any error the engine or a script reports; warnings (the library warns on refusals) pass.
class ErrorTrap:
	extends Logger

	var errors := PackedStringArray()
	var _mutex := Mutex.new()

	func _log_error(function: String, file: String, line: int, code: String, rationale: String,
			_editor_notify: bool, error_type: int, _script_backtraces: Array[ScriptBacktrace]) -> void:
		if error_type == ERROR_TYPE_WARNING:
			return
		_mutex.lock()
		errors.append("%s (%s:%d in %s)" % [rationale if rationale != "" else code, file, line, function])
		_mutex.unlock()


var game: Game
var core: GameCore
var out_dir := ""
var checks := 0
var failures := PackedStringArray()
var events: Array = []
var screenshots := PackedStringArray()
var _settlement_checked := false
## Each team's rating on the first day, from the leaderboard.
var start_ratings := {}
var _trap := ErrorTrap.new()
# Names written in capitals that are no code: teams ("MOUZ") and formats ("BLAST").
var _proper_names := {}
var _locale := "en"


func _initialize() -> void:
	OS.add_logger(_trap)
	_run()


# A script error ends the coroutine that drives the game; stop at once rather than idle until the time limit.
func _process(_delta: float) -> bool:
	var stuck := Time.get_ticks_msec() / 1000.0 > TIME_LIMIT_S
	if (not _trap.errors.is_empty() and game != null) or stuck:
		for error in _trap.errors:
			print("FAIL engine reported: ", error)
		print("demo season: stopped %s" % ("after %d s" % TIME_LIMIT_S if stuck else "by an error"))
		OS.remove_logger(_trap)
		if game != null:
			game.free()
		quit(1)
	return false


func _run() -> void:
	out_dir = _option("out", OS.get_user_data_dir().path_join("demo_season"))
	DirAccess.make_dir_recursive_absolute(out_dir)
	var started := Time.get_ticks_msec()
	game = GAME_SCENE.instantiate()
	game.save_path = out_dir.path_join("season_save.txt")
	DirAccess.remove_absolute(game.save_path)
	root.add_child(game)
	await frames(1)
	core = game.core
	core.achievement_event.connect(func(event: Dictionary) -> void: events.append(event))
	await frames(2)

	for locale in LOCALES:
		await choose_language(locale)
		for row in core.get_leaderboard_data().teams:
			start_ratings[row.id] = row.vrs
		await start_of_season()
		await empty_tables_say_why()
		await organize_tournaments()
		await play_season()
		await end_of_season()
		await season_statistics()
		await archived_after_the_year_turns()
		await old_and_damaged_saves()
		await failed_loads_leave_the_game_alone()
		await new_game_starts_over()

	game.queue_free()
	game = null
	core = null
	await frames(2)
	for error in _trap.errors:
		failures.append("engine reported: " + error)
	for failure in failures:
		print("FAIL ", failure)
	print("screenshots: %s" % ", ".join(screenshots))
	print("demo season: %d checks, %d failed, %.1f s" % [checks, failures.size(),
			(Time.get_ticks_msec() - started) / 1000.0])
	OS.remove_logger(_trap)
	quit(1 if not failures.is_empty() else 0)


# --- the season ---------------------------------------------------------------------------------------------


## Picks a language in the top bar: the settings node, the engine and every text on screen follow at once.
func choose_language(locale: String) -> void:
	_locale = locale
	_settlement_checked = false
	events.clear()
	choose(game.language_option, locale)
	await frames(1)
	_proper_names.clear()
	for team in core.get_leaderboard_data().teams:
		_proper_names[team.name] = true
	for option in core.get_organize_data().format_options:
		_proper_names[Texts.format_name(option.id)] = true
	expect_eq([game.settings.get_locale(), TranslationServer.get_locale()], [locale, locale], "the language chosen")
	expect_eq(shown(game.next_day_button, game.next_day_button.text), Texts.text("DEMO_NEXT_DAY"), "the top bar follows")
	expect(locale == "en" or Texts.text("DEMO_NEXT_DAY") != "Next day", "the demo speaks %s" % locale)
	expect_eq(game.date_label.text, Texts.date(core.get_current_date()), "the date in the new language")


func start_of_season() -> void:
	expect_eq(core.get_current_date(), "2026-01-01", "a new game starts on New Year's day")
	check_top_bar()
	await check_leaderboard()
	await screenshot("leaderboard")
	var board := game.leaderboard
	for choice in [["EU", "PRIZE"], ["AS", "VRS"], ["AM", "PRIZE"], ["ALL", "VRS"]]:
		choose(board.region_filter, choice[0])
		choose(board.sort_mode, choice[1])
		await frames(1)
		await check_leaderboard()
	expect_eq(board.table.tree.get_root().get_child_count(), 100, "the whole roster is listed")


## Before anything is organised, each empty table says why over its rows, and the disabled stake button says why
## in its tooltip.
func empty_tables_say_why() -> void:
	var panel := game.predictions
	await click_tab(game.screens, panel)
	for table in [[panel.upcoming_table, "DEMO_NO_TOURNAMENT_RUNNING"], [panel.history, "DEMO_NO_PREDICTIONS_YET"]]:
		expect_eq(empty_reason(table[0]), Texts.text(table[1]), "the empty %s says why" % table[0].name)
	expect(panel.place_button.disabled, "no match, no stake")
	expect_eq(shown(panel.place_button, panel.place_button.tooltip_text), Texts.text("DEMO_NO_TOURNAMENT_RUNNING"),
			"the disabled stake button says why")
	await screenshot("predictions_empty")
	await click_tab(game.screens, game.tournaments)
	expect_eq(empty_reason(game.tournaments.list), Texts.text("DEMO_NO_TOURNAMENTS_YET"), "the empty list says why")


## The text shown over a table while it has no row, "" when none is shown.
static func empty_reason(tree: Tree) -> String:
	for child in tree.get_children():
		if child is Label and child.visible:
			return child.text
	return ""


func organize_tournaments() -> void:
	await click_tab(game.screens, game.organize)
	var panel := game.organize
	var data := core.get_organize_data()
	expect_eq(option_ids(panel.format_option), data.format_options.map(func(o): return o.id), "format choices")
	for index in data.format_options.size():
		var option: Dictionary = data.format_options[index]
		expect_eq(shown(panel.format_option, panel.format_option.get_item_text(index)), Texts.label(option.label_key),
				"format label")
		choose(panel.format_option, option.id)
		var tiers: Array = data.tier_options_by_format[option.id]
		expect_eq(option_ids(panel.tier_option), tiers.map(func(o): return o.id), "tiers offered for " + option.id)
		expect_eq(option_texts(panel.tier_option).map(func(text): return shown(panel.tier_option, text)),
				tiers.map(func(o): return Texts.label(o.label_key)),
				"tier labels for " + option.id)
	expect_eq(panel.invitation_date.text, Texts.date(data.default_invitation_date),
			"the invitation date defaults to tomorrow, written as the language writes dates")
	# The budget has one name in the top bar and on this screen, and each figure in the bar says what it is.
	var money := Texts.money(core.get_credits())
	expect_eq(panel.funds_label.text.replace(money, "").strip_edges().trim_suffix(":").strip_edges(),
			game.credits_label.text.replace(money, "").strip_edges(), "one name for the budget")
	expect(game.credits_label.tooltip_text != "" and game.balance_label.tooltip_text != "", "the figures explain themselves")

	for request in ORGANIZE:
		var credits_before := core.get_credits()
		var count_before: int = core.get_organize_data().tournaments.size()
		choose(panel.format_option, request[0])
		choose(panel.tier_option, request[1])
		# As the language writes dates; the default as YYYY-MM-DD, which every language reads too.
		type_into(panel.invitation_date, Texts.date(request[2]) if request[2] != ""
				else core.get_organize_data().default_invitation_date)
		type_into(panel.city, request[3])
		await click(panel.create_button)
		var result: Dictionary = panel.last_result
		var what := "%s %s %s: " % [request[0], request[1], request[2]]
		expect_eq(result.get("message_key"), request[4], what + "message key")
		expect(panel.message.text.begins_with(Texts.message(request[4])), what + "message shown: " + panel.message.text)
		if request[4] == "ERROR_INVALID_INVITATION_DATE":
			expect(panel.message.text.contains(Texts.text("DEMO_DATE_PLACEHOLDER")), what + "says how to write a date")
		elif request[4] == "ERROR_INVITATION_DATE_AFTER_CURRENT_DATE":
			expect(panel.message.text.contains(Texts.text("DEMO_TODAY_IS") % Texts.date(core.get_current_date())),
					what + "says what today is")
		var tournaments: Array = core.get_organize_data().tournaments
		if request[4] == "ORGANIZE_CREATE_SUCCESS":
			expect_eq(tournaments.size(), count_before + 1, what + "one more tournament")
			expect_eq(core.get_credits(), credits_before - int(tournaments.back().prize), what + "the prize pool is paid")
			expect(panel.message.text.contains(tournaments.back().name), what + "names the new tournament")
		else:
			expect_eq([tournaments.size(), core.get_credits()], [count_before, credits_before], what + "nothing changes")
		expect_eq(tree_column(panel.organised, 0), tournaments.map(func(t): return t.name), what + "organised list")
		check_top_bar()
	await screenshot("organize")


func play_season() -> void:
	var guess_id := ""
	var saved := {}
	var checked_swiss := false
	var open_slot := []
	for week in MAX_WEEKS:
		var tournaments: Array = core.get_organize_data().tournaments
		if tournaments.all(func(t): return t.status == "COMPLETED"):
			break
		if guess_id == "" and tournaments.any(_has_open_match):
			guess_id = await stake_on_a_match()
		if not checked_swiss and _running_swiss_major(tournaments) != null:
			checked_swiss = true
			await check_tournament_view(_running_swiss_major(tournaments), "swiss_records")
			saved = await save_then_reload()
		if open_slot.is_empty() and _running_bracket(tournaments) != null:
			open_slot = await check_open_slot(_running_bracket(tournaments))
		# A few single days first, then whole weeks.
		var date_before := core.get_current_date()
		if week == 0:
			# A date typed for tomorrow is past once the day is played.
			type_into(game.organize.invitation_date, Texts.date(_day_after(date_before)))
		if week < 3:
			await click(game.next_day_button)
			expect_eq(core.get_current_date(), _day_after(date_before), "Next day moves one day")
		if week == 0:
			await click_tab(game.screens, game.organize)
			expect_eq(game.organize.message.text, "", "yesterday's organising message is gone")
			expect_eq(game.organize.invitation_date.text, Texts.date(_day_after(core.get_current_date())),
					"a past invitation date gives way to tomorrow")
		else:
			await click(game.next_week_button)
		check_top_bar()
		await check_leaderboard()
		if guess_id != "":
			await check_prediction(guess_id)
	expect(core.get_organize_data().tournaments.all(func(t): return t.status == "COMPLETED"),
			"every tournament finished within %d weeks" % MAX_WEEKS)
	expect(not saved.is_empty(), "the season was saved and loaded while a Major played its Swiss stage")
	expect(not open_slot.is_empty(), "a BLAST bracket was seen with a slot still open")
	if not open_slot.is_empty():
		var node := _node(open_slot[0], open_slot[1])
		await check_bracket(_tournament(open_slot[0]), "")
		expect_eq(game.tournaments.bracket.view.cells[open_slot[1]].names[open_slot[2]],
				node[["team_a", "team_b"][open_slot[2]]].name, "the open slot shows its team once known")
	expect(guess_id != "" and _guess(guess_id).get("status") == "SETTLED", "the prediction was settled")


## Picks the first upcoming match, checks its odds against the economy and stakes on the outsider; returns the
## guess id.
func stake_on_a_match() -> String:
	var panel := game.predictions
	await click_tab(game.screens, panel)
	var rows := tree_rows(panel.upcoming_table)
	expect(not rows.is_empty(), "upcoming matches are listed")
	if rows.is_empty():
		return ""
	await click_row(panel.upcoming_table, rows[0])
	var entry: Dictionary = panel.upcoming[rows[0].get_metadata(0)]
	var node: Dictionary = entry.node
	var reference := EconomySystem.new()
	var odds := reference.calculate_guess_ratios(_team(node.team_a.id), _team(node.team_b.id))
	expect_eq([rows[0].get_text(3), rows[0].get_text(4), rows[0].get_text(5), rows[0].get_text(6)],
			[node.team_a.name, Texts.odds(odds.ratio_a), node.team_b.name, Texts.odds(odds.ratio_b)],
			"teams and odds of the upcoming match")
	var funds_before := game.economy.get_funds()

	panel.amount.value = funds_before + panel.amount.step
	await click(panel.place_button)
	expect_eq(panel.last_place_result.get("error"), "ERROR_INSUFFICIENT_FUNDS", "a stake above the balance")
	expect_eq(panel.message.text, Texts.message("ERROR_INSUFFICIENT_FUNDS"), "the refusal is shown translated")
	expect_eq(game.economy.get_funds(), funds_before, "a refused stake costs nothing")

	var outsider := 1 if odds.ratio_b >= odds.ratio_a else 0
	panel.pick.select(outsider)
	panel.pick.item_selected.emit(outsider)
	panel.amount.value = STAKE
	await click(panel.place_button)
	var result: Dictionary = panel.last_place_result
	expect(result.get("ok", false), "the stake is placed: %s" % result)
	if not result.get("ok", false):
		return ""
	var guess: Dictionary = result.guess
	expect_eq([guess.match_id, guess.tour_id, guess.pick_team_id, guess.amount],
			[node.id, int(entry.tournament.id), [node.team_a.id, node.team_b.id][outsider], STAKE], "the guess record")
	expect_eq(guess.chosen_odds, [odds.ratio_a, odds.ratio_b][outsider], "staked at the odds shown")
	expect_eq(game.economy.get_funds(), funds_before - STAKE, "the stake leaves the balance")
	expect_eq(panel.balance.text, Texts.text("DEMO_BALANCE") % Texts.money(funds_before - STAKE), "balance label")
	check_top_bar()
	expect_eq(tree_column(panel.history, 1), [guess.match_name], "the prediction is listed")
	expect_eq(tree_column(panel.ledger, 2), [Texts.signed_money(-STAKE)], "the ledger shows the stake")
	await screenshot("predictions")
	return guess.id


func check_prediction(guess_id: String) -> void:
	var guess := _guess(guess_id)
	var panel := game.predictions
	expect_eq(panel.balance.text, Texts.text("DEMO_BALANCE") % Texts.money(game.economy.get_funds()), "balance label")
	if guess.get("status") != "SETTLED" or _settlement_checked:
		return
	_settlement_checked = true
	# The tables are redrawn when their screen is shown.
	await click_tab(game.screens, panel)
	var node := _node(int(guess.tour_id), guess.match_id)
	expect_eq(node.get("status"), "PLAYED", "settled once the match is played")
	expect_eq(guess.winner_team_id, node.winner.id, "settled against the match's winner")
	var won: bool = guess.pick_team_id == node.winner.id
	var payout := roundi(STAKE * float(guess.chosen_odds)) if won else 0
	expect_eq([guess.success, guess.payout], [won, payout], "payout of the prediction")
	expect_eq(game.economy.get_funds(), 10000000 - STAKE + payout, "balance after settlement")
	var ledger := game.economy.get_fund_ledger()
	expect_eq(ledger.map(func(e): return e.type), ["GUESS_PLACED", "GUESS_SETTLED"], "ledger entries")
	expect_eq(tree_column(panel.ledger, 2), [Texts.signed_money(payout), Texts.signed_money(-STAKE)],
			"the ledger table, newest first")
	for entry in tree_column(panel.ledger, 1):
		expect(entry.contains(guess.match_name) and entry.contains(guess.tour_name) and not entry.contains(guess.id),
				"a ledger entry names the match and the tournament: " + entry)
	expect_eq(panel.message.text, "", "the stake's message is gone on a later day")
	await click_tab(panel.books, panel.ledger)
	await screenshot("ledger")
	await click_tab(panel.books, panel.history)
	expect_eq(tree_column(panel.history, 5), [Texts.text("DEMO_WON" if won else "DEMO_LOST")], "the prediction's result")


## Saves, plays two more weeks in another language, loads: the game, the economy and the language are back as
## saved.
func save_then_reload() -> Dictionary:
	# Deep copies: honours and the guess history are shared with the live game.
	var saved := {"game": core.to_dict().duplicate(true), "economy": game.economy.to_dict().duplicate(true),
			"date": core.get_current_date()}
	await click(game.save_button)
	expect(FileAccess.file_exists(game.save_path), "the save file is written")
	expect_eq(game.status.text, Texts.text("DEMO_GAME_SAVED") % Texts.date(saved.date), "save confirmed")
	# Compressed binary, as the engine's own reader takes it: plain values only.
	expect_eq(FileAccess.get_file_as_bytes(game.save_path).slice(0, 4).get_string_from_ascii(), "GCPF",
			"the save is the engine's compressed file")
	var stored = FileAccess.open_compressed(game.save_path, FileAccess.READ, FileAccess.COMPRESSION_ZSTD).get_var(false)
	expect(stored is Dictionary and stored.get("game") == saved.game and stored.get("economy") == saved.economy,
			"get_var reads the save back as saved")
	choose(game.language_option, "fr")
	await click(game.next_week_button)
	await click(game.next_week_button)
	expect(core.get_current_date() != saved.date, "the calendar moved on after saving")
	expect_eq(TranslationServer.get_locale(), "fr", "another language after saving")
	await click(game.load_button)
	expect_eq([game.settings.get_locale(), TranslationServer.get_locale()], [_locale, _locale], "the language is loaded")
	expect_eq(game.language_option.get_item_metadata(game.language_option.selected), _locale, "the language shown")
	expect_eq(game.status.text, Texts.text("DEMO_GAME_LOADED") % Texts.date(saved.date), "load confirmed")
	expect_eq(core.get_current_date(), saved.date, "the date is back")
	expect(core.to_dict() == saved.game, "the loaded world equals the saved one")
	expect(game.economy.to_dict() == saved.economy, "the loaded economy equals the saved one")
	# The feed is written again from the matches played and the tournaments completed, then says so.
	var kept := 0
	for t in core.get_organize_data().tournaments:
		kept += int(t.status == "COMPLETED")
		for stage in t.stages:
			kept += stage.nodes.filter(func(node): return node.status == "PLAYED").size()
	expect_eq(game.feed.entry_count, mini(kept, EventFeed.MAX_ENTRIES - 1) + 1, "the feed survives the load")
	expect(game.feed.get_parsed_text().strip_edges().ends_with(Texts.text("DEMO_FEED_REBUILT")),
			"the feed says it was rebuilt")
	check_top_bar()
	await check_leaderboard()
	return saved


func end_of_season() -> void:
	var tournaments: Array = core.get_organize_data().tournaments
	await click_tab(game.screens, game.tournaments)
	var list := game.tournaments.list
	var rows := tree_rows(list)
	expect_eq(rows.size(), tournaments.size(), "every tournament is listed")
	list.scroll_to_item(rows[0])
	await frames(1)
	var eighth := list.get_item_area_rect(rows[mini(7, rows.size() - 1)])
	expect(rows.size() >= 8 and eighth.end.y <= list.size.y - list.get_theme_stylebox("panel").get_margin(SIDE_BOTTOM),
			"the list shows eight tournaments at once: the eighth ends at %d of %d" % [eighth.end.y, list.size.y])
	for index in mini(rows.size(), tournaments.size()):
		var t: Dictionary = tournaments[index]
		var last := ""
		for stage in t.stages:
			for node in stage.nodes:
				last = node.date if node.date > last else last
		expect_eq(row_texts(rows[index]), [t.name, Texts.format_name(t.format_id), Texts.tier_name(t.tier_id),
				Texts.status_name(t.status), Texts.date(t.inv_date), Texts.date(t.start_date), Texts.date(last)],
				"tournament row %d" % index)
	for t in tournaments:
		await check_tournament_view(t, "")
	var major: Dictionary = tournaments.filter(func(t): return t.format_id == "MAJOR")[0]
	await check_tournament_view(major, "tournament")
	await click_tab(game.tournaments.sections, game.tournaments.sections.get_child(2))
	await screenshot("standings")
	await season_brackets()

	var feed := game.feed
	expect_eq(feed.entry_count, mini(events.size(), EventFeed.MAX_ENTRIES), "one feed entry per event, capped")
	var completions := events.filter(func(e): return e.type == "tournament_completed")
	expect_eq(completions.size(), tournaments.size(), "a completion event per tournament")
	var last_line := feed.get_parsed_text().strip_edges().get_slice("\n", feed.get_paragraph_count() - 1)
	expect(last_line.contains(game.tournament_name(int(events.back().tour_id))), "the feed ends with the last event")

	await click_tab(game.screens, game.leaderboard)
	choose(game.leaderboard.sort_mode, "PRIZE")
	await frames(1)
	await check_leaderboard()
	var top: Dictionary = core.get_leaderboard_data("ALL", "PRIZE").teams[0]
	expect(top.prize_total > 0 and not top.honors.is_empty(), "the richest team has prize money and honours")
	await screenshot("leaderboard_by_prize")


## Selects a tournament in the list and checks every match, the Swiss records and, once completed, the
## standings against the tournament's own dictionary.
func check_tournament_view(t: Dictionary, shot: String) -> void:
	var panel := game.tournaments
	await click_tab(game.screens, panel)
	var row := _row_with(panel.list, t.id)
	expect(row != null, "%s is listed" % t.name)
	if row == null:
		return
	await click_row(panel.list, row)
	expect_eq(panel.selected_id, int(t.id), "clicking a row shows that tournament")
	expect_eq(panel.title.text, t.name, "view title")

	var stage_items := tree_rows(panel.matches)
	expect_eq(stage_items.size(), t.stages.size(), "%s: one entry per stage" % t.name)
	for s in mini(stage_items.size(), t.stages.size()):
		var stage: Dictionary = t.stages[s]
		var items: Array = stage_items[s].get_children()
		expect_eq(items.size(), stage.nodes.size(), "%s %s: every match" % [t.name, stage.name])
		for n in mini(items.size(), stage.nodes.size()):
			var node: Dictionary = stage.nodes[n]
			var score: String = "%d-%d" % [node.score_a, node.score_b] if node.status == "PLAYED" \
					else Texts.text("DEMO_VERSUS")
			expect_eq(row_texts(items[n]).slice(1, 5), [_name_of(node.team_a), score, _name_of(node.team_b),
					Texts.date(node.date)], "%s %s %s" % [t.name, stage.name, node.id])

	var swiss: Array = t.stages.filter(func(stage): return stage.type == "SWISS")
	expect_eq(panel.sections.is_tab_hidden(1), swiss.is_empty(), "the Swiss tab only with a Swiss stage")
	var record_items := tree_rows(panel.records.tree)
	for s in mini(swiss.size(), record_items.size()):
		var shown := {}
		for item in record_items[s].get_children():
			# A stage not drawn yet shows one line saying so, without a team.
			if item.get_metadata(0) != null:
				shown[item.get_metadata(0)] = [item.get_text(1), item.get_text(2), item.get_text(3)]
		if swiss[s].records.is_empty():
			expect_eq(record_items[s].get_child_count(), 1, "%s %s: not drawn yet" % [t.name, swiss[s].name])
		var expected := {}
		for record in swiss[s].records:
			expected[record.team.id] = [str(record.seed), str(record.w), str(record.l)]
		expect_eq(shown, expected, "%s %s: Swiss records" % [t.name, swiss[s].name])

	var standings := tree_rows(panel.standings.tree)
	expect_eq(panel.standings_hint.visible, t.status != "COMPLETED", "standings hint only before the end")
	expect_eq(standings.size(), t.standings.size() if t.status == "COMPLETED" else 0, "%s: standings" % t.name)
	for i in mini(standings.size(), t.standings.size()):
		var standing: Dictionary = t.standings[i]
		expect_eq(row_texts(standings[i]), [Texts.name_of(standing.placement), standing.team.name,
				Texts.region_name("REGION_" + standing.team.region), Texts.money(standing.prize),
				str(standing.vrs_before), str(standing.vrs_after), "%+d" % standing.delta_vrs],
				"%s standing %d" % [t.name, i + 1])
	if t.status == "COMPLETED":
		var paid := 0
		for standing in t.standings:
			paid += int(standing.prize)
		expect(absi(paid - int(t.prize)) <= t.standings.size(), "%s pays out its pool: %d of %d" % [t.name, paid, t.prize])

	if shot != "":
		await click_tab(panel.sections, panel.sections.get_child(1 if not swiss.is_empty() and t.status != "COMPLETED" else 0))
		await screenshot(shot)
		await click_tab(panel.sections, panel.sections.get_child(0))


## A BLAST bracket under way: what is played shows, and a slot whose team is not known yet says where it comes
## from. Returns [tournament id, match id, side] of that slot.
func check_open_slot(t: Dictionary) -> Array:
	var view := await check_bracket(t, "")
	# The matches due next: both teams known, on the first day still to come.
	var due: Array = t.stages[0].nodes.filter(func(node):
		return node.status != "PLAYED" and not node.team_a.is_empty() and not node.team_b.is_empty())
	var first: String = due.map(func(node): return node.date).min() if not due.is_empty() else ""
	var next_ids := due.filter(func(node): return node.date == first).map(func(node): return node.id)
	var outlined := view.next_ids.keys()
	outlined.sort()
	next_ids.sort()
	expect_eq(outlined, next_ids, "%s: the matches due next are outlined" % t.name)
	for id in view.cells:
		var node: Dictionary = view.layout.nodes[id]
		for side in 2:
			if node[["team_a", "team_b"][side]].is_empty() and view.layout.sources.get(id, {}).has(["team_a", "team_b"][side]):
				var source: Array = view.layout.sources[id][["team_a", "team_b"][side]]
				expect_eq(view.cells[id].tips[side], Texts.text("TEAMFORGE_BRACKET_WINNER_OF" if source[1]
						else "TEAMFORGE_BRACKET_LOSER_OF") % view.match_label(source[0]), "the open slot says where its team comes from")
				expect(view.boxes[source[0]].position.x < view.boxes[id].position.x or not source[1],
						"a winner moves on to the right")
				return [int(t.id), id, side]
	return []


## After the season: a Major's playoffs and a BLAST bracket, a match of each opened map by map, in the language
## played and, after the last, in Russian.
func season_brackets() -> void:
	var tournaments: Array = core.get_organize_data().tournaments
	var major: Dictionary = tournaments.filter(func(t): return t.format_id == "MAJOR")[0]
	var blast: Dictionary = tournaments.filter(func(t): return t.format_id == "BLAST")[0]
	# The group stage's two double-elimination groups, the playoffs with byes, sixteen teams.
	for t in tournaments.filter(func(t): return t.format_id in ["IEM", "EWC"]):
		await check_bracket(t, "")
	var locales := [_locale, "ru"] if _locale == LOCALES.back() else [_locale]
	for locale in locales:
		if locale != _locale:
			choose(game.language_option, locale)
			_locale = locale
			await frames(1)
		await check_bracket(major, "bracket_major")
		await check_bracket(blast, "bracket_blast")
	if _locale != locales[0]:
		choose(game.language_option, locales[0])
		_locale = locales[0]
		await frames(1)


## Opens a tournament's bracket tab and checks every box against the library's matches: teams, maps won, the
## winner, a slot still open; the boxes stay inside the view and apart, a winner's next match lies to the right.
## With a screenshot name, opens a played match and checks its report map by map.
func check_bracket(t: Dictionary, shot: String) -> BracketCanvas:
	var panel := game.tournaments
	await click_tab(game.screens, panel)
	await click_row(panel.list, _row_with(panel.list, t.id))
	await click_tab(panel.sections, panel.bracket)
	var view: BracketCanvas = panel.bracket.view
	var what := "%s bracket (%s): " % [t.name, _locale]
	var nodes := {}
	for stage in t.stages.filter(func(stage): return stage.type != "SWISS"):
		for node in stage.nodes:
			nodes[node.id] = node
	var ids := nodes.keys()
	var boxed := view.boxes.keys()
	boxed.sort()
	ids.sort()
	expect_eq(boxed, ids, what + "a box per match")
	var width := view.size.x
	for id in ids:
		var node: Dictionary = nodes[id]
		var cell: Dictionary = view.cells.get(id, {})
		if cell.is_empty():
			expect(false, what + id + " has no box")
			continue
		var box: Rect2 = view.boxes[id]
		var overlapping := view.boxes.keys().filter(func(other): return other != id and box.intersects(view.boxes[other]))
		expect(box.position.x >= 0.0 and box.end.x <= width and overlapping.is_empty(),
				what + "%s lies inside the view, apart from the others: %s %s" % [id, box, overlapping])
		if node.winner_to.id != "":
			expect(view.boxes[node.winner_to.id].position.x > box.end.x, what + id + ": its winner plays on to the right")
		var played: bool = node.status == "PLAYED"
		var names := [_name_or_open(node.team_a), _name_or_open(node.team_b)]
		expect_eq([cell.names, cell.scores, cell.winner], [names, [str(node.score_a), str(node.score_b)] if played else
				["", ""], [node.team_a.id, node.team_b.id].find(node.winner.id) if played else -1], what + id)
		for side in 2:
			var shown: String = cell.shown[side]
			expect(shown == names[side] or (shown.ends_with("…") and names[side].begins_with(shown.trim_suffix("…"))
					and cell.tips[side].begins_with(names[side])), what + "%s shortened with its tooltip" % shown)
			expect(view.text_width(shown, view.text_size() - 1) <= box.size.x - view.SCORE_WIDTH - 8.0,
					what + "\"%s\" fits its box" % shown)
	for entry in view.texts:
		expect(view.text_width(entry[2], entry[4]) <= entry[0].size.x + 0.5 and RAW_CODE.search(entry[2]) == null,
				what + "the header \"%s\" fits and reads as words" % entry[2])
	if shot == "":
		return view
	# The final, or the last match played.
	var id: String = ids.filter(func(id): return nodes[id].status == "PLAYED").back()
	view.reveal(id)
	# Pointing at the scrolled view names the team and the match under the pointer.
	var tip: String = view._get_tooltip(view.to_view(view.row_rect(id, 1).get_center()))
	expect(tip.begins_with(nodes[id].team_b.name) and tip.contains(view.match_label(id)), what + "the tooltip: " + tip)
	await click_at(view.get_global_transform() * view.to_view(view.boxes[id].get_center()))
	var report := panel.bracket.report
	var node: Dictionary = nodes[id]
	expect(report.visible and view.selected == id and report.node.get("id") == id, what + "a click opens the match")
	expect_eq(report.rows.map(func(row): return [row.map, row.score_a, row.score_b, row.rounds.size()]),
			node.details.map(func(map): return [Texts.name_of(map.map_name), map.score_a, map.score_b,
			map.round_history.size()]), what + "the report, map by map")
	expect(report.header_lines()[1].contains("%d : %d" % [node.score_a, node.score_b])
			and report.header_lines()[1].begins_with(node.team_a.name) and report.header_lines()[1].ends_with(node.team_b.name),
			what + "the report names the teams and the score: " + report.header_lines()[1])
	expect(Rect2(Vector2.ZERO, panel.bracket.size).encloses(Rect2(report.position, report.size)),
			what + "the report lies inside the bracket")
	if t.format_id == "BLAST":
		await click(panel.full_view)
		expect(not panel.list.visible and view.content_height <= view.size.y, what + "the full view shows it whole")
	await screenshot(shot)
	if panel.full_view.button_pressed:
		await click(panel.full_view)
		expect(panel.list.visible, what + "the list is back")
	await click_at(view.get_global_transform() * Vector2(3.0, view.size.y / 2.0))
	expect(not report.visible, what + "a click beside the matches closes the report")
	return view


## The statistics tab after the season: each plotted line against the library's match results, the bars
## against the leaderboard, a team picked with the mouse, and the note of a point pointed at.
func season_statistics() -> void:
	var panel := game.statistics
	await click_tab(game.screens, panel)
	var board: Array = core.get_leaderboard_data().teams
	var picks := Array(panel.picked)
	if _locale == LOCALES[0]:
		expect_eq(picks, board.slice(0, 3).map(func(row): return row.id), "the three best-rated are plotted first")
	# A click on a team's row adds its line, or takes it off when it is on the chart; picks last across games.
	var toggled: String = board[5].id
	await click_at(panel.picker.get_global_transform() * panel.picker.get_item_rect(5).get_center())
	expect_eq(Array(panel.picked), picks.filter(func(id): return id != toggled) if toggled in picks else picks + [toggled],
			"clicking %s toggles its line" % board[5].name)
	await frames(1)
	var chart := panel.rating_chart
	var tournaments: Array = core.get_organize_data().tournaments
	expect_eq(chart.series.size(), panel.picked.size(), "a line per picked team")
	for s in mini(chart.series.size(), panel.picked.size()):
		var id: String = panel.picked[s]
		var row: Dictionary = board.filter(func(r): return r.id == id)[0]
		# The team's side of each series it played, as the nodes keep it after the match.
		var played := []
		for t in tournaments:
			for stage in t.stages:
				for node in stage.nodes:
					if node.status == "PLAYED" and not node.details.is_empty() and id in [node.team_a.id, node.team_b.id]:
						played.append(node.team_a if node.team_a.id == id else node.team_b)
		played.sort_custom(func(a, b): return a.wins + a.losses < b.wins + b.losses)
		var ratings := Array(chart.series[s].points).map(func(point): return roundi(point.y))
		expect_eq(ratings, [start_ratings[id]] + played.map(func(entry): return entry.vrs),
				"%s: its rating before the season, then after each of its %d series" % [row.name, played.size()])
		expect_eq(ratings.back(), row.vrs, "%s: the line ends on its rating" % row.name)
		expect_eq(chart.series[s].name, row.name, "%s: the line is named" % row.name)

	var last: Vector2 = chart.series[0].points[chart.series[0].points.size() - 1]
	var motion := InputEventMouseMotion.new()
	motion.position = chart.get_global_transform() * chart.screen_position(last)
	motion.global_position = motion.position
	root.push_input(motion)
	await frames(2)
	var match: Dictionary = panel.histories[panel.picked[0]].back()
	expect_eq(chart.hovered, Vector2i(0, chart.series[0].points.size() - 1), "pointing at the last point picks it")
	var note := "\n".join(chart.hovered_note())
	expect(note.contains(match.opponent_name) and note.contains(match.tour_name) and note.contains(
			"%d → %d" % [match.vrs_before, match.vrs_after]), "the note names the match and the change: " + note)

	var by_region := {}
	for row in board:
		by_region[Texts.region_name(row.region_key)] = by_region.get(Texts.region_name(row.region_key), 0) + row.prize_total
	var shown := {}
	for bar in panel.prize_by_region.bars:
		shown[bar.label] = bar.value
	expect(shown == by_region, "prize money by region: %s, the leaderboard sums to %s" % [shown, by_region])
	var richest: Dictionary = core.get_leaderboard_data("ALL", "PRIZE").teams[0]
	expect_eq([panel.prize_by_team.bars[0].label, panel.prize_by_team.bars[0].text], [richest.name,
			Texts.money(richest.prize_total)], "the richest team leads the prize money")
	var titles := tournaments.map(func(t): return t.standings[0].team.id)
	var most: Dictionary = panel.titles_by_team.bars[0]
	expect_eq(most.value, titles.map(func(id): return titles.count(id)).max(), "the most titles")
	await screenshot("statistics")


## Two turns of the year later, the season played is archived: its tournaments are listed with their results and
## say their matches are gone. A day that changes no tournament leaves the list as it is.
func archived_after_the_year_turns() -> void:
	var played: Array = core.get_organize_data().tournaments
	var world := core.to_dict()
	world.team_database.current_date = "2027-12-31"
	core.from_dict(world)
	await click_tab(game.screens, game.tournaments)
	await click(game.next_day_button)
	expect_eq(core.get_current_date(), "2028-01-01", "the year turns")
	var summaries := core.get_tournament_summaries()
	expect_eq(summaries.map(func(s): return s.archived), played.map(func(_t): return true),
			"what finished before last season is archived")
	var panel := game.tournaments
	expect_eq(tree_column(panel.list, 3), played.map(func(_t): return Texts.text("DEMO_ARCHIVED")), "listed as archived")
	var major: Dictionary = played.filter(func(t): return t.format_id == "MAJOR")[0]
	var row := _row_with(panel.list, major.id)
	await click_row(panel.list, row)
	expect(panel.details.text.contains(Texts.text("DEMO_CHAMPION") % major.standings[0].team.name),
			"the champion is named: " + panel.details.text)
	expect(panel.details.text.ends_with(Texts.text("DEMO_ARCHIVED_MATCHES")) and tree_rows(panel.matches).is_empty(),
			"the matches are gone, and it says so")
	expect(panel.sections.is_tab_hidden(1), "no Swiss records")
	expect_eq(tree_rows(panel.standings.tree).map(row_texts), major.standings.map(func(standing): return [
			Texts.name_of(standing.placement), standing.team.name, Texts.region_name("REGION_" + standing.team.region),
			Texts.money(standing.prize), str(standing.vrs_before), str(standing.vrs_after), "%+d" % standing.delta_vrs]),
			"the final standings with their prize money")
	await screenshot("archived")
	var written: int = panel.list_rows.written
	await click(game.next_day_button)
	expect_eq(panel.list_rows.written, written, "a day that changes no tournament writes no row of the list")


## A text save as the demo wrote it before its saves were binary still loads; a damaged binary one is refused.
func old_and_damaged_saves() -> void:
	var old := {"format": "teamforge-demo-save", "version": 1, "date": core.get_current_date(), "game": core.to_dict(),
			"economy": game.economy.to_dict(), "settings": game.settings.to_dict()}
	var file := FileAccess.open(game.save_path, FileAccess.WRITE)
	file.store_string(var_to_str(old))
	file.close()
	await click(game.new_game_button)
	await click(game.load_button)
	expect_eq(game.status.text, Texts.text("DEMO_GAME_LOADED") % Texts.date(old.date), "a text save loads")
	expect(core.to_dict() == old.game and game.economy.to_dict() == old.economy, "the text save's world is back")

	await click(game.save_button)
	var good := FileAccess.get_file_as_bytes(game.save_path)
	var flipped := good.duplicate()
	flipped[good.size() / 2] ^= 0x10
	var bad_magic := good.duplicate()
	bad_magic[good.size() - 1] = 0
	var world := core.to_dict()
	for damaged in [good.slice(0, good.size() / 2), good.slice(0, 30), flipped, bad_magic, good + good.slice(0, 8)]:
		file = FileAccess.open(game.save_path, FileAccess.WRITE)
		file.store_buffer(damaged)
		file.close()
		await click(game.load_button)
		# A flipped bit that the decompressor never reads leaves the saved data whole, digest and all: loading
		# it is right, and the world it gives is the one saved.
		var intact: bool = damaged == flipped and game.status.text == Texts.text("DEMO_GAME_LOADED") % Texts.date(old.date)
		expect(intact or game.status.text == Texts.text("DEMO_SAVE_DAMAGED"), "a damaged binary save is refused (%d bytes): got '%s'"
				% [damaged.size(), game.status.text])
		expect(core.to_dict() == world, "a refused binary save changes nothing")


func failed_loads_leave_the_game_alone() -> void:
	var date := core.get_current_date()
	var world := core.to_dict()
	for damaged in [["{\"format\": \"teamforge-demo-save\", \"game\": [1, 2", "DEMO_SAVE_DAMAGED"],
			["Object(Node,\"name\":\"x\")", "DEMO_SAVE_NOT_DATA"],
			["{\"format\": \"teamforge-demo-save\", \"version\": 1, \"game\": { \"x\": Resource(\"res://game.gd\") }}",
				"DEMO_SAVE_NOT_DATA"],
			["{\"format\": \"teamforge-demo-save\", \"game\": {}, \"economy\": {\"guess_history\": [1, 2]}}",
				"DEMO_SAVE_PREDICTIONS_DAMAGED"],
			["{\"format\": \"teamforge-demo-save\", \"game\": {}, \"economy\": {}, \"settings\": 3}", "DEMO_SAVE_DAMAGED"]]:
		var file := FileAccess.open(game.save_path, FileAccess.WRITE)
		file.store_string(damaged[0])
		file.close()
		await click(game.load_button)
		expect_eq(game.status.text, Texts.text(damaged[1]), "a damaged save is refused")
		expect(core.get_current_date() == date and core.to_dict() == world, "a refused load changes nothing")
	DirAccess.remove_absolute(game.save_path)
	await click(game.load_button)
	expect_eq(game.status.text, Texts.text("DEMO_NO_SAVE"), "loading without a save")


func new_game_starts_over() -> void:
	await click(game.new_game_button)
	await click_tab(game.screens, game.tournaments)
	expect_eq(core.get_current_date(), "2026-01-01", "a new game starts over")
	expect_eq([core.get_credits(), game.economy.get_funds(), game.economy.get_guess_history().size()],
			[10000000, 10000000, 0], "fresh funds and no predictions")
	expect_eq([tree_rows(game.tournaments.list).size(), game.feed.entry_count], [0, 0], "no tournaments, no events")
	check_top_bar()
	await check_leaderboard()


# --- what the screens must show ----------------------------------------------------------------------------


func check_top_bar() -> void:
	expect_eq(game.date_label.text, Texts.date(core.get_current_date()), "date in the top bar")
	expect_eq(game.credits_label.text, Texts.text("DEMO_CREDITS") % Texts.money(core.get_credits()), "credits in the top bar")
	expect_eq(game.balance_label.text, Texts.text("DEMO_BALANCE") % Texts.money(game.economy.get_funds()),
			"balance in the top bar")


## Only the screen on show is redrawn: the leaderboard is opened first.
func check_leaderboard() -> void:
	var board := game.leaderboard
	if not board.is_visible_in_tree():
		await click_tab(game.screens, board)
	var region: String = board.region_filter.get_item_metadata(board.region_filter.selected)
	var sort: String = board.sort_mode.get_item_metadata(board.sort_mode.selected)
	var view := core.get_leaderboard_data(region, sort)
	var rows := tree_rows(board.table.tree)
	var what := "leaderboard %s/%s on %s" % [region, sort, view.current_date]
	expect_eq(rows.size(), view.count, what + ": rows")
	var shown := rows.map(row_texts)
	var expected: Array = view.teams.map(func(team): return [str(team.rank), team.name, Texts.region_name(team.region_key),
			str(team.vrs), "%d-%d" % [team.wins, team.losses], Texts.money(team.prize_total), str(team.honors.size())])
	expect(shown == expected, what + ": first difference " + _first_difference(shown, expected))
	if region != "ALL":
		expect(view.teams.all(func(team): return team.region == region), what + ": one region only")


## Every visible control: no text on show reads like a raw code, and none is cut off or overflows its control
## (a control smaller than its minimum size, a trimmed label, a tree cell wider than its column).
func check_window_texts(screen: String) -> void:
	var what := "%s (%s): " % [screen, _locale]
	var size := Vector2(root.size)
	expect(game.get_combined_minimum_size().x <= size.x and game.get_combined_minimum_size().y <= size.y,
			what + "the window's content needs %s, the window is %s" % [game.get_combined_minimum_size(), size])
	var problems := PackedStringArray()
	var pending: Array = [game]
	while not pending.is_empty():
		var node: Node = pending.pop_back()
		if node is CanvasItem and not node.visible:
			continue
		pending.append_array(node.get_children())
		if not node is Control:
			continue
		var control: Control = node
		var texts := PackedStringArray([control.tooltip_text])
		var needed := control.get_combined_minimum_size()
		if not Rect2(Vector2.ZERO, size).grow(0.5).encloses(control.get_global_rect()):
			problems.append("%s lies outside the window: %s" % [control.name, control.get_global_rect()])
		if control.size.x + 0.5 < needed.x or control.size.y + 0.5 < needed.y:
			problems.append("%s is %s, smaller than its minimum %s" % [control.name, control.size, needed])
		if control is Label or control is Button:
			texts.append(control.text)
		if control is Label and control.text_overrun_behavior != TextServer.OVERRUN_NO_TRIMMING \
				and _text_width(control, shown(control, control.text)) > control.size.x:
			problems.append("%s cuts off \"%s\"" % [control.name, shown(control, control.text)])
		if control is OptionButton:
			texts.append_array(option_texts(control))
		if control is LineEdit:
			texts.append(control.placeholder_text)
			if control.text == "" and _text_width(control, shown(control, control.placeholder_text)) \
					> control.size.x - control.get_theme_stylebox("normal").get_minimum_size().x:
				problems.append("%s cuts off its hint" % control.name)
		if control is TabContainer:
			for tab in control.get_tab_count():
				texts.append(control.get_tab_title(tab))
		if control is RichTextLabel and control.get_parsed_text().contains("DEMO_"):
			problems.append("%s shows a demo key" % control.name)
		if control is RichTextLabel and INTERNAL_ID.search(control.get_parsed_text()) != null:
			problems.append("%s shows the id %s" % [control.name, INTERNAL_ID.search(control.get_parsed_text()).get_string()])
		if control is Tree:
			problems.append_array(_tree_problems(control))
			for column in control.columns:
				texts.append(control.get_column_title(column))
		for text in texts:
			var on_show := shown(control, text)
			if RAW_CODE.search(on_show) != null and not _proper_names.has(on_show):
				problems.append("%s shows the code %s" % [control.name, on_show])
			if INTERNAL_ID.search(on_show) != null:
				problems.append("%s shows the id in \"%s\"" % [control.name, on_show])
	for problem in problems:
		expect(false, what + problem)


# Cell texts as the tree shows them: no raw code or id; each within its column, or, for words, shortened with the
# full text in its tooltip. The columns fit the table's width: no sideways scroll bar.
func _tree_problems(tree: Tree) -> PackedStringArray:
	var problems := PackedStringArray()
	var widths := range(tree.columns).map(func(column): return tree.get_column_width(column))
	var inside := tree.size.x - tree.get_theme_stylebox("panel").get_minimum_size().x
	if widths.reduce(func(sum, width): return sum + width, 0) > inside + 0.5:
		problems.append("%s is %d wide inside, its columns %s" % [tree.name, inside, widths])
	for bar in tree.get_children(true):
		if bar is HScrollBar and bar.visible:
			problems.append("%s scrolls sideways" % tree.name)
	var items: Array = tree_rows(tree)
	while not items.is_empty():
		var item: TreeItem = items.pop_back()
		items.append_array(item.get_children())
		for column in tree.columns:
			var on_show := shown(tree, item.get_text(column))
			if RAW_CODE.search(on_show) != null and not _proper_names.has(on_show):
				problems.append("%s shows the code %s" % [tree.name, on_show])
			if INTERNAL_ID.search(on_show) != null:
				problems.append("%s shows the id in \"%s\"" % [tree.name, on_show])
			# The cell's own margins; in the first column the indentation of a child row and the fold arrow of a
			# row with children; a cell that spans the row (expand right) the empty cells after it too.
			var room: float = widths[column] - tree.get_theme_constant("inner_item_margin_left") \
					- tree.get_theme_constant("inner_item_margin_right") \
					- (tree.get_theme_constant("item_margin") if column == 0 and item.get_parent() != tree.get_root() else 0) \
					- (tree.get_theme_icon("arrow").get_width() if column == 0 and item.get_child_count() > 0 else 0)
			if item.get_expand_right(column):
				for next in range(column + 1, tree.columns):
					if item.get_text(next) != "":
						break
					room += widths[next]
			if _text_width(tree, on_show) <= room:
				continue
			var tooltip := item.get_tooltip_text(column)
			if FIGURES.search(on_show) != null:
				problems.append("%s column %d cuts off the figures \"%s\"" % [tree.name, column, on_show])
			elif item.get_text_overrun_behavior(column) == TextServer.OVERRUN_NO_TRIMMING \
					or not (tooltip.contains(on_show) or tooltip == "" and tree.auto_tooltip):
				problems.append("%s column %d cuts off \"%s\" without its tooltip" % [tree.name, column, on_show])
	return problems


static func shown(control: Control, text: String) -> String:
	return control.atr(text)


static func _text_width(control: Control, text: String) -> float:
	return control.get_theme_font("font").get_string_size(text, HORIZONTAL_ALIGNMENT_LEFT, -1,
			control.get_theme_font_size("font_size")).x


# --- driving the window ------------------------------------------------------------------------------------


func frames(count: int) -> void:
	for i in count:
		await process_frame


## A left click at the centre of a control, through the window's input, as the player's mouse would.
func click(control: Control) -> void:
	expect(control.is_visible_in_tree(), "%s is visible when clicked" % control.name)
	if control is BaseButton:
		expect(not control.disabled, "%s is enabled when clicked" % control.name)
	await click_at(control.get_global_rect().get_center())


func click_at(position: Vector2) -> void:
	var motion := InputEventMouseMotion.new()
	motion.position = position
	motion.global_position = position
	root.push_input(motion)
	for pressed in [true, false]:
		var button := InputEventMouseButton.new()
		button.button_index = MOUSE_BUTTON_LEFT
		button.pressed = pressed
		button.button_mask = MOUSE_BUTTON_MASK_LEFT if pressed else 0
		button.position = position
		button.global_position = position
		root.push_input(button)
	# The game redraws on the frame after a change.
	await frames(2)


func click_tab(tabs: TabContainer, page: Control) -> void:
	var index := tabs.get_tab_idx_from_control(page)
	var bar := tabs.get_tab_bar()
	await click_at(bar.get_global_transform() * bar.get_tab_rect(index).get_center())
	expect_eq(tabs.current_tab, index, "clicking the %s tab opens it" % page.name)


func click_row(tree: Tree, item: TreeItem) -> void:
	tree.scroll_to_item(item)
	await frames(1)
	var rect := tree.get_item_area_rect(item, 0)
	await click_at(tree.get_global_transform() * rect.get_center())
	expect(tree.get_selected() == item, "clicking a row of %s selects it" % tree.name)


func choose(option: OptionButton, id: String) -> void:
	var index := option_ids(option).find(id)
	expect(index >= 0, "%s offers %s" % [option.name, id])
	option.select(index)
	option.item_selected.emit(index)


func type_into(field: LineEdit, text: String) -> void:
	field.text = text
	field.text_changed.emit(text)


func screenshot(name: String) -> void:
	await frames(2)
	await RenderingServer.frame_post_draw
	check_window_texts(name)
	var path := out_dir.path_join("demo_%s%s.png" % [name, "" if _locale == "en" else "_" + _locale])
	var image := root.get_texture().get_image()
	expect_eq(image.get_size(), Vector2i(1280, 720), "screenshot size")
	expect_eq(image.save_png(path), OK, "screenshot saved to " + path)
	screenshots.append(path)


# --- reading the window ------------------------------------------------------------------------------------


static func tree_rows(tree: Tree) -> Array:
	return tree.get_root().get_children() if tree.get_root() != null else []


static func row_texts(item: TreeItem) -> Array:
	return range(item.get_tree().columns).map(func(column): return item.get_text(column))


static func tree_column(tree: Tree, column: int) -> Array:
	return tree_rows(tree).map(func(item): return item.get_text(column))


static func option_ids(option: OptionButton) -> Array:
	return range(option.item_count).map(func(i): return option.get_item_metadata(i))


static func option_texts(option: OptionButton) -> Array:
	return range(option.item_count).map(func(i): return option.get_item_text(i))


# --- checks ------------------------------------------------------------------------------------------------


func expect(condition: bool, message: String) -> void:
	checks += 1
	if not condition:
		failures.append(message)


func expect_eq(actual: Variant, expected: Variant, message: String) -> void:
	checks += 1
	if typeof(actual) != typeof(expected) or actual != expected:
		failures.append("%s: expected %s, got %s" % [message, var_to_str(expected), var_to_str(actual)])


# --- helpers -----------------------------------------------------------------------------------------------


func _option(key: String, fallback: String) -> String:
	for arg in OS.get_cmdline_user_args():
		if arg.begins_with("--%s=" % key):
			return arg.get_slice("=", 1)
	return fallback


func _team(id: String) -> TeamData:
	for row in core.get_leaderboard_data().teams:
		if row.id == id:
			var team := TeamData.new()
			team.from_dict(row)
			return team
	return null


func _guess(id: String) -> Dictionary:
	for guess in game.economy.get_guess_history():
		if guess.id == id:
			return guess
	return {}


func _node(tour_id: int, match_id: String) -> Dictionary:
	for t in core.get_organize_data().tournaments:
		if int(t.id) == tour_id:
			for stage in t.stages:
				for node in stage.nodes:
					if node.id == match_id:
						return node
	return {}


func _row_with(tree: Tree, metadata: Variant) -> TreeItem:
	for item in tree_rows(tree):
		if item.get_metadata(0) == metadata:
			return item
	return null


func _tournament(id: int) -> Dictionary:
	for t in core.get_organize_data().tournaments:
		if int(t.id) == id:
			return t
	return {}


static func _name_or_open(entry: Dictionary) -> String:
	return entry.get("name", Texts.text("TEAMFORGE_BRACKET_TBD")) if not entry.is_empty() else Texts.text("TEAMFORGE_BRACKET_TBD")


# A BLAST bracket under way with a match played and a slot still open.
static func _running_bracket(tournaments: Array) -> Variant:
	for t in tournaments:
		if t.format_id == "BLAST" and t.status == "ACTIVE" and t.stages[0].nodes.any(func(node): return node.status == "PLAYED") \
				and t.stages[0].nodes.any(func(node): return node.team_a.is_empty() or node.team_b.is_empty()):
			return t
	return null


static func _name_of(entry: Dictionary) -> String:
	return entry.get("name", Texts.text("DEMO_TBD")) if not entry.is_empty() else Texts.text("DEMO_TBD")


# A match open for a stake: both teams known, not played yet.
static func _has_open_match(t: Dictionary) -> bool:
	if t.status != "WAITING" and t.status != "ACTIVE":
		return false
	return t.stages.any(func(stage): return stage.nodes.any(func(node):
		return node.status == "PENDING" and not node.team_a.is_empty() and not node.team_b.is_empty()))


static func _running_swiss_major(tournaments: Array) -> Variant:
	for t in tournaments:
		if t.format_id == "MAJOR" and t.status == "ACTIVE" and int(t.current_stage_idx) == 1 \
				and not t.stages[1].records.is_empty():
			return t
	return null


static func _day_after(date: String) -> String:
	var unix := Time.get_unix_time_from_datetime_string(date + "T00:00:00") + 86400
	return Time.get_date_string_from_unix_time(unix)


static func _first_difference(shown: Array, expected: Array) -> String:
	for i in maxi(shown.size(), expected.size()):
		var a = shown[i] if i < shown.size() else null
		var b = expected[i] if i < expected.size() else null
		if a != b:
			return "row %d shows %s, the library says %s" % [i + 1, a, b]
	return "none"
