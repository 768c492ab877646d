#!/usr/bin/env python3
"""Mutation testing: how many small faults in the product's code the tests catch.

Works on a scratch copy of the tracked sources (build/mutants/src), never on the real tree.
Every candidate site in the chosen folders is enumerated in a fixed order, a sample of them is
drawn with a fixed seed (so two runs with the same seed compare), and each mutant is built and
run against the tests that cover its folder:
  killed     a covering test failed or timed out
  survived   every covering test passed: a fault the tests do not notice
  stillborn  the mutant did not compile
The score is killed / (killed + survived). scripts/mutants is the entry point."""
import argparse
import concurrent.futures
import contextlib
import datetime
import json
import os
import random
import re
import shlex
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
WORK = ROOT / "build" / "mutants"
COPY = WORK / "src"
LOGS = WORK / "logs"
SOURCE_SUFFIXES = (".cpp", ".h")


@dataclass(frozen=True)
class Suite:
    """Tests that cover a folder: the ctest folder they are defined in, and the build folders
    (Ninja's per-folder "all" targets) that must be built before they run."""

    tests: str
    builds: tuple[str, ...]
    exclude: str = ""  # a ctest -E pattern: what takes long or checks no behaviour


# The covering tests per folder. core/ is linked into everything native, so its faults can
# show in its own unit tests, in trc3dump's and in ztrec's; ztrec's own code only in ztrec's
# test on real files.
NATIVE_SUITES = {
    "core/": (
        Suite("core/tests", ("core/tests",)),
        Suite("tools/trc3dump", ("tools/trc3dump",)),
        Suite("tools/ztrec/tests", ("tools/ztrec",)),
    ),
    "dashboard/rules/": (Suite("dashboard/rules/tests", ("dashboard/rules/tests",)),),
    "tools/ztrec/": (Suite("tools/ztrec/tests", ("tools/ztrec",)),),
}
NATIVE_DEFAULT = ["core/", "tools/ztrec/"]

# Under Wine: each layer's own tests. The screenshot producers only save pictures. The portable
# code in these folders (dashboard/rules/) is mutated natively, where its tests run in seconds.
WINDOWS_SUITES = {
    "engine/": (Suite("engine/tests", ("engine/tests",)),),
    "shellext/": (Suite("shellext/tests", ("shellext/tests",), "screenshot"),),
    "dashboard/": (Suite("dashboard/tests", ("dashboard/tests",), "screenshot"),),
    "win/": (Suite("win/tests", ("win/tests",)),),
    "trace/": (Suite("trace/tests", ("trace/tests",)),),
    "text/": (Suite("text/tests", ("text/tests",)),),
    "ui/": (Suite("ui/tests", ("ui/tests",), "screenshot"),),
    "secret/": (Suite("secret/tests", ("secret/tests",)),),
    "setup/": (Suite("setup/tests", ("setup/tests",)),),
    "store/": (Suite("store/tests", ("store/tests",)),),
    # The end-to-end tests take minutes a run: a fault that only they see is left to a
    # deliberate run of them.
    "app/": (Suite("app/tests", ("app/tests",)),),
    "recovery/": (Suite("recovery/tests", ("recovery/tests",)),),
}
WINDOWS_DEFAULT = ["engine/", "shellext/", "dashboard/"]


# ---------------------------------------------------------------------------------------------
# Candidate sites


@dataclass(frozen=True)
class Site:
    path: str  # relative to the tree
    line: int  # 1-based
    column: int  # 0-based, where `original` starts
    original: str
    replacement: str

    def describe(self) -> str:
        if self.replacement == ";":
            return f"dropped '{self.original}'"
        return f"'{self.original}' -> '{self.replacement}'"


