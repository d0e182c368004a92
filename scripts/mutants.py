#!/usr/bin/env python3
"""The text and bookkeeping half of scripts/mutants.sh.

mutants.sh drives the builds and the test runs; this helper copies the tree, reads the
coverage, draws the mutants, applies one to a file, works out which ctest tests a file feeds
and writes the results. Each subcommand is one step; see mutants.sh for the order.
"""
import argparse
import json
import os
import random
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

# Folders whose executed lines are mutated (the Windows side of the platform layer cannot run
# here; tests, fuzz targets, benchmarks and tools are the judges, not the judged).
MUTATED = ("meetingmgr/", "notesrt/", "platform/posix/", "platform/common/", "rk/", "host/")
SOURCE_SUFFIXES = (".cpp", ".cc", ".h", ".hpp")

LIST_COLUMNS = ["id", "file", "line", "text", "replacement", "operator"]


# ----------------------------------------------------------------------------------------
# The tree copy


def tracked_files(root):
    out = subprocess.run(["git", "-C", root, "ls-files", "-z"], check=True,
                         capture_output=True).stdout
    return [p for p in out.decode().split("\0") if p]


def same_content(a, b):
    if os.path.getsize(a) != os.path.getsize(b):
        return False
    with open(a, "rb") as fa, open(b, "rb") as fb:
        return fa.read() == fb.read()


def cmd_sync(args):
    """Makes TREE hold the project's tracked files as they are in ROOT. Only files whose text
    differs are copied (and so get a new time), which keeps the builds on TREE incremental."""
    files = [p for p in tracked_files(args.root) if os.path.isfile(os.path.join(args.root, p))]
    wanted = set(files)
    copied = 0
    for rel in files:
        src = os.path.join(args.root, rel)
        dst = os.path.join(args.tree, rel)
        if os.path.isfile(dst) and same_content(src, dst):
            continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        shutil.copyfile(src, dst)
        shutil.copymode(src, dst)
        copied += 1
    removed = 0
    for dirpath, dirnames, filenames in os.walk(args.tree, topdown=False):
        for name in filenames:
            rel = os.path.relpath(os.path.join(dirpath, name), args.tree)
            if rel not in wanted:
                os.remove(os.path.join(dirpath, name))
                removed += 1
        if dirpath != args.tree and not os.listdir(dirpath):
            os.rmdir(dirpath)
    print(f"tree: {len(files)} files, {copied} copied, {removed} removed")


# ----------------------------------------------------------------------------------------
# Coverage


def cmd_coverage(args):
    """Writes {file: [executed line numbers]} for the mutated folders, from every .gcda file
    under BUILD, to OUT."""
    gcdas = []
    for dirpath, _, filenames in os.walk(args.build):
        gcdas += [os.path.realpath(os.path.join(dirpath, n)) for n in filenames
                  if n.endswith(".gcda")]
    if not gcdas:
        sys.exit("mutants: no coverage data under " + args.build)
    tree = os.path.realpath(args.tree) + os.sep
    executed = {}
    for start in range(0, len(gcdas), 50):
        batch = gcdas[start:start + 50]
        out = subprocess.run(["gcov", "--json-format", "--stdout"] + batch, check=True,
                             capture_output=True, cwd=args.build).stdout.decode()
        for doc in out.splitlines():
            if not doc.strip():
                continue
            data = json.loads(doc)
            cwd = data.get("current_working_directory", args.build)
            for entry in data.get("files", []):
                path = os.path.realpath(os.path.join(cwd, entry["file"]))
                if not path.startswith(tree):
                    continue
                rel = path[len(tree):]
                if not rel.startswith(MUTATED) or not rel.endswith(SOURCE_SUFFIXES):
                    continue
                lines = executed.setdefault(rel, set())
                lines.update(l["line_number"] for l in entry["lines"] if l["count"] > 0)
    with open(args.out, "w") as f:
        json.dump({k: sorted(v) for k, v in sorted(executed.items())}, f, indent=0)
    print(f"coverage: {sum(len(v) for v in executed.values())} executed lines "
          f"in {len(executed)} files")


