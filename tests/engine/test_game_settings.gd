extends TestCase
# GameSettings: the locale code, when locale_changed fires, and the settings dictionary.

var settings: GameSettings
var log: Array


func before_each() -> void:
	settings = autofree(GameSettings.new())
	log = watch_signals(settings, ["locale_changed"])


func after_each() -> void:
	settings = null
	log = []


func test_new_settings_hold_en_and_announce_nothing() -> void:
	assert_eq(settings.get_locale(), "en")
	assert_eq(settings.to_dict(), {"current_locale": "en"})
	settings.set_locale("en")
	assert_eq(log, [])


func test_set_locale_stores_the_code_and_announces_it_once() -> void:
	settings.set_locale("de")
	settings.set_locale("de")
	assert_eq(settings.get_locale(), "de")
	assert_eq(log, [["locale_changed", "de"]])


func test_empty_locale_falls_back_to_en() -> void:
	settings.set_locale("de")
	settings.set_locale("")
	assert_eq(settings.get_locale(), "en")
	settings.set_locale("")
	assert_eq(log, [["locale_changed", "de"], ["locale_changed", "en"]], "only the change from de announces")


func test_codes_are_stored_exactly_as_given() -> void:
	settings.set_locale("pt_BR")
	settings.set_locale("pt_BR")
	assert_eq(settings.get_locale(), "pt_BR")
	settings.set_locale("PT_br")
	assert_eq(settings.get_locale(), "PT_br", "a change of case is a change of code")
	settings.set_locale(" fr ")
	assert_eq(settings.get_locale(), " fr ", "no trimming")
	assert_eq(log, [["locale_changed", "pt_BR"], ["locale_changed", "PT_br"], ["locale_changed", " fr "]])


func test_current_locale_property_follows_set_locale_rules() -> void:
	settings.set("current_locale", "ja")
	assert_eq(settings.get("current_locale"), "ja")
	settings.set("current_locale", "")
	assert_eq(settings.get_locale(), "en")
	assert_eq(log, [["locale_changed", "ja"], ["locale_changed", "en"]])


func test_to_dict_returns_a_new_dictionary_with_the_code() -> void:
	settings.set_locale("fr")
	var d := settings.to_dict()
	assert_keys(d, ["current_locale"])
	assert_eq(d["current_locale"], "fr")
	d["current_locale"] = "it"
	assert_eq(settings.get_locale(), "fr")


func test_from_dict_loads_the_code_and_announces_only_a_change() -> void:
	settings.from_dict({"current_locale": "fr"})
	assert_eq(settings.get_locale(), "fr")
	settings.from_dict({"current_locale": "fr"})
	assert_eq(log, [["locale_changed", "fr"]])


func test_from_dict_without_a_code_goes_back_to_en() -> void:
	settings.from_dict({})
	assert_eq(log, [], "already en")
	settings.set_locale("fr")
	settings.from_dict({"other": "de"})
	assert_eq(settings.get_locale(), "en")
	settings.from_dict({"current_locale": ""})
	assert_eq(settings.get_locale(), "en", "an empty code loads as en")
	assert_eq(log, [["locale_changed", "fr"], ["locale_changed", "en"]])


func test_from_dict_converts_the_code_to_text() -> void:
	settings.from_dict({"current_locale": 5})
	assert_eq(settings.get_locale(), "5")
	settings.from_dict({"current_locale": &"es"})
	assert_eq(settings.get_locale(), "es")
	assert_eq(log, [["locale_changed", "5"], ["locale_changed", "es"]])


func test_round_trip_through_the_settings_dictionary() -> void:
	settings.set_locale("zh_TW")
	var other: GameSettings = autofree(GameSettings.new())
	other.from_dict(settings.to_dict())
	assert_eq(other.get_locale(), "zh_TW")


func test_handler_changing_the_locale_again_while_announced() -> void:
	settings.locale_changed.connect(func(code: String) -> void:
		if code == "de":
			settings.set_locale("fr"))
	settings.set_locale("de")
	assert_eq(settings.get_locale(), "fr")
	assert_eq(log, [["locale_changed", "de"], ["locale_changed", "fr"]])