def mask_code(text: str) -> list[str]:
    """The file's lines with comments, string and character literals and preprocessor lines
    blanked out (same lengths), so that only code is left to match operators in."""
    out = []
    i, n = 0, len(text)
    line_start = True  # only whitespace so far on this line
    in_directive = False
    buf = []
    while i < n:
        c = text[i]
        if c == "\n":
            # A directive goes on while its line ends in a backslash.
            in_directive = in_directive and bool(buf) and text[i - 1] == "\\"
            out.append("".join(buf))
            buf = []
            line_start = True
            i += 1
            continue
        if in_directive:
            buf.append(" ")
            i += 1
            continue
        if line_start and c == "#":
            in_directive = True
            buf.append(" ")
            i += 1
            continue
        if not c.isspace():
            line_start = False
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            buf.append(" " * (end - i))
            i = end
            continue
        if text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            i = _blank(text, i, end, buf, out)
            continue
        raw = re.match(r'(?:u8|[uUL])?R"([^(\s]*)\(', text[i:i + 24])
        if raw and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            end = text.find(")" + raw.group(1) + '"', i + raw.end())
            end = n if end < 0 else end + len(raw.group(1)) + 2
            i = _blank(text, i, end, buf, out)
            continue
        if c in "\"'" and not _digit_separator(text, i):
            end = i + 1
            while end < n and text[end] != c and text[end] != "\n":
                end += 2 if text[end] == "\\" else 1
            i = _blank(text, i, min(end + 1, n), buf, out)
            continue
        buf.append(c)
        i += 1
    out.append("".join(buf))
    return out


def _digit_separator(text: str, i: int) -> bool:
    """A quote inside a number (1'000'000, 0xFFFF'FFFF) is C++14's digit separator, not the
    start of a character literal as in u'A'."""
    if text[i] != "'":
        return False
    start = i
    while start > 0 and (text[start - 1].isalnum() or text[start - 1] in "_'"):
        start -= 1
    return start < i and text[start].isdigit()


def _blank(text: str, start: int, end: int, buf: list[str], out: list[str]) -> int:
    """Blanks text[start:end] into buf, splitting lines where it spans them; returns end."""
    for ch in text[start:end]:
        if ch == "\n":
            out.append("".join(buf))
            buf.clear()
        else:
            buf.append(" ")
    return end


SWAPS = {
    "<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==",
    "&&": "||", "||": "&&", "+ 1": "- 1", "- 1": "+ 1", "true": "false", "false": "true",
}
# Binary operators only as the style writes them, with a space on each side: template
# brackets, ->, << and >> never have one.
OPERATOR = re.compile(r"(?<=\s)(<=|>=|==|!=|<|>|&&|\|\|)(?=\s)")
PLUS_ONE = re.compile(r"(?<=\s)([+-] 1)(?![\w.'])")
BOOLEAN = re.compile(r"\b(true|false)\b")
# A statement that is only a call: a name, possibly reached through . -> or ::, then its
# arguments to the end of the line. "Type name(args);" has a space before the name and is not.
LONE_CALL = re.compile(r"^(\s*)((?:[A-Za-z_]\w*(?:::|\.|->))*[A-Za-z_]\w*)\s*\((.*)\);\s*$")
NOT_CALLS = {"return", "if", "while", "for", "switch", "sizeof", "static_assert", "delete",
             "throw", "case", "co_return", "decltype", "alignas", "assert"}


def sites_in(path: str, text: str) -> list[Site]:
    """Every mutation site of one file, in line and column order."""
    code = mask_code(text)
    real = text.split("\n")
    # "Md5();" in a class body declares its constructor: dropping it breaks only the build.
    classes = set(re.findall(r"\b(?:class|struct)\s+(\w+)", "\n".join(code)))
    sites = []
    previous = ";"  # the last code character before this line
    for number, masked in enumerate(code, start=1):
        found = []
        for pattern in (OPERATOR, PLUS_ONE, BOOLEAN):
            for m in pattern.finditer(masked):
                found.append((m.start(1), m.group(1)))
        for column, original in sorted(found):
            sites.append(Site(path, number, column, original, SWAPS[original]))
        call = _lone_call(masked, previous, classes)
        if call is not None:
            sites.append(Site(path, number, call, real[number - 1][call:].rstrip(), ";"))
        stripped = masked.strip()
        if stripped:
            previous = stripped[-1]
    return sites


def _lone_call(masked: str, previous: str, classes: set[str]):
    """The column of a statement that is one whole call on its own line, or None. The line
    before must end a statement or open a block, so a call is never the tail of another
    statement; its parentheses must balance, so "f(a) + g(b);" is not taken for one call."""
    m = LONE_CALL.match(masked)
    if not m or previous not in ";{}:)":
        return None
    name = m.group(2)
    if name.split("::")[0] in NOT_CALLS or name.isupper() or name in classes:  # keywords, macros
        return None
    depth = 0
    for ch in m.group(3):
        depth += {"(": 1, ")": -1}.get(ch, 0)
        if depth < 0:
            return None
    return m.start(2) if depth == 0 else None


