#!/usr/bin/env python3
"""Turns the timings gathered by bench/run into the Markdown of bench/results.md."""

import argparse
import datetime
import json
import os
import statistics

NAMES = {
    "quillet-null": "quillet -r, stdout to /dev/null",
    "quillet-file": "quillet -r, stdout to a file",
    "floor": "I/O floor (read, write temp, rename)",
    "sed-marker": "GNU sed -i, header marker only",
    "sed": "GNU sed -i, marker + flags + CR LF",
    "reuse": "reuse annotate",
}


def read_rows(path):
    rows = {}
    if not os.path.exists(path):
        return rows
    with open(path) as f:
        for line in f:
            parts = line.rstrip("\n").split("\t")
            if len(parts) < 7:
                continue
            phase, name, _run = parts[:3]
            wall, user, sys_, rss = (float(x) for x in parts[3:7])
            rows.setdefault((phase, name), []).append((wall, user, sys_, rss))
    return rows


def medians(samples):
    wall = statistics.median(s[0] for s in samples)
    user = statistics.median(s[1] for s in samples)
    sys_ = statistics.median(s[2] for s in samples)
    cpu = statistics.median(s[1] + s[2] for s in samples)
    rss = statistics.median(s[3] for s in samples) / 1024.0
    return {"wall": wall, "user": user, "sys": sys_, "cpu": cpu, "rss": rss, "n": len(samples)}


def ratio(a, b):
    return a / b if b > 0 else float("nan")


