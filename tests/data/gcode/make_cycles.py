#!/usr/bin/env python3
"""Writes random_cycles.ngc: series of drilling cycles of every kind, G90
and G91, G98, G99 and neither, repeats, lines that go on with a cycle, and
the ways a series ends; deterministic."""
import random

rng = random.Random(29)
lines = ["(Korvex sample: random drilling cycles, made by make_cycles.py)", "G21 G90 G17",
         "G0 X0 Y0 Z5", "F120"]
for _ in range(25):
    cycle = rng.choice(["G81", "G82", "G83", "G73"])
    distance = rng.choice(["G90", "G91"])
    retract = rng.choice(["", "G98", "G99"])
    if distance == "G90":
        r = rng.uniform(-1, 4)
        z = r - rng.uniform(0.3, 5)
        x, y = rng.uniform(-20, 20), rng.uniform(-20, 20)
    else:
        r = rng.uniform(-4, 2)
        z = -rng.uniform(0.3, 5)
        x, y = rng.uniform(-5, 5), rng.uniform(-5, 5)
    words = "%s %s %s X%.2f Y%.2f Z%.2f R%.2f" % (distance, retract, cycle, x, y, z, r)
    if cycle == "G82":
        words += " P0.5"
    if cycle in ("G83", "G73"):
        words += " Q%.2f" % rng.uniform(0.3, 2)
    if rng.random() < 0.3:
        words += " L%d" % rng.randint(2, 3)
    lines.append(" ".join(words.split()))
    for _ in range(rng.randint(0, 3)):
        lines.append(rng.choice(["X%.2f" % rng.uniform(-5, 5), "Y%.2f Z%.2f" % (rng.uniform(-5, 5), z),
                                 "G98 X%.2f" % rng.uniform(-5, 5), "G99 Y%.2f" % rng.uniform(-5, 5)]))
    lines.append(rng.choice(["G80", "G0 Z%.2f" % rng.uniform(-2, 8), "G90 G0 X%.2f" % rng.uniform(-5, 5), "M9"]))
lines += ["G90 G80", "M2"]
with open("random_cycles.ngc", "w") as f:
    f.write("\n".join(lines) + "\n")
