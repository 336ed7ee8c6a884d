#!/usr/bin/python3
"""Holds the converter's positions at another epoch to astropy's apply_space_motion.

    check_epoch.py PROGRAM

Seeded stars all over the sky, within a few arcseconds of both poles and on either side of 0h,
with proper motions up to 2″ a year, go through --convert --epoch as a table at J2000;
astropy moves the same positions. Every star must agree within 10 mas. Exits 1 if one does not.
"""

import random
import subprocess
import sys
import warnings

import numpy as np
from astropy import units as u
from astropy.coordinates import SkyCoord
from astropy.time import Time

warnings.simplefilter("ignore")
program = sys.argv[1]
random.seed(5)
stars = []
for _ in range(3000):
    stars.append((random.uniform(0, 360), random.uniform(-89.9, 89.9)))
for dec in (89.9999, 89.999, -89.9999, -89.999, 0.0):
    for ra in (0.0, 0.00001, 90.0, 180.0, 359.99999):
        stars.append((ra, dec))
# Up to 2″ a year, faster than all but a few dozen of Tycho-2's stars: for faster ones, ERFA
# itself moves a star by tens of mas when its input changes by its last bit, so that two readings
# of the same numbers need not agree that closely.
limit = 2000
motions = [(round(random.uniform(-limit, limit), 1), round(random.uniform(-limit, limit), 1))
           for _ in stars]
# Both read the same numbers: for a fast star, ERFA's result moves by tens of mas when its input
# moves by a hundredth of one.
stars = [(round(ra, 8), round(dec, 8)) for ra, dec in stars]
table = "RAJ2000\tDEJ2000\tBTmag\tVTmag\tpmRA\tpmDE\n" + "".join(
    f"{ra:.8f}\t{dec:+.8f}\t9.5\t9.0\t{pmra:.1f}\t{pmde:.1f}\n"
    for (ra, dec), (pmra, pmde) in zip(stars, motions))

failures = 0
for epoch in ("2026.9", "1950", "2000"):
    run = subprocess.run([program, "--convert", "--epoch", epoch], input=table,
                         capture_output=True, text=True)
    rows = [line.split(",") for line in run.stdout.splitlines()[1:]]
    if run.returncode != 0 or len(rows) != len(stars):
        print(f"FAIL: --epoch {epoch}: exit {run.returncode}, {len(rows)} rows", file=sys.stderr)
        failures += 1
        continue
    ra = np.array([float(row[15]) for row in rows])
    dec = np.array([float(row[16]) for row in rows])
    start = SkyCoord(ra=[s[0] for s in stars] * u.deg, dec=[s[1] for s in stars] * u.deg,
                     pm_ra_cosdec=[m[0] for m in motions] * u.mas / u.yr,
                     pm_dec=[m[1] for m in motions] * u.mas / u.yr, obstime=Time("J2000"))
    moved = start.apply_space_motion(new_obstime=Time(f"J{epoch}"))
    ours = SkyCoord(ra=ra * u.deg, dec=dec * u.deg)
    apart = ours.separation(SkyCoord(ra=moved.ra, dec=moved.dec)).to_value(u.mas)
    worst = int(np.argmax(apart))
    print(f"--epoch {epoch}: {len(stars)} stars within {apart.max():.3f} mas of astropy's"
          f" (the farthest at {stars[worst][0]:.5f} {stars[worst][1]:+.5f})")
    if apart.max() > 10:
        failures += 1
sys.exit(1 if failures else 0)
