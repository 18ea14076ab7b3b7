#!/usr/bin/env python3
"""Turns the results of bench/run into one Markdown table: each figure, the
floor or baseline it is measured against in the same run, their ratio, the
goal and whether it is met; above it, the machine and the data.

    report.py BENCH_JSON PEAK_RSS_OUTPUT COMPILE_TIMES
"""
import json
import sys

UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}

# Per-code-point queries put to the library and to an unordered_map.
QUERIES = ["radixBySource", "strokeBySource", "radixByPref", "strokeByPref",
           "totalStrokes", "getVantuCID", "getkHanYuData", "getNumVals"]
QUERY_GOAL = 0.7
COMPILE_GOAL_S = 5.0


def load_runs(path):
    """The fastest repetition of each benchmark, its only run otherwise.

    On a shared machine other work only ever adds time, so the fastest of
    several repetitions, interleaved with those of the other benchmarks, is
    the best estimate of what a quiet machine gives for the figure and its
    baseline alike."""
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    runs = {}
    for b in data["benchmarks"]:
        if "error_message" in b:
            sys.exit(f"report.py: {b['name']} failed: {b['error_message']}")
        if b.get("run_type") == "aggregate":
            continue
        name = b.get("run_name", b["name"])
        clock = "real_time" if name.endswith("/real_time") else "cpu_time"
        if name not in runs or b[clock] < runs[name][clock]:
            runs[name] = b
    return data.get("context", {}), runs


def time_ms(runs, name):
    """Wall time for a benchmark that asked for it, CPU time otherwise."""
    if name + "/real_time" in runs:
        b = runs[name + "/real_time"]
        return b["real_time"] * UNIT_NS[b["time_unit"]] / 1e6
    b = runs[name]
    return b["cpu_time"] * UNIT_NS[b["time_unit"]] / 1e6


def per_item_ns(runs, name):
    return runs[name]["per_item"] * 1e9


def load_fields(path):
    """Lines of key=value words, keyed by the first word's value."""
    rows = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            words = [w.split("=", 1) for w in line.split()]
            if words:
                rows[words[0][1]] = dict(words[1:])
    return rows


def cpu_model():
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown CPU"


class Table:
    def __init__(self):
        self.rows = []

    def add(self, figure, value, baseline, ratio, goal=None, ok=None):
        """A ratio of None prints as a dash; so do a goal and result of None."""
        result = "—" if ok is None else ("met" if ok else "**missed**")
        self.rows.append((figure, value, baseline, ratio_text(ratio),
                          goal or "—", result))

    def ratio(self, figure, value, base, unit, base_what, goal=None):
        r = value / base
        self.add(figure, quantity(value, unit), f"{quantity(base, unit)} ({base_what})", r,
                 None if goal is None else f"≤ {goal}x", None if goal is None else r <= goal)

    def markdown(self):
        lines = ["| Figure | Value | Baseline | Ratio | Goal | Result |",
                 "|---|---|---|---|---|---|"]
        lines += ["| " + " | ".join(r) + " |" for r in self.rows]
        return "\n".join(lines)


def ratio_text(r):
    if r is None:
        return "—"
    return f"{r:.{2 if r < 10 else 1 if r < 100 else 0}f}x"


def quantity(x, unit):
    """Three significant digits or so; a thousand ns or more in µs."""
    if unit == "ns" and x >= 1000:
        x, unit = x / 1000, "µs"
    return f"{x:.{2 if x < 10 else 1}f} {unit}"


def loads(t, runs):
    text = time_ms(runs, "BM_readUnihan")
    t.ratio("readUnihan, full file", text, time_ms(runs, "BM_fgetsFloor"), "ms",
            "bare fgets loop", 1.5)
    memcpy = time_ms(runs, "BM_memcpyFloor")
    t.ratio("readUnihanBinaryBuf, image in memory", time_ms(runs, "BM_readUnihanBinaryBuf"),
            memcpy, "ms", "memcpy into a warm buffer", 10)
    t.ratio("readUnihanBinary, image file", time_ms(runs, "BM_readUnihanBinary"), memcpy, "ms",
            "memcpy into a warm buffer")
    for mode, what in ((1, "image"), (0, "text dump")):
        t.ratio(f"write mode {mode} ({what})", time_ms(runs, f"BM_write/{mode}"),
                time_ms(runs, f"BM_fwriteBaseline/{mode}"), "ms", "fwrite of the bytes")


