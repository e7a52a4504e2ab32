extends TestCase
# The catalogues the addon ships against what the library really hands out: a season of every format and
# tier, every refused creation, stake, settlement and series. Each code and name met on the way must have a
# translation in every shipped language.

const LOCALE_FOLDER := "../../demo/addons/teamforge/locale"
const LOCALES := ["en", "de", "fr", "es", "pt_BR", "ru"]

# [context, text] -> where it was met.
var seen := {}


func test_every_code_of_a_season_and_of_each_refusal_is_translated_in_every_language() -> void:
	var database := TeamDatabase.new()
	database.initialize_defaults()
	var manager := TournamentManager.new()
	manager.set_available_funds(100000000)
	manager.set_team_database(database)
	manager.achievement_event.connect(func(event: Dictionary) -> void:
		_meet(event.type, "event type")
		_meet(str(event.context.get("stage_name", "")), "event stage"))
	var refused := {}
	var create := func(format_id: String, tier_id: String, date: String, city: String) -> void:
		if not manager.create_tournament(format_id, tier_id, date, city):
			refused[manager.get_last_create_error()] = true
	create.call("NOPE", "HIGHEST", "2026-03-01", "")
	create.call("MAJOR", "TIER_1", "2026-03-01", "Rome")
	create.call("EPL", "TIER_OPEN", "2026-01-01", "")
	create.call("IEM", "TIER_1", "2026-03-01", "")
	var core := GameCore.new()
	var organize := core.get_organize_data()
	var made := 0
	for option in organize.format_options:
		_meet(option.label_key, "format option")
		for tier in organize.tier_options_by_format[option.id]:
			_meet(tier.label_key, "tier option")
			create.call(option.id, tier.id, "2026-%02d-%02d" % [2 + made / 2, 5 + made % 2 * 10], "City %d" % made)
			made += 1
	create.call("IEM", "TIER_S", "2026-12-01", "city 1")
	create.call("EWC", "HIGHEST", "2026-12-02", "")
	create.call("MAJOR", "HIGHEST", "2026-03-06", "Rome")
	for date in ["2027-01-01", "2027-06-01", "2027-11-01"]:
		create.call("MAJOR", "HIGHEST", date, "Oslo " + date)
	create.call("MAJOR", "HIGHEST", "2027-12-31", "Kyiv")
	manager.set_available_funds(0)
	create.call("EPL", "TIER_3", "2026-12-20", "")
	manager.set_team_database(null)
	create.call("EPL", "TIER_3", "2026-12-20", "")
	manager.set_team_database(database)
	assert_eq(refused.size(), 10, "every refusal met: %s" % [refused.keys()])
	for code in refused:
		_meet(code, "refused creation")

	if not assert_reached(manager, func(): return database.get_current_date() >= "2027-01-01", 400, "the year's end"):
		return
	for t in manager.get_tournaments():
		_meet(t.status, "tournament status")
		_meet("TIER_" + str(t.tier_id).trim_prefix("TIER_"), "tier")
		_meet("FORMAT_" + t.format_id, "format")
		for stage in t.stages:
			_meet(stage.type, "stage type")
			_meet(stage.name, "stage name")
			for node in stage.nodes:
				_meet(node.status, "match status", "match")
				_meet(node.name, "match name")
				if stage.type != "SWISS":
					_meet(node.group_name, "group name")
		for standing in t.standings:
			_meet(standing.placement, "placement")
	for row in core.get_leaderboard_data().teams:
		_meet(row.region_key, "region")
	for code in [core.create_tournament("EPL", "TIER_OPEN", "2026-01-09", "").message_key,
			core.create_tournament("EPL", "TIER_9", "2026-01-09", "").message_key]:
		_meet(code, "creation result")

	var economy := EconomySystem.new()
	var a := database.get_team_at(0)
	var b := database.get_team_at(1)
	for result in [economy.place_guess(1, "Cup", 0, "m", "a vs b", "2026-01-05", null, b, a.get_id(), 10),
			economy.place_guess(1, "Cup", 0, "m", "a vs b", "2026-01-05", a, b, "t-99", 10),
			economy.place_guess(1, "Cup", 0, "m", "a vs b", "2026-01-05", a, b, a.get_id(), -1),
			economy.place_guess(1, "Cup", 0, "m", "a vs b", "2026-01-05", a, b, a.get_id(), 1 << 40),
			economy.settle_prediction("nope", a.get_id(), a.get_name(), "2026-01-06")]:
		_meet(result.error, "refused stake")
	var guess: Dictionary = economy.place_guess(1, "Cup", 0, "m", "a vs b", "2026-01-05", a, b, a.get_id(), 10).guess
	economy.settle_prediction(guess.id, a.get_id(), a.get_name(), "2026-01-06")
	_meet(economy.settle_prediction(guess.id, a.get_id(), a.get_name(), "2026-01-06").error, "refused settlement")
	for entry in economy.get_fund_ledger():
		_meet(entry.type, "ledger entry")
	_meet(guess.status, "prediction status")
	_meet(economy.get_guess_history()[0].status, "prediction status")
	_meet(MatchSimulator.new().simulate_match(a, null, false).error, "refused series")
	core.free()
	manager.free()
	database.free()

	var catalogues := _catalogues()
	assert_eq(catalogues.keys(), LOCALES, "the languages shipped")
	for locale in catalogues:
		for key in seen:
			var translated: String = catalogues[locale].get_message(key[1], key[0])
			assert_ne(translated, "", "%s: %s (%s) has no translation" % [locale, key[1], seen[key]])
	# Other locales must say something other than the code: English may keep a name as the library writes it.
	for key in seen:
		if RegEx.create_from_string("^[A-Z][A-Z0-9_]+$").search(key[1]) != null:
			assert_ne(catalogues["de"].get_message(key[1], key[0]), key[1], "de: %s stays a code" % key[1])


func _meet(text: String, where: String, context := "") -> void:
	if text != "":
		seen[[context, text]] = where


func _catalogues() -> Dictionary:
	# A run on a copy of this project (as under valgrind) names the checkout it came from.
	var top := OS.get_environment("TEAMFORGE_TOP")
	var base := top.path_join("tests/engine") if top != "" else ProjectSettings.globalize_path("res://")
	var folder := base.path_join(LOCALE_FOLDER).simplify_path()
	var found := {}
	for locale in LOCALES:
		var path := folder.path_join("teamforge.%s.po" % locale)
		if FileAccess.file_exists(path):
			var translation: Translation = load(path)
			found[translation.locale] = translation
	return found
