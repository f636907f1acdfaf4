#!/usr/bin/env python3
"""Writes the data files the agenda figures are measured on (CP932, CR LF) into a folder.

rules.nrk: 1,000 recurring rules, 200 each of a yearly date, the 25th of every month, the
second Monday of every month, every Monday and every day of one month.
oneoff.nrk: 100,000 one-off lines spread over 2023..2026.

Usage: bench/agenda-files.py FOLDER
"""
import pathlib
import sys


def rules():
    for i in range(200):
        m, d = i % 12 + 1, i % 28 + 1
        yield f"{m}/{d} 記念日 {i}"
        yield f"25 給料日 {i}"
        yield f"MO2 定例会議 {i}"
        yield f"MO 燃えるゴミ {i}"
        y = 2023 + i % 4
        last = 28 if m == 2 else 30
        yield f"{y}/{m}/1~{y}/{m}/{last} 工事期間 {i}"


def one_offs():
    for i in range(100000):
        y, m, d = 2023 + i % 4, i % 12 + 1, i % 28 + 1
        yield f"{y}/{m}/{d} 予定 {i}"


def write(path, lines):
    path.write_bytes("".join(f"{line}\r\n" for line in lines).encode("cp932"))


def main():
    folder = pathlib.Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    write(folder / "rules.nrk", rules())
    write(folder / "oneoff.nrk", one_offs())


if __name__ == "__main__":
    main()
