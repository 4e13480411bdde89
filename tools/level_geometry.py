"""Balance table loading and the path geometry the level reader applies to spline files.

The B-spline sampling and the side-lane offset are the game's own rules, repeated here so
the generators can size walk times, keep lanes on the field, block the grid under the paths
and draw the map shots from exactly the lines the enemies will fly.
"""
import math
import os
import tomllib

BALANCE = os.path.join("tools", "balance", "balance.toml")
LAYOUTS = os.path.join("tools", "levels", "layouts.toml")


def load_toml(path):
    with open(path, "rb") as f:
        return tomllib.load(f)


def _basis(t, i, k, u):
    # Cox-de Boor over integer knots, with the same flat-span rules as the engine.
    if k == 1:
        return 1.0 if t[i] <= u < t[i + 1] else 0.0
    left_flat = t[i + k - 1] == t[i]
    right_flat = t[i + k] == t[i + 1]
    if left_flat and right_flat:
        return 0.0
    if left_flat:
        return (t[i + k] - u) / (t[i + k] - t[i + 1]) * _basis(t, i + 1, k - 1, u)
    if right_flat:
        return (u - t[i]) / (t[i + k - 1] - t[i]) * _basis(t, i, k - 1, u)
    return ((u - t[i]) / (t[i + k - 1] - t[i]) * _basis(t, i, k - 1, u) +
            (t[i + k] - u) / (t[i + k] - t[i + 1]) * _basis(t, i + 1, k - 1, u))


def bspline(points, degree, count):
    """count samples of the clamped B-spline of the given degree, first to last point."""
    n = len(points) - 1
    k = min(max(degree + 1, 1), n + 1)
    t = [0 if i < k else (i - k + 1 if i <= n else n - k + 2) for i in range(n + k + 1)]
    step = (n - k + 2) / (count - 1) if count > 1 else 0.0
    out = []
    u = 0.0
    for _ in range(count - 1):
        x = y = 0.0
        for i in range(n + 1):
            if not t[i] <= u < t[i + k]:
                continue  # outside the support of this basis function
            w = _basis(t, i, k, u)
            x += w * points[i][0]
            y += w * points[i][1]
        out.append((x, y))
        u += step
    out.append(tuple(points[n]))
    return out


def _unit(p, q):
    dx, dy = q[0] - p[0], q[1] - p[1]
    d = math.hypot(dx, dy)
    return (dx / d, dy / d) if d > 0 else (0.0, 0.0)


def offset_polygon(points, d):
    """The level reader's side-lane control polygon: positive d lies left of travel."""
    def off(p, f):
        # rotation by -90 degrees: (x, y) -> (y, -x)
        return (p[0] + f[1] * d, p[1] - f[0] * d)
    n = len(points)
    out = [off(points[0], _unit(points[0], points[1]))]
    for i in range(n - 2):
        a, b, c = points[i], points[i + 1], points[i + 2]
        u, v = _unit(a, b), _unit(b, c)
        dot = max(-1.0, min(1.0, u[0] * v[0] + u[1] * v[1]))
        if math.degrees(math.acos(dot)) < 90:
            out.append(off(a, u))
        else:
            s = (u[0] + v[0], u[1] + v[1])
            out.append(off(b, s))
    out.append(off(points[-1], _unit(points[-2], points[-1])))
    return out


def polyline_length(pts):
    return sum(math.hypot(b[0] - a[0], b[1] - a[1]) for a, b in zip(pts, pts[1:]))


CONTROL_SPACING = 40.0


def control_points(path):
    """The control polygon written to the spline file: the layout's design curve resampled
    at even spacing. The reader offsets a side lane by shifting each corner one control
    point back along the path, so only closely spaced points keep the lanes parallel."""
    design = [tuple(p) for p in path["points"]]
    curve = bspline(design, path["degree"], 2000)
    out = [curve[0]]
    run = 0.0
    for a, b in zip(curve, curve[1:]):
        run += math.hypot(b[0] - a[0], b[1] - a[1])
        if run >= CONTROL_SPACING:
            out.append(b)
            run = 0.0
    if math.hypot(out[-1][0] - curve[-1][0], out[-1][1] - curve[-1][1]) < CONTROL_SPACING / 2:
        out[-1] = curve[-1]
    else:
        out.append(curve[-1])
    return [(round(x, 1), round(y, 1)) for x, y in out]


def lanes(path):
    """Sampled lines of a layout path by lane name: "" centre, "LEFT", "RIGHT"."""
    cps = control_points(path)
    res = path_resolution(path)
    out = {"": bspline(cps, path["degree"], res)}
    if path["sides"] in ("LEFT", "BOTH"):
        out["LEFT"] = bspline(offset_polygon(cps, path["distance"]), path["degree"], res)
    if path["sides"] in ("RIGHT", "BOTH"):
        out["RIGHT"] = bspline(offset_polygon(cps, -path["distance"]), path["degree"], res)
    return out


def path_resolution(path):
    # About one sample per two pixels of control polygon: an enemy steps from sample to
    # sample, so coarser sampling would make it visibly jump.
    return max(16, int(polyline_length(control_points(path)) / 2))
