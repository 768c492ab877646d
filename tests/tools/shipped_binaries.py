"""The binaries a build's setup program carries, and the loop the checks over them share:
each binary's problems printed as "binary: problem", a missing binary counted as one."""
import pathlib
import sys


def build_or_skip(argument):
    """The build named on the command line; ends with 77 (CTest's skip) when it is not built."""
    build = pathlib.Path(argument)
    if not build.is_dir():
        print(f"{build} has not been built: nothing to check")
        sys.exit(77)
    return build


def shipped(build):
    """The binaries the setup program of the build carries, as paths below the build
    (installer/programs.txt, which the build writes from the one list of them)."""
    listed = build / "installer" / "programs.txt"
    if not listed.is_file():
        sys.exit(f"{listed} is missing: the build does not list what its setup program carries")
    return [line for line in listed.read_text().splitlines() if line]


def report(build, binaries, problems):
    """Prints what problems(path) finds in each binary, and each binary missing from the build;
    returns how many lines it printed."""
    failures = 0
    for binary in binaries:
        path = build / binary
        found = problems(path) if path.is_file() else [f"missing from {build}"]
        for problem in found:
            print(f"{binary}: {problem}")
        failures += len(found)
    return failures
