#!/usr/bin/env python3
"""Reads Google Benchmark JSON output and prints, for each Family/input, the ratio of our rate to each peer's.

Benchmark names are Family/impl/input, optionally followed by Google Benchmark's own suffixes
(/real_time, /iterations:N, ...). The rate is bytes_per_second, else items_per_second, else 1/real_time.
With repetitions, the median of a case's runs stands for it. A ratio above 1 means ours is faster."""
import json
import sys

SUFFIX_PREFIXES = ("real_time", "process_time", "iterations:", "repeats:", "threads:", "min_time:", "manual_time")


def parse_name(name):
    parts = name.split("/")
    while len(parts) > 3 and parts[-1].startswith(SUFFIX_PREFIXES):
        parts.pop()
    if len(parts) < 2:
        return None
    family, impl = parts[0], parts[1]
    rest = "/".join(parts[2:]) or "-"
    return family, impl, rest


def rate(entry):
    for key in ("bytes_per_second", "items_per_second"):
        if key in entry:
            return entry[key]
    t = entry.get("real_time")
    return 1.0 / t if t else None


def main(path):
    with open(path) as f:
        data = json.load(f)
    # With repetitions, the median of the runs stands for the case; otherwise its one run does. An aggregate's
    # name carries its kind ("..._median"); its run_name is the case's own name, as its runs have it.
    rates = {}
    medians = {}
    for entry in data.get("benchmarks", []):
        aggregate = entry.get("aggregate_name") if entry.get("run_type") == "aggregate" else None
        if aggregate not in (None, "median"):
            continue
        parsed = parse_name(entry.get("run_name", entry["name"]))
        r = rate(entry)
        if parsed and r:
            (medians if aggregate else rates)[parsed] = r
    rates.update(medians)
    groups = {}
    for (family, impl, inp), r in rates.items():
        groups.setdefault((family, inp), {})[impl] = r
    print(f"{'family':<24} {'input':<28} {'peer':<12} {'ours/peer':>10}")
    for (family, inp), impls in sorted(groups.items()):
        ours = impls.get("ours")
        if ours is None:
            continue
        peers = [p for p in impls if p != "ours"]
        if not peers:
            print(f"{family:<24} {inp:<28} {'-':<12} {'(no peer)':>10}")
        for peer in sorted(peers):
            print(f"{family:<24} {inp:<28} {peer:<12} {ours / impls[peer]:>10.2f}")


if __name__ == "__main__":
    main(sys.argv[1])
