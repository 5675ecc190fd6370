#!/usr/bin/env python3
"""Generates the inputs of the benchmark, deterministically from a seed.

  gen_tree.py OUT [--files N] [--seed S]
      OUT/tree/...            N C sources (.c and .h, 2 to 40 KB) in nested directories,
                              each with a $ADD_HEADER$ line near the top, a few flags and
                              shell-like lines full of "$"; a few other files to be skipped
      OUT/Project_desc.cfg    the description: 15-line template and a licence
      OUT/stamp.sed           the same rewrite for GNU sed (header via `r`, flags, CR LF)
      OUT/marker.sed          the header marker alone for GNU sed (header via `r`)
      OUT/header.txt          the rendered header read by stamp.sed
  gen_tree.py OUT --desc-only             only the last three files
  gen_tree.py OUT --single-file MB        OUT/big.c, one source of MB megabytes
  gen_tree.py OUT --single-line MB        OUT/line.c, one line of MB megabytes

Only the standard library is used, so it runs on any python3.
"""

import argparse
import datetime
import os
import random

PROJECT = {
    "$PROJECT_NAME$": "Bench Project",
    "$PROJECT_BRIEF$": "A generated tree to time the stamping of sources",
    "$PROJECT_VER$": "2.4.1",
    "$AUTHOR$": "Bench Author",
    "$USER_1$": "Team Bench",
    "$USER_2$": "bench@example.org",
    "$USER_3$": "internal",
    "$USER_4$": "rev B",
}
LICENCE_RAW = ("MIT|SPDX-License-Identifier: MIT%Copyright (c) 2025 Bench Author"
               "%Permission is hereby granted, free of charge, to any person obtaining a copy"
               "%of this software, to deal in the software without restriction.")

TEMPLATE = [
    "/*****************************************************************************",
    " * Project  : $PROJECT_NAME$ $PROJECT_VER$",
    " * Brief    : $PROJECT_BRIEF$",
    " * File     : $FILE_NAME$",
    " * Path     : $FILE_NAME_EXT$",
    " * Author   : $AUTHOR$ <$USER_2$>",
    " * Team     : $USER_1$",
    " * Date     : $DATE$",
    " * Released : $MONTH$ $YEAR$",
    " * Status   : $USER_3$, $USER_4$",
    " *",
    " * $LICENCE$",
    " *",
    " * Generated header: do not edit by hand.",
    " *****************************************************************************/",
]


def write_description(out):
    lines = [
        "; Description used by the benchmark.",
        "[Description]",
        "Project_name = " + PROJECT["$PROJECT_NAME$"],
        'Project_brief = "' + PROJECT["$PROJECT_BRIEF$"] + '"',
        "Project_version = " + PROJECT["$PROJECT_VER$"],
        "Author = " + PROJECT["$AUTHOR$"],
        "User_1 = " + PROJECT["$USER_1$"],
        "User_2 = " + PROJECT["$USER_2$"],
        "User_3 = " + PROJECT["$USER_3$"],
        "User_4 = " + PROJECT["$USER_4$"],
        "Licence = " + LICENCE_RAW,
        "Language = c",
        "",
        "[Header]",
    ] + TEMPLATE
    with open(os.path.join(out, "Project_desc.cfg"), "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def sed_values():
    """The flag values sed writes. One sed process cannot know each file's
    name, so the name flags get a fixed text of a typical length."""
    today = datetime.date.today()
    values = dict(PROJECT)
    values["$FILE_NAME$"] = "f00000.c"
    values["$FILE_NAME_EXT$"] = "tree/d00/s000/f00000.c"
    # Quillet's date without a user locale: m/d/yy.
    values["$DATE$"] = "%d/%d/%02d" % (today.month, today.day, today.year % 100)
    values["$MONTH$"] = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep",
                         "Oct", "Nov", "Dec"][today.month - 1]
    values["$YEAR$"] = str(today.year)
    licence = LICENCE_RAW.replace("%", "\r\n")
    values["$LICENCE$"] = licence[licence.find("|") + 1:]
    return values


def sed_escape(text):
    return (text.replace("\\", "\\\\").replace("/", "\\/").replace("&", "\\&")
            .replace("\r\n", "\\r\\n"))


