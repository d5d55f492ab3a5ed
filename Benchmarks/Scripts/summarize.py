#!/usr/bin/env python3
"""Turns VeskBenchmarks JSON output (--benchmark_out) into the Markdown tables of Benchmarks/README.md.

Takes one file or several (runs of different filters); a benchmark in more than one keeps the last.

Takes the median aggregate when the run had repetitions, else the single run. Per-operation figures
come from the benchmarks' own counters (ns_per_op, ns_per_producer, ...), ratios from theirs (xTMap,
xStdMap, xResolve).
"""
import json
import re
import sys
from collections import OrderedDict

SIZES = [1000, 10000, 100000, 1000000]


def load(path):
    with open(path) as file:
        data = json.load(file)
    runs = OrderedDict()
    for bench in data["benchmarks"]:
        if bench.get("run_type") == "aggregate" and bench.get("aggregate_name") != "median":
            continue
        name = re.sub(r"/(iterations:\d+|min_time:[0-9.]+)", "", bench.get("run_name", bench["name"]))
        if "error_occurred" in bench and bench["error_occurred"]:
            runs[name] = {"error": bench.get("error_message", "error")}
            continue
        runs[name] = bench
    return data.get("context", {}), runs


def size_label(size):
    return {1000: "1K", 10000: "10K", 100000: "100K", 1000000: "1M"}.get(size, str(size))


def number(value):
    if value >= 100:
        return f"{value:,.0f}"
    if value >= 10:
        return f"{value:.1f}"
    return f"{value:.2f}"


def cell(run, figure, ratios):
    if run is None:
        return "not run"
    if "error" in run:
        return "skipped"
    text = number(run[figure])
    shown = [f"{key} {run[key]:.2f}" for key in ratios if key in run]
    return text + (" (" + ", ".join(shown) + ")" if shown else "")


def size_table(runs, families, figure, ratios, title):
    lines = [f"| {title} | " + " | ".join(size_label(size) for size in SIZES) + " |",
             "|---|" + "---|" * len(SIZES)]
    for family in families:
        row = [cell(runs.get(f"{family}/{size}"), figure, ratios) for size in SIZES]
        lines.append(f"| `{family}` | " + " | ".join(row) + " |")
    return "\n".join(lines)


def args_table(runs, family, second, values, figure, ratios, title):
    lines = [f"| {title} | " + " | ".join(size_label(size) for size in SIZES) + " |",
             "|---|" + "---|" * len(SIZES)]
    for value in values:
        row = [cell(runs.get(f"{family}/size:{size}/{second}:{value}"), figure, ratios) for size in SIZES]
        lines.append(f"| `{family}` {second} {value} | " + " | ".join(row) + " |")
    return "\n".join(lines)


def main():
    context, runs = {}, OrderedDict()
    for path in sys.argv[1:]:
        file_context, file_runs = load(path)
        context = context or file_context
        runs.update(file_runs)
    print(f"Run on {context.get('host_name', '?')}, {context.get('num_cpus', '?')} CPUs, "
          f"load average {', '.join(f'{x:.1f}' for x in context.get('load_avg', []))}, {context.get('date', '')}.\n")
    print("Lookups and producer operations: CPU ns per operation (ratio to the bare maps of the same size).\n")
    print(size_table(runs, ["BM_BaselineTMapFindGet", "BM_BaselineStdUnorderedMapFindGet", "BM_ResolveExplicitHit",
                            "BM_ResolveSavedHit", "BM_ResolveMiss", "BM_ResolveComponent", "BM_IsCurrentBinding",
                            "BM_Publish", "BM_PublishWithdraw", "BM_BindRunningProducerAgain"],
                     "ns_per_op", ["xTMap", "xStdMap"], "Benchmark"))
    print("\nOperations whose cost must not grow with the registry: CPU ns per operation (ratio to the TMap baseline).\n")
    print(size_table(runs, ["BM_FindIdentity", "BM_BindFreshObject", "BM_BindRecreatedObject", "BM_ActorEndPlay"],
                     "ns_per_op", ["xTMap"], "Benchmark"))
    print("\nLevels: CPU ns per producer.\n")
    print(size_table(runs, ["BM_LoadLevel", "BM_UnloadLevel", "BM_UnloadUnboundLevel"], "ns_per_producer", [], "Benchmark"))
    print("\nTicks with quiet observations: CPU ns per observation (ratio to one Resolve of the same identities, and to the TMap baseline); with none, ns per tick.\n")
    lines = args_table(runs, "BM_TickQuietObservations", "observations", [1000, 10000], "ns_per_observation", ["xResolve", "xTMap"], "Benchmark").split("\n")
    empty = [cell(runs.get(f"BM_TickQuietObservations/size:{size}/observations:0"), "cpu_time", []) for size in SIZES]
    lines.insert(2, "| `BM_TickQuietObservations` observations 0 (ns per tick) | " + " | ".join(empty) + " |")
    print("\n".join(lines))
    print("\nOne observation's refresh, through a tick with one observation: CPU ns (ratio to one Resolve of that identity).\n")
    print(size_table(runs, ["BM_ObservationRefresh"], "ns_per_op", ["xResolve"], "Benchmark"))
    print("\nA change and its notification pass: CPU ns per change (ratio to one Resolve per observation).\n")
    print(args_table(runs, "BM_NotifyAfterChange", "observations", [1, 100, 10000], "ns_per_change", ["xResolve"], "Benchmark"))


if __name__ == "__main__":
    main()
