#!/usr/bin/env python3
"""Runs the docs' GDScript snippets in the real engine, each on its own, as a reader would paste them.

  tools/check_snippets.py --build <dir> [--keep <dir>] [file...]

The files (default: README.md, docs/*.md, the addon's README and doc_classes/*.xml) give their snippets as
```gdscript blocks (Markdown) or [codeblock] blocks (the class reference). Each runs in a copy of the demo
project, which holds the addon as a user's project does, loading the build's library: its statements in a
method of a node in the tree, or, when it has a top-level func or extends, as that node's script. A
snippet fails on a script error, an engine error ("ERROR:"), a leak at exit, or a local name that hides
one of the engine's global functions (log, range, seed...).

A Markdown block may be marked by an HTML comment on the line before it:
  <!-- check: fragment -->                  a piece of a larger script, shown but not run
  <!-- check: output -->                    (before any fenced block) what the snippet above prints; "..."
                                            on a line of its own stands for any number of lines
  <!-- check: output of ./tools/run_main.sh [--seed N] -->
                                            the start of what that command prints after a good build

--keep <dir> keeps the project, the generated scripts and each run's output there.
"""

import argparse
import html
import json
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import textwrap

TOP = pathlib.Path(__file__).resolve().parent.parent
GODOT = TOP / "tools/godot"
RUNNER = TOP / "tools/lib/run_snippet.gd"
DEFAULT_FILES = ["README.md", "docs/*.md", "demo/addons/teamforge/README.md", "doc_classes/*.xml"]
OFFENDING = re.compile(r"SCRIPT ERROR|ERROR:|leaked|Leaked instance|ObjectDB instances")
START, END = "--- snippet start", "--- snippet end"
MARKER = re.compile(r"^<!-- check: (.*) -->$")
RUN_MAIN = re.compile(r"^output of \./tools/run_main\.sh((?: --seed -?\d+)?)$")
# What tools/run_main.sh prints before the season when its build succeeded.
RUN_MAIN_STATUS = "build: ok (log: build/main.log)"
# The global functions of GDScript itself; the engine's own come from its API dump.
GDSCRIPT_FUNCTIONS = {"Color8", "assert", "char", "convert", "dict_to_inst", "get_stack", "inst_to_dict",
                      "is_instance_of", "len", "load", "ord", "preload", "print_debug", "print_stack", "range",
                      "type_exists"}
# Snippets that must fail, each for its fault.
CANARIES = {
    "a leak": "var game := GameCore.new()",
    "an error at run time": "var game := GameCore.new()\ngame.free()\ngame.advance_day()",
    "an undefined name": "print(economy.to_dict())",
}
LOCAL_NAMES = [re.compile(r"\bvar\s+([A-Za-z_]\w*)"), re.compile(r"\bfor\s+([A-Za-z_]\w*)\s+in\b"),
               re.compile(r"\bfunc\s*\w*\s*\(([^)]*)\)")]


class Snippet:
    def __init__(self, source, line, code, mark):
        self.source, self.line, self.code, self.mark = source, line, code, mark
        self.expected = None  # the lines it prints, from an output block

    def where(self):
        return f"{self.source}:{self.line}"


def markdown_snippets(path, relative):
    snippets, mains = [], []
    lines = path.read_text(encoding="utf-8").split("\n")
    mark, i = None, 0
    while i < len(lines):
        line = lines[i]
        found = MARKER.match(line.strip())
        if found:
            mark = found.group(1)
        elif line.startswith("```"):
            info, start = line[3:].strip(), i + 1
            i += 1
            while i < len(lines) and not lines[i].startswith("```"):
                i += 1
            body = lines[start:i]
            if mark == "output":
                if not snippets:
                    raise SystemExit(f"check_snippets: {relative}:{start}: an output block before any snippet")
                snippets[-1].expected = body
            elif mark is not None and RUN_MAIN.match(mark):
                mains.append((f"{relative}:{start}", RUN_MAIN.match(mark).group(1).split(), body))
            elif info == "gdscript":
                if mark not in (None, "fragment"):
                    raise SystemExit(f"check_snippets: {relative}:{start}: unknown mark '{mark}'")
                snippets.append(Snippet(relative, start, "\n".join(body), mark))
            mark = None
        elif line.strip():
            mark = None
        i += 1
    return snippets, mains


