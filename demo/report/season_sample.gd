extends RefCounted
# One seeded season of the main job's schedule (demo/main.gd), played on objects of its own (a team
# database, a tournament manager, a simulator and an economy), so that seasons can run side by side on
# the engine's worker threads. Keeps only the figures the balance report needs: a few arrays by team and
# by rating gap, and every figure of the layout as a numerator and a denominator for this season.

const Main := preload("res://main.gd")
const FigureLayout := preload("res://report/figure_layout.gd")

## Lower bounds of the rating-gap bands of the calibration, in rating points.
const GAP_BANDS := FigureLayout.GAP_BANDS
## More than the records a Swiss stage can hold.
const SWISS_PLACES := 1 << 16
## The richest teams whose share of a season's prize money is reported.
const TOP_TEAMS := 10

var seed_value := 0
## By roster position: the rating before the first day and after the last, the prize money and the
## titles won in the season.
var start_ratings := PackedInt64Array()
var end_ratings := PackedInt64Array()
var prize_money := PackedInt64Array()
var titles := PackedInt64Array()
## By gap band (the favourite is the better-rated side, side A on equal ratings): series played, series
## the favourite won, the favourite's win probability implied by the economy's odds (summed), and what
## one unit staked on every favourite and on every underdog paid back (summed).
var series := PackedInt64Array()
var favourite_wins := PackedInt64Array()
var implied_sum := PackedFloat64Array()
var favourite_payout := PackedFloat64Array()
var underdog_payout := PackedFloat64Array()
## The layout's figures: numerator and denominator of figure i at 2i and 2i + 1.
var values := PackedFloat64Array()
## Series played in the season; series of the records that no match report matched (should stay 0).
var matches := 0
var unmatched := 0

var _layout: FigureLayout
var _economy: EconomySystem
var _team_a: TeamData
var _team_b: TeamData
## The match reports of the tournament being played, until the manager says which it was: each
## [team a id, team b id, [rating a, rating b, stamina a, stamina b, score a, score b]].
var _pending := []
## Tournament id -> {"team a|team b" -> those arrays in the order the series were played}.
var _played := {}


func _init(season_seed: int, layout: FigureLayout = null) -> void:
	seed_value = season_seed
	_layout = layout
	for array in [series, favourite_wins]:
		array.resize(GAP_BANDS.size())
	for array in [implied_sum, favourite_payout, underdog_payout]:
		array.resize(GAP_BANDS.size())
	if layout != null:
		values.resize(2 * layout.size())
	# What prices a series as the player would have been offered it.
	_economy = EconomySystem.new()
	_team_a = TeamData.new()
	_team_b = TeamData.new()


static func band_of(gap: int) -> int:
	return FigureLayout.band_of(GAP_BANDS, gap)


## Plays the whole season. Touches nothing outside this object, so any thread may run it.
func play() -> void:
	var database := TeamDatabase.new()
	database.initialize_defaults()
	var manager := TournamentManager.new()
	manager.tournament_updated.connect(_note_tournament)
	manager.set_team_database(database)
	var simulator := MatchSimulator.new()
	simulator.set_seed(seed_value)
	simulator.match_simulated.connect(_note_series)
	manager.set_match_simulator(simulator)
	manager.set_available_funds(Main.FUNDS)
	var teams := database.get_teams()
	start_ratings = PackedInt64Array(teams.map(func(team: TeamData): return team.get_vrs()))
	for request in Main.SCHEDULE:
		manager.create_tournament(request[0], request[1], request[2], request[3])
	while database.get_current_date() < Main.SEASON_END:
		manager.advance_day()
	end_ratings = PackedInt64Array(teams.map(func(team: TeamData): return team.get_vrs()))
	prize_money = PackedInt64Array(teams.map(func(team: TeamData): return team.get_prize_total()))
	titles = PackedInt64Array(teams.map(func(team: TeamData): return team.get_honors().filter(
			func(honour): return honour is Dictionary and honour.get("placement") == "1st").size()))
	var team_index := {}
	for i in teams.size():
		team_index[teams[i].get_id()] = i
	simulator.match_simulated.disconnect(_note_series)
	manager.tournament_updated.disconnect(_note_tournament)
	_read_records(manager.get_tournaments(), team_index)
	_played.clear()
	manager.free()
	database.free()
	summarise()


