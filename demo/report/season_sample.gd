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
## ranked() sorts packed keys for values from 0 to RANKED_CEILING and at most RANKED_INDICES teams.
const RANKED_CEILING := (1 << 50) - 1
const RANKED_INDICES := 1 << 12
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
## Series of the completed tournaments.
var matches := 0
## How long play() took, in microseconds (not part of the figures).
var play_usec := 0

var _layout: FigureLayout
var _economy: EconomySystem
## While the season is played: its teams, their prize money after the last completion, and by tournament
## id what its completion paid each team (by roster position).
var _teams: Array = []
var _prizes_before := PackedInt64Array()
var _prizes := {}
var _team_a: TeamData
var _team_b: TeamData


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


## Plays the whole season. Touches nothing outside this object, so any thread may run it.
func play() -> void:
	var started := Time.get_ticks_usec()
	var season := organise(seed_value)
	var database: TeamDatabase = season[0]
	var manager: TournamentManager = season[1]
	# The ratings and stamina each series began with are in the log alone.
	manager.series_log_enabled = true
	var teams := database.get_teams()
	start_ratings = PackedInt64Array(teams.map(func(team: TeamData): return team.get_vrs()))
	# What each tournament paid each team: the change of the teams' prize money as it completes.
	_teams = teams
	_prizes_before = _prize_totals()
	manager.tournament_completed.connect(_note_prizes)
	play_through(database, manager)
	end_ratings = PackedInt64Array(teams.map(func(team: TeamData): return team.get_vrs()))
	prize_money = _prize_totals()
	titles = PackedInt64Array(teams.map(func(team: TeamData): return team.get_honors().filter(
			func(honour): return honour is Dictionary and honour.get("placement") == "1st").size()))
	manager.tournament_completed.disconnect(_note_prizes)
	var team_index := {}
	for i in teams.size():
		team_index[teams[i].get_id()] = i
	_read_records(manager.get_tournament_summaries(), manager.get_series_log(), _prizes, team_index)
	_teams = []
	_prizes = {}
	manager.free()
	database.free()
	summarise()
	play_usec = Time.get_ticks_usec() - started


func _prize_totals() -> PackedInt64Array:
	var totals := PackedInt64Array()
	totals.resize(_teams.size())
	for i in _teams.size():
		totals[i] = _teams[i].get_prize_total()
	return totals


func _note_prizes(tournament_id: int) -> void:
	var totals := _prize_totals()
	var paid := totals.duplicate()
	for i in paid.size():
		paid[i] -= _prizes_before[i]
	_prizes[tournament_id] = paid
	_prizes_before = totals


## A season's team database and tournament manager, seeded, with the funds and nothing organised yet.
static func organise(season_seed: int) -> Array:
	var database := TeamDatabase.new()
	database.initialize_defaults()
	var manager := TournamentManager.new()
	manager.set_team_database(database)
	manager.get_match_simulator().set_seed(season_seed)
	manager.set_available_funds(Main.FUNDS)
	return [database, manager]


## Organises the main job's schedule and plays it to the season's end.
static func play_through(database: TeamDatabase, manager: TournamentManager) -> void:
	for request in Main.SCHEDULE:
		manager.create_tournament(request[0], request[1], request[2], request[3])
	while database.get_current_date() < Main.SEASON_END:
		manager.advance_day()


## The same season with nothing read, what the report's cost is measured against; returns how long it took in
## microseconds.
static func play_bare(season_seed: int) -> int:
	var started := Time.get_ticks_usec()
	var season := organise(season_seed)
	play_through(season[0], season[1])
	season[1].free()
	season[0].free()
	return Time.get_ticks_usec() - started


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
		var at: PackedInt64Array = _layout.rank_index[rank]
		add_at(at[0], titles[team], 1)
		add_at(at[1], titles[team], all_titles)
		add_at(at[2], prize_money[team], 1)
		add_at(at[3], start_ratings[team], 1)
		add_at(at[4], end_ratings[after[rank]], 1)
		var group_at: PackedInt64Array = _layout.rank_group_index[FigureLayout.group_of_rank(rank)]
		add_at(group_at[0], titles[team], 0)
		add_at(group_at[1], prize_money[team], 1)
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
		"favourite_wins", "implied_sum", "favourite_payout", "underdog_payout", "values", "matches"]


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


