#!/usr/bin/env python3
"""scripts/bench startup: Spindle2 and the bare program side by side.

Runs each program RUNS times (alternating) through launchwatch.exe in one
Wine prefix and prints the median of each figure: launch to panel shown
with its text, idle CPU of the program and of the prefix's wineserver,
private memory (the Linux process's private pages) and the time from WM_CLOSE to the process's end. Only
prints; nothing here passes or fails.

  benchstartup.py PREFIX BINDIR RUNS IDLE_SECONDS WORKDIR
"""
import os
import statistics
import subprocess
import sys

prefix, bindir, runs, idle, workdir = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
tick = os.sysconf("SC_CLK_TCK")


def wineserver_pid():
    # The server of this prefix works in /tmp/.wine-UID/server-DEV-INODE.
    info = os.stat(prefix)
    wanted = "server-%x-%x" % (info.st_dev, info.st_ino)
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            if os.path.basename(os.readlink("/proc/%s/cwd" % entry)) == wanted:
                with open("/proc/%s/comm" % entry) as comm:
                    if comm.read().strip().startswith("wineserver"):
                        return entry
        except OSError:
            continue
    return None


def cpu_seconds(pid):
    if not pid:
        return 0.0
    with open("/proc/%s/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / tick


def unix_pid(program):
    # The Windows program is a Linux process of this prefix running its exe.
    name = os.path.basename(program).lower().encode()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as cmdline:
                first = cmdline.read().split(b"\0")[0].lower()
            if not first.endswith(name) and not first.endswith(b"\\" + name):
                continue
            with open("/proc/%s/environ" % entry, "rb") as environ:
                if b"WINEPREFIX=" + prefix.encode() + b"\0" in environ.read():
                    return entry
        except OSError:
            continue
    return None


def private_mb(pid):
    total = 0
    try:
        with open("/proc/%s/smaps_rollup" % pid) as smaps:
            for line in smaps:
                if line.startswith(("Private_Clean:", "Private_Dirty:")):
                    total += int(line.split()[1])
    except OSError:
        return None
    return total / 1024.0


def winpath(path):
    return subprocess.run(["winepath", "-w", path], capture_output=True, text=True).stdout.strip()


def measure(program, arguments, command_id=None):
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all")
    command = ["wine", os.path.join(bindir, "launchwatch.exe")]
    if command_id:
        command += ["--command", str(command_id)]
    command += [str(idle), winpath(program)] + arguments
    child = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, env=env,
                             cwd=workdir)
    figures = {}
    server, before = None, 0.0
    for line in child.stdout:
        line = line.strip()
        if line == "idle begin":
            server = wineserver_pid()
            process = unix_pid(program)
            before = cpu_seconds(server)
            process_before = cpu_seconds(process)
        elif line == "idle end":
            figures["wineserver_cpu_percent"] = (cpu_seconds(server) - before) * 100.0 / idle
            figures["idle_cpu_percent"] = (cpu_seconds(process) - process_before) * 100.0 / idle
            memory = private_mb(process) if process else None
            if memory is not None:
                figures["private_mb"] = memory
        elif line.startswith(("idle_cpu_percent ", "private_mb ")):
            continue  # Wine does not report them for another process; read from /proc above
        elif " " in line:
            name, value = line.split(" ", 1)
            figures[name] = float(value)
    child.wait()
    return figures


# The player starts playing the first audio disc (D: has sound); the
# panel's Stop (1049) and Play (1047) buttons give the two idle states.
STOP_BUTTON, PLAY_BUTTON = 1049, 1047
spindle = os.path.join(bindir, "spindle2.exe")
programs = [("Spindle2", spindle, [], STOP_BUTTON),
            ("bare program", os.path.join(bindir, "bareplayer.exe"), [], None)]
results = {name: [] for name, _, _, _ in programs}
playing, bare_playing = [], []
bare = os.path.join(bindir, "bareplayer.exe")
# One uncounted run of each first: the player's first start in a prefix
# files the discs' titles, and both find the prefix's services running.
for name, program, arguments, command_id in programs:
    measure(program, arguments, command_id)
for run in range(runs):
    for name, program, arguments, command_id in programs:
        results[name].append(measure(program, arguments, command_id))
    playing.append(measure(spindle, [], PLAY_BUTTON))
    bare_playing.append(measure(bare, [], PLAY_BUTTON))

rows = [("launch to panel shown with its text (ms)", "launch_ms"),
        ("idle CPU, program (% of a core)", "idle_cpu_percent"),
        ("idle CPU, wineserver (% of a core)", "wineserver_cpu_percent"),
        ("private memory (MB)", "private_mb"),
        ("WM_CLOSE to process end (ms)", "shutdown_ms")]


def median(figures, key):
    values = [r[key] for r in figures if key in r]
    return "%.2f" % statistics.median(values) if values else "-"


print("median of %d runs, %d s idle each; Spindle2 stopped unless said" % (runs, idle))
print("%-42s %12s %14s" % ("figure", "Spindle2", "bare program"))
for label, key in rows:
    print("%-42s %12s %14s" % (label, median(results["Spindle2"], key), median(results["bare program"], key)))
# Playing: the player plays the disc in D:, the bare program a tone with
# the same buffering through the same wave device.
print("%-42s %12s %14s" % ("idle CPU playing sound, program (%)", median(playing, "idle_cpu_percent"),
                           median(bare_playing, "idle_cpu_percent")))
print("%-42s %12s %14s" % ("idle CPU playing sound, wineserver (%)", median(playing, "wineserver_cpu_percent"),
                           median(bare_playing, "wineserver_cpu_percent")))