# ----------------------------------------------------------------------------------------
# Reading C++ lines


def code_mask(text):
    """The text with comments, the insides of string and character literals and preprocessor
    lines blanked out (same length, newlines kept), so operators are only found in code."""
    out = list(text)
    n = len(text)
    i = 0
    line_start = True

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if c == "\n":
            line_start = True
            i += 1
            continue
        if line_start and c in " \t":
            i += 1
            continue
        if line_start and c == "#":
            j = i
            while j < n and (text[j] != "\n" or text[j - 1] == "\\"):
                j += 1
            blank(i, j)
            i = j
            continue
        line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c == '"':
            raw = re.search(r"(?:\b|^)(?:u8|u|U|L)?R$", text[max(0, i - 3):i])
            if raw:
                m = re.match(r'"([^()\\ ]{0,16})\(', text[i:])
                if m:
                    end = text.find(")" + m.group(1) + '"', i)
                    end = n if end < 0 else end + len(m.group(1)) + 2
                    blank(i + 1, end - 1)
                    i = end
                    continue
            j = i + 1
            while j < n and text[j] != '"' and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            blank(i + 1, min(j, n))
            i = j + 1
        elif c == "'":
            j = i + 1
            while j < n and text[j] != "'" and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            blank(i + 1, min(j, n))
            i = j + 1
        elif c.isdigit() or (c == "." and i + 1 < n and text[i + 1].isdigit()):
            # A number, digit separators and exponent signs included.
            j = i + 1
            while j < n and (text[j].isalnum() or text[j] in "._'" or
                             (text[j] in "+-" and text[j - 1] in "eEpP" and
                              not text[i:j].lower().startswith("0x"))):
                j += 1
            i = j
        elif c.isalpha() or c == "_":
            j = i + 1
            while j < n and (text[j].isalnum() or text[j] == "_"):
                j += 1
            i = j
        else:
            i += 1
    return "".join(out)


# Replacements of the comparison operators: each by its negation.
NEGATED = {"<": ">=", ">": "<=", "<=": ">", ">=": "<", "==": "!=", "!=": "=="}
COMPARISON = re.compile(r"(?<![<>=!])(==|!=|<=|>=)(?![=>])|(?<= )([<>])(?= )")
DECIMAL = re.compile(r"(?<![\w.'])([1-9]\d*|0)([uUlL]*)(?![\w.'])")
HEX = re.compile(r"(?<![\w.])0[xX]([0-9A-Fa-f]+)([uUlL]*)(?![\w.])")
IDENTIFIER = re.compile(r"[A-Za-z_]\w*")
# Words of an identifier (camelCase or snake_case) that say it holds or takes a size.
SIZE_WORDS = {"size", "sizeof", "len", "length", "count", "max", "min", "limit", "width",
              "capacity", "reserve", "resize", "substr", "room", "digits", "bytes", "chars",
              "units"}
RETURN_LITERAL = re.compile(r"\breturn\s+(-1|\d+|true|false|TRUE|FALSE)\s*;")
RETURNED = {"0": "1", "1": "0", "-1": "0", "true": "false", "false": "true", "TRUE": "FALSE",
            "FALSE": "TRUE"}
STATUS_CONSTANT = re.compile(r"\b(NOERROR|ERR_[A-Z0-9_]+|kErr[A-Z]\w*)\b")
FLAG_ASSIGNED = re.compile(r"(?<=[^=!<>]=) (true|false);")
BITWISE = re.compile(r"(?<= )(\||&|\|=|&=|\^)(?= )")
SWAPPED_BIT = {"|": "&", "&": "|", "|=": "&=", "&=": "|=", "^": "|"}

