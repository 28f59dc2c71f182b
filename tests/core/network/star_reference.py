#!/usr/bin/env python3
"""An independent reading of the star search, for the expected figures of StarSearchTest.

Places are (name, x, y); distances straight-line in doubles. Prints the best solution, the
recalculation count and the lines of the five lists.

    python3 star_reference.py            # the cases the tests use
"""
import math


def search(places, reach=None, capacity=None):
    n = len(places)
    names = [p[0] for p in places]
    d0 = [[math.sqrt((a[1] - b[1]) ** 2 + (a[2] - b[2]) ** 2) for b in places] for a in places]
    if reach is None:
        reach = max(max(r) for r in d0)
    if capacity is None or capacity < 1:
        capacity = n + 1
    order = list(names)
    D = [row[:] for row in d0]
    st = {"skips": 0, "best": None, "recalc": 0, "improved": False, "lists": [[], [], [], [], []]}

    def star(c, assigned):
        members, s = [c], 0.0 + D[c][c]
        assigned[c] = True
        for p in range(n):
            if assigned[p] or not D[c][p] <= reach:
                continue
            if len(members) < capacity:
                members.append(p)
                s += D[c][p]
                assigned[p] = True
                continue
            far = None
            for k in range(1, len(members)):
                if far is None or D[c][members[k]] > D[c][members[far]]:
                    far = k
            if far is not None and D[c][members[far]] > D[c][p]:
                assigned[members[far]] = False
                s = s - D[c][members[far]] + D[c][p]
                members[far] = p
                assigned[p] = True
        return (members, s)

    def complete(stars, assigned):
        while not all(assigned):
            stars.append(star(assigned.index(False), assigned))
        return stars

    def evaluate(stars):
        st["recalc"] += 1
        total = 0.0
        for _, s in stars:
            total += s
        best = st["best"]
        first = best is None
        if not first and not (len(stars) < len(best[0]) or (len(stars) == len(best[0]) and total < best[1])):
            return
        if not first:
            st["improved"] = True
        st["best"] = (stars, total)
        l = st["lists"]
        if not first:
            for k in range(1, 5):
                l[k].append("----------")
        l[0] += ["Pocet Central: %d" % len(stars), "----------"]
        j = 0
        for s, (m, _) in enumerate(stars, 1):
            for p in m:
                j += 1
                l[1].append("Hviezda Zoznam%d: %s" % (j, order[p]))
            l[2].append("Centrum%d: %d" % (s, m[0] + 1))
            l[3].append("Pocet miest v okruhu%d: %d" % (s, len(m)))
        l[4].append("Dlzka okruhu: %s" % fmt(total))

    def assignment(stars):
        return [p for m, _ in stars for p in m]

    def later(name):
        return max(a for a in range(n) if order[a] == name)

    for npass in range(1, 101):
        st["improved"] = False
        evaluate(complete([], [False] * n))
        m = len(st["best"][0])
        for K in range(m - 1, -1, -1):
            kept = st["best"][0][:K]
            P = n - sum(len(x) for x, _ in kept)
            if P <= 2:
                continue
            for k in range(2, P + 1):
                kept = st["best"][0][:K]
                slot = sum(len(x) for x, _ in kept) + k - 1
                if slot >= n:
                    continue
                assigned = [False] * n
                for mem, _ in kept:
                    for p in mem:
                        assigned[p] = True
                c = later(order[assignment(st["best"][0])[slot]])
                while c < n and assigned[c]:
                    c += 1
                if c >= n:
                    st["skips"] += 1
                    continue
                stars = list(kept)
                stars.append(star(c, assigned))
                evaluate(complete(stars, assigned))
        if not st["improved"] or npass == 100:
            break
        stars, total = st["best"]
        new = [order[p] for p in assignment(stars)]
        pos, renum = 0, []
        for mem, s in stars:
            renum.append((list(range(pos, pos + len(mem))), s))
            pos += len(mem)
        st["best"] = (renum, total)
        order = new
        idx = [max(i for i in range(n) if names[i] == nm) for nm in order]
        D = [[d0[idx[a]][idx[b]] for b in range(n)] for a in range(n)]
    stars, total = st["best"]
    return {
        "count": len(stars), "total": total, "order": [order[p] for p in assignment(stars)],
        "sizes": [len(m) for m, _ in stars], "sums": [s for _, s in stars], "recalc": st["recalc"],
        "passes": npass, "skips": st["skips"], "lists": st["lists"],
    }


def fmt(v):
    # Four decimals, halves to even on the ten-thousandths, shortest form, decimal comma.
    from decimal import Decimal, ROUND_HALF_EVEN
    q = (Decimal(v) * 10000).quantize(Decimal(1), rounding=ROUND_HALF_EVEN) / Decimal(10000)
    t = format(q.normalize(), "f")
    return t.replace(".", ",")


if __name__ == "__main__":
    cases = {
        "issue": ([("Alfa", 0, 0), ("Beta", 1, 0), ("Cyril", 0, 1), ("Dunaj", 10, 10)], 2, 3),
        "line": ([("Alfa", 0, 0), ("Beta", 1, 0), ("Cyril", 2, 0), ("Dunaj", 10, 0)], None, None),
        "swap": ([("Alfa", 0, 0), ("Beta", 5, 0), ("Cyril", 1, 0)], None, 2),
        "saves": ([("Alfa", 0, 0), ("Beta", 1, 0), ("Cyril", 2, 0)], 1, None),
    }
    for name, (pl, reach, cap) in cases.items():
        print(name, search(pl, reach, cap))
