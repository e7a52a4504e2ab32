extends RefCounted
# One seeded season of the main job's schedule (demo/main.gd), played on objects of its own (a team
# database, a tournament manager, a simulator and an economy), so that seasons can run side by side on
# the engine's worker threads. Keeps only the figures the balance report needs.

const Main := preload("res://main.gd")

## Lower bounds of the rating-gap bands of the calibration, in rating points.
const GAP_BANDS := [0, 25, 50, 100, 150, 200, 300, 400]

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

var _economy: EconomySystem
var _team_a: TeamData
var _team_b: TeamData


func _init(season_seed: int) -> void:
	seed_value = season_seed
	for array in [series, favourite_wins]:
		array.resize(GAP_BANDS.size())
	for array in [implied_sum, favourite_payout, underdog_payout]:
		array.resize(GAP_BANDS.size())


static func band_of(gap: int) -> int:
	var band := 0
	while band + 1 < GAP_BANDS.size() and gap >= GAP_BANDS[band + 1]:
		band += 1
	return band


## Plays the whole season. Touches nothing outside this object, so any thread may run it.
func play() -> void:
	_economy = EconomySystem.new()
	_team_a = TeamData.new()
	_team_b = TeamData.new()
	var database := TeamDatabase.new()
	database.initialize_defaults()
	var manager := TournamentManager.new()
	manager.set_team_database(database)
	var simulator := MatchSimulator.new()
	simulator.set_seed(seed_value)
	simulator.match_simulated.connect(_count_series)
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
	simulator.match_simulated.disconnect(_count_series)
	manager.free()
	database.free()


## The season's figures as one value, for comparing two runs of the same seed.
func fingerprint() -> Array:
	return [seed_value, start_ratings, end_ratings, prize_money, titles, series, favourite_wins, implied_sum,
			favourite_payout, underdog_payout]


func _count_series(report: Dictionary) -> void:
	var rating_a: int = report.vrs_before_a
	var rating_b: int = report.vrs_before_b
	_team_a.set_vrs(rating_a)
	_team_b.set_vrs(rating_b)
	# Priced as the player would have been offered the match, on the ratings it was played at.
	var odds := _economy.calculate_guess_ratios(_team_a, _team_b)
	var a_favoured := rating_a >= rating_b
	var favourite_odds: float = odds.ratio_a if a_favoured else odds.ratio_b
	var underdog_odds: float = odds.ratio_b if a_favoured else odds.ratio_a
	var favourite_won: bool = (report.winner_id == report.team_a_id) == a_favoured
	var band := band_of(absi(rating_a - rating_b))
	series[band] += 1
	implied_sum[band] += underdog_odds / (favourite_odds + underdog_odds)
	if favourite_won:
		favourite_wins[band] += 1
		favourite_payout[band] += favourite_odds
	else:
		underdog_payout[band] += underdog_odds