# Statements that may be dropped: calls, assignments, increments and deletes written on one
# line. The left side or callee is one postfix expression (no blank in it), which keeps
# declarations ("Type name = ...", "Type name(...)") out.
POSTFIX = r"(?:\*|\+\+|--)*(?:::)?[A-Za-z_]\w*(?:(?:::|\.|->)~?[A-Za-z_]\w*|\[[^\]]*\]|\(\))*"
DROPPABLE = re.compile(
    r"^(?:" + POSTFIX + r"\s*(?:=|\+=|-=|\*=|/=|%=|\|=|&=|\^=|<<=|>>=)\s*\S.*;"
    r"|" + POSTFIX + r"\(.*\);"
    r"|" + POSTFIX + r"(?:\+\+|--);"
    r"|(?:\+\+|--)" + POSTFIX + r";"
    r"|delete(?:\[\])? " + POSTFIX + r";)$")
NOT_DROPPABLE = re.compile(r"^(?:return|break|continue|goto|case|default|using|typedef|"
                           r"namespace|template|static_assert|throw|if|for|while|do|switch|"
                           r"else|sizeof|decltype|alignof|new|co_\w+)\b")
UNBRACED_HEADER = re.compile(r"(?:\)|\belse)$")


class Line:
    """One line of a source file, with its code mask and the paren depth at its start."""

    def __init__(self, text, mask, depth, previous_code):
        self.text = text                   # the line as written, without its newline
        self.mask = mask                   # the same line with non-code blanked
        self.depth = depth                 # open ( and [ at the start of the line
        self.previous_code = previous_code  # the nearest earlier line holding code, stripped


def read_lines(path):
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        text = f.read()
    mask = code_mask(text)
    lines = []
    depth = 0
    previous = ""
    for raw, masked in zip(text.split("\n"), mask.split("\n")):
        lines.append(Line(raw, masked, depth, previous))
        for ch in masked:
            if ch in "([":
                depth += 1
            elif ch in ")]":
                depth = max(0, depth - 1)
        if masked.strip():
            previous = masked.strip()
    return lines


def unique_span(text, start, end):
    """Widens [start, end) of text until the piece occurs once in it, and returns it."""
    while True:
        piece = text[start:end]
        count = sum(1 for k in range(len(text)) if text.startswith(piece, k))
        if count <= 1:
            return start, end
        start = max(0, start - 1)
        end = min(len(text), end + 1)


def mutation_options(line):
    """{operator: [option]} applicable to the line; an option is (start, end, replacement)
    or, where the replacement is drawn, (start, end, function of a random source)."""
    text, mask = line.text, line.mask
    options = {}
    if not mask.strip() or "\t" in text:
        return options

    def add(op, start, end, repl):
        options.setdefault(op, []).append((start, end, repl))

    comparisons = [m for m in COMPARISON.finditer(mask)
                   if not mask[:m.start()].rstrip().endswith("operator")]
    for m in comparisons:
        add("comparison", m.start(), m.end(), NEGATED[m.group(0)])

    returned = set()
    for m in RETURN_LITERAL.finditer(mask):
        value = m.group(1)
        add("status", m.start(1), m.end(1), RETURNED.get(value, "0"))
        returned.add(m.start(1))
    for m in STATUS_CONSTANT.finditer(mask):
        add("status", m.start(), m.end(), "ERR_NOT_FOUND" if m.group(1) == "NOERROR"
            else "NOERROR")
    for m in FLAG_ASSIGNED.finditer(mask):
        add("status", m.start(1), m.end(1), "false" if m.group(1) == "true" else "true")

    sized = bool(comparisons) or any(
        word.lower() in SIZE_WORDS for name in IDENTIFIER.findall(mask)
        for word in re.findall(r"[A-Z]?[a-z]+|[A-Z]+(?![a-z])", name))
    for m in DECIMAL.finditer(mask):
        if m.start(1) in returned:
            continue
        inside_brackets = mask.rfind("[", 0, m.start()) > mask.rfind("]", 0, m.start())
        if not (sized or inside_brackets):
            continue
        n = int(m.group(1))
        suffix = m.group(2)
        if n == 0:
            add("limit", m.start(), m.end(), f"1{suffix}")
        else:
            add("limit", m.start(), m.end(),
                lambda rng, n=n, s=suffix: f"{n + 1 if rng.random() < 0.5 else n - 1}{s}")

    for m in BITWISE.finditer(mask):
        add("bit", m.start(), m.end(), SWAPPED_BIT[m.group(0)])
    for m in HEX.finditer(mask):
        digits, suffix = m.group(1), m.group(2)
        prefix = text[m.start():m.start() + 2]
        upper = digits.upper() == digits

        def flipped(rng, digits=digits, suffix=suffix, prefix=prefix, upper=upper):
            bit = int(rng.random() * 4 * len(digits))
            value = int(digits, 16) ^ (1 << bit)
            out = format(value, "0%d%s" % (len(digits), "X" if upper else "x"))
            return prefix + out + suffix

        add("bit", m.start(), m.end(), flipped)

    stripped = mask.strip()
    if (line.depth == 0 and DROPPABLE.match(stripped) and not NOT_DROPPABLE.match(stripped)
            and not stripped.startswith("(void)") and stripped.count("(") == stripped.count(")")
            and (line.previous_code == "" or line.previous_code[-1] in ";{}:)" or
                 line.previous_code.endswith("else"))):
        start = len(mask) - len(mask.lstrip())
        end = mask.rfind(";") + 1
        # An unbraced if or else body becomes an empty block: a lone ';' there is an
        # empty-body warning, and warnings are errors.
        body = "{}" if UNBRACED_HEADER.search(line.previous_code) else ";"
        add("drop", start, end, body)
    return options


