"""A private sound server with a null sink, and a recorder of what it plays.

PipeWire (with its PulseAudio server) or the classic PulseAudio daemon runs under its own
XDG_RUNTIME_DIR; the sink's monitor is recorded with parec and analysed: when sound starts,
how loud it is, its pitch and the silences in it.
"""

import os
import shutil
import subprocess
import tempfile
import time

import numpy as np

RATE = 48000
SINK = "listen"


class ServerError(RuntimeError):
    pass


def _wait(predicate, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(0.05)
    raise ServerError(what)


class SoundServer:
    """kind is "pipewire" or "pulseaudio"."""

    def __init__(self, kind):
        self.kind = kind
        self.dir = tempfile.mkdtemp(prefix="sonorell-sound-")
        os.chmod(self.dir, 0o700)
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.dir, HOME=self.dir,
                        PULSE_RUNTIME_PATH=os.path.join(self.dir, "pulse"))
        self.env.pop("PULSE_SERVER", None)
        self.env.pop("SONORELL_AUDIO_SINK", None)
        self.procs = []

    def _spawn(self, *argv):
        log = open(os.path.join(self.dir, os.path.basename(argv[0]) + ".log"), "w")
        self.procs.append(subprocess.Popen(argv, env=self.env, stdout=log, stderr=subprocess.STDOUT))

    def pactl(self, *args):
        return subprocess.run(["pactl", *args], env=self.env, capture_output=True, text=True, timeout=10)

    def start(self):
        for tool in ("pactl", "parec", self.kind):
            if not shutil.which(tool):
                raise ServerError(f"{tool} is not installed (scripts/install-deps installs it)")
        if self.kind == "pipewire":
            self._spawn("pipewire")
            time.sleep(0.3)
            self._spawn("wireplumber")
            self._spawn("pipewire-pulse")
        else:
            self._spawn("pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--log-target=stderr",
                        "-L", "module-native-protocol-unix", "-L", "module-always-sink")
        try:
            _wait(lambda: self.pactl("info").returncode == 0, 15, f"{self.kind} did not start")
            if self.pactl("load-module", "module-null-sink", f"sink_name={SINK}",
                          f"rate={RATE}").returncode != 0:
                raise ServerError("the null sink could not be made")
            self.pactl("set-default-sink", SINK)
            _wait(lambda: SINK in self.pactl("list", "short", "sinks").stdout, 10, "the null sink did not appear")
        except ServerError:
            logs = "".join(open(os.path.join(self.dir, f)).read()[-2000:]
                           for f in os.listdir(self.dir) if f.endswith(".log"))
            self.stop()
            raise ServerError(f"{self.kind} could not start:\n{logs}")
        return self

    def stop(self):
        for p in reversed(self.procs):
            p.terminate()
        for p in self.procs:
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
        self.procs = []
        shutil.rmtree(self.dir, ignore_errors=True)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()


class Recording:
    """The sink's monitor, mono 16-bit at RATE, with the wall-clock time of every sample."""

    def __init__(self, server):
        self.server = server
        self.path = os.path.join(server.dir, f"monitor-{time.monotonic_ns()}.raw")
        self.start_time = None

    def __enter__(self):
        self.file = open(self.path, "wb")
        self.proc = subprocess.Popen(["parec", "-d", SINK + ".monitor", "--latency-msec=20", "--format=s16le",
                                      f"--rate={RATE}", "--channels=1", "--raw"],
                                     env=self.server.env, stdout=self.file)
        _wait(lambda: os.path.getsize(self.path) > RATE // 5, 10, "the recorder got no sound")
        self._calibrate()
        return self

    def _calibrate(self):
        # The recording's first sample was taken at most this long before any later reading
        # of how many samples there are; the smallest such bound is the best estimate.
        best = None
        for _ in range(40):
            now = time.monotonic()
            size = os.path.getsize(self.path)
            start = now - size / 2 / RATE
            best = start if best is None else min(best, start)
            time.sleep(0.005)
        self.start_time = best

    def __exit__(self, *exc):
        time.sleep(0.1)
        self.proc.terminate()
        self.proc.wait(5)
        self.file.close()

    def samples(self):
        data = np.fromfile(self.path, dtype=np.int16).astype(np.float64) / 32768.0
        return data

    def index(self, t):
        return max(0, int(round((t - self.start_time) * RATE)))

    def time_of(self, index):
        return self.start_time + index / RATE


WINDOW = RATE // 200  # 5 ms


def levels(x):
    n = len(x) // WINDOW
    return np.sqrt(np.mean(x[: n * WINDOW].reshape(n, WINDOW) ** 2, axis=1)) if n else np.zeros(0)


def first_sound(rec, after, threshold=0.01):
    """Wall-clock time of the first 5 ms with sound after time after; None when silent."""
    x = rec.samples()
    start = rec.index(after)
    lv = levels(x[start:])
    loud = np.nonzero(lv > threshold)[0]
    return None if len(loud) == 0 else rec.time_of(start + loud[0] * WINDOW)


def level(rec, t0, t1):
    x = rec.samples()[rec.index(t0):rec.index(t1)]
    return float(np.sqrt(np.mean(x ** 2))) if len(x) else 0.0


def pitch(rec, t0, t1):
    """The strongest frequency between t0 and t1, Hz."""
    x = rec.samples()[rec.index(t0):rec.index(t1)]
    if len(x) < RATE // 10:
        return 0.0
    spectrum = np.abs(np.fft.rfft(x * np.hanning(len(x))))
    return float(np.argmax(spectrum) * RATE / len(x))


def longest_silence(rec, t0, t1, threshold=0.01):
    """The longest run of silence between t0 and t1, seconds (1 ms resolution)."""
    x = np.abs(rec.samples()[rec.index(t0):rec.index(t1)])
    step = RATE // 1000
    n = len(x) // step
    if n == 0:
        return 0.0
    peaks = x[: n * step].reshape(n, step).max(axis=1)
    longest = run = 0
    for quiet in peaks < threshold:
        run = run + 1 if quiet else 0
        longest = max(longest, run)
    return longest / 1000.0