def apply(text: str, site: Site) -> str:
    """The file's text with one site changed."""
    lines = text.split("\n")
    line = lines[site.line - 1]
    if line[site.column:site.column + len(site.original)] != site.original:
        raise ValueError(f"{site.path}:{site.line}: '{site.original}' is not at column {site.column}")
    lines[site.line - 1] = line[:site.column] + site.replacement + line[site.column + len(site.original):]
    return "\n".join(lines)


def mutable_files(files: list[str], folder: str, windows: bool, leave_out=()) -> list[str]:
    """The product's sources in a folder: no tests, fuzzers or test tools, none built only
    for the other platform (ztrec's system glue), none below the folders in leave_out."""
    skip = "posix" if windows else "windows"
    chosen = []
    for path in files:
        parts = path.split("/")
        if not path.startswith(folder) or not path.endswith(SOURCE_SUFFIXES):
            continue
        if {"tests", "fuzz", skip} & set(parts) or parts[0] == "tests":
            continue
        if any(path.startswith(other) for other in leave_out):
            continue
        chosen.append(path)
    return sorted(chosen)


def enumerate_sites(files: list[str], folders: list[str], windows: bool, read,
                    leave_out=()) -> dict[str, list[Site]]:
    """All sites per folder; a file in two chosen folders (dashboard/ and dashboard/rules/)
    belongs to the most specific one."""
    owner = {}
    for folder in sorted(folders, key=len):
        for path in mutable_files(files, folder, windows, leave_out):
            owner[path] = folder
    per_folder = {folder: [] for folder in folders}
    for path in sorted(owner):
        per_folder[owner[path]].extend(sites_in(path, read(path)))
    return per_folder


def sample(per_folder: dict[str, list[Site]], count: int, seed: int) -> list[tuple[str, Site]]:
    """count sites drawn with the seed out of all folders together, in file and line order."""
    everything = [(folder, site) for folder, sites in per_folder.items() for site in sites]
    chosen = random.Random(seed).sample(everything, min(count, len(everything)))
    return sorted(chosen, key=lambda fs: (fs[1].path, fs[1].line, fs[1].column))


def compiled_only(per_folder: dict[str, list[Site]], compiled: dict[str, set[int]]) -> dict[str, list[Site]]:
    """The sites on lines the compiler sees: one in a branch of #if that this build leaves out
    cannot be caught by any test, and would only count as a survivor."""
    return {folder: [s for s in sites if s.line in compiled.get(s.path, ())]
            for folder, sites in per_folder.items()}


LINE_MARKER = re.compile(r'^# (\d+) "(.*)"')


def lines_in_output(preprocessed: str, directory: str) -> dict[str, set[int]]:
    """Which lines of which files reach the compiler, read from the preprocessor's line
    markers: after '# N "file"' the next output line is line N of that file."""
    seen: dict[str, set[int]] = {}
    current, number = None, 0
    for line in preprocessed.split("\n"):
        marker = LINE_MARKER.match(line)
        if marker:
            number = int(marker.group(1))
            current = seen.setdefault(os.path.normpath(os.path.join(directory, marker.group(2))), set())
            continue
        if current is not None and line.strip():
            current.add(number)
        number += 1
    return seen


def preprocess_command(command: str) -> list[str]:
    """A compile command from compile_commands.json turned into one that preprocesses to stdout."""
    args = shlex.split(command)
    if Path(args[0]).name == "ccache":
        args = args[1:]
    out, skip = [], False
    for arg in args:
        if skip:
            skip = False
        elif arg in ("-o", "-MF", "-MT", "-MQ"):
            skip = True
        elif arg not in ("-c", "-MD", "-MMD"):
            out.append(arg)
    return out + ["-E"]


