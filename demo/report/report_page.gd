extends Panel
# The balance report as pictures: balance.png (titles, prize money, the odds and the ratings) and
# balance_splits.png (tiers, regions, upsets, Swiss seeds and the organiser), each a grid of the report's
# interval charts under the demo's theme, with a heading and a note saying how to read them.
# balance_report.gd shows each page in the window and saves the frame.

const BalanceStats := preload("res://report/balance_stats.gd")
const FigureLayout := preload("res://report/figure_layout.gd")
const ReportComparison := preload("res://report/report_comparison.gd")
const Texts := preload("res://ui/texts.gd")
const Chart := preload("res://ui/charts/chart.gd")
const LineChart := preload("res://ui/charts/line_chart.gd")
const IntervalChart := preload("res://report/interval_chart.gd")
const THEME := preload("res://ui/teamforge_theme.tres")

const PAGES := ["balance.png", "balance_splits.png"]

var heading := Label.new()
var summary := Label.new()
var grid := GridContainer.new()
var _stats: BalanceStats
var _comparison: ReportComparison


func _init() -> void:
	theme = THEME
	set_anchors_preset(PRESET_FULL_RECT)
	var margin := MarginContainer.new()
	margin.set_anchors_preset(PRESET_FULL_RECT)
	for side in ["left", "top", "right", "bottom"]:
		margin.add_theme_constant_override("margin_" + side, 12)
	add_child(margin)
	var column := VBoxContainer.new()
	margin.add_child(column)
	heading.theme_type_variation = &"HeaderLabel"
	summary.theme_type_variation = &"MutedLabel"
	summary.autowrap_mode = TextServer.AUTOWRAP_WORD_SMART
	column.add_child(heading)
	column.add_child(summary)
	grid.size_flags_vertical = SIZE_EXPAND_FILL
	grid.add_theme_constant_override("h_separation", 14)
	grid.add_theme_constant_override("v_separation", 8)
	column.add_child(grid)


static func rank_label(group: Array) -> String:
	return FigureLayout.rank_label(group)


static func gap_label(band: int) -> String:
	return FigureLayout.gap_label(band)


func show_report(stats: BalanceStats, seed_value: int, page: int, comparison: ReportComparison = null) -> void:
	_stats = stats
	_comparison = comparison
	var against := " Against %s: ◆ its value; * a change beyond noise." % comparison.source.get_file() if comparison != null else ""
	var how := ("Bars: the mean over %d seasons; whiskers: its 95%% interval across seasons; n: the events behind it "
			+ "(series, titles, stages, team-seasons); pale bars and \"few\": fewer than %d.%s") % [stats.seasons,
			BalanceStats.SMALL_SAMPLE, against]
	if page == 0:
		_overview(stats, seed_value, how)
	else:
		_splits(stats, seed_value, how)


func _overview(stats: BalanceStats, seed_value: int, how: String) -> void:
	heading.text = "Teamforge balance report: %d seasons of the demo's main schedule (%d tournaments a season), seed %d" % [
			stats.seasons, FigureLayout.Main.SCHEDULE.size(), seed_value]
	summary.text = ("The ten richest teams hold %.1f%% of a season's prize money. Rating spread (standard deviation) "
			+ "%.0f before the season, %.0f after it. Backing every favourite returns %+.1f%%, every underdog %+.1f%%. %s") % [
			100.0 * stats.get_value("season|mean|top_ten_prize_share"), BalanceStats.mean(stats.start_spread),
			BalanceStats.mean(stats.end_spread), 100.0 * stats.get_value("calibration|all|return_on_favourite"),
			100.0 * stats.get_value("calibration|all|return_on_underdog"), how]
	grid.columns = 2
	var groups := BalanceStats.RANK_GROUPS.map(func(group): return FigureLayout.rank_label(group))
	_chart("Share of all titles, by pre-season rating rank", "share of titles", _percent,
			groups.map(func(label): return _row(label, "rank_group|%s|title_share" % label, 0)))
	_chart("Mean prize money of one team in a season, by pre-season rank", "prize money", _money,
			groups.map(func(label): return _row(label, "rank_group|%s|mean_prize" % label, 1)))
	var calibration := _chart("Favourite's win rate by rating gap",
			"favourite wins", _percent, range(FigureLayout.GAP_BANDS.size()).map(func(band):
				var gap := FigureLayout.gap_label(band)
				var row := _row(gap + " pts", "calibration|%s|observed_favourite_rate" % gap, 0)
				row.reference = stats.get_value("calibration|%s|implied_favourite_rate" % gap)
				return row))
	calibration.legend = [["observed", Chart.colour(0)], ["implied by odds", IntervalChart.REFERENCE_COLOUR]]
	var ratings := LineChart.new()
	ratings.title = "Mean rating (up) by rank (across), before and after the season"
	ratings.x_domain = Vector2(1, stats.start_by_rank.size())
	ratings.markers = false
	ratings.set_series([
		{"name": "before", "color": Chart.colour(1), "points": PackedVector2Array(range(stats.start_by_rank.size()).map(
				func(i): return Vector2(i + 1, stats.start_by_rank[i])))},
		{"name": "after", "color": Chart.colour(0), "points": PackedVector2Array(range(stats.end_by_rank.size()).map(
				func(i): return Vector2(i + 1, stats.end_by_rank[i])))},
	])
	_place(ratings)


