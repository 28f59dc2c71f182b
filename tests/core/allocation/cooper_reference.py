#!/usr/bin/env python3
"""Reference iterates for CooperSolverTest.cpp, computed apart from the C++ code.

The iteration is written out again here from its definition and evaluated with Python's
decimal module at 60 significant digits, so the figures carry no binary rounding; the test
compares the solver's 80-bit results with them to a tolerance of about 1e-15. Run once by
hand (python3 cooper_reference.py) and the printed values pasted into the test.

Definition followed:
  start   weighted mean sum(w x)/sum(w) (or [0;0]); a start exactly on a place -> [0.01;0.01]
  X step  X' = X - sum(w (X - x)/d) / sum(w/d), d measured from (X, Y)
  Y step  Y' = Y - sum(w (Y - y)/d) / sum(w/d), d measured from (X', Y)
  a half-step point exactly on a place: if the place passes Kuhn's test
  (|sum over the other places of w (a_i - p)/|a_i - p|| <= weight on p) the coordinate stays
  and the run stops; otherwise the places on the point are left out of that half-step's sums
  stop    |change| * 10000 < E (strict), checked after each step; entry 1000 ends the run
  end     if the nearest place to the result passes Kuhn's test, the result is that place
(The solver also counts a place within 1e-12 of the largest coordinate as lying on the point and
leaves such a place along its pull at the start of a step; none of the runs below comes that
close to a place without landing on it exactly, so the definition above holds for them.)

The runs that start or land on a place only up to rounding are checked against their least
weighted sums, not against iterates: minimum() finds those with the plain two-dimensional
Weiszfeld iteration (no half-steps) and Kuhn's test at every place, and the closed forms quoted
in the tests are printed beside them.
"""
from decimal import Decimal as D, getcontext

getcontext().prec = 60
SCALE = D(10000)


def dist(px, py, x, y):
    return ((px - x) ** 2 + (py - y) ** 2).sqrt()


def kuhn(places, px, py):
    here, rx, ry = D(0), D(0), D(0)
    for x, y, w in places:
        d = dist(px, py, x, y)
        if d == 0:
            here += w
        else:
            rx += w * (x - px) / d
            ry += w * (y - py) / d
    return here, (rx * rx + ry * ry).sqrt()


def half(places, px, py, along_x):
    a, b, on_place = D(0), D(0), False
    for x, y, w in places:
        d = dist(px, py, x, y)
        if d == 0:
            on_place = True
            continue
        a += w * ((px - x) if along_x else (py - y)) / d
        b += w / d
    cur = px if along_x else py
    if on_place:
        here, r = kuhn(places, px, py)
        if r <= here:
            return cur, True
    if b == 0:
        return cur, False
    return cur - a / b, False


def run(places, start="mean", rule="xy", e="0.01", k="1"):
    places = [(D(str(x)), D(str(y)), D(str(w))) for x, y, w in places]
    E = D(e) * SCALE
    K = D(k) * SCALE
    if start == "mean":
        W = sum(w for _, _, w in places)
        X0 = sum(w * x for x, _, w in places) / W
        Y0 = sum(w * y for _, y, w in places) / W
    else:
        X0 = Y0 = D(0)
    for x, y, _ in places:
        if X0 == x and Y0 == y:
            X0 = Y0 = D("0.01")
    X, Y = [None, X0], [None, Y0]
    j = 1
    while True:
        nx, opt1 = half(places, X[j], Y[j], True)
        X.append(nx)
        ny, opt2 = half(places, X[j + 1], Y[j], False)
        Y.append(ny)
        m = j + 1
        cx = abs(X[m] - X[m - 1]) * SCALE
        cy = abs(Y[m] - Y[m - 1]) * SCALE
        if rule == "x":
            stop = cx < E
        elif rule == "y":
            stop = cy < E
        elif rule == "xy":
            stop = cx < E and cy < E
        else:
            f = lambda px, py: sum(w * dist(px, py, x, y) for x, y, w in places)
            stop = abs(K * f(X[m], Y[m]) / SCALE - K * f(X[m - 1], Y[m - 1]) / SCALE) * SCALE < E
        if stop or opt1 or opt2 or m == 1000:
            final = m
            break
        j = m
    unsnapped = (X[final], Y[final])
    best = min(range(len(places)), key=lambda i: (dist(X[final], Y[final], places[i][0], places[i][1]), i))
    here, r = kuhn(places, places[best][0], places[best][1])
    on = 0
    if here > 0 and r <= here:
        X[final], Y[final] = places[best][0], places[best][1]
        on = best + 1
    return final, X, Y, unsnapped, on