## Adds the figures that follow from the arrays by team and by gap band: titles, prize money and ratings
## by rank, the calibration, the spread of the ratings and the richest teams' share of the prize money.
func summarise() -> void:
	var teams := start_ratings.size()
	var before := ranked(start_ratings)
	var after := ranked(end_ratings)
	var all_titles := 0
	for count in titles:
		all_titles += count
	for rank in teams:
		var team: int = before[rank]
		add("rank|%d|titles" % (rank + 1), titles[team], 1)
		add("rank|%d|title_share" % (rank + 1), titles[team], all_titles)
		add("rank|%d|mean_prize" % (rank + 1), prize_money[team], 1)
		add("rank|%d|mean_rating_before" % (rank + 1), start_ratings[team], 1)
		add("rank|%d|mean_rating_after" % (rank + 1), end_ratings[after[rank]], 1)
		var label := FigureLayout.rank_label(FigureLayout.RANK_GROUPS[FigureLayout.group_of_rank(rank)])
		add("rank_group|%s|title_share" % label, titles[team], 0)
		add("rank_group|%s|mean_prize" % label, prize_money[team], 1)
	for group in FigureLayout.RANK_GROUPS:
		add("rank_group|%s|title_share" % FigureLayout.rank_label(group), 0, all_titles)
	for band in GAP_BANDS.size():
		var gap := FigureLayout.gap_label(band)
		add("calibration|%s|series" % gap, series[band], 1)
		add("calibration|%s|observed_favourite_rate" % gap, favourite_wins[band], series[band])
		add("calibration|%s|implied_favourite_rate" % gap, implied_sum[band], series[band])
		add("calibration|%s|return_on_favourite" % gap, favourite_payout[band] - series[band], series[band])
		add("calibration|%s|return_on_underdog" % gap, underdog_payout[band] - series[band], series[band])
		add("calibration|all|return_on_favourite", favourite_payout[band] - series[band], series[band])
		add("calibration|all|return_on_underdog", underdog_payout[band] - series[band], series[band])
	for region in _layout.regions:
		var members := range(teams).filter(func(i): return _layout.team_regions[i] == region)
		var region_titles := 0
		var region_prize := 0
		for i in members:
			region_titles += titles[i]
			region_prize += prize_money[i]
		add("region|%s|teams" % region, members.size(), 1)
		add("region|%s|title_share" % region, region_titles, all_titles)
		add("region|%s|mean_prize" % region, region_prize, members.size())
	add("season|mean|rating_spread_before", spread(start_ratings), 1)
	add("season|mean|rating_spread_after", spread(end_ratings), 1)
	add("season|mean|top_ten_prize_share", top_share(prize_money, TOP_TEAMS), 1)


## Standard deviation of the whole population.
static func spread(numbers: PackedInt64Array) -> float:
	if numbers.is_empty():
		return 0.0
	var mean := 0.0
	for value in numbers:
		mean += value
	mean /= numbers.size()
	var sum := 0.0
	for value in numbers:
		sum += (value - mean) * (value - mean)
	return sqrt(sum / numbers.size())


## The share of the sum held by the `count` largest amounts.
static func top_share(amounts: PackedInt64Array, count: int) -> float:
	var richest := ranked(amounts)
	var top := 0
	var all := 0
	for i in richest.size():
		all += amounts[richest[i]]
		top += amounts[richest[i]] if i < count else 0
	return float(top) / maxi(all, 1)


## What a season's figures are, in the order its fingerprint holds them (the seed first).
const FINGERPRINT_FIELDS := ["seed_value", "start_ratings", "end_ratings", "prize_money", "titles", "series",
		"favourite_wins", "implied_sum", "favourite_payout", "underdog_payout", "values", "matches", "unmatched"]


## The season's figures as one value, for comparing two runs of the same seed and for partial results.
func fingerprint() -> Array:
	return FINGERPRINT_FIELDS.map(func(field: String): return get(field))


## A season again from its fingerprint (a partial result read back).
static func from_fingerprint(data: Array) -> RefCounted:
	var sample = load("res://report/season_sample.gd").new(data[0])
	for i in range(1, FINGERPRINT_FIELDS.size()):
		sample.set(FINGERPRINT_FIELDS[i], data[i])
	return sample


## Adds to figure `key` of the layout: its numerator and its denominator (the count it is taken over).
func add(key: String, numerator: float, denominator: float) -> void:
	var i: int = _layout.index[key]
	values[2 * i] += numerator
	values[2 * i + 1] += denominator


## The same by the figure's place in the layout.
func add_at(i: int, numerator: float, denominator: float) -> void:
	values[2 * i] += numerator
	values[2 * i + 1] += denominator


