extends RefCounted
# Every English text the demo shows for a code or label key of the library, in one place. The library hands
# out keys ("FORMAT_MAJOR", "ERROR_INSUFFICIENT_FUNDS"); a translated game would swap this table.

const LABELS := {
	"FORMAT_MAJOR": "Major",
	"FORMAT_IEM": "Intel Extreme Masters",
	"FORMAT_EWC": "Esports World Cup",
	"FORMAT_BLAST": "BLAST",
	"FORMAT_EPL": "ESL Pro League",
	"TIER_HIGHEST": "Highest",
	"TIER_S": "Tier S",
	"TIER_1": "Tier 1",
	"TIER_2": "Tier 2",
	"TIER_3": "Tier 3",
	"TIER_OPEN": "Open",
	"REGION_EU": "Europe",
	"REGION_AM": "Americas",
	"REGION_AS": "Asia",
}

# Result codes of tournament creation and of the prediction economy.
const MESSAGES := {
	"ORGANIZE_CREATE_SUCCESS": "Tournament created. Invitations go out on the invitation date.",
	"ORGANIZE_CREATE_FAILED": "The tournament could not be created.",
	"ERROR_TEAM_DATABASE_REQUIRED": "There are no teams to invite: start a new game first.",
	"ERROR_INVALID_TOURNAMENT_FORMAT": "That tournament format does not exist.",
	"ERROR_TIER_NOT_ALLOWED_FOR_FORMAT": "That tier is not offered for this format.",
	"ERROR_INVALID_INVITATION_DATE": "The invitation date must be a real day, written YYYY-MM-DD.",
	"ERROR_INVITATION_DATE_AFTER_CURRENT_DATE": "The invitation date must be later than today.",
	"ERROR_HOST_CITY_REQUIRED": "This format needs a host city.",
	"ERROR_DUPLICATE_CITY_FORMAT_YEAR": "This format already visits that city in that year.",
	"ERROR_MAJOR_YEAR_LIMIT": "A year holds at most three Majors.",
	"ERROR_MAJOR_INVITATION_AFTER_PREVIOUS_FINAL": "A Major can only invite after the previous Major's final day.",
	"ERROR_EWC_YEAR_LIMIT": "There is already an Esports World Cup in that year.",
	"ERROR_INSUFFICIENT_FUNDS": "Not enough funds.",
	"ERROR_INVALID_TEAM_DATA": "Both teams of the match must be known.",
	"ERROR_INVALID_PICK_TEAM": "Pick one of the two teams of the match.",
	"ERROR_GUESS_AMOUNT_NEGATIVE": "The stake cannot be negative.",
	"ERROR_GUESS_NOT_FOUND": "That prediction does not exist.",
	"ERROR_GUESS_ALREADY_SETTLED": "That prediction has already been settled.",
}

const TOURNAMENT_STATUS := {
	"PENDING": "Announced",
	"WAITING": "Teams invited",
	"ACTIVE": "Running",
	"COMPLETED": "Completed",
}

const STAGE_TYPES := {
	"SWISS": "Swiss",
	"SINGLE_ELIM": "Single elimination",
	"BLAST_BRACKET": "Double elimination",
	"IEM_GROUPS": "Groups",
}

const PLACEMENTS := {
	"PLACEMENT_UNKNOWN": "Unranked",
}

const LEDGER_TYPES := {
	"GUESS_PLACED": "Stake",
	"GUESS_SETTLED": "Settlement",
}


static func label(key: String) -> String:
	return LABELS.get(key, _humanise(key))


static func message(code: String) -> String:
	if MESSAGES.has(code):
		return MESSAGES[code]
	# A code this table does not know yet still reads as a sentence, with the code for a bug report.
	return "Something went wrong (%s)." % code if code != "" else "Something went wrong."


static func format_name(format_id: String) -> String:
	return label("FORMAT_" + format_id)


static func tier_name(tier_id: String) -> String:
	return label(tier_id if tier_id.begins_with("TIER_") else "TIER_" + tier_id)


static func region_name(region_key: String) -> String:
	return label(region_key)


static func status_name(status: String) -> String:
	return TOURNAMENT_STATUS.get(status, _humanise(status))


static func stage_type_name(stage_type: String) -> String:
	return STAGE_TYPES.get(stage_type, _humanise(stage_type))


static func placement_name(tag: String) -> String:
	return PLACEMENTS.get(tag, tag)


static func ledger_type_name(entry_type: String) -> String:
	return LEDGER_TYPES.get(entry_type, _humanise(entry_type))


static func money(amount: int) -> String:
	var digits := str(absi(amount))
	var grouped := ""
	while digits.length() > 3:
		grouped = "," + digits.right(3) + grouped
		digits = digits.left(digits.length() - 3)
	return ("-" if amount < 0 else "") + "$" + digits + grouped


static func signed_money(amount: int) -> String:
	return ("+" if amount > 0 else "") + money(amount)


static func odds(value: float) -> String:
	return "%.2f" % value


# "TIER_NEW_THING" reads "New thing": better than a raw key when the library grows a key before this table.
static func _humanise(key: String) -> String:
	var words := key.split("_", false)
	if words.size() > 1 and words[0] in ["TIER", "FORMAT", "REGION"]:
		words.remove_at(0)
	return " ".join(words).capitalize() if not words.is_empty() else key
