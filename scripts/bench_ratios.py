#!/usr/bin/env python3
"""Prints the speed-ups of a Google Benchmark JSON report.

Every benchmark named BM_<name>_Literal that has a BM_<name>_Fast partner
gives one line "ratio <name> <literal/fast>", from the median wall-clock
times (the plain times when the run had no repetitions). The preview passes
also get a "median <name> <ms>" line for their fast run, and the fits a
"fit <name> <ms> ms <iterations> iterations <evaluations> model evaluations"
line, and the design maps a "design <name> <ms> ms <points> points ..." line.
"""
import json
import sys

UNITS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def main(path):
    with open(path, encoding="utf-8") as f:
        report = json.load(f)
    medians, plain, counters = {}, {}, {}
    for b in report.get("benchmarks", []):
        if b.get("error_occurred"):
            continue
        name = b["run_name"].split("/")[0]
        ms = b["real_time"] * UNITS[b.get("time_unit", "ns")]
        if b.get("aggregate_name") == "median":
            medians[name] = ms
            counters[name] = b
        elif b.get("run_type") == "iteration":
            plain.setdefault(name, ms)
    times = {**plain, **medians}
    for b in report.get("benchmarks", []):
        if b.get("run_type") == "iteration" and not b.get("error_occurred"):
            counters.setdefault(b["run_name"].split("/")[0], b)
    for name in sorted(times):
        if name.startswith("BM_Fit") and "fit_iterations" in counters.get(name, {}):
            c = counters[name]
            print(f"fit {name[3:]} {times[name]:.0f} ms {c['fit_iterations']:.0f} iterations "
                  f"{c['model_evaluations']:.0f} model evaluations")
    for name in sorted(times):
        if name.startswith("BM_Design") and "points" in counters.get(name, {}):
            c = counters[name]
            print(f"design {name[9:]} {times[name]:.0f} ms {c['points']:.0f} points "
                  f"{1e3 * times[name] / c['points']:.0f} us/point "
                  f"{c['evaluations_per_point']:.1f} evaluations/point bands {c['bands']:.0f}")
    for name in sorted(times):
        if name.startswith("BM_Preview") and name.endswith("_Fast"):
            print(f"median {name[3:-5]} {times[name]:.2f} ms")
    for name in sorted(times):
        if not name.endswith("_Literal"):
            continue
        base = name[: -len("_Literal")]
        fast = times.get(base + "_Fast")
        if fast:
            print(f"ratio {base[3:]} {times[name] / fast:.2f}")


if __name__ == "__main__":
    main(sys.argv[1])