## Reads the season: the completed tournaments (summaries: identity, dates, prize pool and champion), what
## each paid each team (by tournament id, by roster position), and their series from the manager's series log
## (columns, one entry a series, in playing order).
func _read_records(tournaments: Array, series_log: Dictionary, prizes: Dictionary, team_index: Dictionary) -> void:
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

	var completed := {}
	for t in tournaments:
		if t.status == "COMPLETED":
			completed[t.id] = true
	var heat := _read_series(series_log, completed)
	var champions := []
	var ordered := tournaments.filter(func(t): return completed.has(t.id))
	ordered.sort_custom(func(a, b): return a.start_date < b.start_date or (a.start_date == b.start_date and a.id < b.id))
	var prize_paid := 0
	var heat_credited := 0
	var tier_prize := {}
	var event_prize := {}
	for t in ordered:
		var event := FigureLayout.event_of(t.format_id, t.tier_id)
		var t_heat: int = heat.get(t.id, 0)
		prize_paid += t.prize
		heat_credited += t_heat
		if _layout.tiers.has(t.tier_id):
			add("organiser|%s|prize_pool" % t.tier_id, t.prize, 1)
			add("organiser|%s|heat_credited" % t.tier_id, t_heat, 1)
		# Prize money by rank group, summed per tier and per event.
		var tier_sums := _group_sums(tier_prize, t.tier_id)
		var event_sums := _group_sums(event_prize, event)
		var paid: PackedInt64Array = prizes.get(t.id, PackedInt64Array())
		for team in paid.size():
			tier_sums[group_of_team[team]] += paid[team]
			event_sums[group_of_team[team]] += paid[team]
		var champion: int = team_index.get(t.champion_id, -1)
		if champion < 0:
			continue
		var group := group_of_team[champion]
		champions.append(champion)
		if _layout.tiers.has(t.tier_id):
			add("tier_titles|%s top 10|title_share" % t.tier_id, 1 if rank_of[champion] < 10 else 0, 1)
		for g in FigureLayout.RANK_GROUPS.size():
			var label := FigureLayout.rank_label(FigureLayout.RANK_GROUPS[g])
			add("tier_titles|%s %s|title_share" % [t.tier_id, label], 1 if g == group else 0, 1)
			add("event_titles|%s %s|title_share" % [event, label], 1 if g == group else 0, 1)
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



