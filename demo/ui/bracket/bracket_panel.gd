extends Control
# The bracket tab of a tournament: its elimination stages drawn by bracket_view.gd, and the map-by-map report
# of the match clicked (match_report.gd) laid over them on the side away from that match. The report follows
# the match as it is played, and goes with a click beside the matches or on its cross. "Full view" asks the
# screen around it for more room (the tournaments panel hides its list).

## The player asked for more room for the bracket (true) or gave it back (false).
signal full_view_toggled(on: bool)

const BracketView := preload("res://ui/bracket/bracket_view.gd")
const MatchReport := preload("res://ui/bracket/match_report.gd")

const INSET := 8.0

@onready var view: BracketView = %BracketView
@onready var report: MatchReport = %MatchReport
@onready var full_view: Button = %FullView


func _ready() -> void:
	full_view.toggled.connect(func(on: bool) -> void: full_view_toggled.emit(on))
	# Leaving the bracket gives the room back.
	visibility_changed.connect(func() -> void:
		if not is_visible_in_tree():
			full_view.button_pressed = false)
	view.match_clicked.connect(open_match)
	report.closed.connect(view.select.bind(""))
	resized.connect(_place_report)
	view.scrolled.connect(_place_report)


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
	# The corner where the card hides the fewest matches, and least of all the one it reports on.
	var top := full_view.position.y + full_view.size.y + 4.0
	var best := Vector2.ZERO
	var least := INF
	for y in [top, size.y - report.size.y - INSET]:
		for x in [INSET, size.x - report.size.x - INSET - 14.0]:
			var card := Rect2(Vector2(x, maxf(y, 0.0)), report.size)
			var hidden := 0.0
			for id in view.boxes:
				var box := Rect2(view.to_view(view.boxes[id].position), view.boxes[id].size)
				hidden += card.intersection(box).get_area() * (100.0 if id == view.selected else 1.0)
			if hidden < least:
				least = hidden
				best = card.position
	report.position = best
