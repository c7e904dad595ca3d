"""A Dask cluster of two worker processes on 127.0.0.1 checks a CSV of two
million rows in partitions; the answer must equal the single-process one.

Usage: dask_cluster.py SCRATCH_DIR   (the CSV is written there)
"""

import os
import sys
import time

import dask
import dask.dataframe as dd
import numpy as np
import pandas as pd
from distributed import Client, LocalCluster

import tavrel
from tavrel.dask import check_dataframe
from tavrel.pandas import check_frame

ROWS = 2_000_000
SECONDS = 120  # for the cluster to start, to compute and to stop, each


def write_csv(path):
    """Bank codes of the directory (a few unknown or malformed), accounts of one
    to ten digits (a few with a letter or blank), in a fixed random order."""
    rng = np.random.default_rng(20090907)
    codes = [hit.bank_code for prefix in range(10, 90) for hit in tavrel.bank.search(str(prefix))]
    banks = np.array(codes + ["99999999", "1203000", "1203000x"], dtype=object)
    lengths = rng.integers(1, 11, ROWS)
    numbers = rng.integers(0, 10**10, ROWS, dtype=np.int64) % (10 ** lengths)
    accounts = pd.Series(numbers).astype(str)
    odd = rng.random(ROWS)
    accounts[odd < 0.01] = accounts[odd < 0.01] + "x"
    accounts[(odd >= 0.01) & (odd < 0.02)] = ""
    frame = pd.DataFrame({"id": np.arange(ROWS), "blz": banks[rng.integers(0, len(banks), ROWS)],
                          "konto": accounts})
    frame.to_csv(path, index=False)


def main():
    scratch = sys.argv[1]
    os.makedirs(scratch, exist_ok=True)
    path = os.path.join(scratch, "accounts.csv")
    write_csv(path)
    read = dict(dtype=str, keep_default_na=False)
    # The workers send back what the check added, not the input columns.
    answer = ["id", "result", "code", "message"]
    expected = check_frame(pd.read_csv(path, **read))[answer]

    timeouts = {"distributed.comm.timeouts.connect": f"{SECONDS}s",
                "distributed.comm.timeouts.tcp": f"{SECONDS}s",
                "distributed.deploy.lost-worker-timeout": f"{SECONDS}s"}
    with dask.config.set(timeouts), LocalCluster(
            n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1",
            dashboard_address=None, death_timeout=SECONDS) as cluster, \
            Client(cluster, timeout=SECONDS) as client:
        client.wait_for_workers(2, timeout=SECONDS)
        frame = dd.read_csv(path, blocksize=8_000_000, **read)
        assert frame.npartitions >= 4, frame.npartitions
        start = time.monotonic()
        checked = client.compute(check_dataframe(frame)[answer]).result(timeout=SECONDS)
        seconds = time.monotonic() - start
        workers = client.run(os.getpid)
        client.close(timeout=SECONDS)
        cluster.close(timeout=SECONDS)

    pd.testing.assert_frame_equal(checked.reset_index(drop=True), expected)
    counts = expected["code"].value_counts()
    for code in ("valid", "invalid_check_digit", "account_not_digits", "bank_code_unknown"):
        assert counts.get(code, 0) > 0, counts
    print(f"{ROWS} rows in {frame.npartitions} partitions on {len(set(workers.values()))} "
          f"worker processes: {seconds:.1f} s; the same as in one process")


if __name__ == "__main__":
    main()
