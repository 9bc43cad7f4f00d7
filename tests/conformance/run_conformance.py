#!/usr/bin/env python3
"""Reads generated recorder data files with kvr-tool and with the independent
reference reader and compares everything: the index (`kvr-tool info`), the
WAV bytes (`kvr-tool wav`) and whether each slot yields a picture
(`kvr-tool frame`).

    run_conformance.py --tool build/bin/kvr-tool [--seed N] [--count N]
                       [--only TEXT] [--keep DIR] [--jobs N]

The caller sets TZ (Asia/Tokyo in CTest); a few cases run in America/New_York.
Ends with the line "N passed, M failed"; the exit status is 1 on any failure.
"""

import argparse
import concurrent.futures
import json
import os
import random
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # keep the source folder clean when CTest runs this
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from recording_factory import all_cases  # noqa: E402
from reference_reader import read_recording  # noqa: E402

UNREADABLE_TEXT = "該当データを読み込めません。"
MAX_FRAME_CHECKS = 40
MAX_REPORTED_DIFFERENCES = 12
TOOL_TIMEOUT_S = 120


def use_time_zone(tz):
    os.environ["TZ"] = tz
    time.tzset()


BASE_ENVIRONMENT = dict(os.environ)


def run_tool(tool, args, tz):
    env = dict(BASE_ENVIRONMENT, TZ=tz)
    return subprocess.run([tool] + args, env=env, capture_output=True, timeout=TOOL_TIMEOUT_S)


def differences(expected, actual, path="info"):
    """Paths where two JSON values differ; numbers compare exactly."""
    if isinstance(expected, dict) and isinstance(actual, dict):
        out = []
        for key in expected:
            if key not in actual:
                out.append((f"{path}.{key}", expected[key], "<missing>"))
            else:
                out += differences(expected[key], actual[key], f"{path}.{key}")
        out += [(f"{path}.{key}", "<absent>", actual[key]) for key in actual if key not in expected]
        return out
    if isinstance(expected, list) and isinstance(actual, list):
        out = []
        if len(expected) != len(actual):
            out.append((f"{path}.length", len(expected), len(actual)))
        for i, (e, a) in enumerate(zip(expected, actual)):
            out += differences(e, a, f"{path}[{i}]")
        return out
    same_kind = isinstance(expected, bool) == isinstance(actual, bool)
    numbers = all(isinstance(v, (int, float)) for v in (expected, actual))
    if numbers and same_kind and expected == actual:
        return []
    if not numbers and expected == actual:
        return []
    return [(path, expected, actual)]


def describe_wav_difference(expected, actual):
    if len(expected) != len(actual):
        head = f"length {len(expected)} expected, {len(actual)} written"
    else:
        head = f"length {len(expected)}"
    first = next((i for i, (e, a) in enumerate(zip(expected, actual)) if e != a), min(len(expected), len(actual)))
    return f"wav differs: {head}; first difference at byte {first} " \
           f"(expected {expected[first:first + 8].hex()}, written {actual[first:first + 8].hex()})"


