#!/usr/bin/env python3
"""The examples, built and run from outside the checkout against an
installed prefix of libdorne and libsarto.

  examples_test.py --examples <checkout>/examples --prefix <prefix>
                   --views <folder with instruments.v> --work <scratch folder>
                   [--forbid <folder>]...

The examples are copied into the scratch folder and built there twice: as
a CMake project with find_package(Dorne CONFIG) against the prefix, and
with plain compiler lines from pkg-config; neither may name a --forbid
folder (the libraries' sources, the build tree). Each build is then run under
the X server the test command provides:
  - the viewer, headless, on instruments.v with values written into it:
    readouts, title and backgrounds are checked pixel by pixel;
  - the viewer on the module's view with the module installed under
    NALVO_HOME: the printed values come from the module, change every
    frame as it computes them, and move the knob in the picture; without
    NALVO_HOME they stay 0;
  - the viewer on a missing file: the engine's error, exit status 1, no
    picture;
  - the C++ example writing and reading variables by name.
Exits 1 after reporting every failed check."""

import argparse
import glob
import math
import os
import re
import shutil
import struct
import subprocess
import sys
import time
import zlib

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what, flush=True)
    return condition


def run(cmd, env=None, cwd=None, expect=0):
    """Runs cmd; returns (status, stdout, stderr). A status other than
    expect (None: any) is a failure."""
    result = subprocess.run(cmd, env=env, cwd=cwd, capture_output=True, text=True, errors="replace")
    if expect is not None and result.returncode != expect:
        failures.append("%s exited %d, not %d" % (" ".join(cmd), result.returncode, expect))
        print("FAIL: %s exited %d\n%s\n%s" % (" ".join(cmd), result.returncode, result.stdout[-4000:],
                                              result.stderr[-4000:]), flush=True)
    return result.returncode, result.stdout, result.stderr


def clean_env(**extra):
    """The environment of the builds and programs: no compiler flags or
    preloads of the test build (the examples are built without
    sanitizers), no module folder unless given."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("CFLAGS", "CXXFLAGS", "LDFLAGS", "CPPFLAGS", "LD_PRELOAD", "LD_LIBRARY_PATH",
                        "NALVO_HOME", "PKG_CONFIG_PATH", "PKG_CONFIG_LIBDIR", "PKG_CONFIG_SYSROOT_DIR",
                        "CMAKE_PREFIX_PATH")}
    env.update(extra)
    return env


# ---- PNG ---------------------------------------------------------------------

def read_png(path):
    """(width, height, rows of RGB bytes) of an 8-bit RGB PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(path + ": not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        chunk = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", chunk)
        elif kind == b"IDAT":
            idat += chunk
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour != 2 or interlace != 0:
        raise ValueError(path + ": not 8-bit RGB")
    raw, stride, rows, prev, at = zlib.decompress(idat), width * 3, [], bytearray(width * 3), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b = prev[i]
            c = prev[i - 3] if i >= 3 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return width, height, rows


def pixel(image, x, y):
    return tuple(image[2][y][3 * x:3 * x + 3])


def near(p, colour, tolerance=12):
    return all(abs(p[i] - colour[i]) <= tolerance for i in range(3))


def count(image, box, colour):
    """Pixels of the colour in the box (x0, y0, x1, y1), y from the top."""
    x0, y0, x1, y1 = box
    return sum(1 for y in range(y0, y1) for x in range(x0, x1) if near(pixel(image, x, y), colour))


def where(image, box, colour):
    """Mean x of the colour's pixels in the box; None when there are none."""
    x0, y0, x1, y1 = box
    xs = [x for y in range(y0, y1) for x in range(x0, x1) if near(pixel(image, x, y), colour)]
    return sum(xs) / len(xs) if xs else None


# The instrument view's colours (InstrumentViews.cpp) as 8-bit values.
YELLOW, RED, GREEN = (255, 217, 25), (255, 56, 38), (63, 216, 89)
WHITE, GLASS, BLACK = (234, 237, 242), (9, 11, 15), (0, 0, 0)
# The module view's knob (wave.xml).
CYAN = (76, 216, 255)


# ---- Builds ------------------------------------------------------------------

