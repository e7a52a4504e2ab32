extends RefCounted
# Saves the whole game, the game core's world, the player's economy and settings, as one compressed binary
# file, and reads it back; older saves, one var_to_str text, still load. Neither reader ever builds an object
# from a file: the binary one decodes plain values only, the text one refuses anything but plain data
# (str_to_var would otherwise build objects named in the file).
#
# The binary file is the engine's Zstandard-compressed file holding what store_var(data) writes (the data's
# length, then its encoding), followed by the SHA-256 of that encoding. It is checked before anything is
# decoded: block by block as the engine laid it out, then against the digest. A truncated or damaged file is
# thus refused as damaged without the engine decoding broken bytes (which would report errors), and a
# flipped bit the compression would not notice cannot load as a different game.

const Texts := preload("res://ui/texts.gd")
const FORMAT := "teamforge-demo-save"
const VERSION := 1
# The engine's compressed files begin and end with this.
const COMPRESSED_MAGIC := "GCPF"
const DIGEST_SIZE := 32
# No save comes near this; a larger length in a header is damage, not a reason to allocate it.
const MAX_PAYLOAD := 1 << 30

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
	var encoded := var_to_bytes(data)
	var file := FileAccess.open_compressed(path, FileAccess.WRITE, FileAccess.COMPRESSION_ZSTD)
	if file == null:
		return Texts.text("DEMO_SAVE_FAILED") % error_string(FileAccess.get_open_error())
	# The same bytes as file.store_var(data), which get_var(false) reads; the encoding is kept for the digest.
	file.store_32(encoded.size())
	file.store_buffer(encoded)
	file.store_buffer(_digest(encoded))
	var error := file.get_error()
	file.close()
	return "" if error == OK else Texts.text("DEMO_SAVE_FAILED") % error_string(error)


## Reads a save: {"ok": true, "game": Dictionary, "economy": Dictionary, "settings": Dictionary, "date": String}
## or {"ok": false, "error": text in the player's language}. A save from before the settings were saved keeps
## the language: its "settings" is the current locale.
static func read(path: String) -> Dictionary:
	if not FileAccess.file_exists(path):
		return {"ok": false, "error": Texts.text("DEMO_NO_SAVE")}
	var bytes := FileAccess.get_file_as_bytes(path)
	if bytes.is_empty() and FileAccess.get_open_error() != OK:
		return {"ok": false, "error": Texts.text("DEMO_SAVE_UNREADABLE") % error_string(FileAccess.get_open_error())}
	if bytes.slice(0, COMPRESSED_MAGIC.length()).get_string_from_ascii() == COMPRESSED_MAGIC:
		var encoded := _checked_payload(bytes)
		if encoded.is_empty():
			return {"ok": false, "error": Texts.text("DEMO_SAVE_DAMAGED")}
		return _checked(bytes_to_var(encoded))
	var text := bytes.get_string_from_utf8()
	if _constructor.search(_string_literal.sub(text, "\"\"", true)) != null:
		return {"ok": false, "error": Texts.text("DEMO_SAVE_NOT_DATA")}
	return _checked(str_to_var(text))


# The checks every save passes, whichever way it was written.
static func _checked(data: Variant) -> Dictionary:
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


# The encoded data of a compressed save, or an empty array when any part of the file is not as written:
# header, block sizes, each block's decompressed size, the length store_var put first, the digest.
# Layout: magic, mode, block size, total size, one compressed size per block, the blocks, magic.
static func _checked_payload(bytes: PackedByteArray) -> PackedByteArray:
	var none := PackedByteArray()
	if bytes.size() < 24:
		return none
	var mode := bytes.decode_u32(4)
	var block_size := bytes.decode_u32(8)
	var total := bytes.decode_u32(12)
	if mode != FileAccess.COMPRESSION_ZSTD or block_size == 0 or total > MAX_PAYLOAD:
		return none
	var blocks := total / block_size + 1
	var offset := 16 + 4 * blocks
	if offset + COMPRESSED_MAGIC.length() > bytes.size():
		return none
	var sizes := PackedInt64Array()
	var end := offset
	for block in blocks:
		sizes.append(bytes.decode_u32(16 + 4 * block))
		end += sizes[block]
	if end + COMPRESSED_MAGIC.length() != bytes.size() \
			or bytes.slice(end).get_string_from_ascii() != COMPRESSED_MAGIC:
		return none
	var plain := PackedByteArray()
	for block in blocks:
		var expected := block_size if block < blocks - 1 else total % block_size
		if expected > 0:
			var part := bytes.slice(offset, offset + sizes[block]).decompress(expected, FileAccess.COMPRESSION_ZSTD) \
					if sizes[block] > 0 else none
			if part.size() != expected:
				return none
			plain.append_array(part)
		offset += sizes[block]
	if plain.size() < 4 + DIGEST_SIZE:
		return none
	var length := plain.decode_u32(0)
	if length == 0 or length != plain.size() - 4 - DIGEST_SIZE:
		return none
	var encoded := plain.slice(4, 4 + length)
	return encoded if _digest(encoded) == plain.slice(4 + length) else none


static func _digest(data: PackedByteArray) -> PackedByteArray:
	var context := HashingContext.new()
	context.start(HashingContext.HASH_SHA256)
	context.update(data)
	return context.finish()


# The economy keeps its history and ledger as given; the screens read them as lists of records.
static func _is_list_of_records(value: Variant) -> bool:
	return value is Array and value.all(func(entry: Variant) -> bool: return entry is Dictionary)
