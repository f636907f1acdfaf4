#!/usr/bin/env python3
"""Writes the old-calendar month-start tables of Kyurekis (src/core/calendar/KyurekiTables*.inc).

Two tables are generated, each from its own month table under data/: one row per lunar month
(regular and leap) with its first day as a date and as a day number (days since 1858/11/17).

  classic  data/lunar-months.tsv      -> KyurekiTables.inc      (to 2021/1/13, 16-bit days)
  current  data/lunar-months-2150.tsv -> KyurekiTables2150.inc  (to 2150/12/31, 32-bit days)

The tables are compiled into the program, so nothing is read at run time.

Regenerate after changing a TSV, from the top of the source tree:

    python3 tools/gen_kyureki_tables.py

and commit the TSV and the .inc together. `--check` only compares the committed files with
what would be written (exit status 1 when one differs); the test suite runs it that way.
`--table` limits the run to one table, whose files `--input` and `--output` may then replace.

The script refuses (exit status 2, message on stderr) anything it cannot vouch for: rows out of
order, a day number that does not match its date, a month of other than 29 or 30 days, a lunar
year without exactly twelve regular months in order, a leap month that does not directly follow
the month it repeats, or a day number that does not fit the table's entries. Standard library
only.
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# name: (input, output, C++ type of a day, leap-month type, suffix of the array names, digits
# of the widest day number)
TABLES = {
    "classic": ("lunar-months.tsv", "KyurekiTables.inc", "uint16_t", "TLeapMonth", "", 5),
    "current": ("lunar-months-2150.tsv", "KyurekiTables2150.inc", "int32_t", "TWideLeapMonth",
                "2150", 6),
}
DAY_LIMITS = {"uint16_t": 0xFFFF, "int32_t": 0x7FFFFFFF}

HEADER = ["kind", "lunar_year", "month", "first_day", "day_number"]


class TableError(Exception):
    pass


def day_number(year, month, day):
    """Days since 1858/11/17 of a Gregorian date (exact integer arithmetic)."""
    a = (14 - month) // 12
    y = year + 4800 - a
    m = month + 12 * a - 3
    jdn = day + (153 * m + 2) // 5 + 365 * y + y // 4 - y // 100 + y // 400 - 32045
    return jdn - 2400001


def parse_rows(path, day_type):
    limit = DAY_LIMITS[day_type]
    rows = []
    header_seen = False
    with open(path, encoding="utf-8") as f:
        for line_no, raw in enumerate(f, 1):
            line = raw.rstrip("\r\n")
            where = "%s:%d" % (os.path.basename(path), line_no)
            if not line.strip() or line.startswith("#"):
                continue
            fields = line.split("\t")
            if not header_seen:
                if fields != HEADER:
                    raise TableError("%s: expected the header %s" % (where, "\t".join(HEADER)))
                header_seen = True
                continue
            if len(fields) != len(HEADER):
                raise TableError("%s: %d fields, expected %d" % (where, len(fields), len(HEADER)))
            kind, year_text, month_text, date_text, number_text = fields
            if kind not in ("regular", "leap"):
                raise TableError("%s: unknown kind %r" % (where, kind))
            try:
                year, month, number = int(year_text), int(month_text), int(number_text)
                parts = [int(p) for p in date_text.split("/")]
            except ValueError:
                raise TableError("%s: not a number in %r" % (where, line))
            if len(parts) != 3:
                raise TableError("%s: bad date %r" % (where, date_text))
            if not 1 <= month <= 12:
                raise TableError("%s: month %d outside 1..12" % (where, month))
            if day_number(*parts) != number:
                raise TableError("%s: %s is day %d, not %d"
                                 % (where, date_text, day_number(*parts), number))
            if not 0 <= number <= limit:
                raise TableError("%s: day %d does not fit %s" % (where, number, day_type))
            rows.append((kind == "leap", year, month, number, where))
    if not header_seen:
        raise TableError("%s: no header row" % path)
    if not rows:
        raise TableError("%s: no months" % path)
    return rows


def check_rows(rows):
    """Every rule the lookup relies on; raises TableError at the first breach."""
    for prev, cur in zip(rows, rows[1:]):
        length = cur[3] - prev[3]
        if length <= 0:
            raise TableError("%s: day %d does not come after day %d of the row before"
                             % (cur[4], cur[3], prev[3]))
        if length not in (29, 30):
            raise TableError("%s: the month before lasts %d days, not 29 or 30"
                             % (cur[4], length))
    first = rows[0]
    if first[0] or first[2] != 1:
        raise TableError("%s: the table must start with a regular month 1" % first[4])
    expected_year, expected_month = first[1], 1
    leap_years = set()
    for i, (leap, year, month, _, where) in enumerate(rows):
        if leap:
            prev = rows[i - 1] if i else None
            if prev is None or prev[0] or prev[1] != year or prev[2] != month:
                raise TableError("%s: leap month %d of %d does not follow its regular month"
                                 % (where, month, year))
            if year in leap_years:
                raise TableError("%s: second leap month in lunar year %d" % (where, year))
            leap_years.add(year)
            continue
        if (year, month) != (expected_year, expected_month):
            raise TableError("%s: regular month %d of %d, expected month %d of %d"
                             % (where, month, year, expected_month, expected_year))
        expected_month += 1
        if expected_month > 12:
            expected_year, expected_month = expected_year + 1, 1
    if expected_month != 1:
        raise TableError("the last lunar year %d stops after month %d"
                         % (expected_year, expected_month - 1))


def render(rows, input_name, day_type, leap_type, suffix, digits):
    regular = [r for r in rows if not r[0]]
    leaps = [r for r in rows if r[0]]
    starts_name, leaps_name = "kMonthStarts" + suffix, "kLeapMonths" + suffix
    out = []
    out.append("// Generated by tools/gen_kyureki_tables.py from %s. Do not edit by hand:"
               % input_name)
    out.append("// change the TSV and run the script again.")
    out.append("//")
    out.append("// %s[k - 1] is entry k: the first day of the regular lunar month k mod 12"
               % starts_name)
    out.append("// (0 meaning 12), entry 1 being month 1 of lunar year %d. One line per lunar year."
               % regular[0][1])
    out.append("// %s: first day and the month each leap month repeats, ascending." % leaps_name)
    out.append("// clang-format off")
    out.append("constexpr std::array<%s, %d> %s = {" % (day_type, len(regular), starts_name))
    for start in range(0, len(regular), 12):
        year_rows = regular[start:start + 12]
        values = ", ".join("%*d" % (digits, r[3]) for r in year_rows)
        out.append("    %s,  // %d" % (values, year_rows[0][1]))
    out.append("};")
    out.append("")
    out.append("constexpr std::array<%s, %d> %s = {{" % (leap_type, len(leaps), leaps_name))
    for leap in leaps:
        out.append("    {%*d, %2d, 0},  // %d" % (digits, leap[3], leap[2], leap[1]))
    out.append("}};")
    out.append("// clang-format on")
    return "\n".join(out) + "\n"


def generate(name, input_path, output_path, check):
    """Writes (or with check compares) one table; returns the exit status."""
    _, _, day_type, leap_type, suffix, digits = TABLES[name]
    try:
        rows = parse_rows(input_path, day_type)
        check_rows(rows)
    except (TableError, OSError) as e:
        print("gen_kyureki_tables: %s" % e, file=sys.stderr)
        return 2
    text = render(rows, "data/" + os.path.basename(input_path), day_type, leap_type, suffix,
                  digits)
    if check:
        try:
            with open(output_path, encoding="utf-8") as f:
                current = f.read()
        except OSError as e:
            print("gen_kyureki_tables: %s" % e, file=sys.stderr)
            return 1
        if current != text:
            print("gen_kyureki_tables: %s is out of date; run tools/gen_kyureki_tables.py"
                  % output_path, file=sys.stderr)
            return 1
        return 0
    with open(output_path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--table", choices=sorted(TABLES))
    parser.add_argument("--input")
    parser.add_argument("--output")
    parser.add_argument("--check", action="store_true",
                        help="compare with the existing output instead of writing it")
    args = parser.parse_args()
    if (args.input or args.output) and not args.table:
        parser.error("--input and --output need --table")
    status = 0
    for name in [args.table] if args.table else sorted(TABLES):
        input_name, output_name = TABLES[name][:2]
        input_path = args.input or os.path.join(ROOT, "data", input_name)
        output_path = args.output or os.path.join(ROOT, "src", "core", "calendar", output_name)
        status = max(status, generate(name, input_path, output_path, args.check))
    return status


if __name__ == "__main__":
    sys.exit(main())
