#include "tournament/series_log.h"

#include "common/dictionary_keys.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/variant.hpp>

using godot::Array;
using godot::Dictionary;
using godot::Variant;

namespace teamforge {

namespace {

// A column of p_rows.size() values, p_field's of each row.
template <typename Field>
Array column(const std::vector<SeriesLogRow> &p_rows, Field p_field) {
	Array values;
	values.resize(static_cast<int64_t>(p_rows.size()));
	for (size_t i = 0; i < p_rows.size(); i++) {
		values[static_cast<int64_t>(i)] = Variant(p_rows[i].*p_field);
	}
	return values;
}

} // namespace

Dictionary SeriesLog::columns() const {
	Dictionary log;
	log[TF_KEY("tournament_id")] = column(rows, &SeriesLogRow::tournament_id);
	log[TF_KEY("stage_index")] = column(rows, &SeriesLogRow::stage_index);
	log[TF_KEY("stage_type")] = column(rows, &SeriesLogRow::stage_type);
	log[TF_KEY("match_id")] = column(rows, &SeriesLogRow::match_id);
	log[TF_KEY("date")] = column(rows, &SeriesLogRow::date);
	log[TF_KEY("is_bo5")] = column(rows, &SeriesLogRow::is_bo5);
	log[TF_KEY("team_a_id")] = column(rows, &SeriesLogRow::team_a_id);
	log[TF_KEY("team_b_id")] = column(rows, &SeriesLogRow::team_b_id);
	log[TF_KEY("seed_a")] = column(rows, &SeriesLogRow::seed_a);
	log[TF_KEY("seed_b")] = column(rows, &SeriesLogRow::seed_b);
	log[TF_KEY("score_a")] = column(rows, &SeriesLogRow::score_a);
	log[TF_KEY("score_b")] = column(rows, &SeriesLogRow::score_b);
	log[TF_KEY("vrs_before_a")] = column(rows, &SeriesLogRow::vrs_before_a);
	log[TF_KEY("vrs_before_b")] = column(rows, &SeriesLogRow::vrs_before_b);
	log[TF_KEY("vrs_after_a")] = column(rows, &SeriesLogRow::vrs_after_a);
	log[TF_KEY("vrs_after_b")] = column(rows, &SeriesLogRow::vrs_after_b);
	log[TF_KEY("stamina_before_a")] = column(rows, &SeriesLogRow::stamina_before_a);
	log[TF_KEY("stamina_before_b")] = column(rows, &SeriesLogRow::stamina_before_b);
	log[TF_KEY("stamina_after_a")] = column(rows, &SeriesLogRow::stamina_after_a);
	log[TF_KEY("stamina_after_b")] = column(rows, &SeriesLogRow::stamina_after_b);
	log[TF_KEY("heat")] = column(rows, &SeriesLogRow::heat);
	return log;
}

} // namespace teamforge
