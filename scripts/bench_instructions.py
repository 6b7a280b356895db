#!/usr/bin/env python3
"""Counts, under callgrind, the instructions one unit of work of a benchmark case executes, for every case that
has both ours and a peer for the same Family/input (see bench_ratios.py), and writes them as JSON.

    bench_instructions.py [--wall RESULTS.json] BINARY OUTPUT.json [FILTER]

Only the measured region counts: callgrind dumps its counters as the benchmark loop starts and ends and as the
case pauses and resumes its timing, and the parts between a start (or resume) and an end (or pause) of the
case's last run are summed. The case runs three times, so that the last run comes after the one-time work
(caches filled, connections made) that a long wall-time run spreads over many iterations. Every thread of the process counts (a case's helper threads are its work too); a
server the case starts as a program of its own does not, since callgrind does not follow a started program.
The unit is what the case's rate counts (a byte, an item), else one iteration. This machine has no hardware
counters, and instruction counts do not follow the load of other work as wall times do. Given the wall-time
results, a pair of which one side spends its CPU time mostly in the kernel (bench_ratios.kernel_bound) is not
counted: callgrind sees user mode only."""
import glob
import json
import os
import re
import subprocess
import sys
import tempfile

from bench_ratios import case_runs, kernel_bound, parse_name, work_per_iteration

ON_TRIGGERS = ("StartKeepRunning", "ResumeTiming")
OFF_TRIGGERS = ("FinishKeepRunning", "PauseTiming")
# Long enough for a few iterations of the smaller cases at callgrind's pace.
MIN_TIME = "0.2"


def escaped(name):
    """The name as a regular expression that matches it alone."""
    return "".join("\\" + c if c in ".^$|()[]{}*+?\\" else c for c in name)


def compared_cases(binary, name_filter, wall_runs):
    listed = subprocess.run([binary, "--benchmark_list_tests=true", f"--benchmark_filter={name_filter}"],
                            capture_output=True, text=True, check=True).stdout.split()
    impls = {}
    for name in listed:
        parsed = parse_name(name)
        if parsed:
            impls.setdefault((parsed[0], parsed[2]), []).append(name)
    cases = []
    for (family, inp), names in impls.items():
        kinds = {parse_name(name)[1] for name in names}
        if any(kernel_bound(wall_runs.get((family, kind, inp), [])) for kind in kinds):
            continue
        if "ours" in kinds and len(kinds) > 1:
            cases.extend(names)
    return cases


def dump_parts(folder, pid):
    """The dumps of one process in order, as (trigger, instructions)."""
    parts = []
    for path in glob.glob(os.path.join(folder, f"callgrind.{pid}*")):
        with open(path, errors="replace") as f:
            text = f.read()
        part = re.search(r"^part: (\d+)", text, re.M)
        trigger = re.search(r"^desc: Trigger: (.*)$", text, re.M)
        totals = re.search(r"^(?:totals|summary): (\d+)", text, re.M)
        parts.append((int(part.group(1)) if part else 0, trigger.group(1) if trigger else "", int(totals.group(1)) if totals else 0))
    return [(trigger, count) for _, trigger, count in sorted(parts)]


def measured_instructions(parts):
    """The instructions of the last run's measured parts."""
    runs = []
    measuring = False
    for trigger, count in parts:
        if any(name in trigger for name in OFF_TRIGGERS):
            if measuring and runs:
                runs[-1] += count
            measuring = False
        elif any(name in trigger for name in ON_TRIGGERS):
            if "StartKeepRunning" in trigger:
                runs.append(0)
            measuring = True
    return runs[-1] if runs else None


def count_case(binary, name):
    with tempfile.TemporaryDirectory(prefix="lumet-callgrind-") as folder:
        result = os.path.join(folder, "result.json")
        command = ["valgrind", "--tool=callgrind", f"--callgrind-out-file={folder}/callgrind.%p",
                   "--dump-instr=no", "--dump-line=no",
                   "--dump-after=benchmark::State::StartKeepRunning*", "--dump-after=benchmark::State::ResumeTiming*",
                   "--dump-before=benchmark::State::PauseTiming*", "--dump-before=benchmark::State::FinishKeepRunning*",
                   binary, f"--benchmark_filter=^{escaped(name)}$", f"--benchmark_min_time={MIN_TIME}", "--benchmark_repetitions=3",
                   f"--benchmark_out={result}", "--benchmark_out_format=json"]
        process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        _, errors = process.communicate()
        if process.returncode != 0:
            print(f"  {name}: callgrind run failed\n{errors[-2000:]}", file=sys.stderr)
            return None
        with open(result) as f:
            runs = [entry for entry in json.load(f)["benchmarks"] if entry.get("run_type") != "aggregate"]
        if not runs or runs[-1].get("error_occurred"):
            print(f"  {name}: the case failed under callgrind", file=sys.stderr)
            return None
        instructions = measured_instructions(dump_parts(folder, process.pid))
        if not instructions:
            print(f"  {name}: no measured region found in callgrind's dumps", file=sys.stderr)
            return None
        entry = runs[-1]
        return instructions / entry["iterations"] / work_per_iteration(entry)


def main(arguments):
    wall_runs = {}
    if arguments[:1] == ["--wall"]:
        wall_runs = case_runs([arguments[1]])
        arguments = arguments[2:]
    binary, output, name_filter = (arguments + ["."])[:3]
    counts = {}
    for name in compared_cases(binary, name_filter, wall_runs):
        per_unit = count_case(binary, name)
        if per_unit is not None:
            counts[name] = per_unit
            print(f"  {name}: {per_unit:.6g} instructions per unit", file=sys.stderr)
    with open(output, "w") as f:
        json.dump(counts, f, indent=1)


if __name__ == "__main__":
    main(sys.argv[1:])
