extends RefCounted
# Every text the demo shows goes through the engine's translation, in the locale the player chose (GameSettings
# in the top bar). Two catalogues are loaded from the project's translation list: the addon's
# (addons/teamforge/locale: the library's codes, such as "FORMAT_MAJOR", the names it gives stages, matches and
# placements, and the words of the addon's controls, keys "TEAMFORGE_...", money and dates among them) and the
# demo's own (locale/demo.*.po, keys "DEMO_...").
#
# How a panel takes part, the same for a new one:
#   - Texts a scene fixes (labels, buttons, tooltips, column titles, options): put the DEMO_ key or the library's
#     code in as the text; the control translates it itself and follows a change of language.
#   - Texts built in code: build them in the panel's refresh() with the helpers below; game.gd calls every
#     panel's refresh() when the language changes.
#   - New keys: `tools/translations.py update` adds them to demo/locale/*.po; its check fails until each
#     language has them.

const ControlTexts := preload("res://addons/teamforge/controls/control_texts.gd")


static func text(key: String) -> String:
	return TranslationServer.translate(key)


## The text of a key that counts something: the key's plural form for count, with count put in.
static func count(key: String, amount: int) -> String:
	return TranslationServer.translate_plural(key, key, amount) % amount


## A result or error code of the library as a sentence; a code no catalogue knows yet still reads as one,
## naming the code for a bug report.
static func message(code: String) -> String:
	if code == "":
		return text("DEMO_UNKNOWN_ERROR")
	var translated := text(code)
	return translated if translated != code else text("DEMO_UNKNOWN_CODE") % code


## A label key of the library ("FORMAT_MAJOR", "REGION_EU", "TIER_S").
static func label(key: String) -> String:
	var translated := text(key)
	return translated if translated != key else _humanise(key)


static func format_name(format_id: String) -> String:
	return label("FORMAT_" + format_id)


static func tier_name(tier_id: String) -> String:
	return label(tier_id if tier_id.begins_with("TIER_") else "TIER_" + tier_id)


static func region_name(region_key: String) -> String:
	return label(region_key)


static func status_name(status: String) -> String:
	return label(status)


static func match_status_name(status: String) -> String:
	var translated := TranslationServer.translate(status, "match")
	return translated if translated != status else _humanise(status)


static func stage_type_name(stage_type: String) -> String:
	return label(stage_type)


## Stage, match and group names and placements ("Playoffs", "Grand Final", "3rd-4th") come from the library's
## catalogue too; a name it does not list shows as the library wrote it.
static func name_of(library_name: String) -> String:
	return text(library_name)


static func ledger_type_name(entry_type: String) -> String:
	return label(entry_type)


## Money as the addon's controls write it, so a sum reads the same in the demo's tables and in theirs.
static func money(amount: int) -> String:
	return ControlTexts.money(amount)


static func signed_money(amount: int) -> String:
	return ("+" if amount > 0 else "") + money(amount)


static func odds(value: float) -> String:
	return ("%.2f" % value).replace(".", text("DEMO_DECIMAL_SEPARATOR"))


## A library date ("2026-03-01") as the player's language writes it; anything else unchanged.
static func date(iso: String) -> String:
	return ControlTexts.date(iso)


## A date as the player writes it, in the language's own order ("10.01.2026" in German) or as YYYY-MM-DD, as a
## library date ("2026-01-10"); "" for a text that is neither. Day and month may have one digit. A date that
## reads right but is none (31.02.2026) comes back as the library's form, for the library to refuse.
static func parse_date(written: String, pattern: String = "") -> String:
	var trimmed := written.strip_edges()
	for order in [pattern if pattern != "" else text("TEAMFORGE_DATE"), "{year}-{month}-{day}"]:
		var found := date_pattern(order).search(trimmed)
		if found != null:
			return "%04d-%02d-%02d" % [found.get_string("year").to_int(), found.get_string("month").to_int(),
					found.get_string("day").to_int()]
	return ""


## The regular expression that reads a date written in this order ("{day}.{month}.{year}").
static func date_pattern(order: String) -> RegEx:
	var expression := "^"
	var rest := order
	while rest != "":
		var start := rest.find("{")
		var end := rest.find("}", start)
		if start < 0 or end < 0:
			expression += _escape_pattern(rest)
			break
		expression += _escape_pattern(rest.left(start))
		var field := rest.substr(start + 1, end - start - 1)
		expression += "(?<%s>\\d{%s})" % [field, "4" if field == "year" else "1,2"]
		rest = rest.substr(end + 1)
	return RegEx.create_from_string(expression + "$")


## What a date field expects in the current language: its form ("TT.MM.JJJJ") and an example written in it.
static func date_hint(example_iso: String) -> String:
	return text("DEMO_DATE_EXPECTED") % [text("DEMO_DATE_PLACEHOLDER"), date(example_iso)]


static func _escape_pattern(literal: String) -> String:
	var escaped := ""
	for character in literal:
		escaped += ("\\" + character) if character in ".-/\\()[]{}+*?^$|" else character
	return escaped


# "TIER_NEW_THING" reads "New thing": better than a raw key when the library grows a key before the catalogue.
static func _humanise(key: String) -> String:
	var words := key.split("_", false)
	if words.size() > 1 and words[0] in ["TIER", "FORMAT", "REGION"]:
		words.remove_at(0)
	return " ".join(words).capitalize() if not words.is_empty() else key
