(Korvex sample: a small engraving for the window test, millimetres)
G21 G90 G17
G0 Z2
G0 X5 Y5
M3 S10000
G1 Z-0.5 F120
G1 X15
G3 X15 Y11 I0 J3
G1 X5
G3 X5 Y5 I0 J-3
G0 Z2
M5
G0 X0 Y0
M2