def write_sed(out):
    values = sed_values()
    header = []
    for line in TEMPLATE:
        for flag, value in values.items():
            line = line.replace(flag, value)
        header.append(line)
    with open(os.path.join(out, "header.txt"), "w", newline="") as f:
        f.write("".join(line + "\r\n" for line in header))
    # The header goes out with `r` at the end of the cycle; `d` drops the marker line.
    script = ["/\\$ADD_HEADER\\$/{", "r header.txt", "d", "}"]
    with open(os.path.join(out, "marker.sed"), "w", newline="\n") as f:
        f.write("\n".join(script) + "\n")
    for flag, value in values.items():
        script.append("s/" + flag.replace("$", "\\$") + "/" + sed_escape(value) + "/g")
    # Every line end as CR LF, as Quillet writes them (a CR already there stays single).
    script.append("s/\\r\\?$/\\r/")
    with open(os.path.join(out, "stamp.sed"), "w", newline="\n") as f:
        f.write("\n".join(script) + "\n")


WORDS = ("buffer count index value state node list item size flags offset length result "
         "error handle config entry table queue stream token parser output input cache "
         "timer device channel packet frame block record field key name path mode").split()
TYPES = ["int", "unsigned", "size_t", "char *", "const char *", "struct node *", "uint32_t",
         "double", "long", "void *"]
SHELL = [
    ' *   $ for f in $(find $SRC -name "*.c"); do cc $CFLAGS -c "$f" -o "${f%.c}.o"; done',
    ' *   $ export PATH=$HOME/bin:$PATH; echo "$USER on $HOSTNAME: $# args, pid $$"',
    '#define RUN_CMD "sh -c \'test -n \\"$1\\" && echo $1 $2 $3 || echo ${DEFAULT:-none}\'"',
    ' *   $ awk \'{ s += $3 } END { print s / NR, $1, $2 }\' $LOG > $OUT.$(date +%s)',
    ' * price: $10 + $20 = $30, cost $$ per $unit, see ${DOC}/$PAGE#$ANCHOR',
    '    /* cmd: make -C $(TOP) V=$(V) O=$(OBJ) $@ $< $^ $* $? $$PWD */',
    ' *   $ [ "$#" -gt 0 ] && shift; printf "%s\\n" "$@" | xargs -I{} echo ${X}$Y$Z',
    '    fprintf(stderr, "usage: $ %s [$VAR=value] [$FILE]\\n", argv[0]); /* $ $ $ */',
]
FLAG_LINES = [
    " * File: $FILE_NAME$",
    " * Last change: $DATE$",
    "/* Part of $PROJECT_NAME$ $PROJECT_VER$ */",
    '#define BUILD_STAMP "$FILE_NAME$ built $DATE$"',
]


def make_pool(rng, n):
    """Plain C lines, shuffled into each file."""
    pool = []
    for _ in range(n):
        a, b, c = rng.choice(WORDS), rng.choice(WORDS), rng.choice(WORDS)
        kind = rng.randrange(12)
        if kind == 0:
            pool.append("")
        elif kind == 1:
            pool.append("static %s %s_%s(%s %s, int %s)" % (rng.choice(TYPES), a, b,
                                                           rng.choice(TYPES), c, a))
        elif kind == 2:
            pool.append("{")
        elif kind == 3:
            pool.append("}")
        elif kind == 4:
            pool.append("    if (%s->%s_%s > %d) {" % (a, b, c, rng.randrange(1000)))
        elif kind == 5:
            pool.append("        %s[%s] = %s_%s(%s, %d);" % (a, b, c, a, b, rng.randrange(64)))
        elif kind == 6:
            pool.append("    /* %s the %s of the %s before the %s is read. */" % (
                a.capitalize(), b, c, a))
        elif kind == 7:
            pool.append("    for (size_t %s = 0; %s < %s_%s; ++%s) %s += %s[%s];" % (
                a[0], a[0], b, c, a[0], c, b, a[0]))
        elif kind == 8:
            pool.append("    return %s_%s(&%s, sizeof %s) == 0 ? %s : -%d;" % (
                a, b, c, c, a, rng.randrange(40)))
        elif kind == 9:
            pool.append('        log_message(LOG_%s, "%s %s failed: %%d", %s);' % (
                a.upper(), b, c, a))
        elif kind == 10:
            pool.append("#define %s_%s_MAX %d" % (a.upper(), b.upper(), rng.randrange(1 << 16)))
        else:
            pool.append("    %s %s_%s = %s ? %s->%s : NULL;" % (rng.choice(TYPES), a, b, c, c, a))
    return pool


