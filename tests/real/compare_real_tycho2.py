#!/usr/bin/python3
"""Holds the converter's rows of the whole real Tycho-2 to astropy's own reading of it.

    compare_real_tycho2.py PROGRAM FOLDER FAMOUS

FOLDER holds tyc2.dat (the twenty split files joined), suppl_1.dat, suppl_2.dat, the ReadMe and
all.csv, the converter's table of the three. astropy's CDS reader reads the catalogue by its
ReadMe alone; every star's id, position, BT, VT, their errors and B, V, R must be those of the
row in the same file and line. Then a few fields of --near are held to SkyCoord's separations
and position angles, and each well-known variable of FAMOUS must be the marked target of its
own field. Says what differs, and exits 1 if anything does.
"""

import csv
import math
import subprocess
import sys
import time

import numpy as np
from astropy import units as u
from astropy.coordinates import SkyCoord
from astropy.io import ascii

program, folder, famous = sys.argv[1:4]
failures = []


def fail(what):
    failures.append(what)
    if len(failures) <= 20:
        print("FAIL:", what, file=sys.stderr)


def read(name):
    started = time.time()
    table = ascii.read(f"{folder}/{name}", format="cds", readme=f"{folder}/ReadMe", guess=False)
    print(f"astropy read {name}: {len(table)} stars in {time.time() - started:.0f} s")
    return table


def values(table, name):
    return table[name].tolist() if name in table.colnames else [None] * len(table)


def same_number(ours, theirs):
    if theirs is None:
        return ours == ""
    return ours != "" and float(ours) == float(theirs)


# B, V and R from BT and VT, as the README gives the formulas; shown to three decimals.
def bvr(bt, vt):
    b = bt + 0.018 - 0.258 * (bt - vt)
    v = vt + 0.008 - 0.0988 * (bt - vt)
    return b, v, v - 0.5 * (b - v)


def within_shown(ours, value, decimals=3):
    # The value shown, or its neighbour where the two roundings meet at a half.
    return abs(float(ours) - value) <= 0.5 * 10**-decimals + 1e-9


# Each source's stars as astropy reads them, by their line in the file.
sources = {}
for name in ("tyc2.dat", "suppl_1.dat", "suppl_2.dat"):
    table = read(name)
    main = name == "tyc2.dat"
    ra = values(table, "RAmdeg" if main else "RAdeg")
    dec = values(table, "DEmdeg" if main else "DEdeg")
    if main:
        # No mean position: the observed one.
        ra = [m if m is not None else o for m, o in zip(ra, values(table, "RAdeg"))]
        dec = [m if m is not None else o for m, o in zip(dec, values(table, "DEdeg"))]
    hp = [flag == "H" for flag in values(table, "mflag")]
    sources[name] = {
        "id": [f"TYC {a}-{b}-{c}" for a, b, c in zip(table["TYC1"], table["TYC2"], table["TYC3"])],
        "ra": ra,
        "dec": dec,
        "BT": [None if h else x for h, x in zip(hp, values(table, "BTmag"))],
        "VT": [None if h else x for h, x in zip(hp, values(table, "VTmag"))],
        "e_BT": [None if h else x for h, x in zip(hp, values(table, "e_BTmag"))],
        "e_VT": [None if h else x for h, x in zip(hp, values(table, "e_VTmag"))],
    }

started = time.time()
seen = {name: 0 for name in sources}
rounding = 0
with open(f"{folder}/all.csv", newline="") as file:
    rows = csv.reader(file)
    header = next(rows)
    column = {name: i for i, name in enumerate(header)}
    for row in rows:
        star = sources.get(row[column["source"]])
        if star is None:
            fail(f"a row of an unknown source: {row[:2]}")
            continue
        line = int(row[column["line"]])
        i = line - 1
        seen[row[column["source"]]] += 1
        where = f"{row[0]}:{line}"
        if row[column["id"]] != star["id"][i]:
            fail(f"{where}: id {row[column['id']]} against {star['id'][i]}")
        for name in ("ra", "dec", "BT", "VT", "e_BT", "e_VT"):
            if not same_number(row[column[name]], star[name][i]):
                fail(f"{where}: {name} {row[column[name]]!r} against {star[name][i]!r}")
        bt, vt = star["BT"][i], star["VT"][i]
        if bt is None or vt is None:
            if row[column["B"]] != "" or "no-bt-vt" not in row[column["why"]]:
                fail(f"{where}: B {row[column['B']]!r} where BT or VT is missing")
            continue
        for name, value in zip(("B", "V", "R"), bvr(bt, vt)):
            if not within_shown(row[column[name]], value):
                fail(f"{where}: {name} {row[column[name]]} against {value:.6f}")
            elif abs(float(row[column[name]]) - round(value, 3)) > 1e-9:
                rounding += 1
