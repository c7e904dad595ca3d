"""Times the Python package's column check on one million rows from two pandas
Series of str, part by part, beside the per-row ways a first try would take.

Usage: python_check_many.py [ROWS]   (the package and its library as for
`import tavrel`; `cmake --build build/release --target bench_python` sets both)

Every figure is the median of several runs in this process.
"""

import statistics
import sys
import time

import numpy as np
import pandas as pd

import tavrel
from tavrel import _batch
from tavrel.pandas import check_frame, outcome_columns

RUNS = 7
TARGET_SECONDS = 0.5  # check_many over a million rows


def median_seconds(work, runs=RUNS):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        work()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def frame_of(rows):
    rng = np.random.default_rng(20091207)
    codes = [hit.bank_code for prefix in range(10, 90) for hit in tavrel.bank.search(str(prefix))]
    lengths = rng.integers(1, 11, rows)
    accounts = rng.integers(0, 10**10, rows, dtype=np.int64) % (10**lengths)
    return pd.DataFrame({
        "blz": pd.Series(np.array(codes, dtype=object)[rng.integers(0, len(codes), rows)]),
        "konto": pd.Series(accounts).astype(str),
    })


def report(figure, seconds, rows, note=""):
    print(f"{figure:<44} {seconds * 1000:10.1f} ms {rows / seconds / 1e6:8.2f} M rows/s  {note}")


def main():
    rows = int(sys.argv[1]) if len(sys.argv) > 1 else 1_000_000
    frame = frame_of(rows)
    banks, accounts = frame["blz"], frame["konto"]
    print(f"{rows} rows, two pandas Series of str; library {tavrel.library_version()}")

    columns = (_batch.c_strings(banks, "blz"), _batch.c_strings(accounts, "konto"))
    results = _batch.check_columns(*columns, b"2009")
    parts = {
        "conversion: both columns to C strings": lambda: (_batch.c_strings(banks, "blz"),
                                                           _batch.c_strings(accounts, "konto")),
        "C call: tavrel_check_many_rules": lambda: _batch.check_columns(*columns, b"2009"),
        "columns: result, code, message": lambda: outcome_columns(results),
    }
    for figure, work in parts.items():
        report(figure, median_seconds(work), rows)

    total = median_seconds(lambda: tavrel.check_many(banks, accounts))
    met = "met" if total < TARGET_SECONDS else "NOT MET"
    report("tavrel.check_many", total, rows, f"target < {TARGET_SECONDS * 1000:.0f} ms: {met}")
    report("tavrel.pandas.check_frame", median_seconds(lambda: check_frame(frame)),
           rows)
    report("tavrel.check_many(directory='current')",
           median_seconds(lambda: tavrel.check_many(banks, accounts, directory="current")), rows)

    # The per-row ways, on a tenth of the rows and counted per row like the rest.
    sample = frame.iloc[: rows // 10]
    per_row = median_seconds(lambda: sample.apply(
        lambda row: tavrel.account.check(row["blz"], row["konto"]).value, axis=1), runs=3)
    report("per row: DataFrame.apply(account.check)", per_row * 10, rows, "(a tenth, scaled)")
    loop = median_seconds(lambda: [tavrel.account.check(b, a).value
                                   for b, a in zip(sample["blz"], sample["konto"])], runs=3)
    report("per row: a loop of account.check", loop * 10, rows, "(a tenth, scaled)")


if __name__ == "__main__":
    main()
