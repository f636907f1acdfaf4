#!/usr/bin/env python3
"""Runs two pelo-agenda programs on the same inputs and reports every difference in standard
output, standard error or exit status: the proof that a change to the agenda's speed left its
output alone. The inputs are the sample, the fuzz corpora of data files, entry lines and whole
agenda runs, and the files of bench/agenda-files.py; each data file in text, tsv and ics, over
a span around the sample's dates and over the years of the generated files.

Usage: bench/compare-agenda.py BEFORE AFTER [ARGUMENT...]
Any ARGUMENT goes in front of the arguments of every run (e.g. --calendar current).
"""
import pathlib
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
FORMATS = ("text", "tsv", "ics")
SPANS = (
    ("--today", "2026/12/20", "--from", "2026/12/1", "--to", "2027/3/31"),
    ("--today", "2024/1/1", "--from", "2024/1/1", "--to", "2026/12/31"),
)


def run(program, args, cwd):
    done = subprocess.run([program, *args], cwd=cwd, capture_output=True, timeout=120)
    return done.returncode, done.stdout, done.stderr


def data_file_cases(folder):
    files = [ROOT / "examples" / "sample.nrk"]
    for corpus in ("fuzz_data_file", "fuzz_parse_line"):
        files += sorted((ROOT / "fuzz" / "corpus" / corpus).iterdir())
    subprocess.run([sys.executable, ROOT / "bench" / "agenda-files.py", folder], check=True)
    files += [folder / "rules.nrk", folder / "oneoff.nrk", folder / "mixed.nrk"]
    for path in files:
        for form in FORMATS:
            for span in SPANS:
                yield f"{path.name} {form} {span[3]}", ["--format", form, *span, str(path)]


def agenda_run_cases(folder):
    """The fuzz corpus of whole runs: ARGUMENTS \\0 DATA FILE \\0 PAGE FILE."""
    for path in sorted((ROOT / "fuzz" / "corpus" / "fuzz_agenda").iterdir()):
        parts = path.read_bytes().split(b"\0", 2) + [None, None]
        case = folder / path.name
        case.mkdir()
        names = {"DATA": "data.nrk", "PAGE": "page.npg"}
        for name, content in zip(names.values(), parts[1:3]):
            if content is not None:
                (case / name).write_bytes(content)
        args = [names.get(a, a) for a in parts[0].decode("utf-8", "replace").splitlines()]
        args = [a for a in args if not a.startswith("/") and ".." not in a]
        yield f"{path.name} (run)", ["--today", "2024/5/1", *args], case


def main():
    before, after = (str(pathlib.Path(p).resolve()) for p in sys.argv[1:3])
    extra = sys.argv[3:]
    differences = 0
    count = 0
    with tempfile.TemporaryDirectory() as temp:
        folder = pathlib.Path(temp)
        cases = [(name, args, folder) for name, args in data_file_cases(folder / "files")]
        cases += list(agenda_run_cases(folder))
        for name, args, cwd in cases:
            count += 1
            args = [*extra, *args]
            first, second = run(before, args, cwd), run(after, args, cwd)
            for label, a, b in zip(("status", "stdout", "stderr"), first, second):
                if a != b:
                    differences += 1
                    print(f"differs: {name}: {label}")
    print(f"{count} runs compared, {differences} differences")
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