def queries(t, runs):
    for q in ("radix", "stroke"):
        t.ratio(f"{q}(cp, 0), preference walk", per_item_ns(runs, f"BM_query/{q}ByPref"),
                per_item_ns(runs, f"BM_query/{q}BySource"), "ns", f"{q}(cp, kRSUnicode, 0)", 1.2)
    costs = {}
    for q in QUERIES:
        costs[q] = (per_item_ns(runs, "BM_query/" + q), per_item_ns(runs, "BM_map/" + q))
        t.ratio(f"{q}, per code point", *costs[q], "ns", "unordered_map", QUERY_GOAL)
    slowest = max(costs, key=lambda q: costs[q][0] / costs[q][1])
    t.ratio(f"slowest of these: {slowest}", *costs[slowest], "ns", "unordered_map", QUERY_GOAL)
    t.ratio("getPronounceData(out, cp, kMandarin), reused vector",
            per_item_ns(runs, "BM_query/getPronounceData"),
            per_item_ns(runs, "BM_map/getPronounceData"), "ns",
            "copy out of unordered_map<int, vector<string>>", 1.0)
    cid = per_item_ns(runs, "BM_query/getUTF32ForCID")
    t.ratio("getUTF32ForCID, per CID", cid, per_item_ns(runs, "BM_array/getUTF32ForCID"), "ns",
            "bare array")
    t.ratio("getUTF32ForCID, per CID", cid, per_item_ns(runs, "BM_call/getUTF32ForCID"), "ns",
            "array read in a noinline call")


def memory(t, rss, context):
    def added_mb(mode):
        r = rss[mode]
        return (int(r["hwm_kb"]) - int(r["before_rss_kb"])) / 1024

    image_mb = int(context["image_bytes"]) / 2**20
    added = added_mb("image")
    t.add("peak RSS added by one image load", f"+{added:.1f} MB",
          f"{image_mb:.1f} MB (image size)", added / image_mb, "≤ 3x", added / image_mb <= 3)
    t.add("peak RSS added by one text load", f"+{added_mb('text'):.1f} MB", "", None)


def processes(t, runs):
    show, floor = "BM_process/unihanShow", "BM_process/readImage"
    t.ratio("`unihan show 漢`, start to exit", time_ms(runs, show), time_ms(runs, floor), "ms",
            "process that reads the image", 3)

    def cpu(name):
        return runs[name + "/real_time"]["process_cpu_ms"]

    t.ratio("`unihan show 漢`, CPU time of the process", cpu(show), cpu(floor), "ms",
            "process that reads the image")
    radical = "BM_process/unihanRadical85"
    t.ratio("`unihan radical 85`, start to exit (saved index)", time_ms(runs, radical),
            time_ms(runs, floor), "ms", "process that reads the image", 3)


def lookups(t, runs, compile_times):
    for kind in ("hit", "miss"):
        t.ratio(f"totalStrokes {kind}, 70,000 sorted one-code-point blocks",
                per_item_ns(runs, f"BM_lookup/sorted_{kind}"),
                per_item_ns(runs, f"BM_lookup/real_{kind}"), "ns", f"real data, {kind}", 2)
    for kind in ("hit", "miss"):
        t.ratio(f"totalStrokes {kind}, 32,767 nested blocks",
                per_item_ns(runs, f"BM_lookup/nested_{kind}"),
                per_item_ns(runs, f"BM_segmentFloor/nested_{kind}"), "ns",
                "binary search over the segments", 2)
    nested = compile_times["nested"]["seconds"]
    bundled = compile_times["bundled"]["seconds"]
    goal = f"≤ {COMPILE_GOAL_S:.0f} s"
    if nested in ("timeout", "failed") or bundled in ("timeout", "failed"):
        limit = compile_times["nested"].get("limit", "?")
        t.add("`unihan compile` of the 32,767-block image",
              f"{nested} (limit {limit} s)" if nested == "timeout" else nested,
              f"{bundled} s (compile of the bundled image)", None, goal, False)
        return
    nested, bundled = float(nested), float(bundled)
    t.add("`unihan compile` of the 32,767-block image", f"{nested:.2f} s",
          f"{bundled:.2f} s (compile of the bundled image)", nested / bundled, goal,
          nested <= COMPILE_GOAL_S)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    context, runs = load_runs(sys.argv[1])
    rss = load_fields(sys.argv[2])
    compile_times = load_fields(sys.argv[3])
    t = Table()
    loads(t, runs)
    queries(t, runs)
    memory(t, rss, context)
    processes(t, runs)
    lookups(t, runs, compile_times)
    load = ", ".join(f"{x:.2f}" for x in context.get("load_avg", []))
    print(f"Machine: {cpu_model()}, {context.get('num_cpus')} cores at "
          f"{context.get('mhz_per_cpu')} MHz; load average at start {load}.  ")
    print(f"Data: {context.get('code_points_in_text')} code points, "
          f"{context.get('cids')} CIDs, a {context.get('image_bytes')}-byte image.")
    print()
    print(t.markdown())


if __name__ == "__main__":
    main()
