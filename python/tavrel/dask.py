"""Account checks over a Dask DataFrame: the pandas check mapped over its
partitions, so that a cluster's workers check their parts side by side.

Each worker needs the package and the C library, as the process that builds
the graph does.

>>> import dask.dataframe as dd
>>> import pandas as pd
>>> from tavrel.dask import check_dataframe
>>> frame = pd.DataFrame({"blz": ["12030000", "12030000"], "konto": ["9290701", "9290702"]})
>>> checked = check_dataframe(dd.from_pandas(frame, npartitions=2))
>>> checked["code"].compute().tolist()
['valid', 'invalid_check_digit']
"""

from __future__ import annotations

from typing import Optional

import dask.dataframe as dd

from ._directory import Directory
from .pandas import check_frame

__all__ = ["check_dataframe"]


def check_dataframe(
    frame: dd.DataFrame,
    bank: str = "blz",
    account: str = "konto",
    rules: Optional[str] = None,
    prefix: str = "",
    directory: Optional[Directory] = None,
) -> dd.DataFrame:
    """The lazy Dask DataFrame of `check_frame` over each partition of `frame`:
    the columns result, code and message added. The arguments are those of
    tavrel.pandas.check_frame, and so are its errors, raised here already for a
    missing column or a name taken. A directory file is opened by each worker
    process, so its path must name the file on every worker."""
    options = dict(bank=bank, account=account, rules=rules, prefix=prefix, directory=directory)
    meta = check_frame(frame._meta, **options)
    return frame.map_partitions(check_frame, **options, meta=meta)
