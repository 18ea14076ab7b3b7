#!/usr/bin/env python3
"""Turns the benchmark's JSON output and peak_rss's lines into one markdown
table: each figure, its baseline, their ratio, the target and whether it is
met.

    report.py BENCH_JSON PEAK_RSS_OUTPUT
"""
import json
import sys

UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}

QUERIES = ["radixBySource", "strokeBySource", "radixByPref", "strokeByPref",
           "totalStrokes", "getVantuCID", "getNumVals", "getkHanYuData",
           "getPronounceData"]


def load_runs(path):
    """Median of each benchmark when repeated, its only run otherwise."""
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    runs = {}
    for b in data["benchmarks"]:
        name = b.get("run_name", b["name"])
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                runs[name] = b
        elif name not in runs:
            runs[name] = b
    return data.get("context", {}), runs


def total_ms(runs, name):
    b = runs[name + "/real_time"]
    return b["real_time"] * UNIT_NS[b["time_unit"]] / 1e6


def per_item_ns(runs, name):
    return runs[name]["per_item"] * 1e9


def load_rss(path):
    rows = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = dict(kv.split("=", 1) for kv in line.split())
            if "mode" in fields:
                rows[fields["mode"]] = {k: v for k, v in fields.items() if k != "mode"}
    return rows


def verdict(ok):
    return "met" if ok else "**missed**"


def table(runs, rss):
    rows = []

    def row(figure, value, base, ratio, target, ok):
        rows.append((figure, value, base, ratio, target, "—" if ok is None else verdict(ok)))

    def within_twice(figure, value, base, unit, base_what, digits):
        """A row whose target is at most twice its baseline."""
        row(figure, f"{value:.{digits}f} {unit}", f"{base:.{digits}f} {unit} ({base_what})",
            f"{value / base:.2f}x", "≤ 2x baseline", value <= 2 * base)

    text = total_ms(runs, "BM_readUnihan")
    within_twice("readUnihan, whole file", text, total_ms(runs, "BM_lineLoopBaseline"), "ms",
                 "fgets+strstr loop", 1)
    buf = total_ms(runs, "BM_readUnihanBinaryBuf")
    row("readUnihanBinaryBuf, image in memory", f"{buf:.2f} ms", f"{text:.1f} ms (readUnihan)",
        f"{text / buf:.1f}x faster", "≥ 10x faster", text >= 10 * buf)
    fil = total_ms(runs, "BM_readUnihanBinary")
    row("readUnihanBinary, image file", f"{fil:.2f} ms", f"{text:.1f} ms (readUnihan)",
        f"{text / fil:.1f}x faster", "—", None)
    for mode, what in ((1, "image"), (0, "text dump")):
        w = total_ms(runs, f"BM_write/{mode}")
        f = total_ms(runs, f"BM_fwriteBaseline/{mode}")
        row(f"write mode {mode} ({what})", f"{w:.2f} ms", f"{f:.2f} ms (fwrite of the bytes)",
            f"{w / f:.2f}x", "—", None)
    for q in QUERIES:
        lib = per_item_ns(runs, "BM_query/" + q)
        base = per_item_ns(runs, "BM_map/" + q)
        row(f"{q}, per code point", f"{lib:.2f} ns", f"{base:.2f} ns (unordered_map)",
            f"{lib / base:.2f}", "ratio ≤ 1.0", lib <= base)
    lib = per_item_ns(runs, "BM_query/getUTF32ForCID")
    within_twice("getUTF32ForCID, per CID", lib, per_item_ns(runs, "BM_array/getUTF32ForCID"), "ns",
                 "bare array", 2)
    call = per_item_ns(runs, "BM_call/getUTF32ForCID")
    row("getUTF32ForCID, per CID", f"{lib:.2f} ns", f"{call:.2f} ns (array read in a noinline call)",
        f"{lib / call:.2f}x", "— (floor of any out-of-line call)", None)
    for mode in ("text", "image"):
        r = rss[mode]
        peak = int(r["hwm_kb"]) / 1024
        before = int(r["before_rss_kb"]) / 1024
        row(f"peak RSS, load by {mode} (VmHWM)", f"{peak:.1f} MB",
            f"{before:.1f} MB (VmRSS before load)", f"+{peak - before:.1f} MB",
            "≤ 40 MB", peak <= 40)
    return rows


def main():
    context, runs = load_runs(sys.argv[1])
    rss = load_rss(sys.argv[2])
    print(f"code points: {context.get('code_points_in_text')} in the text, "
          f"{context.get('code_points_in_store')} in the store; "
          f"CIDs: {context.get('cids')}; image: {context.get('image_bytes')} bytes")
    print()
    print("| Figure | Value | Baseline | Ratio | Target | Result |")
    print("|---|---|---|---|---|---|")
    for r in table(runs, rss):
        print("| " + " | ".join(r) + " |")


if __name__ == "__main__":
    main()
