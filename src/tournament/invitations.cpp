#include "tournament/invitations.h"

#include "common/dictionary_keys.h"
#include "common/game_rules.h"
#include "common/random.h"
#include "common/utf8_key.h"
#include "match_simulator.h"
#include "team_data.h"
#include "tournament/match_play.h"
#include "tournament/team_entries.h"
#include "tournament/tournament_creation.h"

#include <godot_cpp/classes/ref.hpp>
#include <godot_cpp/core/error_macros.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <algorithm>
#include <deque>
#include <string>
#include <unordered_set>
#include <vector>

namespace teamforge {

namespace {

using godot::Array;
using godot::Dictionary;
using godot::MatchSimulator;
using godot::Ref;
using godot::String;

constexpr uint32_t OPEN_SEED_FACTOR = 7919u;
constexpr int64_t EPL_DIRECT_TEAMS = 8;

// A team of the ranked pool with the values the invitation reads again and again. No signal is sent
// while the field is drawn, so the team stays as the roster found it.
struct Candidate {
	const godot::TeamData *team = nullptr;
	String id;
	std::string key;
	String region;
	int64_t rating = 0;
	int64_t stamina = 0;
	// The team's entry, made only for the teams that are invited.
	Dictionary entry;
	bool has_entry = false;

	Dictionary &invited_entry() {
		if (!has_entry) {
			entry = make_team_entry(*team);
			has_entry = true;
		}
		return entry;
	}
};

using CandidateList = std::vector<Candidate *>;

struct StageSlot {
	const char *key;
	const char *label;
};

constexpr StageSlot MAJOR_STAGES[] = {
	{ "stage3", "Stage 3 Direct" },
	{ "stage2", "Stage 2 Direct" },
	{ "stage1", "Stage 1" },
};

void sort_by_rating(CandidateList &r_list) {
	// Stable: teams of equal rating keep their order, so one seed gives one field.
	std::stable_sort(r_list.begin(), r_list.end(), [](const Candidate *p_a, const Candidate *p_b) { return p_a->rating > p_b->rating; });
}

// Every team of the database, best rating first, without the tier's first rank-offset teams. The
// candidates live in r_all; the pool points into it.
CandidateList ranked_pool(const TeamRoster &p_roster, int32_t p_rank_offset, std::vector<Candidate> &r_all) {
	r_all.clear();
	r_all.reserve(p_roster.teams().size());
	for (const godot::TeamData *team : p_roster.teams()) {
		Candidate candidate;
		candidate.team = team;
		candidate.id = team->get_id();
		candidate.key = utf8_key(candidate.id);
		candidate.region = team->get_region();
		// The live values of the first team with this id, as for any entry of it.
		const godot::TeamData *live = p_roster.find(candidate.id);
		candidate.rating = (live != nullptr ? live : team)->get_vrs();
		candidate.stamina = (live != nullptr ? live : team)->get_stamina();
		r_all.push_back(candidate);
	}
	CandidateList all;
	all.reserve(r_all.size());
	for (Candidate &candidate : r_all) {
		all.push_back(&candidate);
	}
	sort_by_rating(all);
	const size_t skipped = std::min(all.size(), static_cast<size_t>(std::max(p_rank_offset, 0)));
	return CandidateList(all.begin() + static_cast<std::ptrdiff_t>(skipped), all.end());
}

bool accepts(const Candidate &p_candidate, double p_draw) {
	return static_cast<double>(p_candidate.stamina) / STAMINA_MAX > p_draw;
}

size_t field_size(const Tournament &p_tournament) {
	return static_cast<size_t>(std::max(p_tournament.size, 0));
}

// Returns the participants in seed order.
CandidateList invite_open_field(const Ref<MatchSimulator> &p_simulator, Tournament &r_tournament, const CandidateList &p_pool) {
	const size_t size = field_size(r_tournament);
	const uint32_t seed = static_cast<uint32_t>(static_cast<uint64_t>(p_simulator->get_seed()));
	RandomEngine engine(seed ^ (static_cast<uint32_t>(r_tournament.id) * OPEN_SEED_FACTOR));
	CandidateList accepted;
	CandidateList reserve;
	for (Candidate *candidate : p_pool) {
		if (accepted.size() >= size) {
			break;
		}
		(accepts(*candidate, engine.uniform_real()) ? accepted : reserve).push_back(candidate);
	}
	// Each invitation moves the shared seed on.
	p_simulator->set_seed(engine.next_u32());
	for (Candidate *candidate : reserve) {
		if (accepted.size() >= size) {
			break;
		}
		accepted.push_back(candidate);
	}

	sort_by_rating(accepted);
	const bool league = r_tournament.format_id == FormatKind::EPL;
	Array participants;
	for (size_t i = 0; i < accepted.size(); i++) {
		Dictionary &entry = accepted[i]->invited_entry();
		const int64_t position = static_cast<int64_t>(i);
		entry[TF_KEY("seed")] = position + 1;
		if (league) {
			const bool direct = position < EPL_DIRECT_TEAMS;
			entry[TF_KEY("invited_stage")] = fixed_text(direct ? "Stage 2 Direct" : "Stage 1");
			entry[TF_KEY("stage_seed")] = direct ? position + 1 : position + 1 - EPL_DIRECT_TEAMS;
		}
		participants.push_back(entry);
	}
	r_tournament.participants = participants;
	return accepted;
}

// The region's next team for a quota slot: the best remaining one that accepts, else the best one
// that declined, else none.
Candidate *next_candidate(const Ref<MatchSimulator> &p_simulator, std::deque<Candidate *> &r_candidates,
		std::deque<Candidate *> &r_backup, const std::unordered_set<std::string> &p_invited) {
	while (!r_candidates.empty()) {
		Candidate *candidate = r_candidates.front();
		r_candidates.pop_front();
		if (p_invited.count(candidate->key) > 0) {
			continue;
		}
		const int64_t seed = p_simulator->get_seed();
		if (seed >= 0) {
			RandomEngine engine(static_cast<uint32_t>(candidate->id.hash()) ^ static_cast<uint32_t>(static_cast<uint64_t>(seed)));
			p_simulator->set_seed(engine.next_u32());
			if (accepts(*candidate, engine.uniform_real())) {
				return candidate;
			}
		}
		r_backup.push_back(candidate);
	}
	while (!r_backup.empty()) {
		Candidate *candidate = r_backup.front();
		r_backup.pop_front();
		if (p_invited.count(candidate->key) == 0) {
			return candidate;
		}
	}
	return nullptr;
}

// Returns the participants in seed order.
CandidateList invite_major_field(TournamentHost &p_host, const Ref<MatchSimulator> &p_simulator, Tournament &r_tournament,
		const CandidateList &p_pool) {
	const Dictionary quotas = normalize_quota_map(r_tournament.major_slots.is_empty() ? p_host.quota_map() : r_tournament.major_slots);
	r_tournament.major_slots = quotas;

	std::deque<Candidate *> by_region[REGION_COUNT];
	for (Candidate *candidate : p_pool) {
		for (size_t r = 0; r < REGION_COUNT; r++) {
			if (candidate->region == fixed_text(REGION_CODES[r])) {
				by_region[r].push_back(candidate);
			}
		}
	}

	const size_t size = field_size(r_tournament);
	std::unordered_set<std::string> invited;
	CandidateList stage_lists[3];
	const auto invite = [&](Candidate *p_candidate, size_t p_stage) {
		invited.insert(p_candidate->key);
		p_candidate->invited_entry()[TF_KEY("invited_stage")] = fixed_text(MAJOR_STAGES[p_stage].label);
		stage_lists[p_stage].push_back(p_candidate);
	};
	for (size_t r = 0; r < REGION_COUNT; r++) {
		std::deque<Candidate *> backup;
		for (size_t s = 0; s < 3; s++) {
			const Dictionary stage_quotas = quotas.get(dictionary_key(MAJOR_STAGES[s].key), Dictionary());
			const int64_t quota = stage_quotas.get(dictionary_key(REGION_CODES[r]), 0);
			for (int64_t k = 0; k < quota; k++) {
				Candidate *candidate = next_candidate(p_simulator, by_region[r], backup, invited);
				// Once a region is out of teams it stays out, so a quota far above the field ends here.
				if (candidate == nullptr) {
					break;
				}
				invite(candidate, s);
			}
		}
	}
	for (Candidate *candidate : p_pool) {
		if (invited.size() >= size) {
			break;
		}
		if (invited.count(candidate->key) == 0) {
			invite(candidate, 2);
		}
	}

	// Quotas above the field size invite more teams than it holds; only the first size teams (Stage 3
	// first) take part, and the stage lists hold exactly those, so no later stage seats a team that
	// is not a participant.
	Dictionary direct;
	Array participants;
	CandidateList field;
	for (size_t s = 0; s < 3; s++) {
		sort_by_rating(stage_lists[s]);
		Array list;
		for (size_t i = 0; i < stage_lists[s].size(); i++) {
			Dictionary &entry = stage_lists[s][i]->invited_entry();
			entry[TF_KEY("stage_seed")] = static_cast<int64_t>(i + 1);
			if (static_cast<size_t>(participants.size()) < size) {
				list.push_back(entry);
				participants.push_back(entry);
				field.push_back(stage_lists[s][i]);
			}
		}
		direct[dictionary_key(MAJOR_STAGES[s].key)] = list;
	}
	for (int64_t i = 0; i < participants.size(); i++) {
		Dictionary entry = participants[i];
		entry[TF_KEY("seed")] = i + 1;
	}
	r_tournament.major_direct = direct;
	r_tournament.participants = participants;
	return field;
}

} // namespace

void send_invitations(TournamentHost &p_host, Tournament &r_tournament) {
	if (p_host.database() == nullptr) {
		return;
	}
	const Ref<MatchSimulator> simulator = p_host.simulator();
	ERR_FAIL_COND(simulator.is_null());

	// The roster's teams stay valid until the next signal, and drawing the field sends none.
	const TeamRoster roster(p_host.database());
	std::vector<Candidate> candidates;
	const CandidateList pool = ranked_pool(roster, tier_rank_offset(r_tournament.tier_id), candidates);
	if (r_tournament.stages.empty()) {
		r_tournament.stages = build_stage_plan(r_tournament);
	}
	const CandidateList field = r_tournament.format_id == FormatKind::MAJOR
			? invite_major_field(p_host, simulator, r_tournament, pool)
			: invite_open_field(simulator, r_tournament, pool);

	// A new map rather than the old one cleared: a script may hold the old one frozen.
	Dictionary initial_vrs;
	for (const Candidate *candidate : field) {
		initial_vrs[candidate->id] = candidate->rating;
	}
	r_tournament.initial_vrs = initial_vrs;

	start_first_stage(p_host, r_tournament);
	r_tournament.status = TournamentStatus::WAITING;
}

} // namespace teamforge