func _note_series(report: Dictionary) -> void:
	# Only what the records lack: the ratings and stamina as the series began (the score, to check the match
	# with the record). The rest comes from the records.
	_pending.append([report.team_a_id + "|" + report.team_b_id, PackedInt64Array([report.vrs_before_a,
			report.vrs_before_b, report.stamina_before_a, report.stamina_before_b, report.score_a, report.score_b])])


## The manager announces a tournament after playing its day, so the series since the last announcement
## were that tournament's.
func _note_tournament(tournament_id: int) -> void:
	if _pending.is_empty():
		return
	if not _played.has(tournament_id):
		_played[tournament_id] = {}
	var pairs: Dictionary = _played[tournament_id]
	for entry in _pending:
		if not pairs.has(entry[0]):
			pairs[entry[0]] = []
		pairs[entry[0]].append(entry[1])
	_pending.clear()


## The report of the node's series: the first one of its pair, in playing order, with the same score.
func _take_report(pairs: Dictionary, node: Dictionary) -> PackedInt64Array:
	var played: Array = pairs.get(str(node.team_a.get("id", "")) + "|" + str(node.team_b.get("id", "")), [])
	var score_a: int = node.score_a
	var score_b: int = node.score_b
	for i in played.size():
		var found: PackedInt64Array = played[i]
		if found[4] == score_a and found[5] == score_b:
			played.remove_at(i)
			return found
	return PackedInt64Array()


func _read_records(tournaments: Array, team_index: Dictionary) -> void:
	var before := ranked(start_ratings)
	var rank_of := PackedInt64Array()
	rank_of.resize(before.size())
	for rank in before.size():
		rank_of[before[rank]] = rank
	var group_sizes := PackedInt64Array()
	group_sizes.resize(FigureLayout.RANK_GROUPS.size())
	var group_of_team := PackedInt64Array()
	group_of_team.resize(before.size())
	for rank in before.size():
		group_sizes[FigureLayout.group_of_rank(rank)] += 1
		group_of_team[before[rank]] = FigureLayout.group_of_rank(rank)

	var champions := []
	var ordered := tournaments.duplicate()
	ordered.sort_custom(func(a, b): return a.start_date < b.start_date or (a.start_date == b.start_date and a.id < b.id))
	var prize_paid := 0
	var heat_credited := 0
	var tier_prize := {}
	var event_prize := {}
	for t in ordered:
		if t.status != "COMPLETED":
			continue
		var event := FigureLayout.event_of(t.format_id, t.tier_id)
		prize_paid += t.prize
		heat_credited += t.total_heat
		if _layout.tiers.has(t.tier_id):
			add("organiser|%s|prize_pool" % t.tier_id, t.prize, 1)
			add("organiser|%s|heat_credited" % t.tier_id, t.total_heat, 1)
		# Prize money by rank group, summed per tier and per event.
		var tier_sums := _group_sums(tier_prize, t.tier_id)
		var event_sums := _group_sums(event_prize, event)
		for standing in t.standings:
			var team: int = team_index.get(standing.team.id, -1)
			if team < 0:
				continue
			var group := group_of_team[team]
			tier_sums[group] += standing.prize
			event_sums[group] += standing.prize
			if standing.placement == "1st":
				champions.append(team)
				if _layout.tiers.has(t.tier_id):
					add("tier_titles|%s top 10|title_share" % t.tier_id, 1 if rank_of[team] < 10 else 0, 1)
				for g in FigureLayout.RANK_GROUPS.size():
					var label := FigureLayout.rank_label(FigureLayout.RANK_GROUPS[g])
					add("tier_titles|%s %s|title_share" % [t.tier_id, label], 1 if g == group else 0, 1)
					add("event_titles|%s %s|title_share" % [event, label], 1 if g == group else 0, 1)
		var pairs: Dictionary = _played.get(t.id, {})
		for stage in t.stages:
			_read_stage(stage, pairs)
	for g in FigureLayout.RANK_GROUPS.size():
		var label := FigureLayout.rank_label(FigureLayout.RANK_GROUPS[g])
		for tier in _layout.tiers:
			add("tier_prize|%s %s|mean_prize" % [tier, label], tier_prize[tier][g] if tier_prize.has(tier) else 0, group_sizes[g])
		for event in _layout.events:
			add("event_prize|%s %s|mean_prize" % [event, label], event_prize[event][g] if event_prize.has(event) else 0, group_sizes[g])
	add("organiser|season|prize_pools_paid", prize_paid, 1)
	add("organiser|season|heat_credited", heat_credited, 1)
	add("organiser|season|heat_less_prize", heat_credited - prize_paid, 1)

	# Repeat champions, in the order the tournaments started.
	var won := {}
	var repeats := 0
	var most := 0
	for team in champions:
		repeats += 1 if won.has(team) else 0
		won[team] = won.get(team, 0) + 1
		most = maxi(most, won[team])
	add("champions|season|distinct_champions", won.size(), 1)
	add("champions|season|repeat_title_share", repeats, champions.size())
	add("champions|season|most_titles_by_one_team", most, 1)



