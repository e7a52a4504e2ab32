#!/usr/bin/env python3
"""The translation catalogues: the addon's, read from the library's own tables in src/ and from the keys the
addon's controls use, and the demo's, read from the keys its scenes and scripts use.

  tools/translations.py update   rewrite both .pot files and bring every .po in line with them (new entries
                                 are added untranslated, gone ones dropped, translations kept)
  tools/translations.py check    fail when a .pot lacks an entry the sources give or lists one they no longer
                                 use, or a .po lacks an entry, leaves one untranslated, or breaks the
                                 placeholders of its English text

The library's catalogue lists every code and name the library hands to a script. Each rule below reads one
table or one kind of statement in src/ and fails when it finds nothing, so a table that moves or changes its
shape stops the check instead of leaving its codes out.
"""

import pathlib
import re
import sys

TOP = pathlib.Path(__file__).resolve().parent.parent
LIBRARY_POT = TOP / "demo/addons/teamforge/locale/teamforge.pot"
DEMO_POT = TOP / "demo/locale/demo.pot"
DEMO_SOURCES = ["demo/*.gd", "demo/ui/*.gd", "demo/ui/*/*.gd", "demo/*.tscn", "demo/ui/*.tscn", "demo/ui/*/*.tscn"]
DEMO_KEY = re.compile(r'"(DEMO_[A-Z0-9_]+)"')
DEMO_PLURAL_KEY = re.compile(r'(?:tr_n|Texts\.count)\(\s*"(DEMO_[A-Z0-9_]+)"')
# The addon's controls ship in the package with the library's catalogue: their words are keys in it.
CONTROL_SOURCES = ["demo/addons/teamforge/controls/*.gd"]
CONTROL_KEY = re.compile(r'"(TEAMFORGE_[A-Z0-9_]+)"')
CONTROL_PLURAL_KEY = re.compile(r'(?:tr_n|Texts\.count)\(\s*"(TEAMFORGE_[A-Z0-9_]+)"')

# Codes that branches not merged yet make the library return. Listed here so that they ship translated
# together with the code; once src/ returns one, its rule finds it and the entry here changes nothing.
ANNOUNCED = {}

# A Swiss stage ends after three wins or three losses, so it never plays more than five rounds.
SWISS_ROUNDS = 5


def table_rows(text, table):
    """The text of a C++ table initialiser `NAME[] = { ... };`."""
    match = re.search(re.escape(table) + r"\[\] = \{(.*?)\n\};", text, re.S)
    return match.group(1) if match else ""


def first_strings(rows):
    return re.findall(r'^\s*\{ "([^"]+)"', rows, re.M)


def string_table(text, table):
    """The strings of a one-line C++ table `NAME[] = { "A", "B" };`."""
    match = re.search(re.escape(table) + r"\[\] = \{([^}]*)\}", text)
    return re.findall(r'"([^"]+)"', match.group(1)) if match else []


def code_texts(text, code):
    """The texts of a state's codes: the TEXTS of its CodeTexts specialisation."""
    match = re.search(r"struct CodeTexts<" + code + r"> \{.*?TEXTS\[\] = \{([^}]*)\}", text, re.S)
    return re.findall(r'"([A-Z_]+)"', match.group(1)) if match else []


def unique(items):
    return list(dict.fromkeys(items))