def compiled_lines(build: Path, jobs: int, folders: list[str]) -> dict[str, set[int]]:
    """The lines of the copy's files, relative to the tree, that the build's translation units
    in the given folders compile (the mutated folders and their tests', which include their
    headers): preprocessing the whole Windows tree would take minutes."""
    within = [COPY / folder for folder in folders]
    entries = [e for e in json.loads((build / "compile_commands.json").read_text())
               if e["file"].endswith((".cpp", ".c")) and any(Path(e["file"]).is_relative_to(w) for w in within)]

    def one(entry):
        result = subprocess.run(preprocess_command(entry["command"]), cwd=entry["directory"],
                                capture_output=True, text=True, errors="replace")
        return lines_in_output(result.stdout, entry["directory"]) if result.returncode == 0 else {}

    compiled: dict[str, set[int]] = {}
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        for seen in pool.map(one, entries):
            for path, lines in seen.items():
                if Path(path).is_relative_to(COPY):
                    compiled.setdefault(Path(path).relative_to(COPY).as_posix(), set()).update(lines)
    return compiled


# ---------------------------------------------------------------------------------------------
# The scratch copy and its build


def log(message: str) -> None:
    print(message, flush=True)


def tracked_files() -> list[str]:
    out = subprocess.run(["git", "-C", str(ROOT), "ls-files", "-z"], check=True, capture_output=True).stdout
    return [p for p in out.decode().split("\0") if p]


def sync_copy(files: list[str]) -> None:
    """Brings the copy up to the tree's tracked files, rewriting only those that differ, so
    Ninja rebuilds only what changed since the last run. Files no longer tracked are removed."""
    wanted = set(files)
    for path in files:
        source, target = ROOT / path, COPY / path
        if source.is_symlink() or not source.exists():
            continue
        if target.exists() and target.read_bytes() == source.read_bytes():
            continue
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(source, target)
    if COPY.exists():
        for target in COPY.rglob("*"):
            if target.is_file() and target.relative_to(COPY).as_posix() not in wanted:
                target.unlink()


def configure(build: Path, windows_arch: str | None) -> None:
    """As scripts/test configures its trees, over the copy."""
    args = ["cmake", "-S", str(COPY), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo"]
    if windows_arch:
        args.append(f"-DCMAKE_TOOLCHAIN_FILE={COPY}/cmake/toolchain-{windows_arch}-mingw.cmake")
    else:
        args += ["-DCMAKE_C_COMPILER=clang", "-DCMAKE_CXX_COMPILER=clang++"]
    if shutil.which("ccache"):
        args += ["-DCMAKE_C_COMPILER_LAUNCHER=ccache", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"]
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL)


def build_targets(build: Path, suites: list[Suite], jobs: int, timeout: float, extra=()) -> bool:
    targets = sorted({f"{folder}/all" for suite in suites for folder in suite.builds}) + list(extra)
    try:
        result = subprocess.run(["ninja", "-C", str(build), f"-j{jobs}", *targets],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)
    except subprocess.TimeoutExpired:
        return False
    if result.returncode != 0:
        (WORK / "last-build-failure.txt").write_bytes(result.stdout)
    return result.returncode == 0


def run_suite(build: Path, suite: Suite, jobs: int, timeout: float, retry: bool) -> str:
    """'passed', 'failed' or 'timeout'. ctest runs in its own process group so that a hung
    test and everything it started can be stopped together."""
    args = ["ctest", "--test-dir", str(build / suite.tests), "--timeout", str(int(timeout)),
            "--stop-on-failure", "-j", str(jobs)]
    if suite.exclude:
        args += ["-E", suite.exclude]
    if retry:
        # Windows tests drive real windows whose timing varies: a mutant is killed by a test
        # that fails twice, as scripts/test counts a failure, not by a flaky one.
        args += ["--repeat", "until-pass:2"]
    process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True)
    try:
        output, _ = process.communicate(timeout=timeout + 30)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        return "timeout"
    if process.returncode == 0:
        return "passed"
    (WORK / "last-test-failure.txt").write_bytes(output)
    return "timeout" if b"***Timeout" in output else "failed"


# ---------------------------------------------------------------------------------------------
# Wine, for the Windows mode


