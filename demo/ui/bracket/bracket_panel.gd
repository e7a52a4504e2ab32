extends Control
# The bracket tab of a tournament: its elimination stages drawn by bracket_view.gd, and the map-by-map report
# of the match clicked (match_report.gd) laid over them on the side away from that match. The report follows
# the match as it is played, and goes with a click beside the matches or on its cross.

const BracketView := preload("res://ui/bracket/bracket_view.gd")
const MatchReport := preload("res://ui/bracket/match_report.gd")

const INSET := 8.0

@onready var view: BracketView = %BracketView
@onready var report: MatchReport = %MatchReport


func _ready() -> void:
	view.match_clicked.connect(open_match)
	report.closed.connect(view.select.bind(""))
	resized.connect(_place_report)


## Shows a tournament's dictionary, as the library hands it out; the match open stays open while it exists.
func show_tournament(t: Dictionary) -> void:
	view.show_tournament(t)
	open_match(view.selected)


## Opens the report of a match, or closes it for "" or a match not shown.
func open_match(match_id: String) -> void:
	view.select(match_id)
	if view.selected == "":
		report.close()
		return
	report.show_match(view.layout.nodes[match_id], view.match_label(match_id))
	_place_report()


func _place_report() -> void:
	if not report.visible or not view.boxes.has(view.selected):
		return
	if not is_equal_approx(report.max_width, maxf(size.x * 0.6, 280.0)):
		report.max_width = maxf(size.x * 0.6, 280.0)
		report.show_match(report.node, report.label)
	var box: Rect2 = view.boxes[view.selected]
	var left := box.get_center().x > size.x / 2.0
	report.position = Vector2(INSET if left else size.x - report.size.x - INSET - 14.0, INSET)