## Counts the series of the completed tournaments in playing order, and the Swiss records by seed that follow
## from them (a team's wins and losses within its Swiss stage). The loop runs once a series over many
## seasons, so it reads the columns and the layout through locals. Returns the heat the series credited, by
## tournament id.
func _read_series(series_log: Dictionary, completed: Dictionary) -> Dictionary:
	var tournament_ids: Array = series_log.get("tournament_id", [])
	var stages: Array = series_log.get("stage_index", [])
	var kinds: Array = series_log.get("stage_type", [])
	var bo5: Array = series_log.get("is_bo5", [])
	var teams_a: Array = series_log.get("team_a_id", [])
	var teams_b: Array = series_log.get("team_b_id", [])
	var seeds_a: Array = series_log.get("seed_a", [])
	var seeds_b: Array = series_log.get("seed_b", [])
	var scores_a: Array = series_log.get("score_a", [])
	var scores_b: Array = series_log.get("score_b", [])
	var ratings_a: Array = series_log.get("vrs_before_a", [])
	var ratings_b: Array = series_log.get("vrs_before_b", [])
	var stamina_a: Array = series_log.get("stamina_before_a", [])
	var stamina_b: Array = series_log.get("stamina_before_b", [])
	var heats: Array = series_log.get("heat", [])
	var heat := {}
	var length_index: Array = _layout.length_index
	var stamina_index: Array = _layout.stamina_index
	var gap_band: PackedByteArray = _layout.gap_band
	var stamina_band: PackedByteArray = _layout.stamina_band
	# The upset figures of each stage kind; other kinds count as "OTHER".
	var kind_index: Dictionary = _layout.stage_index
	var other_kind: Vector2i = kind_index["OTHER"]
	# Swiss stage (tournament id and stage index in one number) -> {team id -> [seed, wins, losses]}, teams
	# in the order of their first series.
	var swiss := {}
	for i in tournament_ids.size():
		if not completed.has(tournament_ids[i]):
			continue
		matches += 1
		heat[tournament_ids[i]] = heat.get(tournament_ids[i], 0) + heats[i]
		var rating_a: int = ratings_a[i]
		var rating_b: int = ratings_b[i]
		var score_a: int = scores_a[i]
		var score_b: int = scores_b[i]
		var kind: String = kinds[i]
		if kind == "SWISS":
			var stage: int = tournament_ids[i] * SWISS_PLACES + stages[i]
			var records: Dictionary = swiss.get(stage, {})
			if records.is_empty():
				swiss[stage] = records
			_note_swiss(records, teams_a[i], seeds_a[i], score_a > score_b)
			_note_swiss(records, teams_b[i], seeds_b[i], score_b > score_a)
		_team_a.set_vrs(rating_a)
		_team_b.set_vrs(rating_b)
		# Priced as the player would have been offered the match, on the ratings it was played at.
		var odds := _economy.calculate_guess_ratios(_team_a, _team_b)
		var a_favoured := rating_a >= rating_b
		var favourite_odds: float = odds.ratio_a if a_favoured else odds.ratio_b
		var underdog_odds: float = odds.ratio_b if a_favoured else odds.ratio_a
		var favourite_won: bool = (score_a > score_b) == a_favoured
		var band: int = gap_band[mini(absi(rating_a - rating_b), gap_band.size() - 1)]
		var implied := underdog_odds / (favourite_odds + underdog_odds)
		series[band] += 1
		implied_sum[band] += implied
		if favourite_won:
			favourite_wins[band] += 1
			favourite_payout[band] += favourite_odds
		else:
			underdog_payout[band] += underdog_odds
		if rating_a == rating_b:
			continue
		# Upsets: the underdog is the worse-rated side; equal ratings have none.
		var upset := 0 if favourite_won else 1
		var length := 2 if bo5[i] else (0 if maxi(score_a, score_b) == 1 else 1)
		var stamina_lead: int = (stamina_a[i] - stamina_b[i]) * (1 if a_favoured else -1)
		var lead_band: int = stamina_band[clampi(stamina_lead - FigureLayout.STAMINA_LEAD_MIN, 0, stamina_band.size() - 1)]
		for at: Vector2i in [length_index[length], kind_index.get(kind, other_kind), stamina_index[lead_band]]:
			values[2 * at.x] += upset
			values[2 * at.x + 1] += 1
			values[2 * at.y] += 1.0 - implied
			values[2 * at.y + 1] += 1
	for records in swiss.values():
		_count_swiss(records.values())
	return heat


## A team's series in a Swiss stage: its [seed, wins, losses] by team id.
static func _note_swiss(records: Dictionary, team_id: String, seed: int, won: bool) -> void:
	var record: Array = records.get(team_id, [])
	if record.is_empty():
		record.append_array([seed, 0, 0])
		records[team_id] = record
	record[1 if won else 2] += 1


## The 3-0 and 0-3 records of one Swiss stage, by the place of the team's seed among the stage's teams.
func _count_swiss(records: Array) -> void:
	# Sorted by seed, then by first series: each record's seed and place packed into one number.
	var by_seed := PackedInt64Array()
	for i in records.size():
		by_seed.append(records[i][0] * SWISS_PLACES + i)
	by_seed.sort()
	for place in by_seed.size():
		var record: Array = records[posmod(by_seed[place], SWISS_PLACES)]
		var at: PackedInt64Array = _layout.swiss_index[mini(place + 1, FigureLayout.SWISS_SEEDS + 1) - 1]
		var three_nil := 1 if record[1] == 3 and record[2] == 0 else 0
		var nil_three := 1 if record[1] == 0 and record[2] == 3 else 0
		for k in range(0, at.size(), 2):
			add_at(at[k], three_nil, 1)
			add_at(at[k + 1], nil_three, 1)


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
	# One native sort of packed keys (the value's distance below a ceiling, then the index) where the values
	# fit, else a sort by comparison.
	var keys := PackedInt64Array()
	keys.resize(values_by_team.size())
	for i in values_by_team.size():
		var value := values_by_team[i]
		if value < 0 or value > RANKED_CEILING or values_by_team.size() > RANKED_INDICES:
			var order := range(values_by_team.size())
			order.sort_custom(func(a, b): return values_by_team[a] > values_by_team[b] or (values_by_team[a] == values_by_team[b] and a < b))
			return order
		keys[i] = (RANKED_CEILING - value) * RANKED_INDICES + i
	keys.sort()
	var order := []
	order.resize(keys.size())
	for rank in keys.size():
		order[rank] = keys[rank] % RANKED_INDICES
	return order