func _splits(stats: BalanceStats, seed_value: int, how: String) -> void:
	heading.text = "Teamforge balance report, where it comes from: %d seasons, seed %d" % [stats.seasons, seed_value]
	summary.text = ("A season crowns %.1f different champions; %.1f%% of titles go to a team that already won one that season. "
			+ "The organiser pays %s in prize pools a season and is credited %s of heat. %s") % [
			stats.get_value("champions|season|distinct_champions"), 100.0 * stats.get_value("champions|season|repeat_title_share"),
			Texts.money(roundi(stats.get_value("organiser|season|prize_pools_paid"))),
			Texts.money(roundi(stats.get_value("organiser|season|heat_credited"))), how]
	grid.columns = 3
	var tiers: Array = stats.layout.tiers
	var regions: Array = stats.layout.regions
	_chart("Titles won by the pre-season top 10, by tier", "share of the tier's titles", _percent,
			tiers.map(func(tier): return _row(Texts.tier_name(tier), "tier_titles|%s top 10|title_share" % tier, 0)))
	_chart("Mean prize money of a team in a season, by region", "prize money", _money, regions.map(func(region):
		return _row("%s (%d teams)" % [Texts.region_name("REGION_" + region), roundi(stats.get_value("region|%s|teams" % region))],
				"region|%s|mean_prize" % region, 1)))
	_chart("Share of all titles, by region", "share of titles", _percent,
			regions.map(func(region): return _row(Texts.region_name("REGION_" + region), "region|%s|title_share" % region, 0)))
	# Each split: its figures, its title, its groups and how a group reads on the chart.
	var as_is := func(group): return group
	var lengths := [["upset_by_length", "Upsets by series length", FigureLayout.SERIES_LENGTHS, as_is],
			["upset_by_stage", "Upsets by stage kind", FigureLayout.STAGE_KINDS, Texts.stage_type_name],
			["upset_by_stamina", "Upsets by favourite's stamina lead", range(FigureLayout.STAMINA_BANDS.size()).map(
					FigureLayout.stamina_label), as_is]]
	for entry in lengths:
		var shown: Array = entry[2].filter(func(group): return stats.figure_n[stats.find("%s|%s|underdog_win_rate" % [entry[0], group])] > 0)
		var chart := _chart(entry[1], "underdog wins", _percent, shown.map(func(group):
			var row := _row(entry[3].call(group), "%s|%s|underdog_win_rate" % [entry[0], group], 2)
			row.reference = stats.get_value("%s|%s|implied_underdog_rate" % [entry[0], group])
			return row))
		chart.legend = [["implied by odds", IntervalChart.REFERENCE_COLOUR]]
	_chart("Swiss stages: 3-0 rate by seed within the stage", "stages ended 3-0", _percent,
			FigureLayout.swiss_groups().map(func(group): return _row(group, "swiss|%s|three_nil_rate" % group, 2)))
	_chart("Swiss stages: 0-3 rate by seed within the stage", "stages ended 0-3", _percent,
			FigureLayout.swiss_groups().map(func(group): return _row(group, "swiss|%s|nil_three_rate" % group, 3)))
	var organiser := []
	for tier in tiers:
		organiser.append(_row(Texts.tier_name(tier) + " prize", "organiser|%s|prize_pool" % tier, 1))
		organiser.append(_row(Texts.tier_name(tier) + " heat", "organiser|%s|heat_credited" % tier, 4))
	var economy := _chart("Organiser, one event", "money", _money, organiser)
	economy.legend = [["prize pool", Chart.colour(1)], ["heat", Chart.colour(4)]]


func _row(label: String, key: String, colour_index: int) -> Dictionary:
	var i := _stats.find(key)
	var bounds := _stats.interval(i)
	var row := {"label": label, "value": _stats.figure_value[i], "low": bounds.x, "high": bounds.y, "n": _stats.figure_n[i],
			"small": _stats.is_small(i), "color": Chart.colour(colour_index)}
	if _comparison != null and _comparison.other.has(key):
		row.other = _comparison.other_value[i]
		row.change = _signed(_comparison.change[i])
		row.marked = _comparison.marked[i] == 1
	return row


func _chart(title: String, axis: String, shown: Callable, rows: Array) -> IntervalChart:
	var chart := IntervalChart.new()
	chart.title = title
	chart.axis_label = axis
	chart.value_text = shown
	chart.set_rows(rows)
	_place(chart)
	return chart


func _place(chart: Control) -> void:
	chart.size_flags_horizontal = SIZE_EXPAND_FILL
	chart.size_flags_vertical = SIZE_EXPAND_FILL
	grid.add_child(chart)


## A change in a few characters, at a precision that suits its size.
static func _signed(value: float) -> String:
	if absf(value) >= 1000.0:
		return "%+d" % roundi(value)
	return "%+.2f" % value if absf(value) >= 1.0 else "%+.4f" % value


static func _percent(value: float) -> String:
	return "%.1f%%" % (100.0 * value) if absf(value) < 0.1 and value != 0.0 else "%d%%" % roundi(100.0 * value)


static func _money(value: float) -> String:
	var amount := absf(value)
	var sign := "-" if value < 0.0 else ""
	if amount >= 1e6:
		return "%s$%.1fM" % [sign, amount / 1e6]
	if amount >= 1e3:
		return "%s$%dk" % [sign, roundi(amount / 1e3)]
	return "%s$%d" % [sign, roundi(amount)]
