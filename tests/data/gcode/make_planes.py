#!/usr/bin/env python3
"""Writes planes.ngc: arcs in G17, G18 and G19, both directions, centre and
radius forms, helices, with straight moves between; deterministic."""
import math
import random

rng = random.Random(15)
lines = ["(Korvex sample: arcs in every plane, made by make_planes.py)", "G21 G90 G17", "G0 X50 Y50 Z20", "F300"]
pos = [50.0, 50.0, 20.0]
planes = {"G17": (0, 1, 2, "IJ"), "G18": (2, 0, 1, "KI"), "G19": (1, 2, 0, "JK")}
names = "XYZ"
for i in range(120):
    if rng.random() < 0.25:
        pos = [round(50 + rng.uniform(-20, 20), 4) for _ in range(2)] + [round(rng.uniform(5, 25), 4)]
        lines.append("G%d X%.4f Y%.4f Z%.4f" % (rng.choice((0, 1)), *pos))
        continue
    plane = rng.choice(list(planes))
    a, b, n, letters = planes[plane]
    r = rng.uniform(0.5, 12)
    start_angle = rng.uniform(0, 2 * math.pi)
    sweep = rng.uniform(0.1, 2 * math.pi)
    g = rng.choice(("G2", "G3"))
    centre = [pos[a] - r * math.cos(start_angle), pos[b] - r * math.sin(start_angle)]
    end_angle = start_angle + (sweep if g == "G3" else -sweep)
    end = list(pos)
    end[a] = round(centre[0] + r * math.cos(end_angle), 4)
    end[b] = round(centre[1] + r * math.sin(end_angle), 4)
    end[n] = round(pos[n] + rng.uniform(-3, 3), 4)
    words = [plane, g] + ["%s%.4f" % (names[k], end[k]) for k in range(3)]
    if rng.random() < 0.3 and sweep < 6.2:
        radius = r if sweep <= math.pi else -r
        words.append("R%.4f" % radius)
    else:
        words.append("%s%.4f" % (letters[0], centre[0] - pos[a]))
        words.append("%s%.4f" % (letters[1], centre[1] - pos[b]))
    lines.append(" ".join(words))
    pos = end
lines.append("M2")
open("planes.ngc", "w").write("\n".join(lines) + "\n")