class WinePrefix:
    """The build's private prefix, started and stopped as scripts/test does (wine_tests_start
    in scripts/lib/wine.sh). scripts/mutants has already chosen the loader (wine_select) and
    started the display."""

    def __init__(self, build: Path):
        self.build = str(build)

    def _wine_sh(self, function: str) -> None:
        subprocess.run(["bash", "-c", f'source "$1" && {function} "$2"', "wine.sh",
                        str(ROOT / "scripts/lib/wine.sh"), self.build], check=True)

    def __enter__(self):
        self._wine_sh("wine_tests_start")
        return self

    def __exit__(self, *exc):
        self._wine_sh("wine_tests_stop")


# ---------------------------------------------------------------------------------------------
# The run


def classify(build: Path, suites: list[Suite], jobs: int, timeouts: dict[str, float],
             retry: bool) -> tuple[str, str]:
    """The mutant's fate and which tests decided it."""
    if not build_targets(build, suites, jobs, timeout=1800):
        return "stillborn", ""
    for suite in suites:
        # Windows tests share the display and the prefix: one at a time, as scripts/test runs them.
        outcome = run_suite(build, suite, 1 if retry else jobs, timeouts[suite.tests], retry)
        if outcome != "passed":
            return "killed", f"{suite.tests} {outcome}"
    return "survived", ""


def table(results: list[tuple[str, Site, str, str]], folders: list[str]) -> list[str]:
    rows = [f"{'folder':<18}{'killed':>8}{'survived':>10}{'stillborn':>11}{'score':>8}"]

    def row(name, subset):
        counts = {k: sum(1 for r in subset if r[2] == k) for k in ("killed", "survived", "stillborn")}
        tested = counts["killed"] + counts["survived"]
        score = f"{100 * counts['killed'] / tested:.0f}%" if tested else "-"
        return f"{name:<18}{counts['killed']:>8}{counts['survived']:>10}{counts['stillborn']:>11}{score:>8}"

    for folder in folders:
        rows.append(row(folder, [r for r in results if r[0] == folder]))
    rows.append(row("total", results))
    return rows


def parse_args(argv):
    parser = argparse.ArgumentParser(prog="mutants", description=__doc__.split("\n")[0])
    parser.add_argument("--windows", action="store_true",
                        help="mutate the Windows side and run its tests under Wine")
    parser.add_argument("--folders", nargs="+", metavar="FOLDER", help="folders to mutate")
    parser.add_argument("--count", type=int, help="mutants to sample (60 natively, 24 with --windows)")
    parser.add_argument("--seed", type=int, default=20261207, help="the sampling seed")
    parser.add_argument("--list", action="store_true", help="print the candidate sites per folder and stop")
    parser.add_argument("--jobs", type=int, default=min(2, os.cpu_count() or 1))
    args = parser.parse_args(argv)
    suites = WINDOWS_SUITES if args.windows else NATIVE_SUITES
    chosen = args.folders or (WINDOWS_DEFAULT if args.windows else NATIVE_DEFAULT)
    args.folders = [f.rstrip("/") + "/" for f in chosen]
    unknown = [f for f in args.folders if f not in suites]
    if unknown:
        parser.error(f"no covering tests known for {' '.join(unknown)}; known: {' '.join(suites)}")
    if args.count is None:
        args.count = 24 if args.windows else 60
    if args.count < 1:
        parser.error("--count must be at least 1")
    return args


