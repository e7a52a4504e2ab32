extends RefCounted
# The words of the addon's controls: their own keys ("TEAMFORGE_RANK") and the library's codes and names
# ("REGION_EU", "Grand Final"), read in the engine's current locale from the addon's catalogue
# (locale/teamforge.*.po, listed by the addon's plugin). A project that has not listed the catalogue still
# reads English, never a key. Numbers read from a tournament's dictionary go through number(): a control
# shows whatever a script hands it without an error.

const ENGLISH := "res://addons/teamforge/locale/teamforge.en.po"

static var _english: Translation
static var _english_tried := false


static func text(key: String) -> String:
	var translated := TranslationServer.translate(key)
	if translated != key:
		return translated
	var english := _english_catalogue()
	var fallback: String = str(english.get_message(key)) if english != null else ""
	return fallback if fallback != "" else key


## The text of a key that counts something: the plural form for `amount`, with the count put in.
static func count(key: String, amount: int) -> String:
	var translated := TranslationServer.translate_plural(key, key, amount)
	if translated == key and _english_catalogue() != null:
		var fallback := str(_english_catalogue().get_plural_message(key, key, amount))
		translated = fallback if fallback != "" else key
	return translated % amount if translated.contains("%d") else translated


## A library name ("Grand Final", "3rd-4th", "Group A") or code ("REGION_EU") in words; an unknown one as given.
static func name_of(library_name: String) -> String:
	return text(library_name)


static func money(amount: int) -> String:
	var digits := str(absi(amount))
	var separator := text("TEAMFORGE_THOUSANDS_SEPARATOR")
	var grouped := ""
	while digits.length() > 3:
		grouped = separator + digits.right(3) + grouped
		digits = digits.left(digits.length() - 3)
	return ("-" if amount < 0 else "") + text("TEAMFORGE_MONEY") % (digits + grouped)


## A library date ("2026-03-01") as the current language writes it; anything else unchanged.
static func date(iso: String) -> String:
	var parts := iso.split("-")
	if parts.size() != 3 or parts[0].length() != 4 or not Array(parts).all(func(p: String) -> bool: return p.is_valid_int()):
		return iso
	return text("TEAMFORGE_DATE").format({"year": parts[0], "month": parts[1], "day": parts[2]})


## A whole number from a dictionary's value, 0 for anything that is none.
static func number(value: Variant) -> int:
	if value is int or value is float or value is bool:
		return int(value)
	if value is String or value is StringName:
		return str(value).to_int()
	return 0


## A dictionary's value when it is a dictionary, else an empty one.
static func dictionary(value: Variant) -> Dictionary:
	return value if value is Dictionary else {}


## An array's value when it is an array, else an empty one.
static func array(value: Variant) -> Array:
	return value if value is Array else []


static func _english_catalogue() -> Translation:
	if not _english_tried:
		_english_tried = true
		if ResourceLoader.exists(ENGLISH):
			_english = load(ENGLISH) as Translation
	return _english
