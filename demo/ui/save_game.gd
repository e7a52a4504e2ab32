extends RefCounted
# Saves the whole game, the game core's world, the player's economy and settings, as one var_to_str text, and
# reads it back. Reading refuses anything but plain data: str_to_var would otherwise build objects named in the file.

const Texts := preload("res://ui/texts.gd")
const FORMAT := "teamforge-demo-save"
const VERSION := 1

# The constructors with which the text format builds objects or loads resources; save() never writes them.
static var _constructor := RegEx.create_from_string("\\b(Object|Resource|SubResource|ExtResource)\\s*\\(")
static var _string_literal := RegEx.create_from_string("\"(?:[^\"\\\\]|\\\\.)*\"")


## Writes the game; returns "" or an error text in the player's language.
static func write(path: String, core: GameCore, economy: EconomySystem, settings: GameSettings) -> String:
	var data := {
		"format": FORMAT,
		"version": VERSION,
		"date": core.get_current_date(),
		"game": core.to_dict(),
		"economy": economy.to_dict(),
		"settings": settings.to_dict(),
	}
	var file := FileAccess.open(path, FileAccess.WRITE)
	if file == null:
		return Texts.text("DEMO_SAVE_FAILED") % error_string(FileAccess.get_open_error())
	file.store_string(var_to_str(data))
	var error := file.get_error()
	file.close()
	return "" if error == OK else Texts.text("DEMO_SAVE_FAILED") % error_string(error)


## Reads a save: {"ok": true, "game": Dictionary, "economy": Dictionary, "settings": Dictionary, "date": String}
## or {"ok": false, "error": text in the player's language}. A save from before the settings were saved keeps
## the language: its "settings" is the current locale.
static func read(path: String) -> Dictionary:
	if not FileAccess.file_exists(path):
		return {"ok": false, "error": Texts.text("DEMO_NO_SAVE")}
	var text := FileAccess.get_file_as_string(path)
	if text == "" and FileAccess.get_open_error() != OK:
		return {"ok": false, "error": Texts.text("DEMO_SAVE_UNREADABLE") % error_string(FileAccess.get_open_error())}
	if _constructor.search(_string_literal.sub(text, "\"\"", true)) != null:
		return {"ok": false, "error": Texts.text("DEMO_SAVE_NOT_DATA")}
	var data = str_to_var(text)
	if not data is Dictionary or data.get("format") != FORMAT or not data.get("game") is Dictionary:
		return {"ok": false, "error": Texts.text("DEMO_SAVE_DAMAGED")}
	if int(data.get("version", 0)) > VERSION:
		return {"ok": false, "error": Texts.text("DEMO_SAVE_TOO_NEW")}
	var economy = data.get("economy", {})
	if not economy is Dictionary or not _is_list_of_records(economy.get("guess_history", [])) \
			or not _is_list_of_records(economy.get("fund_ledger", [])):
		return {"ok": false, "error": Texts.text("DEMO_SAVE_PREDICTIONS_DAMAGED")}
	var settings = data.get("settings", {"current_locale": TranslationServer.get_locale()})
	if not settings is Dictionary:
		return {"ok": false, "error": Texts.text("DEMO_SAVE_DAMAGED")}
	return {"ok": true, "game": data.game, "economy": economy, "settings": settings, "date": str(data.get("date", ""))}


# The economy keeps its history and ledger as given; the screens read them as lists of records.
static func _is_list_of_records(value: Variant) -> bool:
	return value is Array and value.all(func(entry: Variant) -> bool: return entry is Dictionary)