def main(argv) -> int:
    args = parse_args(argv)
    files = tracked_files()
    leave_out = list(NATIVE_SUITES) if args.windows else []
    per_folder = enumerate_sites(files, args.folders, args.windows,
                                 lambda p: (ROOT / p).read_text(errors="replace"), leave_out)
    if args.list:
        for folder, sites in per_folder.items():
            log(f"{folder:<18}{len(sites):>6} sites")
        log(f"{'total':<18}{sum(map(len, per_folder.values())):>6} sites")
        return 0

    arch = os.environ.get("ZT_WINE_ARCH", "i686") if args.windows else None
    build = WORK / (arch or "native")
    suites_of = WINDOWS_SUITES if args.windows else NATIVE_SUITES
    log(f"mutants: copying the tracked sources to {COPY.relative_to(ROOT)}")
    sync_copy(files)
    configure(build, arch)
    every_suite = list({s: None for f in args.folders for s in suites_of[f]})
    log(f"mutants: building {build.relative_to(ROOT)}")
    # The Windows tests need the keeper that holds Wine's desktop and COM services for the run.
    keeper = ["wine_keeper"] if args.windows else []
    if not build_targets(build, every_suite, args.jobs, timeout=7200, extra=keeper):
        log(f"mutants: the unmutated copy does not build; see {WORK / 'last-build-failure.txt'}")
        return 2

    with WinePrefix(build) if args.windows else contextlib.nullcontext():
        timeouts = baseline(build, every_suite, args)
        if timeouts is None:
            return 2
        sources = args.folders + [suite.tests for suite in every_suite]
        per_folder = compiled_only(per_folder, compiled_lines(build, args.jobs, sources))
        chosen = sample(per_folder, args.count, args.seed)
        shutil.rmtree(LOGS, ignore_errors=True)
        total = sum(map(len, per_folder.values()))
        log(f"mutants: {len(chosen)} of {total} sites that the build compiles, seed {args.seed}")
        results = []
        for number, (folder, site) in enumerate(chosen, start=1):
            results.append(run_mutant(build, folder, site, suites_of[folder], timeouts, args, number, len(chosen)))
    write_report(results, args, arch)
    return 0


def baseline(build: Path, suites: list[Suite], args) -> dict[str, float] | None:
    """Runs each suite on the unmutated copy: it must pass (or every mutant would count as
    killed), and how long it took sets its timeout: a mutant that makes the tests run far
    longer than that is taken to hang."""
    timeouts = {}
    for suite in suites:
        start = time.monotonic()
        outcome = run_suite(build, suite, 1 if args.windows else args.jobs, 3600, args.windows)
        took = time.monotonic() - start
        log(f"mutants: baseline {suite.tests}: {outcome} in {took:.0f} s")
        if outcome != "passed":
            log(f"mutants: the unmutated copy fails its tests; see {WORK / 'last-test-failure.txt'}")
            return None
        timeouts[suite.tests] = max(60.0, 3 * took)
    return timeouts


def run_mutant(build, folder, site, suites, timeouts, args, number, total):
    path = COPY / site.path
    original = path.read_text()
    for name in ("last-build-failure.txt", "last-test-failure.txt"):
        (WORK / name).unlink(missing_ok=True)
    try:
        path.write_text(apply(original, site))
        fate, why = classify(build, list(suites), args.jobs, timeouts, args.windows)
    finally:
        path.write_text(original)
    # What the compiler or the tests said, kept per mutant: a kill the developer doubts (a
    # flaky window test, say) can be checked without running the mutant again.
    said = WORK / ("last-build-failure.txt" if fate == "stillborn" else "last-test-failure.txt")
    if said.exists():
        LOGS.mkdir(exist_ok=True)
        kept = LOGS / f"{number:03}.txt"
        said.replace(kept)
        why = ", ".join(filter(None, [why, str(kept.relative_to(ROOT))]))
    log(f"[{number}/{total}] {outcome_line(site, fate, why)}")
    return folder, site, fate, why


def outcome_line(site: Site, fate: str, why: str) -> str:
    return f"{site.path}:{site.line}: {site.describe()}: {fate}" + (f" ({why})" if why else "")


def write_report(results, args, arch) -> None:
    header = (f"mutants {datetime.date.today().isoformat()}: {'windows ' + arch if arch else 'native'}, "
              f"seed {args.seed}, count {args.count}, folders {' '.join(args.folders)}")
    lines = [header, ""]
    lines += [outcome_line(site, fate, why) for _, site, fate, why in results]
    lines += [""] + table(results, args.folders)
    survivors = [s for _, s, fate, _ in results if fate == "survived"]
    if survivors:
        lines += ["", "survivors (the line as the tests accepted it, or the call they did not miss):"]
        for s in survivors:
            mutated = apply((COPY / s.path).read_text(), s).split("\n")[s.line - 1]
            text = s.original if s.replacement == ";" else mutated
            lines.append(f"  {s.path}:{s.line}: {s.describe()}\n      {text.strip()}")
    report = WORK / "report.txt"
    report.write_text("\n".join(lines) + "\n")
    log("")
    for line in table(results, args.folders):
        log(line)
    log(f"mutants: report and survivors in {report.relative_to(ROOT)}")


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
