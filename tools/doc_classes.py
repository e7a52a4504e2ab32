#!/usr/bin/env python3
"""Keeps doc_classes/ in step with the classes the library binds. Used by tools/docs.sh.

    doc_classes.py refresh <merged> <fresh> <docs dir> [ignored class...]
        Copies the doc tool's output <merged> (run over a copy of doc_classes, so it kept our texts) into
        <docs dir>, leaving out default values that differ from a second run <fresh>, and removes the
        files of classes the library no longer binds.
    doc_classes.py check <first> <second> <docs dir> [ignored class...]
        Fails when the documented surface differs from what the doc tool found in two runs over the
        built library, when a class or bound member has no description, or when a reference
        ([method x], [member x], [signal x], [param x]) names nothing.
    doc_classes.py snippets <docs dir>
        Prints one "<class>\t<text>" line per class: plain text from its brief description, which the
        editor's help page of that class must show.

Ignored classes are the test-only classes of tests/hooks, bound only in the test build. A default value
that two runs of the doc tool disagree on (a seed drawn from the clock) is not part of the surface.
"""
import os
import re
import sys
import xml.etree.ElementTree as ElementTree

MEMBER_KINDS = ("method", "member", "signal", "constant")
REFERENCE = re.compile(r"\[(method|member|signal|param|constant) ([A-Za-z0-9_.]+)\]")


def load_dir(path):
    classes = {}
    for name in sorted(os.listdir(path)):
        if name.endswith(".xml"):
            root = ElementTree.parse(os.path.join(path, name)).getroot()
            classes[root.get("name")] = root
    return classes


def text_of(element):
    return (element.text or "").strip() if element is not None else ""


def surface(root, unstable=frozenset()):
    """The bound surface of one class, as comparable tuples keyed by kind and name."""
    result = {("class", ""): (root.get("inherits"),)}
    for method in root.iter("method"):
        ret = method.find("return")
        params = tuple((p.get("name"), p.get("type"), p.get("enum"), p.get("default"))
                       for p in method.findall("param"))
        result[("method", method.get("name"))] = (
            ret.get("type") if ret is not None else None, ret.get("enum") if ret is not None else None,
            method.get("qualifiers"), params)
    for member in root.iter("member"):
        name = member.get("name")
        default = None if name in unstable else member.get("default")
        result[("member", name)] = (member.get("type"), member.get("enum"), member.get("setter"),
                                    member.get("getter"), default)
    for signal in root.iter("signal"):
        params = tuple((p.get("name"), p.get("type")) for p in signal.findall("param"))
        result[("signal", signal.get("name"))] = params
    for constant in root.iter("constant"):
        result[("constant", constant.get("name"))] = (constant.get("value"), constant.get("enum"))
    return result


def unstable_members(first, second):
    """Members whose default value differs between two runs of the doc tool."""
    unstable = {}
    for name, root in first.items():
        other = second.get(name)
        if other is None:
            continue
        defaults = {m.get("name"): m.get("default") for m in other.iter("member")}
        unstable[name] = frozenset(m.get("name") for m in root.iter("member")
                                   if defaults.get(m.get("name")) != m.get("default"))
    return unstable


def describe(kind, name, value):
    if kind == "class":
        return f"inherits {value[0]}"
    if kind == "method":
        ret, enum, qualifiers, params = value
        args = ", ".join(f"{p[0]}: {p[2] or p[1]}" + (f" = {p[3]}" if p[3] is not None else "") for p in params)
        return f"{name}({args}) -> {enum or ret}" + (f" {qualifiers}" if qualifiers else "")
    if kind == "member":
        kind_type, enum, setter, getter, default = value
        shown = f"{name}: {enum or kind_type} (set {setter}, get {getter})"
        return shown + (f" = {default}" if default is not None else "")
    if kind == "signal":
        return f"{name}(" + ", ".join(f"{p[0]}: {p[1]}" for p in value) + ")"
    return f"{name} = {value[0]}"