# (group, file glob, comment, context, extractor). The extractor maps a file's text to the msgids it holds.
RULES = [
    ("creation", "src/game_core.cpp", "GameCore.create_tournament(): the result's \"message_key\".", "",
     lambda t: re.findall(r'"(ORGANIZE_CREATE_[A-Z_]+)"', t)),
    ("creation", "src/tournament/tournament_creation.cpp",
     "A refused creation: TournamentManager.get_last_create_error(), GameCore.create_tournament()'s "
     "\"message_key\".", "",
     lambda t: re.findall(r'return "(ERROR_[A-Z0-9_]+)";', t)),
    ("economy", "src/economy_system.cpp",
     "EconomySystem: the \"error\" of a refused place_guess() or settle_prediction().", "",
     lambda t: re.findall(r'failure\("(ERROR_[A-Z0-9_]+)"\)', t)),
    ("simulator", "src/match_simulator.cpp", "MatchSimulator.simulate_match(): the report's \"error\".", "",
     lambda t: re.findall(r'= "(ERROR_[A-Z0-9_]+)";', t)),
    ("warning", "src/tournament_manager.cpp",
     "TournamentManager.advance_day() refused: printed as an engine warning.", "",
     lambda t: re.findall(r'push_warning\("(ERROR_[A-Z0-9_]+)"\)', t)),
    ("format", "src/data/tournament_catalog.h",
     "A tournament format: the \"label_key\" of GameCore.get_organize_data()'s \"format_options\"; "
     "a tournament's \"format_id\" with FORMAT_ before it.", "",
     lambda t: ["FORMAT_" + i for i in first_strings(table_rows(t, "FORMAT_TABLE"))]),
    # The organize view gives the first tier the key TIER_HIGHEST; the other tier ids are their own keys.
    ("tier", "src/data/tournament_catalog.h",
     "A tier: the \"label_key\" of the organize data's tier options; a tournament's \"tier_id\" with TIER_ "
     "before it when it has none.", "",
     lambda t: [i if i.startswith("TIER_") else "TIER_" + i for i in first_strings(table_rows(t, "TIER_TABLE"))]),
    ("region", "src/common/game_rules.h",
     "A region: the \"region_key\" of a leaderboard row; a team's \"region\" with REGION_ before it.", "",
     lambda t: ["REGION_" + code for code in re.findall(r'^inline constexpr const char \*REGION_[A-Z]+ = "([A-Z]+)";', t, re.M)]),
    ("status", "src/tournament/tournament_records.h", "A tournament's \"status\".", "",
     lambda t: code_texts(t, "TournamentStatus")),
    ("match_status", "src/tournament/tournament_records.h", "A match's \"status\" (its node in a stage's \"nodes\").",
     "match", lambda t: code_texts(t, "MatchStatus")),
    ("stage_type", "src/data/tournament_catalog.h", "A stage's \"type\".", "",
     lambda t: string_table(t, "STAGE_KIND_TEXTS")),
    ("stage_name", "src/data/tournament_catalog.h", "A stage's \"name\"; also an event's context \"stage_name\".", "",
     lambda t: re.findall(r'StageKind::[A-Z_]+, "([^"]+)"', table_rows(t, "STAGE_PLANS"))),
    ("stage_name", "src/tournament/*.cpp", "A stage's \"name\"; also an event's context \"stage_name\".", "",
     lambda t: re.findall(r'stage\.name = "([^"]+)";', t)),
    ("match_name", "src/tournament/single_elim_stage.cpp", "A match's \"name\" in an elimination bracket.", "",
     lambda t: re.findall(r'^\s*\{ "([^"]+)", \d+, "[^"]*" \},', t, re.M)),
    ("match_name", "src/tournament/double_elim_stage.cpp", "A match's \"name\" in an elimination bracket.", "",
     lambda t: re.findall(r'^\s*\{ [A-Z0-9]+, "([^"]+)", "[^"]*",', t, re.M)),
    ("match_name", "src/tournament/swiss_stage.cpp",
     "A match's \"name\" in a Swiss stage: the round it belongs to.", "",
     lambda t: ["%s%d" % (prefix, n) for prefix in re.findall(r'return String\(\(?"(Round )"\)? \+ (?:String::num_int64|std::to_string)', t)
                for n in range(1, SWISS_ROUNDS + 1)]),
    ("group_name", "src/tournament/*_stage.cpp",
     "The series length that names a group of an elimination stage, and its matches' \"group_name\".", "",
     lambda t: re.findall(r'"(Bo[0-9])"', t)),
    ("group_name", "src/tournament/double_elim_stage.cpp", "A group's \"name\" and its matches' \"group_name\".", "",
     lambda t: re.findall(r'build_group_bracket\(stage, "[^"]+", "([^"]+)"', t)),
    ("placement", "src/data/placement_weights.h",
     "A placement: a standing's \"placement\", a placement's \"tag\", an honour's \"placement\".", "",
     lambda t: first_strings(table_rows(t, "PLACEMENT_WEIGHTS"))),
    ("placement", "src/tournament/*.cpp",
     "A placement: a standing's \"placement\", a placement's \"tag\", an honour's \"placement\".", "",
     lambda t: re.findall(r'"(PLACEMENT_[A-Z_]+)"', t)),
    ("event", "src/tournament/*.cpp", "An achievement event's \"type\".", "",
     lambda t: re.findall(r'emit_achievement_event\(p_host, "([a-z_]+)"', t)),
    ("guess_status", "src/economy_system.cpp", "A prediction's \"status\".", "",
     lambda t: unique(re.findall(r'\[TF_KEY\("status"\)\] = TF_KEY\("([A-Z][A-Z_]+)"\);', t))),
    ("ledger", "src/economy_system.cpp", "A ledger entry's \"type\".", "",
     lambda t: unique(re.findall(r'\[TF_KEY\("type"\)\] = TF_KEY\("([A-Z][A-Z_]+)"\);', t))),
]


