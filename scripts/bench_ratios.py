#!/usr/bin/env python3
"""Reads Google Benchmark JSON output and prints, for each Family/input, the ratio of our rate to each peer's.

    bench_ratios.py [--instructions COUNTS.json] RESULTS.json...

Benchmark names are Family/impl/input, optionally followed by Google Benchmark's own suffixes
(/real_time, /iterations:N, ...). The rate is bytes_per_second, else items_per_second, else 1/real_time. Every
run of a case (its repetitions, in every file given) counts, and the median of their rates stands for the case.
A ratio above 1 means ours is faster. An impl named "ours-<variant>" (one of our own paths, measured on
its own) is no peer: it is left out of the ratios. With instruction counts (bench_instructions.py), the ratio of the peer's
instructions per unit of work to ours is printed beside: above 1, ours executes fewer. Instructions are
counted in user mode only, so a pair of which one side spends more CPU time in the kernel than in user mode
(by its counters user_us and system_us) prints "kernel" there instead. A case without a peer prints the
medians of its counters."""
import json
import statistics
import sys

SUFFIX_PREFIXES = ("real_time", "process_time", "iterations:", "repeats:", "threads:", "min_time:", "manual_time")
SECONDS_PER_UNIT = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
# The keys of a run that are not counters of the case's own.
RUN_KEYS = {"name", "family_index", "per_family_instance_index", "run_name", "run_type", "repetitions",
            "repetition_index", "threads", "iterations", "real_time", "cpu_time", "time_unit", "bytes_per_second",
            "items_per_second", "label", "error_occurred", "error_message", "aggregate_name", "aggregate_unit"}


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


def work_per_iteration(entry):
    """The units of work (bytes, items) one iteration does, as the case's rate counts them; 1 without a rate."""
    # A case's rates are per second of its real time when it measures that, else of its CPU time.
    name = entry.get("run_name", entry["name"])
    time = entry["real_time"] if "/real_time" in name or "/manual_time" in name else entry["cpu_time"]
    for key in ("bytes_per_second", "items_per_second"):
        if key in entry:
            return entry[key] * time * SECONDS_PER_UNIT[entry.get("time_unit", "ns")]
    return 1.0


def case_runs(paths):
    """Each case's runs (not aggregates, not failed), from all files."""
    runs = {}
    for path in paths:
        with open(path) as f:
            data = json.load(f)
        for entry in data.get("benchmarks", []):
            if entry.get("run_type") == "aggregate" or entry.get("error_occurred"):
                continue
            parsed = parse_name(entry.get("run_name", entry["name"]))
            if parsed and rate(entry):
                runs.setdefault(parsed, []).append(entry)
    return runs


def counter_medians(entries):
    names = sorted({key for entry in entries for key, value in entry.items()
                    if key not in RUN_KEYS and isinstance(value, (int, float))})
    return " ".join(f"{name}={statistics.median(e[name] for e in entries if name in e):.4g}" for name in names)


def kernel_bound(entries):
    """Whether the runs of a case spent more CPU time in the kernel than in user mode, by their own counters."""
    times = [(e["user_us"], e["system_us"]) for e in entries if "user_us" in e and "system_us" in e]
    return bool(times) and statistics.median(s for _, s in times) > statistics.median(u for u, _ in times)


def main(arguments):
    instructions = {}
    counted = arguments[:1] == ["--instructions"]
    if counted:
        with open(arguments[1]) as f:
            instructions = {parse_name(name): count for name, count in json.load(f).items()}
        arguments = arguments[2:]
    runs = case_runs(arguments)
    groups = {}
    for (family, impl, inp), entries in runs.items():
        groups.setdefault((family, inp), {})[impl] = entries
    header = f"{'family':<24} {'input':<28} {'peer':<18} {'ours/peer':>10}"
    print(header + (f" {'instr ours/peer':>16}" if counted else ""))
    for (family, inp), impls in sorted(groups.items()):
        ours = impls.get("ours")
        if ours is None:
            continue
        # "ours-<variant>" measures one path of our own (one validator, say), not a peer.
        peers = [p for p in impls if not p.startswith("ours")]
        if not peers:
            print(f"{family:<24} {inp:<28} {'-':<18} {'(no peer)':>10} {counter_medians(ours)}".rstrip())
        ours_rate = statistics.median(rate(e) for e in ours)
        for peer in sorted(peers):
            ratio = ours_rate / statistics.median(rate(e) for e in impls[peer])
            line = f"{family:<24} {inp:<28} {peer:<18} {ratio:>10.2f}"
            ours_count, peer_count = instructions.get((family, "ours", inp)), instructions.get((family, peer, inp))
            if counted and (kernel_bound(ours) or kernel_bound(impls[peer])):
                line += f" {'kernel':>16}"
            elif ours_count and peer_count:
                line += f" {peer_count / ours_count:>16.2f}"
            print(line)


if __name__ == "__main__":
    main(sys.argv[1:])