def make_source(rng, pool, name, size):
    lines = ["/* %s: part of the generated benchmark tree. */" % name]
    lines += ["/* line %d before the header */" % i for i in range(rng.randrange(3))]
    lines.append(rng.choice(["// $ADD_HEADER$", "/* $ADD_HEADER$ */", "$ADD_HEADER$"]))
    lines += ["#include <stdio.h>", "#include <stdlib.h>", '#include "%s.h"' % name[:-2], ""]
    total = sum(len(l) + 1 for l in lines)
    flags_left = rng.randrange(2, 6)
    while total < size:
        chunk = rng.choices(pool, k=32)
        r = rng.random()
        if r < 0.25:
            chunk[rng.randrange(32)] = rng.choice(SHELL)
        elif r < 0.25 + flags_left / 60:
            chunk[rng.randrange(32)] = rng.choice(FLAG_LINES)
            flags_left -= 1
        lines += chunk
        total += sum(len(l) + 1 for l in chunk)
    return "\n".join(lines) + "\n"


def write_tree(out, files, seed):
    rng = random.Random(seed)
    pool = make_pool(rng, 6000)
    root = os.path.join(out, "tree")
    for i in range(files):
        # About 40 files a directory, two levels, then a third for every eighth group.
        group = i // 40
        parts = ["d%02d" % (group % 25), "s%03d" % (group // 25)]
        if group % 8 == 7:
            parts.append("deep")
        d = os.path.join(root, *parts)
        if i % 40 == 0:
            os.makedirs(d, exist_ok=True)
            # Not a source of the language: found by the walk, left alone.
            with open(os.path.join(d, "README.txt"), "w") as f:
                f.write("Notes for $PROJECT_NAME$, not a source.\n")
        name = "f%05d.%s" % (i, "h" if i % 4 == 3 else "c")
        size = rng.randint(2 * 1024, 40 * 1024)
        with open(os.path.join(d, name), "w", newline="\n") as f:
            f.write(make_source(rng, pool, name, size))


def write_single_file(out, megabytes, seed):
    rng = random.Random(seed)
    pool = make_pool(rng, 6000)
    target = megabytes * 1024 * 1024
    path = os.path.join(out, "big.c")
    with open(path, "w", newline="\n") as f:
        written = 0
        f.write("// $ADD_HEADER$\n")
        while written < target:
            text = make_source(rng, pool, "big.c", 1024 * 1024)
            f.write(text)
            written += len(text)


def write_single_line(out, megabytes, seed):
    """One line with no line end: shell-like text full of "$", three flags."""
    rng = random.Random(seed)
    target = megabytes * 1024 * 1024
    pieces = []
    size = 0
    while size < target:
        piece = rng.choice(SHELL) if rng.random() < 0.3 else " ".join(rng.choices(WORDS, k=8))
        pieces.append(piece)
        size += len(piece) + 1
    pieces[0] = "/* $FILE_NAME$ " + pieces[0]
    pieces[len(pieces) // 2] += " $DATE$"
    pieces[-1] += " $PROJECT_NAME$ */"
    with open(os.path.join(out, "line.c"), "w", newline="\n") as f:
        f.write(" ".join(pieces))


def main():
    p = argparse.ArgumentParser(description="Generates the benchmark inputs.")
    p.add_argument("out")
    p.add_argument("--files", type=int, default=20000)
    p.add_argument("--seed", type=int, default=7)
    p.add_argument("--desc-only", action="store_true")
    p.add_argument("--single-file", type=int, metavar="MB")
    p.add_argument("--single-line", type=int, metavar="MB")
    a = p.parse_args()
    os.makedirs(a.out, exist_ok=True)
    write_description(a.out)
    write_sed(a.out)
    if a.single_file:
        write_single_file(a.out, a.single_file, a.seed)
    if a.single_line:
        write_single_line(a.out, a.single_line, a.seed)
    if not (a.desc_only or a.single_file or a.single_line):
        write_tree(a.out, a.files, a.seed)


if __name__ == "__main__":
    main()
