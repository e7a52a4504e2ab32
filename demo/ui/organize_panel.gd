extends HBoxContainer
# Organizing: format, a tier the format allows, invitation date and host city, from the game core's catalog;
# the tournaments organised so far from its summaries. The creation result's message key is shown translated,
# and shown again in a new language, until the calendar moves on. The invitation date is read as the player's
# language writes dates (10.01.2026 in German), or as YYYY-MM-DD.

const Texts := preload("res://ui/texts.gd")
const TableRows := preload("res://addons/teamforge/controls/table_rows.gd")

const LIST_WIDTHS := [0, 110, 120]
const SUCCESS_COLOR := Color(0.45, 0.85, 0.5)
const FAILURE_COLOR := Color(1.0, 0.45, 0.4)

var core: GameCore
## The organize data's catalog ("format_options", "tier_options_by_format"...), without its tournaments.
var data: Dictionary = {}
## The last creation result, as the game core returned it.
var last_result: Dictionary = {}

# The invitation date the field was last filled with, as written there; the field follows the calendar until
# the player edits it, and a date the calendar has passed gives way to the suggestion.
var _suggested_date := ""
# How dates were written when the field was last filled ("{day}.{month}.{year}"): a new language rewrites it.
var _date_order := ""
# The day the last result was given: it is news for that day only.
var _result_date := ""
var _rows: TableRows

@onready var format_option: OptionButton = %Format
@onready var tier_option: OptionButton = %Tier
@onready var invitation_date: LineEdit = %InvitationDate
@onready var city: LineEdit = %City
@onready var create_button: Button = %Create
@onready var funds_label: Label = %Funds
@onready var message: Label = %Message
@onready var organised: Tree = %List


func _ready() -> void:
	for column in 3:
		organised.set_column_title(column, ["DEMO_TOURNAMENT", "DEMO_INVITATIONS", "DEMO_STATUS"][column])
		organised.set_column_expand(column, column == 0)
		organised.set_column_custom_minimum_width(column, LIST_WIDTHS[column])
	_rows = TableRows.new(organised, LIST_WIDTHS)
	_rows.empty_reason = func() -> String: return Texts.text("DEMO_NO_TOURNAMENTS_YET")
	format_option.item_selected.connect(func(_index: int) -> void: _fill_tiers())
	create_button.pressed.connect(_on_create_pressed)


func bind(game_core: GameCore) -> void:
	core = game_core
	# The catalog never changes: read once, while the game is new and its organize data small.
	data = core.get_organize_data()
	data.erase("tournaments")


## Empties the fields and the last result: a new game starts from the calendar's suggestion.
func clear_form() -> void:
	invitation_date.text = ""
	city.text = ""
	last_result = {}
	message.text = ""
	_suggested_date = ""


func selected_format() -> String:
	return format_option.get_item_metadata(format_option.selected) if format_option.selected >= 0 else ""


func selected_tier() -> String:
	return tier_option.get_item_metadata(tier_option.selected) if tier_option.selected >= 0 else ""


func refresh() -> void:
	if core == null:
		return
	_fill_formats()
	var today := core.get_current_date()
	if _result_date != today:
		last_result = {}
	var order := Texts.text("TEAMFORGE_DATE")
	var typed := Texts.parse_date(invitation_date.text, _date_order) if _date_order != "" else ""
	var suggestion := Texts.date(_day_after(today))
	if invitation_date.text == "" or invitation_date.text == _suggested_date or (typed != "" and typed <= today):
		invitation_date.text = suggestion
	elif typed != "" and order != _date_order:
		invitation_date.text = Texts.date(typed)
	_suggested_date = suggestion
	_date_order = order
	invitation_date.tooltip_text = Texts.date_hint(_day_after(today))
	funds_label.text = Texts.text("DEMO_FUNDS") % Texts.money(core.get_credits())
	_rows.show(core.get_tournament_summaries(), func(item: TreeItem, t: Dictionary) -> void:
		item.set_text(0, t.name)
		item.set_tooltip_text(0, "%s\n%s" % [t.name, Texts.text("DEMO_TOURNAMENT_TOOLTIP") % [
				Texts.format_name(t.format_id), Texts.tier_name(t.tier_id), Texts.money(t.prize)]])
		item.set_text(1, Texts.date(t.inv_date))
		item.set_text(2, Texts.status_name(t.status)))
	_show_result()


# The formats come from the organize data; rebuilt only when they change so the player's choice stays.
func _fill_formats() -> void:
	var options: Array = data.get("format_options", [])
	var ids := options.map(func(o: Dictionary) -> String: return o.id)
	var shown := range(format_option.item_count).map(func(i: int) -> String: return format_option.get_item_metadata(i))
	if ids == shown:
		_fill_tiers()
		return
	# The options show the library's label keys; the option button translates them itself.
	var keep := selected_format()
	format_option.clear()
	for option in options:
		format_option.add_item(option.label_key)
		format_option.set_item_metadata(format_option.item_count - 1, option.id)
	format_option.select(maxi(ids.find(keep), 0) if not ids.is_empty() else -1)
	_fill_tiers()


# Only the tiers the chosen format allows, as the organize data lists them per format.
func _fill_tiers() -> void:
	var by_format: Dictionary = data.get("tier_options_by_format", {})
	var options: Array = by_format.get(selected_format(), [])
	var keep := selected_tier()
	tier_option.clear()
	for option in options:
		tier_option.add_item(option.label_key)
		tier_option.set_item_metadata(tier_option.item_count - 1, option.id)
	var ids := options.map(func(o: Dictionary) -> String: return o.id)
	tier_option.select(maxi(ids.find(keep), 0) if not ids.is_empty() else -1)
	tier_option.disabled = ids.size() <= 1


# The organize data's default invitation date: the day after today.
static func _day_after(date: String) -> String:
	var unix := Time.get_unix_time_from_datetime_string(date + "T00:00:00") + 86400
	return Time.get_date_string_from_unix_time(unix)


func _on_create_pressed() -> void:
	if core == null:
		return
	# A text that is no date goes as written: the library refuses it, and the message says what is expected.
	var written := invitation_date.text.strip_edges()
	var date := Texts.parse_date(written)
	last_result = core.create_tournament(selected_format(), selected_tier(), date if date != "" else written,
			city.text)
	_result_date = core.get_current_date()
	if last_result.get("ok", false):
		city.text = ""
	_show_result()


func _show_result() -> void:
	if last_result.is_empty():
		message.text = ""
		return
	var ok: bool = last_result.get("ok", false)
	var key: String = last_result.get("message_key", "")
	var text := Texts.message(key)
	if key == "ERROR_INVALID_INVITATION_DATE":
		text += " " + Texts.date_hint(_day_after(core.get_current_date()))
	elif key == "ERROR_INVITATION_DATE_AFTER_CURRENT_DATE":
		text += " " + Texts.text("DEMO_TODAY_IS") % Texts.date(core.get_current_date())
	if ok:
		var created: Array = last_result.get("organize_data", {}).get("tournaments", [])
		if not created.is_empty():
			var t: Dictionary = created.back()
			text += " " + Texts.text("DEMO_CREATED") % [t.name, Texts.date(t.start_date), Texts.money(t.prize)]
	message.text = text
	message.add_theme_color_override("font_color", SUCCESS_COLOR if ok else FAILURE_COLOR)