def show(name, result, entries=None):
    final, X, Y, unsnapped, on = result
    print(f"{name}: FinalIter={final} resultOnPlace={on} unsnapped=({unsnapped[0]:.25}, {unsnapped[1]:.25})")
    for j in entries or range(1, final + 1):
        print(f"  {j:4d}  {X[j]:.25}  {Y[j]:.25}")


# Horizontal pair: A(1,0) weight 1, B(3,0) weight 3, start [0;0].
H = [(1, 0, 1), (3, 0, 3)]
show("H x e=0.01", run(H, "zero", "x", "0.01"))
show("H xy e=0.01", run(H, "zero", "xy", "0.01"))
# Coincidence: the first X step lands exactly on P1 = (2,0).
C1 = [(2, 0, 1), (0, 4, 1), (0, -4, 1), (4, 3, 2.5)]
show("C1 w1=1", run(C1, "zero", "xy", "0.01"))
C0 = [(2, 0, 0), (0, 4, 1), (0, -4, 1), (4, 3, 2.5)]
show("C0 w1=0", run(C0, "zero", "xy", "0.01"))
C10 = [(2, 0, 10), (0, 4, 1), (0, -4, 1), (4, 3, 2.5)]
show("C10 w1=10", run(C10, "zero", "xy", "0.01"))
# Heavy corner of a triangle: the optimum is the corner (0,0).
T = [(0, 0, 10), (3, 0, 1), (0, 4, 1)]
show("T", run(T, "mean", "xy", "0.01"))
# Slow creep along a nearly flat valley: the X rule with e = 0,0001 never holds in 999 steps.
B = [(0, 0, 1000), (1, 0, 1000), (0.9, 0.1, 1)]
res = run(B, "mean", "x", "0.0001")
show("B", res, [1, 2, 999, 1000])
print("  smallest X change * 10000 over the run:",
      f"{min(abs(res[1][i] - res[1][i - 1]) for i in range(2, 1001)) * SCALE:.6}")
# The same valley with the light place on the line: that place is the optimum.
BL = [(0, 0, 1000), (1, 0, 1000), (0.9, 0, 1)]
show("BL", run(BL, "mean", "x", "0.0001"), [1, 999, 1000])


def weighted_sum(places, px, py):
    return sum(w * dist(px, py, x, y) for x, y, w in places)


def minimum(places, steps=3000):
    """Least weighted sum: the best of the places passing Kuhn's test and the end of a plain
    Weiszfeld iteration from the weighted mean, stepped off any place it meets."""
    places = [(D(str(x)), D(str(y)), D(str(w))) for x, y, w in places]
    best = None
    for x, y, _ in places:
        here, r = kuhn(places, x, y)
        if r <= here:
            f = weighted_sum(places, x, y)
            best = f if best is None else min(best, f)
    W = sum(w for _, _, w in places)
    px = sum(w * x for x, _, w in places) / W
    py = sum(w * y for _, y, w in places) / W
    for _ in range(steps):
        sx, sy, s = D(0), D(0), D(0)
        for x, y, w in places:
            d = dist(px, py, x, y)
            if d == 0:
                break
            sx += w * x / d
            sy += w * y / d
            s += w / d
        else:
            px, py = sx / s, sy / s
            continue
        px, py = px + D("1e-6"), py - D("1e-6")  # on a place: nudge off and go on
    f = weighted_sum(places, px, py)
    return f if best is None else min(best, f)


# Near coincidences (CooperSolverTest, CooperGroupTest): the minimum and the closed form.
towns = [(-20, 0, 12), (20, 0, 12), (0, 62.5075, 1), (0, 2.5003, 1)]
print("towns", minimum(towns), 40 * D(143).sqrt() + D("65.0078"))
heavy = [(-20, 0, 12), (20, 0, 12), (0, 62.5075, 1), (0, 2.5003, 2)]
print("Lucenec of 2", minimum(heavy), 24 * (D(400) + D("2.5003") ** 2).sqrt() + D("60.0072"))
sc = D("1.2345")
scaled = [(2 * sc, 0, 1), (0, 4 * sc, 1), (0, -4 * sc, 1), (4 * sc, 3 * sc, 2.5)]
print("scaled", minimum(scaled), sc * (D(13).sqrt() + D(17).sqrt() + D(65).sqrt()))
group = [(0, 2, 4), (0, -2, 4), (0.7001, 0, 1), (6.3009, 0, 1)]
print("group", minimum(group), 4 * D(15).sqrt() + D("7.001"))