func _read_stage(stage: Dictionary, pairs: Dictionary) -> void:
	var kind: String = stage.type if FigureLayout.STAGE_KINDS.has(stage.type) else "OTHER"
	# A pair may meet twice in a stage (a bracket's final): nodes are listed in the order they are played,
	# so the earlier node takes the earlier report.
	for node in stage.nodes:
		if node.score_a == 0 and node.score_b == 0:
			continue
		var before := _take_report(pairs, node)
		if before.is_empty():
			unmatched += 1
			continue
		_count_series(kind, node, before)
	if stage.type == "SWISS":
		# The seed within the stage: the place of the team's seed among the stage's sixteen.
		var records: Array = stage.records
		# Sorted by seed, then by place in the list: each record's seed and place packed into one number.
		var by_seed := PackedInt64Array()
		for i in records.size():
			by_seed.append(int(records[i].get("seed", 0)) * SWISS_PLACES + i)
		by_seed.sort()
		for place in by_seed.size():
			var record: Dictionary = records[posmod(by_seed[place], SWISS_PLACES)]
			var seed := place + 1
			var at: PackedInt64Array = _layout.swiss_index[mini(seed, FigureLayout.SWISS_SEEDS + 1) - 1]
			var three_nil := 1 if record.w == 3 and record.l == 0 else 0
			var nil_three := 1 if record.w == 0 and record.l == 3 else 0
			for k in range(0, at.size(), 2):
				add_at(at[k], three_nil, 1)
				add_at(at[k + 1], nil_three, 1)


func _count_series(kind: String, node: Dictionary, before: PackedInt64Array) -> void:
	matches += 1
	var rating_a := before[0]
	var rating_b := before[1]
	_team_a.set_vrs(rating_a)
	_team_b.set_vrs(rating_b)
	# Priced as the player would have been offered the match, on the ratings it was played at.
	var odds := _economy.calculate_guess_ratios(_team_a, _team_b)
	var a_favoured := rating_a >= rating_b
	var favourite_odds: float = odds.ratio_a if a_favoured else odds.ratio_b
	var underdog_odds: float = odds.ratio_b if a_favoured else odds.ratio_a
	var favourite_won: bool = (node.score_a > node.score_b) == a_favoured
	var band := band_of(absi(rating_a - rating_b))
	var implied := underdog_odds / (favourite_odds + underdog_odds)
	series[band] += 1
	implied_sum[band] += implied
	if favourite_won:
		favourite_wins[band] += 1
		favourite_payout[band] += favourite_odds
	else:
		underdog_payout[band] += underdog_odds
	if rating_a == rating_b:
		return
	# Upsets: the underdog is the worse-rated side; equal ratings have none.
	var upset := 0 if favourite_won else 1
	var length := 2 if node.is_bo5 else (0 if maxi(node.score_a, node.score_b) == 1 else 1)
	var stamina_gap: int = (before[2] - before[3]) * (1 if a_favoured else -1)
	var stamina := FigureLayout.band_of(FigureLayout.STAMINA_BANDS, stamina_gap)
	for at in [_layout.length_index[length], _layout.stage_index[kind], _layout.stamina_index[stamina]]:
		add_at(at.x, upset, 1)
		add_at(at.y, 1.0 - implied, 1)


## The sums by rank group kept under `key`, made (all 0) on first use; changed in place.
static func _group_sums(sums: Dictionary, key: String) -> Array:
	if not sums.has(key):
		var zeros := []
		zeros.resize(FigureLayout.RANK_GROUPS.size())
		zeros.fill(0)
		sums[key] = zeros
	return sums[key]


## Indices of `values` from the largest value down; equal values keep their order.
static func ranked(values_by_team: PackedInt64Array) -> Array:
	var order := range(values_by_team.size())
	order.sort_custom(func(a, b): return values_by_team[a] > values_by_team[b] or (values_by_team[a] == values_by_team[b] and a < b))
	return order