def read_tsv(path):
    if not os.path.exists(path):
        return []
    with open(path) as f:
        return [line.rstrip("\n").split("\t") for line in f if line.strip()]


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--work", required=True)
    p.add_argument("--machine", required=True)
    p.add_argument("--label", required=True)
    p.add_argument("--main", nargs=2, type=int, required=True)
    p.add_argument("--runs", type=int, required=True)
    p.add_argument("--revision", default="unknown")
    a = p.parse_args()
    rows = read_rows(os.path.join(a.work, "raw.tsv"))
    out = []
    targets = []  # (target, measured, met)

    count, size = a.main
    out.append("# Quillet benchmark results\n")
    out.append("- Machine: %s" % a.machine)
    out.append("- Date: %s; revision %s" % (datetime.date.today().isoformat(), a.revision))
    out.append("- Tree: %d C sources, %.1f MB (%s); medians of %d interleaved runs, "
               "each from a fresh copy of the tree with a warm cache\n" % (
                   count, size / 1e6, a.label, a.runs))

    main = {name: medians(s) for (phase, name), s in rows.items() if phase == "main"}
    order = [n for n in NAMES if n in main]
    fl = main.get("floor")
    out.append("## Recursive run\n")
    out.append("| contender | wall s | user s | sys s | CPU s | peak RSS MB | wall / floor | CPU / floor |")
    out.append("|---|---:|---:|---:|---:|---:|---:|---:|")
    for n in order:
        m = main[n]
        out.append("| %s | %.3f | %.3f | %.3f | %.3f | %.1f | %.2f | %.2f |" % (
            NAMES[n], m["wall"], m["user"], m["sys"], m["cpu"], m["rss"],
            ratio(m["wall"], fl["wall"]), ratio(m["cpu"], fl["cpu"])))
    out.append("")
    if fl and "quillet-null" in main:
        q = main["quillet-null"]
        w, c = ratio(q["wall"], fl["wall"]), ratio(q["cpu"], fl["cpu"])
        targets.append(("recursive run, wall <= 1.25 x floor", "%.2f x" % w, w <= 1.25))
        targets.append(("recursive run, CPU <= 1.25 x floor", "%.2f x" % c, c <= 1.25))
        if "quillet-file" in main:
            w2 = ratio(main["quillet-file"]["wall"], fl["wall"])
            targets.append(("recursive run to a file, wall <= 1.25 x floor", "%.2f x" % w2, w2 <= 1.25))
        for n, what in (("sed-marker", "marker only"), ("sed", "marker + flags + CR LF")):
            if n in main:
                s = ratio(q["wall"], main[n]["wall"])
                targets.append(("wall <= 0.9 x sed -i (%s)" % what, "%.2f x (sed is %.2f x floor)" % (
                    s, ratio(main[n]["wall"], fl["wall"])), s <= 0.9))
        if "reuse" in main:
            r = ratio(q["wall"], main["reuse"]["wall"])
            targets.append(("far ahead of reuse annotate", "%.3f x reuse" % r, r <= 0.2))
        else:
            targets.append(("far ahead of reuse annotate", "not measured (reuse not installed)", None))

    half_info = read_tsv(os.path.join(a.work, "half.txt"))
    half = {name: medians(s) for (phase, name), s in rows.items() if phase == "half"}
    if half_info and half:
        hcount, hsize = int(half_info[0][1]), int(half_info[0][2])
        out.append("## Growth: %d files (%.1f MB) against %d files (%.1f MB)\n" % (
            count, size / 1e6, hcount, hsize / 1e6))
        out.append("| contender | wall s, %d | wall s, %d | wall ratio | CPU ratio |" % (count, hcount))
        out.append("|---|---:|---:|---:|---:|")
        for n in ("quillet-null", "floor"):
            if n in half and n in main:
                out.append("| %s | %.3f | %.3f | %.2f | %.2f |" % (
                    NAMES[n], main[n]["wall"], half[n]["wall"], ratio(main[n]["wall"], half[n]["wall"]),
                    ratio(main[n]["cpu"], half[n]["cpu"])))
        out.append("\nBytes ratio of the two trees: %.2f.\n" % ratio(size, hsize))
        if "quillet-null" in half and "quillet-null" in main:
            g = ratio(main["quillet-null"]["wall"], half["quillet-null"]["wall"])
            targets.append(("%d files <= 2.2 x time of %d files" % (count, hcount), "%.2f x" % g, g <= 2.2))

    singles = read_tsv(os.path.join(a.work, "single.txt"))
    if singles:
        out.append("## One large input\n")
        out.append("| input | size MB | contender | wall s | CPU s | peak RSS MB | RSS / size |")
        out.append("|---|---:|---|---:|---:|---:|---:|")
        for kind, nbytes in singles:
            nbytes = int(nbytes)
            what = "one file of many lines (-f)" if kind == "big" else "one line, no line end (-f)"
            for n in ("quillet-null", "floor"):
                if (kind, n) not in rows:
                    continue
                m = medians(rows[(kind, n)])
                out.append("| %s | %.1f | %s | %.3f | %.3f | %.1f | %.3f |" % (
                    what, nbytes / 1048576, "quillet" if n != "floor" else "floor", m["wall"],
                    m["cpu"], m["rss"], m["rss"] * 1048576 / nbytes))
                if n == "quillet-null" and kind == "big":
                    targets.append(("%.0f MB file, peak RSS < 8 MB" % (nbytes / 1048576),
                                    "%.1f MB" % m["rss"], m["rss"] < 8))
                if n == "quillet-null" and kind == "line":
                    r = m["rss"] * 1048576 / nbytes
                    targets.append(("%.0f MB single line, peak RSS < 3 x size" % (nbytes / 1048576),
                                    "%.1f MB = %.2f x" % (m["rss"], r), r < 3))
        out.append("")

    cg = read_tsv(os.path.join(a.work, "callgrind.tsv"))
    if cg:
        out.append("## Instructions (valgrind --tool=callgrind, one run)\n")
        out.append("| program | files | input bytes | instructions | per input byte |")
        out.append("|---|---:|---:|---:|---:|")
        for name, files, nbytes, ir in cg:
            ir_n = int(ir) if ir.isdigit() else 0
            out.append("| %s | %s | %s | %s | %.2f |" % (name, files, nbytes, f"{ir_n:,}",
                                                        ratio(ir_n, int(nbytes))))
        out.append("")

    micro_path = os.path.join(a.work, "micro.json")
    if os.path.exists(micro_path) and os.path.getsize(micro_path) > 0:
        with open(micro_path) as f:
            bench = json.load(f)["benchmarks"]
        out.append("## Micro-benchmarks (Google Benchmark)\n")
        out.append("| benchmark | CPU ns / iteration | MB/s |")
        out.append("|---|---:|---:|")
        cpu = {}
        for b in bench:
            cpu[b["name"]] = b["cpu_time"]
            out.append("| %s | %.1f | %.0f |" % (b["name"], b["cpu_time"],
                                                 b.get("bytes_per_second", 0) / 1e6))
        out.append("")
        if "BM_CopyLine" in cpu and "BM_TraiteLigne_NoDollar" in cpu:
            r = ratio(cpu["BM_TraiteLigne_NoDollar"], cpu["BM_CopyLine"])
            targets.append(('a line without "$" costs no more than copying it', "%.2f x the copy" % r,
                            r <= 1.0))

    if targets:
        out.append("## Targets\n")
        out.append("| target | measured | met |")
        out.append("|---|---|---|")
        for t, m, ok in targets:
            out.append("| %s | %s | %s |" % (t, m, "-" if ok is None else ("yes" if ok else "**no**")))
        out.append("")

    notes_path = os.path.join(a.work, "notes.txt")
    notes = open(notes_path).read().split("\n") if os.path.exists(notes_path) else []
    notes = [n for n in notes if n.strip()]
    notes.append("Both sed runs are one sed process over the whole list (xargs -s at the "
                 "system's limit), the header read with `r` and the marker line deleted. "
                 "The full one also replaces every flag (one fixed file name for $FILE_NAME$: "
                 "one process cannot know each file's name) and turns line ends to CR LF, so "
                 "its output is Quillet's.")
    notes.append("All processes are timed with wait4 (bench/rusage.cpp): wall, user and sys "
                 "seconds and the peak RSS of the largest process.")
    out.append("## Notes\n")
    out.extend("- " + n for n in notes)
    print("\n".join(out))


if __name__ == "__main__":
    main()