class Entry:
    def __init__(self, msgid, context="", plural=False):
        self.msgid = msgid
        self.context = context
        self.plural = plural
        self.comments = []
        self.references = []
        self.msgstr = [""]

    @property
    def key(self):
        return (self.context, self.msgid)


def add(entries, msgid, context, comment, reference, plural=False):
    entry = entries.get((context, msgid))
    if entry is None:
        entry = entries[(context, msgid)] = Entry(msgid, context, plural)
    if comment and comment not in entry.comments:
        entry.comments.append(comment)
    if reference and reference not in entry.references:
        entry.references.append(reference)


def library_entries():
    entries = {}
    problems = []
    for group, pattern, comment, context, extract in RULES:
        found = []
        for path in sorted(TOP.glob(pattern)):
            for msgid in extract(path.read_text(encoding="utf-8")):
                found.append(msgid)
                add(entries, msgid, context, comment, str(path.relative_to(TOP)))
        if not found:
            problems.append("no %s codes found in %s: did the table move?" % (group, pattern))
        for msgid in ANNOUNCED.get(pattern, []):
            add(entries, msgid, context, comment, "")
    controls, found = control_entries()
    problems += found
    for entry in controls:
        entries[entry.key] = entry
    # Every error code written anywhere in the library is in the catalogue.
    for path in sorted(TOP.glob("src/**/*.[ch]*")):
        for code in re.findall(r'"(ERROR_[A-Z0-9_]+)"', path.read_text(encoding="utf-8")):
            if ("", code) not in entries:
                problems.append("%s: %s is returned by no rule of tools/translations.py" % (path.relative_to(TOP), code))
    return list(entries.values()), problems


def keys_in(patterns, key, plural_key, comment=""):
    """The keys that scripts and scenes use, each once, plural when any use counts with it."""
    entries = {}
    for pattern in patterns:
        for path in sorted(TOP.glob(pattern)):
            text = path.read_text(encoding="utf-8")
            plural = set(plural_key.findall(text))
            for msgid in key.findall(text):
                add(entries, msgid, "", comment, str(path.relative_to(TOP)), msgid in plural)
                if msgid in plural:
                    entries[("", msgid)].plural = True
    return entries


def control_entries():
    entries = keys_in(CONTROL_SOURCES, CONTROL_KEY, CONTROL_PLURAL_KEY, "A word of the addon's controls.")
    problems = [] if entries else ["no TEAMFORGE_ keys found in %s: did the controls move?" % CONTROL_SOURCES]
    return sorted(entries.values(), key=lambda e: e.msgid), problems


def demo_entries():
    entries = keys_in(DEMO_SOURCES, DEMO_KEY, DEMO_PLURAL_KEY)
    return sorted(entries.values(), key=lambda e: e.msgid), []


# --- reading and writing gettext files ---------------------------------------------------------------------