def frame_sample(frames, rng):
    """Slots to ask kvr-tool for a picture: all of a short recording, else a
    sample that favours distinct verdicts and the ends of the recording."""
    known = [i for i, verdict in enumerate(frames) if verdict is not None]
    if len(known) <= MAX_FRAME_CHECKS:
        return known
    chosen = {known[0], known[-1]}
    negatives = [i for i in known if frames[i] is False]
    chosen.update(negatives[:MAX_FRAME_CHECKS // 2])
    rest = [i for i in known if i not in chosen]
    chosen.update(rng.sample(rest, min(len(rest), MAX_FRAME_CHECKS - len(chosen))))
    return sorted(chosen)


def check_case(tool, case, reading, workdir, seed):
    """Problems found for one case (empty when kvr-tool agrees)."""
    path = os.path.join(workdir, "recording.dat")
    with open(path, "wb") as f:
        f.write(case.data)
    problems = []

    info = run_tool(tool, ["info", path], case.tz)
    stderr = info.stderr.decode("utf-8", "replace").strip()
    if reading.error is not None:
        if info.returncode != 1:
            problems.append(f"expected the file to be unreadable ({reading.error}); "
                            f"kvr-tool info exited {info.returncode}")
        elif UNREADABLE_TEXT not in stderr:
            problems.append(f"unreadable file reported without {UNREADABLE_TEXT!r}: {stderr!r}")
        return problems, 0, 0
    if info.returncode != 0:
        return [f"kvr-tool info exited {info.returncode} (reference reads it): {stderr!r}"], 0, 0
    try:
        actual = json.loads(info.stdout)
    except json.JSONDecodeError as failure:
        return [f"kvr-tool info printed no JSON object: {failure}"], 0, 0
    diffs = differences(reading.info, actual)
    for where, want, got in diffs[:MAX_REPORTED_DIFFERENCES]:
        problems.append(f"{where}: expected {want!r}, kvr-tool {got!r}")
    if len(diffs) > MAX_REPORTED_DIFFERENCES:
        problems.append(f"... and {len(diffs) - MAX_REPORTED_DIFFERENCES} more differences in info")

    wav_path = os.path.join(workdir, "sound.wav")
    wav = run_tool(tool, ["wav", path, wav_path], case.tz)
    if wav.returncode != 0 or not os.path.exists(wav_path):
        problems.append(f"kvr-tool wav exited {wav.returncode}: {wav.stderr.decode('utf-8', 'replace')!r}")
    else:
        with open(wav_path, "rb") as f:
            written = f.read()
        if written != reading.wav:
            problems.append(describe_wav_difference(reading.wav, written))

    checked = frame_failures = 0
    unknown = sum(1 for verdict in reading.frames if verdict is None)
    png_path = os.path.join(workdir, "frame.png")
    for index in frame_sample(reading.frames, random.Random(seed)):
        if os.path.exists(png_path):
            os.remove(png_path)
        frame = run_tool(tool, ["frame", path, str(index), png_path], case.tz)
        checked += 1
        want = 0 if reading.frames[index] else 3
        if frame.returncode != want:
            frame_failures += 1
            if frame_failures > MAX_REPORTED_DIFFERENCES:
                continue
            problems.append(f"frame {index}: expected exit {want} "
                            f"({'a picture' if want == 0 else 'no picture'}), kvr-tool exited {frame.returncode}")
        elif want == 0:
            with open(png_path, "rb") as f:
                if f.read(8) != b"\x89PNG\r\n\x1a\n":
                    problems.append(f"frame {index}: exit 0 but {png_path} is no PNG")
    if frame_failures > MAX_REPORTED_DIFFERENCES:
        problems.append(f"... and {frame_failures - MAX_REPORTED_DIFFERENCES} more frames differ")
    return problems, checked, unknown


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tool", required=True, help="path of kvr-tool")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--count", type=int, default=100, help="number of randomly damaged files")
    parser.add_argument("--only", default="", help="run only cases whose name contains this text")
    parser.add_argument("--keep", default="", help="folder to copy failing files into")
    parser.add_argument("--jobs", type=int, default=min(4, os.cpu_count() or 1))
    args = parser.parse_args()

    caller_tz = os.environ.get("TZ", "")
    if not caller_tz:
        print("TZ is not set; times would depend on this machine's zone", file=sys.stderr)
        return 2
    if not os.access(args.tool, os.X_OK):
        print(f"{args.tool} is not an executable", file=sys.stderr)
        return 2

    cases = [c for c in all_cases(args.seed, args.count) if args.only in c.name]
    passed = failed = frames_checked = frames_unknown = 0
    with tempfile.TemporaryDirectory(prefix="kvr-conformance-") as root, \
            concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        pending = []
        for number, case in enumerate(cases):
            use_time_zone(case.tz)
            reading = read_recording(case.data, case.valid_jpegs)
            workdir = os.path.join(root, str(number))
            os.mkdir(workdir)
            pending.append((case, pool.submit(check_case, args.tool, case, reading, workdir, number)))
        use_time_zone(caller_tz)
        for case, future in pending:
            try:
                problems, checked, unknown = future.result()
            except subprocess.TimeoutExpired as timeout:
                problems, checked, unknown = [f"kvr-tool did not finish: {' '.join(timeout.cmd[1:2])}"], 0, 0
            frames_checked += checked
            frames_unknown += unknown
            if problems:
                failed += 1
                print(f"FAIL {case.name} (TZ={case.tz}, {len(case.data)} bytes)")
                for problem in problems:
                    print(f"    {problem}")
                if args.keep:
                    os.makedirs(args.keep, exist_ok=True)
                    with open(os.path.join(args.keep, case.name + ".dat"), "wb") as f:
                        f.write(case.data)
            else:
                passed += 1
    print(f"{frames_checked} frame requests checked; {frames_unknown} slots hold pictures "
          f"this suite cannot judge (not generated as valid JPEG)")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
