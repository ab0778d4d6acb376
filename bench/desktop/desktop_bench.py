#!/usr/bin/env python3
"""The real program on a real X server (Xvfb), receiving from a pseudo-terminal that it opens as
COM33 (/dev/ttyUSB0 in a private /dev, so the machine's own ports are never touched). Needs root
(for the private /dev) and Xvfb, xdotool.

usage: desktop_bench.py BINARY [--old OLD_BINARY] [--runs N] [--cpus LIST] FIGURE [AMOUNT]

FIGURE
  dialog [seconds=10]  the save dialog (Ctrl+S) is held open while 80-byte lines arrive at 115200
                       baud, written without waiting: the bytes the line could not deliver, then
                       whether the terminal, saved once the dialog is gone, holds every byte in order
  paced [seconds=20]   80-byte lines at 115200 baud: CPU of the program (all threads, the serial
                       receiver apart) and of the X server, in % of one core
  drain [megabytes=8]  bytes as fast as the pty takes them: the rate until the program has shown
                       them all (its CPU has settled), and CPU seconds per MB, all threads

With --old, each run starts both binaries, one after the other, so that both are measured side by
side under the same conditions; which goes first alternates from run to run, since the second of a
pair measures dearer. Medians, spreads and the ratio new/old are printed.

The CPUs of a virtual machine need not be equally fast: the host may run one of them at a fraction
of the other's speed, and then every figure depends on which CPU the program happened to land on.
Each start times a fixed loop on every CPU and warns when they differ; --cpus 0 (a comma-separated
list) keeps the X server, the program and the writer on the CPUs listed. --cpus fastest puts the
X server and the program's user-interface thread on whichever CPU is the fastest at the start of
each run (a host's load moves from CPU to CPU), and leaves the serial receiver and the writer to the
kernel, as the other CPU of a machine whose CPUs are alike would be.
"""
import os, pty, select, statistics, subprocess, sys, tempfile, threading, time, tty

RECEIVER = "martool-rx"
LINE = 80
PACE = 11520  # bytes per second on a 115200-baud line, 8N1


def _byte(i):
    at = i % LINE
    return 0x21 + i % 90 if at < LINE - 2 else (0x0D if at == LINE - 2 else 0x0A)


# Lines of printable characters ending in CR LF: the terminal shows the CR as its line break and
# drops the LF, so its text is byte for byte what was sent. The pattern repeats every 720 bytes.
_CYCLE = bytes(_byte(i) for i in range(720 * 2))


def lines(count, start=0):
    """`count` bytes of the line pattern, from byte `start` of it."""
    reps = (count + 720) // 720 + 1
    at = start % 720
    return (_CYCLE[at:at + 720] * reps)[:count]


def cpu_speeds(cpus):
    """Speed of each CPU relative to the fastest, from a fixed loop run on it alone."""
    times = {}
    for cpu in sorted(cpus):
        took = []
        for _ in range(3):
            out = sh("taskset", "-c", str(cpu), sys.executable, "-c",
                     "import time\nt = time.perf_counter()\nx = 0\nfor i in range(3_000_000): x += i\n"
                     "print(time.perf_counter() - t)")
            took.append(float(out.stdout))
        times[cpu] = min(took)
    fastest = min(times.values())
    return {cpu: fastest / t for cpu, t in times.items()}


def report_cpu_speeds(cpus):
    speeds = cpu_speeds(cpus)
    print("CPU speed, a fixed loop (1 = the fastest): " +
          ", ".join(f"cpu{c} {v:.2f}" for c, v in sorted(speeds.items())), flush=True)
    return speeds


# With --cpus fastest, the CPU that the X server and the program's user-interface thread are kept on.
UI_CPUS = None


def pin_all_threads(pid, cpus):
    for t in os.listdir(f"/proc/{pid}/task"):
        os.sched_setaffinity(int(t), cpus)


def sh(*args):
    return subprocess.run(args, capture_output=True, text=True)


def threads_cpu(pid, name=None):
    """CPU seconds of the threads of pid (those called name, if given), from schedstat."""
    total = 0
    try:
        tasks = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return 0.0
    for t in tasks:
        try:
            if name is not None and open(f"/proc/{pid}/task/{t}/comm").read().strip() != name:
                continue
            total += int(open(f"/proc/{pid}/task/{t}/schedstat").read().split()[0])
        except (OSError, ValueError):
            pass
    return total / 1e9


