extends Panel
# The balance report as one picture: four charts of the demo's own chart controls under the demo's theme,
# with the headline figures above them. balance_report.gd shows it in the window and saves the frame.

const BalanceStats := preload("res://report/balance_stats.gd")
const SeasonSample := preload("res://report/season_sample.gd")
const Texts := preload("res://ui/texts.gd")
const Chart := preload("res://ui/charts/chart.gd")
const LineChart := preload("res://ui/charts/line_chart.gd")
const BarChart := preload("res://ui/charts/bar_chart.gd")
const THEME := preload("res://ui/teamforge_theme.tres")

var heading := Label.new()
var summary := Label.new()
var title_share := BarChart.new()
var prize := BarChart.new()
var calibration := LineChart.new()
var ratings := LineChart.new()


func _init() -> void:
	theme = THEME
	set_anchors_preset(PRESET_FULL_RECT)
	var margin := MarginContainer.new()
	margin.set_anchors_preset(PRESET_FULL_RECT)
	for side in ["left", "top", "right", "bottom"]:
		margin.add_theme_constant_override("margin_" + side, 14)
	add_child(margin)
	var column := VBoxContainer.new()
	margin.add_child(column)
	heading.theme_type_variation = &"HeaderLabel"
	summary.theme_type_variation = &"MutedLabel"
	summary.autowrap_mode = TextServer.AUTOWRAP_WORD_SMART
	column.add_child(heading)
	column.add_child(summary)
	var grid := GridContainer.new()
	grid.columns = 2
	grid.size_flags_vertical = SIZE_EXPAND_FILL
	grid.add_theme_constant_override("h_separation", 16)
	grid.add_theme_constant_override("v_separation", 12)
	column.add_child(grid)
	for chart in [title_share, prize, calibration, ratings]:
		chart.size_flags_horizontal = SIZE_EXPAND_FILL
		chart.size_flags_vertical = SIZE_EXPAND_FILL
		grid.add_child(chart)


func show_report(stats: BalanceStats, seed_value: int) -> void:
	heading.text = "Teamforge balance report: %d seasons of the main job's schedule, seed %d" % [stats.seasons, seed_value]
	summary.text = ("The ten richest teams hold %.1f%% of a season's prize money. Rating spread (standard deviation) "
			+ "%.0f before the season, %.0f after it. Backing every favourite returns %+.1f%%, every underdog %+.1f%%.") % [
			100.0 * BalanceStats.mean(stats.top_ten_share), BalanceStats.mean(stats.start_spread),
			BalanceStats.mean(stats.end_spread), 100.0 * stats.expected_return(-1, true),
			100.0 * stats.expected_return(-1, false)]

	title_share.title = "Share of titles by pre-season rating rank"
	title_share.set_bars(BalanceStats.RANK_GROUPS.map(func(group): return {"label": rank_label(group),
			"value": stats.title_share(group), "text": "%.1f%%" % (100.0 * stats.title_share(group)),
			"color": Chart.colour(0)}))
	prize.title = "Mean prize money of a team in a season, by pre-season rank"
	prize.set_bars(BalanceStats.RANK_GROUPS.map(func(group): return {"label": rank_label(group),
			"value": stats.mean_prize(group), "text": Texts.money(roundi(stats.mean_prize(group))),
			"color": Chart.colour(1)}))

	var bands := range(stats.series.size()).filter(func(band): return stats.series[band] > 0)
	calibration.title = "Favourite's win rate by rating gap"
	calibration.y_text = func(value: float) -> String: return "%d%%" % roundi(100.0 * value)
	calibration.min_y_span = 0.2
	calibration.x_ticks = bands.map(func(band): return [band, gap_label(band)])
	calibration.set_series([
		{"name": "observed", "color": Chart.colour(0),
				"points": PackedVector2Array(bands.map(func(band): return Vector2(band, stats.observed_rate(band))))},
		{"name": "implied by the odds", "color": Chart.colour(1),
				"points": PackedVector2Array(bands.map(func(band): return Vector2(band, stats.implied_rate(band))))},
	])

	ratings.title = "Ratings by rank, before and after the season (mean)"
	ratings.x_domain = Vector2(1, stats.start_by_rank.size())
	ratings.markers = false
	ratings.set_series([
		{"name": "before", "color": Chart.colour(1), "points": PackedVector2Array(range(stats.start_by_rank.size()).map(
				func(i): return Vector2(i + 1, stats.start_by_rank[i])))},
		{"name": "after", "color": Chart.colour(0), "points": PackedVector2Array(range(stats.end_by_rank.size()).map(
				func(i): return Vector2(i + 1, stats.end_by_rank[i])))},
	])


static func rank_label(group: Array) -> String:
	return "#%d" % group[0] if group[0] == group[1] else "#%d-%d" % group


static func gap_label(band: int) -> String:
	var bands := SeasonSample.GAP_BANDS
	return "%d+" % bands[band] if band + 1 >= bands.size() else "%d-%d" % [bands[band], bands[band + 1] - 1]