def cmd_draw(args):
    """Writes every mutant the seed draws, in draw order, to OUT (the caller keeps the first
    N that compile)."""
    with open(args.coverage) as f:
        executed = json.load(f)
    candidates = [(path, n) for path in sorted(executed) for n in executed[path]]
    # Only random() is used: Python keeps its sequence for a given seed across versions, so
    # the same tree and seed draw the same mutants everywhere.
    rng = random.Random(args.seed)
    files = {}
    drawn = []
    while candidates:
        path, number = candidates.pop(int(rng.random() * len(candidates)))
        if path not in files:
            files[path] = read_lines(os.path.join(args.tree, path))
        lines = files[path]
        if number > len(lines):
            continue
        line = lines[number - 1]
        options = mutation_options(line)
        if not options:
            continue
        operators = sorted(options)
        op = operators[int(rng.random() * len(operators))]
        start, end, repl = options[op][int(rng.random() * len(options[op]))]
        if callable(repl):
            repl = repl(rng)
        text = line.text
        # The recorded text is the smallest piece around the change that the line holds once.
        a, b = unique_span(text, start, end)
        old = text[a:b]
        new = text[a:start] + repl + text[end:b]
        drawn.append((path, number, old, new, op))
    with open(args.out, "w") as f:
        for path, number, old, new, op in drawn:
            f.write(f"{path}\t{number}\t{old}\t{new}\t{op}\n")
    print(f"draw: {len(drawn)} mutants in draw order")


# ----------------------------------------------------------------------------------------
# Lists and applying one mutant


def read_list(path):
    """(header lines, [mutant dict]) of a mutant list."""
    header, mutants = [], []
    with open(path) as f:
        for raw in f:
            raw = raw.rstrip("\n")
            if raw.startswith("#"):
                header.append(raw)
            elif raw and not raw.startswith("id\t"):
                fields = raw.split("\t")
                if len(fields) != len(LIST_COLUMNS):
                    sys.exit(f"mutants: {path}: bad line: {raw}")
                mutants.append(dict(zip(LIST_COLUMNS, fields)))
    return header, mutants


def cmd_apply(args):
    """Replaces TEXT by REPLACEMENT on line LINE of FILE; exit status 3 when the line does not
    hold TEXT exactly once."""
    with open(args.file, encoding="utf-8", errors="surrogateescape", newline="") as f:
        lines = f.read().split("\n")
    number = int(args.line)
    if number > len(lines) or lines[number - 1].count(args.text) != 1:
        print("text not found on that line", file=sys.stderr)
        sys.exit(3)
    lines[number - 1] = lines[number - 1].replace(args.text, args.replacement)
    with open(args.file, "w", encoding="utf-8", errors="surrogateescape", newline="") as f:
        f.write("\n".join(lines))