for name, table in sources.items():
    if seen[name] != len(table["id"]):
        fail(f"{name}: {seen[name]} rows for {len(table['id'])} stars")
print(f"compared {sum(seen.values())} rows in {time.time() - started:.0f} s"
      f" ({rounding} shown values at a rounding's half)")

# Fields of --near against SkyCoord: which stars lie within, their separations and angles.
everything = [(name, i) for name, star in sources.items() for i in range(len(star["id"]))]
ra = np.array([sources[n]["ra"][i] for n, i in everything], dtype=float)
dec = np.array([sources[n]["dec"][i] for n, i in everything], dtype=float)
stars = SkyCoord(ra=ra * u.deg, dec=dec * u.deg)
fields = [
    ("02 31 49.09 +89 15 50.8", "near the north pole"),
    ("00 00 00 -89 40 00", "around the south pole"),
    ("00 00 10 +10 00 00", "across 0h"),
    ("23 59 50 -30 00 00", "across 0h from the other side"),
    ("05 35 17.3 -05 23 28", "in Orion"),
]
for position, what in fields:
    centre = SkyCoord(position, unit=(u.hourangle, u.deg))
    separation = stars.separation(centre).deg
    inside = np.nonzero(separation <= 1.0)[0]
    run = subprocess.run([program, "--convert", "--near", position, "--radius", "1", "tyc2.dat",
                          "suppl_1.dat", "suppl_2.dat"], cwd=folder, capture_output=True, text=True)
    rows = list(csv.reader(run.stdout.splitlines()))[1:]
    expected = {everything[k]: k for k in inside}
    got = {(row[0], int(row[1]) - 1): row for row in rows}
    # A star right on the edge may fall either side of it by the last bit.
    missing = [key for key in expected if key not in got and separation[expected[key]] < 1 - 1e-9]
    extra = [key for key in got if key not in expected]
    if missing or extra or run.returncode != 0:
        fail(f"{what}: {len(rows)} rows against astropy's {len(inside)}, missing {missing[:3]},"
             f" extra {extra[:3]}, exit {run.returncode}")
    worst_sep = worst_pa = 0.0
    for key, row in got.items():
        k = expected.get(key)
        if k is None:
            continue
        sep = separation[k] * 60
        pa = centre.position_angle(stars[k]).deg % 360
        worst_sep = max(worst_sep, abs(float(row[column["sep"]]) - sep))
        # Angles of stars on the centre mean nothing; 360.0 is north again.
        if sep > 0.01:
            difference = abs(float(row[column["pa"]]) - pa)
            worst_pa = max(worst_pa, min(difference, 360 - difference))
    if worst_sep > 0.0005 + 1e-6 or worst_pa > 0.05 + 1e-6:
        fail(f"{what}: separations off by {worst_sep:.6f}′ and angles by {worst_pa:.4f}°")
    print(f"{what}: {len(rows)} stars within 1° as astropy finds them; separations within"
          f" {worst_sep:.6f}′, position angles within {worst_pa:.4f}°")

# Each well-known variable is the marked target of its own field.
with open(famous) as file:
    listed = [line.rstrip("\n").split("\t") for line in file
              if line[0].isdigit()]
for cells in listed:
    ra_degrees, dec_degrees, name, kind = float(cells[0]), float(cells[1]), cells[2], cells[4]
    run = subprocess.run([program, "--convert", "--near", f"{ra_degrees} {dec_degrees}", "--radius",
                          "0.05", "tyc2.dat", "suppl_1.dat", "suppl_2.dat", famous],
                         cwd=folder, capture_output=True, text=True)
    rows = list(csv.reader(run.stdout.splitlines()))[1:]
    first = rows[0] if rows else None
    if (first is None or first[column["usable"]] != "0"
            or not first[column["why"]].startswith("target")
            or "variable" not in first[column["why"]].split()
            or first[column["known_variable"]] != f"{name} {kind}"):
        fail(f"{name}: its field's first row is {first}")
    # A companion within 10″, as of R Leo or alf Her, is marked too, and is a target: no star
    # farther away is.
    elif any(bool(row[column["known_variable"]]) != row[column["why"]].startswith("target")
             for row in rows):
        fail(f"{name}: a star beyond 10″ is called {name}, or one within is not")
print(f"{len(listed)} well-known variables, each the marked target of its own field")

if failures:
    print(f"{len(failures)} checks against astropy failed", file=sys.stderr)
    sys.exit(1)
print("the whole real Tycho-2 agrees with astropy")