def class_reference_snippets(path, relative):
    text = path.read_text(encoding="utf-8")
    snippets = []
    for found in re.finditer(r"\[codeblock\](.*?)\[/codeblock\]", text, re.S):
        line = text.count("\n", 0, found.start()) + 2
        code = textwrap.dedent(html.unescape(found.group(1)).strip("\n"))
        snippets.append(Snippet(relative, line, code, None))
    return snippets


def host_script(code):
    """The snippet as a Node script for tools/lib/run_snippet.gd."""
    if re.search(r"^(func|extends)\b", code, re.M):
        return code if re.search(r"^extends\b", code, re.M) else "extends Node\n\n" + code
    body = "\n".join("\t" + line if line.strip() else "" for line in code.split("\n"))
    return "extends Node\n\n\nfunc _snippet() -> void:\n" + body + "\n"


def hidden_globals(code, globals_):
    names = set()
    for pattern in LOCAL_NAMES:
        for found in pattern.finditer(code):
            for name in re.split(r"[,\s]+", found.group(1)):
                name = name.split(":")[0].split("=")[0].strip()
                if name in globals_:
                    names.add(name)
    return sorted(names)


def matches(expected, actual):
    """Expected lines against actual ones; a line "..." stands for any number of lines."""
    pattern = "".join(r"(?:.*\n)*?" if line.strip() == "..." else re.escape(line.rstrip()) + r"\n"
                      for line in expected)
    return re.fullmatch(pattern, "".join(line.rstrip() + "\n" for line in actual)) is not None


def run_engine(project, args, log):
    try:
        result = subprocess.run([str(GODOT), "--headless", "--path", str(project), *args], capture_output=True,
                                text=True, timeout=120, cwd=project)
        status, out, err = result.returncode, result.stdout, result.stderr
    except subprocess.TimeoutExpired:
        status, out, err = "timeout", "", ""
    log.write_text(out + err, encoding="utf-8")
    return status, out, err


def main():
    parser = argparse.ArgumentParser(prog="check_snippets.py", description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True, help="a build folder whose bin/ holds the library")
    parser.add_argument("--keep", help="keep the project, scripts and outputs in this folder")
    parser.add_argument("files", nargs="*", help="Markdown or class reference files (default: all docs)")
    options = parser.parse_args()
    build = pathlib.Path(options.build).resolve()
    if not (build / "bin/teamforge.gdextension").is_file():
        parser.error(f"no library in {build}/bin")

    paths = [pathlib.Path(f).resolve() for f in options.files] or \
        [p for pattern in DEFAULT_FILES for p in sorted(TOP.glob(pattern))]
    snippets, mains = [], []
    for path in paths:
        relative = str(path.relative_to(TOP)) if path.is_relative_to(TOP) else str(path)
        if path.suffix == ".xml":
            snippets += class_reference_snippets(path, relative)
        else:
            found, found_mains = markdown_snippets(path, relative)
            snippets += found
            mains += found_mains

    work = pathlib.Path(options.keep).resolve() if options.keep else pathlib.Path(tempfile.mkdtemp(prefix="teamforge-snippets."))
    if options.keep:
        # Only an earlier run's folder is emptied.
        if work.is_dir() and any(work.iterdir()) and not (work / "project/run_snippet.gd").is_file():
            parser.error(f"--keep: {work} is not empty")
        shutil.rmtree(work, ignore_errors=True)
        work.mkdir(parents=True)
    try:
        return check(build, work, snippets, mains)
    finally:
        if not options.keep:
            shutil.rmtree(work, ignore_errors=True)


