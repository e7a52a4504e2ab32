@tool
extends EditorPlugin
# Optional: lists the addon's translation catalogues in the project's translations while the plugin is
# enabled, and takes them out when it is disabled. Other entries of the list stay as they are.

const TRANSLATIONS := "internationalization/locale/translations"
const LOCALE_FOLDER := "res://addons/teamforge/locale"


func _enable_plugin() -> void:
	var translations := _listed_translations()
	for catalogue in _catalogues():
		if not translations.has(catalogue):
			translations.append(catalogue)
	_store(translations)


func _disable_plugin() -> void:
	var catalogues := _catalogues()
	var kept := PackedStringArray()
	for path in _listed_translations():
		if not catalogues.has(path):
			kept.append(path)
	_store(kept)


# The .po files beside this script: teamforge.<locale>.po, English first as the fallback.
func _catalogues() -> PackedStringArray:
	var found := PackedStringArray()
	for file in DirAccess.get_files_at(LOCALE_FOLDER):
		if file.begins_with("teamforge.") and file.get_extension() == "po":
			found.append(LOCALE_FOLDER.path_join(file))
	found.sort()
	var english := LOCALE_FOLDER.path_join("teamforge.en.po")
	if found.has(english):
		found.remove_at(found.find(english))
		found.insert(0, english)
	return found


func _listed_translations() -> PackedStringArray:
	return PackedStringArray(ProjectSettings.get_setting(TRANSLATIONS, PackedStringArray()))


func _store(p_translations: PackedStringArray) -> void:
	if p_translations == _listed_translations():
		return
	ProjectSettings.set_setting(TRANSLATIONS, p_translations)
	var error := ProjectSettings.save()
	if error != OK:
		push_error("Teamforge: could not save the project settings (%s)." % error_string(error))