def quote(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n") + '"'


def unquote(text):
    return re.sub(r'\\(.)', lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text.strip()[1:-1])


def read_po(path):
    """(header text, {key: Entry}) of a .po or .pot file."""
    entries = {}
    header = ""
    for block in re.split(r"\n\s*\n", path.read_text(encoding="utf-8").strip()):
        entry = Entry("")
        entry.msgstr = []
        field = None
        for line in block.splitlines():
            if line.startswith("#. "):
                entry.comments.append(line[3:])
            elif line.startswith("#: "):
                entry.references.extend(line[3:].split())
            elif line.startswith("#"):
                continue
            elif line.startswith('"'):
                value = unquote(line)
                if field == "msgstr":
                    entry.msgstr[-1] += value
                elif field:
                    setattr(entry, field, getattr(entry, field) + value)
            else:
                keyword, _, value = line.partition(" ")
                if keyword == "msgctxt":
                    field, entry.context = "context", unquote(value)
                elif keyword == "msgid":
                    field, entry.msgid = "msgid", unquote(value)
                elif keyword == "msgid_plural":
                    field, entry.plural = None, True
                elif keyword.startswith("msgstr"):
                    field = "msgstr"
                    entry.msgstr.append(unquote(value))
        if entry.msgid == "" and entry.context == "":
            header = entry.msgstr[0] if entry.msgstr else ""
        else:
            entries[entry.key] = entry
    return header, entries


def write_po(path, header, entries):
    lines = ['msgid ""', 'msgstr ""']
    lines += [quote(line + "\n") for line in header.rstrip("\n").split("\n")]
    for entry in entries:
        lines.append("")
        lines += ["#. " + comment for comment in entry.comments]
        if entry.references:
            lines.append("#: " + " ".join(entry.references))
        if entry.context:
            lines.append("msgctxt " + quote(entry.context))
        lines.append("msgid " + quote(entry.msgid))
        if entry.plural:
            lines.append("msgid_plural " + quote(entry.msgid))
            for index, text in enumerate(entry.msgstr):
                lines.append("msgstr[%d] %s" % (index, quote(text)))
        else:
            lines.append("msgstr " + quote(entry.msgstr[0] if entry.msgstr else ""))
    path.write_text("\n".join(lines) + "\n", encoding="utf-8")


def pot_header(title):
    return ("Project-Id-Version: %s\nMIME-Version: 1.0\nContent-Type: text/plain; charset=UTF-8\n"
            "Content-Transfer-Encoding: 8bit\nPlural-Forms: nplurals=2; plural=(n != 1);\n" % title)


def plural_count(header):
    match = re.search(r"nplurals=(\d+)", header)
    return int(match.group(1)) if match else 0


PLACEHOLDER = re.compile(r"%[-+0-9.]*[sdif]|\{[a-z_]+\}")


def placeholders(text):
    return sorted(PLACEHOLDER.findall(text))


# --- the two commands --------------------------------------------------------------------------------------


CATALOGUES = [(LIBRARY_POT, "Teamforge library", library_entries), (DEMO_POT, "Teamforge demo", demo_entries)]


def update():
    for pot, title, collect in CATALOGUES:
        entries, problems = collect()
        if problems:
            sys.exit("\n".join(problems))
        write_po(pot, pot_header(title), entries)
        for po in sorted(pot.parent.glob("*.po")):
            header, old = read_po(po)
            merged = []
            for entry in entries:
                translated = Entry(entry.msgid, entry.context, entry.plural)
                translated.comments, translated.references = entry.comments, entry.references
                previous = old.get(entry.key)
                count = plural_count(header) if entry.plural else 1
                translated.msgstr = (previous.msgstr if previous else []) + [""] * count
                translated.msgstr = translated.msgstr[:count]
                merged.append(translated)
            write_po(po, header, merged)
        print("translations: %s and %d catalogues updated" % (pot.relative_to(TOP), len(list(pot.parent.glob("*.po")))))


def check():
    problems = []
    for pot, title, collect in CATALOGUES:
        entries, found = collect()
        problems += found
        expected = {e.key: e for e in entries}
        name = pot.relative_to(TOP)
        if not pot.exists():
            problems.append("%s is missing: run tools/translations.py update" % name)
            continue
        _, listed = read_po(pot)
        for key in expected.keys() - listed.keys():
            problems.append("%s lacks %s: run tools/translations.py update" % (name, key[1]))
        for key in listed.keys() - expected.keys():
            problems.append("%s lists %s, which the sources no longer use" % (name, key[1]))
        pos = sorted(pot.parent.glob("*.po"))
        if not pos:
            problems.append("no .po beside %s" % name)
        english = read_po(pot.parent / (pot.stem + ".en.po"))[1] if (pot.parent / (pot.stem + ".en.po")).exists() else {}
        for po in pos:
            header, translated = read_po(po)
            if not re.search(r"^Language: \S+$", header, re.M) or plural_count(header) < 1:
                problems.append("%s: the header needs Language and Plural-Forms" % po.name)
            for key in expected:
                entry = translated.get(key)
                label = "%s: %s" % (po.name, key[1] + (" (%s)" % key[0] if key[0] else ""))
                count = plural_count(header) if expected[key].plural else 1
                if entry is None:
                    problems.append(label + " is missing")
                elif len(entry.msgstr) != count or any(text == "" for text in entry.msgstr):
                    problems.append(label + " is untranslated or lacks plural forms")
                elif key in english:
                    wanted = placeholders(english[key].msgstr[0])
                    for text in entry.msgstr:
                        # A plural form may leave the count out ("one team" for 1).
                        got = placeholders(text)
                        if got != wanted and not (expected[key].plural and sorted(set(wanted) - set(got)) == ["%d"]):
                            problems.append("%s: placeholders %s, English has %s" % (label, got, wanted))
    if problems:
        sys.exit("translations:\n  " + "\n  ".join(problems))
    print("translations: both catalogues match the sources, every .po is complete")


if __name__ == "__main__":
    commands = {"update": update, "check": check}
    if len(sys.argv) == 2 and sys.argv[1] in ("-h", "--help"):
        print(__doc__.strip())
        sys.exit(0)
    if len(sys.argv) != 2 or sys.argv[1] not in commands:
        sys.stderr.write(__doc__.lstrip())
        sys.exit(2)
    commands[sys.argv[1]]()