def build_cmake(src, out, prefix, env):
    """find_package against the prefix; warnings are errors."""
    flags = "-Wall -Wextra -Werror"
    run(["cmake", "-S", src, "-B", out, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
         "-DCMAKE_PREFIX_PATH=" + prefix, "-DCMAKE_FIND_PACKAGE_NO_SYSTEM_PACKAGE_REGISTRY=ON",
         "-DCMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY=ON", "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON",
         "-DCMAKE_C_FLAGS=" + flags, "-DCMAKE_CXX_FLAGS=" + flags], env=env)
    run(["cmake", "--build", out], env=env)
    home = os.path.join(out, "home")
    run(["cmake", "--install", os.path.join(out, "module"), "--prefix", home], env=env)
    return {"viewer": os.path.join(out, "viewer", "viewer"), "variables": os.path.join(out, "cxx", "variables"),
            "module": os.path.join(home, "bin", "libVddWave.so"), "home": home,
            "view": os.path.join(home, "wave.xml"), "commands": os.path.join(out, "compile_commands.json")}


def build_pkgconfig(src, out, env):
    """Plain compiler lines with the flags of pkg-config --cflags --libs."""
    os.makedirs(os.path.join(out, "home", "bin"), exist_ok=True)

    def flags(*modules):
        _, text, _ = run(["pkg-config", "--cflags", "--libs"] + list(modules), env=env)
        return text.split()

    warn = ["-Wall", "-Wextra", "-Werror"]
    viewer = os.path.join(out, "viewer")
    variables = os.path.join(out, "variables")
    module = os.path.join(out, "home", "bin", "libVddWave.so")
    _, cflags, _ = run(["pkg-config", "--cflags", "dorne"], env=env)
    run(["cc", "-std=c11"] + warn + [os.path.join(src, "viewer", "viewer.c"), "-o", viewer]
        + flags("dorne", "glfw3", "libpng", "gl"), env=env)
    run(["cc", "-std=c11"] + warn + ["-shared", "-fPIC", os.path.join(src, "module", "vddWave.c"), "-o", module]
        + cflags.split() + ["-lm"], env=env)
    run(["c++", "-std=c++17"] + warn + [os.path.join(src, "cxx", "variables.cpp"), "-o", variables]
        + flags("dorne", "glfw3"), env=env)
    view = os.path.join(out, "home", "wave.xml")
    shutil.copy(os.path.join(src, "module", "wave.xml"), view)
    return {"viewer": viewer, "variables": variables, "module": module, "home": os.path.join(out, "home"),
            "view": view, "flags": cflags}


# ---- Checks ------------------------------------------------------------------

def strip(text):
    """Output without the terminal colour codes the font library prints."""
    return re.sub(r"\x1b\[[0-9;]*m", "", text)


def check_links(program, libdir, env, label):
    _, text, _ = run(["ldd", program], env=env)
    for name in ("libdorne.so.1", "libsarto.so.1"):
        m = re.search(r"%s => (\S+)" % re.escape(name), text)
        check(m is not None and os.path.realpath(os.path.dirname(m.group(1))) == os.path.realpath(libdir),
              "%s: %s loads %s from %s, not from %s" % (label, os.path.basename(program), name,
                                                          m.group(1) if m else "nowhere", libdir))