# ----------------------------------------------------------------------------------------
# What a file feeds


def ninja(build, *tool):
    return subprocess.run(["ninja", "-C", build] + list(tool), check=True,
                          capture_output=True, text=True).stdout


def build_graph(build):
    """{input: set of outputs rebuilt when it changes}, from the build manifest (explicit and
    implicit inputs; order-only ones rebuild nothing) and the header dependencies that ninja
    recorded."""
    feeds = {}
    targets = [l.rsplit(":", 1)[0] for l in ninja(build, "-t", "targets", "all").splitlines()
               if ":" in l]
    for start in range(0, len(targets), 200):
        node, section, order_only = None, None, False
        for raw in ninja(build, "-t", "query", *targets[start:start + 200]).splitlines():
            if not raw.startswith(" "):
                node, section = raw.rstrip(":"), None
            elif raw.startswith("  input:"):
                section, order_only = "input", False
            elif raw.startswith("  outputs:"):
                section = "outputs"
            elif section == "input":
                item = raw.strip()
                if item.startswith("||"):
                    order_only = True
                    item = item[2:].strip()
                elif item.startswith("|"):
                    item = item[1:].strip()
                if item and not order_only:
                    feeds.setdefault(item, set()).add(node)
    obj = None
    for raw in ninja(build, "-t", "deps").splitlines():
        if raw and not raw.startswith(" "):
            obj = raw.split(":", 1)[0]
        elif raw.strip() and obj:
            feeds.setdefault(raw.strip(), set()).add(obj)
    return feeds


def dependents(feeds, start):
    seen, todo = set(), [start]
    while todo:
        for out in feeds.get(todo.pop(), ()):
            if out not in seen:
                seen.add(out)
                todo.append(out)
    return seen


def test_commands(build):
    out = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"], check=True,
                         capture_output=True, text=True).stdout
    tests = {}
    for test in json.loads(out)["tests"]:
        values = set()
        for arg in test.get("command", []):
            values.add(arg)
            if arg.startswith("-D") and "=" in arg:
                values.update(arg.split("=", 1)[1].split("|"))
        tests[test["name"]] = values
    return tests


def cmd_objects(args):
    """Prints the object files (relative to BUILD) compiled from FILE or including it."""
    path = os.path.join(os.path.realpath(args.tree), args.file)
    obj = None
    found = []
    for raw in ninja(args.build, "-t", "deps").splitlines():
        if raw and not raw.startswith(" "):
            obj = raw.split(":", 1)[0]
        elif raw.strip() == path and obj:
            found.append(obj)
    print("\n".join(sorted(set(found))))


def cmd_plan(args):
    """Writes, for each mutant of LIST (those of --only if given), the mutant and the ctest
    tests its file feeds: the tests whose program, or a program or library named in their
    command (cmake -P scripts take the host as -DHOST=...), the file goes into."""
    _, mutants = read_list(args.list)
    if args.only:
        wanted = set(args.only.split(","))
        unknown = wanted - {m["id"] for m in mutants}
        if unknown:
            sys.exit("mutants: no such mutant: " + ",".join(sorted(unknown)))
        mutants = [m for m in mutants if m["id"] in wanted]
    build = os.path.realpath(args.build)
    tree = os.path.realpath(args.tree)
    feeds = build_graph(build)
    tests = test_commands(build)
    by_file = {}
    with open(args.out, "w") as f:
        for m in sorted(mutants, key=lambda m: (m["file"], int(m["line"]), m["id"])):
            if m["file"] not in by_file:
                fed = {os.path.normpath(os.path.join(build, p))
                       for p in dependents(feeds, os.path.join(tree, m["file"]))}
                by_file[m["file"]] = sorted(name for name, values in tests.items()
                                            if values & fed)
            f.write("\t".join([m[c] for c in LIST_COLUMNS] +
                              [",".join(by_file[m["file"]])]) + "\n")


