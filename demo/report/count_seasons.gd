extends SceneTree
# Plays N seasons of the balance report one after another on this thread, either as the report plays them
# or bare (organised, played and freed, nothing read), and prints the series the report counted.
# tools/count_season_instructions.sh --report runs it under callgrind with N = 0 and N = 2: the difference
# is what the seasons cost.
#   tools/run_demo.sh --script demo/report/count_seasons.gd -- report|bare N

const SeasonSample := preload("res://report/season_sample.gd")
const FigureLayout := preload("res://report/figure_layout.gd")
const BalanceReport := preload("res://report/balance_report.gd")


func _initialize() -> void:
	var args := OS.get_cmdline_user_args()
	var mode: String = args[0] if args.size() > 0 else ""
	var seasons := int(args[1]) if args.size() > 1 else -1
	if not mode in ["report", "bare"] or seasons < 0:
		printerr("usage: count_seasons.gd report|bare N")
		quit(2)
		return
	var layout := FigureLayout.new(BalanceReport.roster_regions())
	var series := 0
	for i in seasons:
		var season_seed := BalanceReport.DEFAULT_SEED * BalanceReport.SEEDS_PER_REPORT_SEED + i
		if mode == "bare":
			SeasonSample.play_bare(season_seed)
			continue
		var sample := SeasonSample.new(season_seed, layout)
		sample.play()
		series += sample.matches
	print("%s: %d seasons, %d series" % [mode, seasons, series])
	quit()