def check_instruments(b, views, run_dir, env, label):
    before = len(failures)
    png = os.path.join(run_dir, "instruments.png")
    run([b["viewer"], "--frames", "3", "--png", png, "--set", "rpm=5700", "--set", "egt1=900",
         "--set", "coolant=110", os.path.join(views, "instruments.v")], env=env, cwd=run_dir)
    if not check(os.path.isfile(png), label + ": the viewer wrote no PNG of instruments.v"):
        return
    image = read_png(png)
    check(image[:2] == (800, 480), "%s: instruments.png is %dx%d, not the view's 800x480" % ((label,) + image[:2]))
    # Readouts in their threshold colours: rpm 5700 above WARNING (5500),
    # EGT 900 above LIMIT (880), coolant 110 above WARNING (105); none of
    # them green, the colour of the values before they were written.
    readouts = [("RPM readout", (530, 78, 600, 101), YELLOW), ("EGT 1 readout", (530, 114, 600, 135), RED),
                ("COOLANT readout", (530, 182, 600, 205), YELLOW), ("dial readout", (200, 288, 290, 320), YELLOW)]
    for name, box, colour in readouts:
        n = count(image, box, colour)
        check(n >= 15, "%s: %s has %d pixels of %s" % (label, name, n, colour))
        g = count(image, box, GREEN)
        check(g == 0, "%s: %s still has %d green pixels" % (label, name, g))
    n = count(image, (330, 28, 470, 56), WHITE)
    check(n >= 50, "%s: the title OVERVIEW has %d white pixels" % (label, n))
    check(near(pixel(image, 120, 440), GLASS, 3), "%s: glass at (120, 440) is %s" % (label, pixel(image, 120, 440)))
    check(near(pixel(image, 5, 5), BLACK, 3), "%s: page at (5, 5) is %s" % (label, pixel(image, 5, 5)))
    if len(failures) == before:
        print("%s: instruments.png: readouts, title, glass and page as expected" % label, flush=True)


def frames_printed(out):
    values = []
    for line in strip(out).splitlines():
        m = re.match(r"^frame (\d+) sine=(\S+) counter=(\S+)$", line)
        if m:
            values.append((int(m.group(1)), float(m.group(2)), int(m.group(3))))
    return values


def check_module(b, run_dir, env, label):
    before = len(failures)
    _, text, _ = run(["readelf", "-d", b["module"]], env=env)
    check("SONAME" not in text, label + ": libVddWave.so has a SONAME")
    # The engine also loads modules from the current folder: run where
    # there is none.
    check(not glob.glob(os.path.join(run_dir, "libVdd*")), label + ": a module in the run folder")
    home_env = dict(env, NALVO_HOME=b["home"])
    for frames, sine in ((150, -1.0), (50, 1.0)):
        png = os.path.join(run_dir, "wave%d.png" % frames)
        _, out, _ = run([b["viewer"], "--frames", str(frames), "--print", "sine", "--print", "counter", "--png", png,
                         b["view"]], env=home_env, cwd=run_dir)
        values = frames_printed(out)
        check(len(values) == frames, "%s: %d frames printed, not %d" % (label, len(values), frames))
        # The module counts its exchange cycles, one per headless frame, and
        # computes the sine from the count.
        wrong = [v for v in values if v[2] != v[0] or abs(v[1] - math.sin(2 * math.pi * (v[0] % 200) / 200)) > 2e-6]
        check(not wrong, "%s: values not those of the module: %s" % (label, wrong[:3]))
        if not check(os.path.isfile(png), "%s: no PNG of the module's view after %d frames" % (label, frames)):
            continue
        image = read_png(png)
        check(image[:2] == (480, 320), "%s: wave%d.png is %dx%d" % ((label, frames) + image[:2]))
        # The knob (view y 205, image row 115) sits at 250 + 200 sine.
        x = where(image, (0, 102, 480, 129), CYAN)
        check(x is not None and abs(x - (250 + 200 * sine)) <= 3,
              "%s: knob at x %s after %d frames, not %g" % (label, x, frames, 250 + 200 * sine))
    if len(failures) == before:
        print("%s: module values in every frame, knob at both ends" % label, flush=True)
    # Without the module the view loads, and its variables stay 0.
    _, out, _ = run([b["viewer"], "--frames", "5", "--print", "sine", "--print", "counter", b["view"]],
                    env=env, cwd=run_dir)
    values = frames_printed(out)
    check(len(values) == 5 and all(v[1] == 0 and v[2] == 0 for v in values),
          "%s: without NALVO_HOME the view shows %s" % (label, values))


def check_missing(b, run_dir, env, label):
    missing = os.path.join(run_dir, "missing.v")
    png = os.path.join(run_dir, "missing.png")
    status, out, err = run([b["viewer"], "--frames", "1", "--png", png, missing], env=env, cwd=run_dir, expect=1)
    check("viewer: cannot load the view file <%s>" % missing in err, "%s: stderr for a missing file: %r" % (label, err))
    check("cannot open file " + missing in strip(err), "%s: no engine error text in %r" % (label, err))
    check(not os.path.exists(png), label + ": a PNG for a missing file")
    status, out, err = run([b["viewer"]], env=env, cwd=run_dir, expect=2)
    check(err.startswith("usage: viewer"), "%s: usage: %r" % (label, err))