def run_snippet(project, work, name, code):
    """Runs one snippet: (what went wrong or None, the lines it printed)."""
    script = project / f"{name}.gd"
    script.write_text(host_script(code), encoding="utf-8")
    status, out, err = run_engine(project, ["-s", "res://run_snippet.gd", "--", f"res://{script.name}"],
                                  work / f"{name}.txt")
    printed = out.split("\n")
    complete = START in printed and END in printed
    if status != 0 or OFFENDING.search(out + err) or not complete:
        shown = "\n".join(l for l in (out + err).split("\n") if OFFENDING.search(l) or "at:" in l)
        return (f"status {status}, {'' if complete else 'did not finish, '}engine output:\n"
                f"{shown or (out + err)[-2000:]}"), []
    return None, printed[printed.index(START) + 1:printed.index(END)]


def check(build, work, snippets, mains):
    project = work / "project"
    shutil.copytree(TOP / "demo", project, ignore=shutil.ignore_patterns(".godot", "bin", "*.import"))
    shutil.copy(RUNNER, project / "run_snippet.gd")
    subprocess.run([str(TOP / "tools/link_extension.sh"), str(build), str(project)], check=True,
                   stdout=subprocess.DEVNULL)
    # The global class names (the addon's controls) come from the editor's scan of the project.
    status, out, err = run_engine(project, ["--import"], work / "import.txt")
    if status != 0 or OFFENDING.search(out + err):
        print(out + err)
        print(f"check_snippets: the project's import failed (status {status})", file=sys.stderr)
        return 1
    run_engine(project, ["--dump-extension-api"], work / "dump.txt")
    api = json.loads((project / "extension_api.json").read_text(encoding="utf-8"))
    globals_ = GDSCRIPT_FUNCTIONS | {f["name"] for f in api["utility_functions"]}

    failures, ran, skipped = [], 0, []
    # The check first checks itself: each of these must fail, or a run that passes proves nothing.
    for number, (fault, code) in enumerate(CANARIES.items()):
        if run_snippet(project, work, f"canary_{number}", code)[0] is None:
            failures.append(f"canary {fault}: passed, so the check would miss {fault}")
    if not snippets:
        failures.append("docs: no snippet found")
    for number, snippet in enumerate(snippets):
        if snippet.mark == "fragment":
            skipped.append(f"{snippet.where()} ({snippet.mark})")
            continue
        ran += 1
        hidden = hidden_globals(snippet.code, globals_)
        if hidden:
            failures.append(f"{snippet.where()}: a local name hides a global function: {', '.join(hidden)}")
        problem, actual = run_snippet(project, work, f"snippet_{number}", snippet.code)
        if problem is not None:
            failures.append(f"{snippet.where()}: {problem}")
        elif snippet.expected is not None:
            if not matches(snippet.expected, actual):
                failures.append(f"{snippet.where()}: printed\n" + "\n".join(actual) +
                                "\nwhere the docs show\n" + "\n".join(snippet.expected))

    for where, args, lines in mains:
        ran += 1
        status, out, err = run_engine(project, ["-s", "res://main.gd", "--", *args], work / "main.txt")
        # run_main.sh drops the engine's banner and the blank line after it.
        printed = out.split("\n")
        if printed and printed[0].startswith("Godot Engine v"):
            printed = printed[2:] if len(printed) > 1 and printed[1] == "" else printed[1:]
        actual = [RUN_MAIN_STATUS] + printed
        if status != 0 or OFFENDING.search(out + err):
            failures.append(f"{where}: main.gd failed (status {status}):\n{(out + err)[-2000:]}")
        elif not matches(lines + ["..."], actual):
            failures.append(f"{where}: ./tools/run_main.sh{' ' + ' '.join(args) if args else ''} prints\n" +
                            "\n".join(actual[:len(lines) + 3]) + "\n...\nwhere the docs show\n" + "\n".join(lines))

    failed = len({failure.split(": ")[0] for failure in failures})
    for line in skipped:
        print(f"check_snippets: skipped {line}")
    for failure in failures:
        print(f"check_snippets: FAILED {failure}", file=sys.stderr)
    print(f"check_snippets: {ran - failed} passed, {failed} failed, {len(skipped)} skipped")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
