#!/usr/bin/env python3
"""Writes the data files the agenda figures are measured on (CP932, CR LF) into a folder.

rules.nrk: 1,000 recurring rules, 200 each of a yearly date, the 25th of every month, the
second Monday of every month, every Monday and every day of one month.
oneoff.nrk: 100,000 one-off lines spread over 2023..2026.
mixed.nrk: 2,000 lines of date expressions drawn at random (fixed seed) from the parts of the
language: field steps and adjustments, weekday and holiday codes, periods, conditions and
derived days; about a third of them do not read, as in a file typed by hand. For comparing
two builds (bench/compare-agenda.py), not for timing.

Usage: bench/agenda-files.py FOLDER
"""
import pathlib
import random
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


def mixed(count, seed=12):
    pick = random.Random(seed)

    def maybe(choices, chance):
        return pick.choice(choices) if pick.random() < chance else ""

    def field(values, steps, adjustments, chance):
        return pick.choice(values) + maybe(steps, 0.3) + maybe(adjustments, chance)

    def date():
        fields = [
            field(["", "2024", "2025", "2026", "2023", "2027", "1950", "2000", "1", "*"],
                  ["^1", "^2", "^-1", "^3"], ["+1", "-1", "+2"], 0.1),
            field(["1", "2", "3", "6", "12", "*", "_"], ["^1", "^3", "^-1"], ["+1", "-1", "+13"], 0.1),
            field(["1", "15", "28", "29", "30", "31", "_", "*", "MO", "SU", "MO2", "FR5", "SA*",
                   "HD", "SD", "TU-1"], ["^1", "^2", "^7", "^-1", "^_", "^-3"],
                  ["+1", "-1", "+40", "-400"], 0.15),
        ]
        return "/".join(fields[3 - pick.randint(1, 3):])

    def date_set():
        end = ["", ">/>/>", "+0/0/3", "0", "2026/1/2", "]/]/]+2"]
        return date() + ("~" + (pick.choice(end) or date()) if pick.random() < 0.35 else "")

    def sets():
        return ",".join(date_set() for _ in range(pick.randint(1, 2)))

    for i in range(count):
        line = maybe(["9:00 ", "10:00~11:00 "], 0.2) + sets()
        line += f" 予定{i}" + pick.choice(["", "%s", "%l", "%b", "%n", "%c"])
        if pick.random() < 0.25:
            line += f" {pick.choice(['&&', '&!', '&&>', '&&<', '&!>', '&a'])}({sets()})"
        if pick.random() < 0.15:
            line += " &d(" + pick.choice(["[/[/[-1", "]/]/]+2", "+3", "[/[/[-7,]/]/]+7"]) + ")"
        yield line


def write(path, lines):
    path.write_bytes("".join(f"{line}\r\n" for line in lines).encode("cp932"))


def main():
    folder = pathlib.Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    write(folder / "rules.nrk", rules())
    write(folder / "oneoff.nrk", one_offs())
    write(folder / "mixed.nrk", mixed(2000))


if __name__ == "__main__":
    main()