def check_variables(b, views, run_dir, env, label):
    view = os.path.join(views, "instruments.v")
    _, out, _ = run([b["variables"], view, "rpm=5700", "PAGE=3", "egt1=871.5", "rpm", "PAGE", "egt1"],
                    env=env, cwd=run_dir)
    lines = [line for line in strip(out).splitlines() if line.strip()]
    expected = ["rpm = 5700.000000 (5700)", "PAGE = 3 (3)", "egt1 = 871.500000 (871.5)"]
    check(lines == expected, "%s: variables printed %r, not %r" % (label, lines, expected))
    _, out, err = run([b["variables"], view, "rpm", "nosuch"], env=env, cwd=run_dir, expect=1)
    check("variables: the view has no variable <nosuch>" in err, "%s: unknown name: %r" % (label, err))
    _, out, err = run([b["variables"], os.path.join(run_dir, "missing.v")], env=env, cwd=run_dir, expect=1)
    check("variables: cannot load the view file" in err, "%s: missing file: %r" % (label, err))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--examples", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--views", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--forbid", action="append", default=[],
                        help="a folder (the libraries' sources, the build tree) no build may name")
    args = parser.parse_args()
    started = time.time()

    if not os.environ.get("DISPLAY"):
        print("FAIL: no DISPLAY: the viewer needs an X server (the test command starts Xvfb)")
        return 1
    # The examples build against a copy of the prefix elsewhere: its
    # pkg-config and CMake files must find it where it lies now, and no build
    # may name the prefix it was installed to.
    shutil.rmtree(args.work, ignore_errors=True)
    installed = args.prefix
    args.prefix = os.path.join(args.work, "prefix")
    shutil.copytree(installed, args.prefix, symlinks=True)
    args.forbid.append(os.path.realpath(installed))
    pcs = glob.glob(os.path.join(args.prefix, "**", "pkgconfig", "dorne.pc"), recursive=True)
    if len(pcs) != 1:
        print("FAIL: %d dorne.pc under %s" % (len(pcs), args.prefix))
        return 1
    pcdir = os.path.dirname(pcs[0])
    libdir = os.path.dirname(pcdir)

    src = os.path.join(args.work, "examples")
    shutil.copytree(args.examples, src)
    run_dir = os.path.join(args.work, "run")
    os.makedirs(run_dir)
    env = clean_env()

    builds = []
    b = build_cmake(src, os.path.join(args.work, "cmake"), args.prefix, env)
    with open(b["commands"]) as f:
        commands = f.read()
    for folder in args.forbid:
        check(folder not in commands, "cmake build: a compile command names " + folder)
    check(os.path.realpath(args.prefix) in commands or args.prefix in commands,
          "cmake build: no compile command names the prefix")
    builds.append(("find_package", b, env))
    b = build_pkgconfig(src, os.path.join(args.work, "pkgconfig"), dict(env, PKG_CONFIG_PATH=pcdir))
    for folder in args.forbid:
        check(folder not in b["flags"], "pkg-config names %s: %s" % (folder, b["flags"]))
    builds.append(("pkg-config", b, dict(env, LD_LIBRARY_PATH=libdir)))
    print("built twice in %.1f s" % (time.time() - started), flush=True)

    for label, b, run_env in builds:
        built = [check(os.path.isfile(b[name]), "%s: %s was not built" % (label, name))
                 for name in ("viewer", "variables", "module")]
        if not all(built):
            continue
        check_links(b["viewer"], libdir, run_env, label)
        check_links(b["variables"], libdir, run_env, label)
        check_instruments(b, args.views, run_dir, run_env, label)
        check_module(b, run_dir, run_env, label)
        check_missing(b, run_dir, run_env, label)
        check_variables(b, args.views, run_dir, run_env, label)

    print("%d failed checks, %.1f s" % (len(failures), time.time() - started), flush=True)
    if not failures:
        shutil.rmtree(args.work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