def cmd_durations(args):
    """Prints 'name seconds' per test case of a ctest JUnit file; exit status 1 if one of them
    did not pass."""
    failed = False
    for case in ET.parse(args.junit).getroot().iter("testcase"):
        print(case.get("name"), case.get("time"))
        failed |= case.get("status") != "run"
    sys.exit(1 if failed else 0)


# ----------------------------------------------------------------------------------------
# Results

RESULT_COLUMNS = ["id", "file", "line", "operator", "status", "build_s", "test_s", "detail"]


def cmd_report(args):
    """Prints the results table, the totals and the survivors, from the result lines in
    RESULTS (written by mutants.sh in run order), and rewrites it sorted by id with a header."""
    rows = []
    with open(args.results) as f:
        for raw in f:
            if raw.strip() and not raw.startswith("#") and not raw.startswith("id\t"):
                rows.append(dict(zip(RESULT_COLUMNS, raw.rstrip("\n").split("\t"))))
    rows.sort(key=lambda r: int(r["id"]) if r["id"].isdigit() else r["id"])
    width = max([len(f"{r['file']}:{r['line']}") for r in rows] + [10])
    print(f"{'id':>4}  {'place':<{width}}  {'operator':<10}  {'status':<9}  "
          f"{'build':>6}  {'tests':>6}  detail")
    for r in rows:
        place = f"{r['file']}:{r['line']}"
        print(f"{r['id']:>4}  {place:<{width}}  {r['operator']:<10}  {r['status']:<9}  "
              f"{r['build_s']:>6}  {r['test_s']:>6}  {r['detail']}")
    count = {s: sum(1 for r in rows if r["status"] == s)
             for s in ("killed", "survived", "not built")}
    print(f"killed {count['killed']}")
    print(f"survived {count['survived']}")
    print(f"not built {count['not built']}")
    print("survivors:")
    for r in rows:
        if r["status"] == "survived":
            print(f"  {r['id']}\t{r['file']}:{r['line']}\t{r['operator']}")
    with open(args.results, "w") as f:
        for line in args.header:
            f.write(f"# {line}\n")
        f.write("\t".join(RESULT_COLUMNS) + "\n")
        for r in rows:
            f.write("\t".join(r.get(c, "") for c in RESULT_COLUMNS) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    sub = parser.add_subparsers(dest="command", required=True)
    p = sub.add_parser("sync")
    p.add_argument("root")
    p.add_argument("tree")
    p.set_defaults(run=cmd_sync)
    p = sub.add_parser("coverage")
    p.add_argument("build")
    p.add_argument("tree")
    p.add_argument("out")
    p.set_defaults(run=cmd_coverage)
    p = sub.add_parser("draw")
    p.add_argument("tree")
    p.add_argument("coverage")
    p.add_argument("seed", type=int)
    p.add_argument("out")
    p.set_defaults(run=cmd_draw)
    p = sub.add_parser("apply")
    p.add_argument("file")
    p.add_argument("line")
    p.add_argument("text")
    p.add_argument("replacement")
    p.set_defaults(run=cmd_apply)
    p = sub.add_parser("objects")
    p.add_argument("build")
    p.add_argument("tree")
    p.add_argument("file")
    p.set_defaults(run=cmd_objects)
    p = sub.add_parser("plan")
    p.add_argument("build")
    p.add_argument("tree")
    p.add_argument("list")
    p.add_argument("out")
    p.add_argument("--only")
    p.set_defaults(run=cmd_plan)
    p = sub.add_parser("durations")
    p.add_argument("junit")
    p.set_defaults(run=cmd_durations)
    p = sub.add_parser("report")
    p.add_argument("results")
    p.add_argument("header", nargs="*")
    p.set_defaults(run=cmd_report)
    args = parser.parse_args()
    args.run(args)


if __name__ == "__main__":
    main()