def compare(bound, documented, unstable, problems):
    for name in sorted(set(bound) | set(documented)):
        if name not in documented:
            problems.append(f"{name}: bound by the library but doc_classes/{name}.xml is missing")
            continue
        if name not in bound:
            problems.append(f"{name}: doc_classes/{name}.xml documents a class the library does not bind")
            continue
        skip = unstable.get(name, frozenset())
        have, want = surface(documented[name], skip), surface(bound[name], skip)
        for key in sorted(set(have) | set(want), key=lambda k: (k[0], k[1])):
            kind, member = key
            if key not in have:
                problems.append(f"{name}: {kind} {describe(kind, member, want[key])} is bound but not documented")
            elif key not in want:
                problems.append(f"{name}: {kind} {describe(kind, member, have[key])} is documented but not bound")
            elif have[key] != want[key]:
                problems.append(f"{name}: {kind} documented as {describe(kind, member, have[key])}, "
                                f"bound as {describe(kind, member, want[key])}")


def check_texts(documented, problems):
    names = {}
    for class_name, root in documented.items():
        for kind in MEMBER_KINDS:
            names[(class_name, kind)] = {e.get("name") for e in root.iter(kind)}
    for class_name, root in documented.items():
        for tag in ("brief_description", "description"):
            if not text_of(root.find(tag)):
                problems.append(f"{class_name}: the class has no {tag.replace('_', ' ')}")
        texts = [(None, root.find("brief_description")), (None, root.find("description"))]
        for kind in MEMBER_KINDS:
            for element in root.iter(kind):
                # Members and constants carry their text directly; methods and signals in <description>.
                description = element if kind in ("member", "constant") else element.find("description")
                if not text_of(description):
                    problems.append(f"{class_name}: {kind} {element.get('name')} has no description")
                texts.append((element, description))
        for owner, element in texts:
            for kind, target in REFERENCE.findall(text_of(element)):
                if kind == "param":
                    params = {p.get("name") for p in owner.findall("param")} if owner is not None else set()
                    if target not in params:
                        where = f"{owner.tag} {owner.get('name')}" if owner is not None else "the class"
                        problems.append(f"{class_name}: [param {target}] in {where} names no parameter")
                    continue
                owner_class, _, member = target.rpartition(".")
                owner_class = owner_class or class_name
                if owner_class in documented and member not in names[(owner_class, kind)]:
                    problems.append(f"{class_name}: [{kind} {target}] names nothing in {owner_class}")


def plain_snippet(root):
    """The longest run of the brief description without markup, which the help page shows verbatim."""
    pieces = re.split(r"\[[^\]]*\]", text_of(root.find("brief_description")))
    best = max((p.strip() for p in pieces), key=len, default="")
    return " ".join(best.split()[:8])


def refresh(merged_dir, fresh_dir, docs_dir, ignored):
    merged, fresh = load_dir(merged_dir), load_dir(fresh_dir)
    unstable = unstable_members(merged, fresh)
    kept = set()
    for name, root in merged.items():
        if name in ignored:
            continue
        with open(os.path.join(merged_dir, f"{name}.xml"), encoding="utf-8") as f:
            text = f.read()
        for member in sorted(unstable.get(name, ())):
            text = re.sub(r'(<member name="%s"[^>]*?) default="[^"]*"' % re.escape(member), r"\1", text)
        target = os.path.join(docs_dir, f"{name}.xml")
        old = None
        if os.path.exists(target):
            with open(target, encoding="utf-8") as f:
                old = f.read()
        if old != text:
            with open(target, "w", encoding="utf-8") as f:
                f.write(text)
            print(f"updated {target}")
        kept.add(f"{name}.xml")
    for stale in sorted(set(os.listdir(docs_dir)) - kept):
        if stale.endswith(".xml"):
            os.remove(os.path.join(docs_dir, stale))
            print(f"removed {os.path.join(docs_dir, stale)} (no longer bound)")


def main(argv):
    if len(argv) >= 4 and argv[0] == "refresh":
        refresh(argv[1], argv[2], argv[3], set(argv[4:]))
        return 0
    if len(argv) >= 4 and argv[0] == "check":
        ignored = set(argv[4:])
        first, second = load_dir(argv[1]), load_dir(argv[2])
        bound = {k: v for k, v in first.items() if k not in ignored}
        documented = load_dir(argv[3])
        problems = []
        compare(bound, documented, unstable_members(first, second), problems)
        check_texts(documented, problems)
        for problem in problems:
            print(problem)
        if problems:
            print(f"{len(problems)} problem(s); refresh the skeleton with tools/docs.sh update <build dir> "
                  "and describe what is new")
            return 1
        print(f"{len(documented)} classes documented, in step with the library")
        return 0
    if len(argv) == 2 and argv[0] == "snippets":
        for name, root in load_dir(argv[1]).items():
            print(f"{name}\t{plain_snippet(root)}")
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