class Display:
    def __init__(self):
        for n in range(80, 120):
            if not os.path.exists(f"/tmp/.X{n}-lock"):
                self.name = f":{n}"
                break
        self.proc = subprocess.Popen(["Xvfb", self.name, "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.environ["DISPLAY"] = self.name
        for _ in range(50):
            if sh("xdotool", "getmouselocation").returncode == 0:
                return
            time.sleep(0.1)
        raise RuntimeError("Xvfb did not start")

    def close(self):
        self.proc.terminate()
        self.proc.wait()


def wait_window(name, seconds=15):
    end = time.time() + seconds
    while time.time() < end:
        out = sh("xdotool", "search", "--onlyvisible", "--name", name).stdout.split()
        if out:
            return out[0]
        time.sleep(0.1)
    raise RuntimeError(f"no window {name}")


def wait_gone(name, seconds=15):
    end = time.time() + seconds
    while time.time() < end:
        if not sh("xdotool", "search", "--onlyvisible", "--name", name).stdout.strip():
            return
        time.sleep(0.1)
    raise RuntimeError(f"window {name} stayed")


def key(*keys):
    sh("xdotool", "key", "--clearmodifiers", *keys)


PRIVATE_DEV = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "private-dev.sh")


class Program:
    """The binary started in a private /dev whose only serial port is the pty, with COM33 chosen in
    its start-up dialog."""

    def __init__(self, binary):
        self.master, slave = pty.openpty()
        tty.setraw(self.master)
        path = os.ttyname(slave)
        os.close(slave)
        self.home = tempfile.mkdtemp()
        env = dict(os.environ, HOME=self.home, XDG_RUNTIME_DIR=self.home, QT_QPA_PLATFORM="xcb")
        env["MARTOOL_TTY"] = path
        self.proc = subprocess.Popen([PRIVATE_DEV, binary], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     env=env)
        dialog = wait_window("^Select Serial Port$")
        sh("xdotool", "windowfocus", "--sync", dialog)
        time.sleep(0.3)
        key("End"); time.sleep(0.2); key("Up"); time.sleep(0.2); key("Return")
        wait_gone("^Select Serial Port$")
        frame = wait_window("^Marloven Debug Utility$")
        sh("xdotool", "windowfocus", "--sync", frame)
        time.sleep(0.5)
        self.pid = self.proc.pid
        if UI_CPUS:
            os.sched_setaffinity(self.pid, UI_CPUS)  # the thread whose id is the process's: the loop's

    def cpu(self, name=None):
        return threads_cpu(self.pid, name)

    def settle(self, quiet=0.3, limit=60):
        """Waits until the program's CPU has stood almost still for `quiet` seconds; returns the
        moment it was last busy."""
        last_busy = time.perf_counter()
        before = self.cpu()
        end = time.time() + limit
        while time.time() < end:
            time.sleep(0.02)
            now_cpu = self.cpu()
            if now_cpu - before > 0.02 * 0.02:  # more than 2 % of a core over the step
                last_busy = time.perf_counter()
            before = now_cpu
            if time.perf_counter() - last_busy >= quiet:
                return last_busy
        raise RuntimeError("the program never settled")

    def close(self):
        self.proc.terminate()
        try:
            self.proc.wait(5)
        except subprocess.TimeoutExpired:
            self.proc.kill()
        os.close(self.master)
        subprocess.run(["rm", "-rf", self.home])


class PacedWriter(threading.Thread):
    """80-byte lines at 115200 baud, never waiting: what the pty refuses is dropped and counted."""

    def __init__(self, master, seconds, start_index=0):
        super().__init__()
        self.master, self.total, self.index = master, int(seconds * PACE), start_index
        self.delivered, self.dropped = bytearray(), 0
        os.set_blocking(master, False)

    def run(self):
        t0 = time.perf_counter()
        sent = 0
        while sent < self.total:
            chunk = lines(min(LINE, self.total - sent), self.index + sent)
            try:
                n = os.write(self.master, chunk)
            except BlockingIOError:
                n = 0
            self.delivered += chunk[:n]
            self.dropped += len(chunk) - n
            sent += len(chunk)
            delay = t0 + sent / PACE - time.perf_counter()
            if delay > 0:
                time.sleep(delay)


def warm_up(program, count=20000):
    os.set_blocking(program.master, True)
    os.write(program.master, lines(count))
    program.settle()
    return count


def figure_dialog(binary, seconds, work):
    program = Program(binary)
    try:
        warm = warm_up(program, 8000)
        key("ctrl+s")
        save = wait_window("^Save As$")
        time.sleep(0.3)
        writer = PacedWriter(program.master, seconds, warm)
        writer.start()
        writer.join()
        sh("xdotool", "windowfocus", "--sync", save)
        key("Escape")
        wait_gone("^Save As$")
        program.settle()
        saved = os.path.join(work, "saved.txt")
        key("ctrl+s")
        save = wait_window("^Save As$")
        sh("xdotool", "windowfocus", "--sync", save)
        time.sleep(0.3)
        sh("xdotool", "type", "--delay", "5", saved)
        key("Return")
        wait_gone("^Save As$")
        for _ in range(50):
            if os.path.exists(saved) and os.path.getsize(saved) > 0:
                break
            time.sleep(0.1)
        time.sleep(0.3)
        text = open(saved, "rb").read()
        os.unlink(saved)
        whole = text == lines(warm) + bytes(writer.delivered)
        return {"dropped": writer.dropped, "offered": writer.total, "text in order": 1.0 if whole else 0.0}
    finally:
        program.close()


def figure_paced(binary, seconds, xvfb_pid):
    program = Program(binary)
    try:
        warm_up(program)
        c0, r0, x0 = program.cpu(), program.cpu(RECEIVER), threads_cpu(xvfb_pid)
        t0 = time.perf_counter()
        writer = PacedWriter(program.master, seconds)
        writer.start()
        writer.join()
        time.sleep(0.3)
        wall = time.perf_counter() - t0
        return {"program % core": 100 * (program.cpu() - c0) / wall,
                "  receiver % core": 100 * (program.cpu(RECEIVER) - r0) / wall,
                "X server % core": 100 * (threads_cpu(xvfb_pid) - x0) / wall,
                "dropped": writer.dropped}
    finally:
        program.close()


def figure_drain(binary, megabytes):
    program = Program(binary)
    try:
        warm_up(program)
        data = lines(int(megabytes * 1e6) // LINE * LINE)
        c0, r0 = program.cpu(), program.cpu(RECEIVER)
        t0 = time.perf_counter()
        view = memoryview(data)
        os.set_blocking(program.master, False)
        while view:
            select.select([], [program.master], [], 30)
            try:
                view = view[os.write(program.master, view[:65536]):]
            except BlockingIOError:
                pass
        written = time.perf_counter() - t0
        done = program.settle()
        mb = len(data) / 1e6
        return {"MB/s until shown": mb / (done - t0), "MB/s taken off the pty": mb / written,
                "CPU s/MB, all threads": (program.cpu() - c0) / mb,
                "  receiver s/MB": (program.cpu(RECEIVER) - r0) / mb}
    finally:
        program.close()


def main():
    global UI_CPUS
    args = sys.argv[1:]
    old = runs = None
    if "--old" in args:
        i = args.index("--old"); old = args[i + 1]; del args[i:i + 2]
    if "--runs" in args:
        i = args.index("--runs"); runs = int(args[i + 1]); del args[i:i + 2]
    cpus = None
    if "--cpus" in args:
        i = args.index("--cpus"); cpus = args[i + 1]; del args[i:i + 2]
    if len(args) < 2 or args[1] not in ("dialog", "paced", "drain"):
        sys.exit(__doc__)
    binary, figure = os.path.abspath(args[0]), args[1]
    amount = float(args[2]) if len(args) > 2 else {"dialog": 10, "paced": 20, "drain": 8}[figure]
    runs = runs or 5
    every_cpu = os.sched_getaffinity(0)
    if cpus not in (None, "fastest"):
        os.sched_setaffinity(0, {int(c) for c in cpus.split(",")})
    speeds = report_cpu_speeds(every_cpu)
    if cpus is None and min(speeds.values()) < 0.85:
        print("  the CPUs differ: figures depend on where the program runs; --cpus pins it", flush=True)
    binaries = [("old", os.path.abspath(old)), ("new", binary)] if old else [("new", binary)]
    display = Display()
    work = tempfile.mkdtemp()
    results = {label: [] for label, _ in binaries}
    try:
        for run in range(runs):
            if cpus == "fastest":
                speeds = report_cpu_speeds(every_cpu) if run else speeds
                UI_CPUS = {max(speeds, key=speeds.get)}
                pin_all_threads(display.proc.pid, UI_CPUS)
            # The second of a pair runs measurably dearer (about a tenth, the same binary against
            # itself), so each run swaps which goes first.
            for label, path in (binaries if run % 2 == 0 else binaries[::-1]):
                if figure == "dialog":
                    r = figure_dialog(path, amount, work)
                elif figure == "paced":
                    r = figure_paced(path, amount, display.proc.pid)
                else:
                    r = figure_drain(path, amount)
                results[label].append(r)
                print(f"run {run + 1} {label}: " + ", ".join(f"{k.strip()} {v:.4g}" for k, v in r.items()), flush=True)
    finally:
        display.close()
        subprocess.run(["rm", "-rf", work])
    print(f"\n{figure} {amount:g}, {runs} runs, load average {open('/proc/loadavg').read().split()[0:3]}")
    for k in results[binaries[0][0]][0]:
        row = f"{k:26}"
        medians = {}
        for label, _ in binaries:
            values = [r[k] for r in results[label]]
            medians[label] = statistics.median(values)
            row += f"  {label}: median {medians[label]:10.4g} (min {min(values):.4g}, max {max(values):.4g})"
        if old and medians["old"]:
            row += f"  new/old {medians['new'] / medians['old']:.3f}"
        print(row)


if __name__ == "__main__":
    main()
