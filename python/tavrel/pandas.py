"""Account checks over a pandas DataFrame, one call of the C library for all rows.

`check_frame` returns the frame with three columns more: `result` (the int8
result value), `code` (its stable English code) and `message` (the German
message, "" for a valid account). Missing values count as empty input.

>>> import pandas as pd
>>> from tavrel.pandas import check_frame
>>> frame = pd.DataFrame({"blz": ["12030000", "12030000", None],
...                       "konto": ["9290701", "9290702", "9290701"]})
>>> check_frame(frame)[["result", "code"]]
   result                 code
0       0                valid
1      -3  invalid_check_digit
2      -5     bank_code_length
"""

from __future__ import annotations

from typing import Optional

import numpy as np
import pandas as pd

from ._batch import check_many
from ._directory import Directory
from ._outcomes import codes_of, messages_of

__all__ = ["check_frame", "outcome_columns"]


def outcome_columns(results: np.ndarray, prefix: str = "") -> dict:
    """The result, code and message columns for int8 results, the codes and
    messages by one table lookup over the whole array."""
    return {
        f"{prefix}result": results,
        f"{prefix}code": codes_of(results),
        f"{prefix}message": messages_of(results),
    }


def check_frame(
    frame: pd.DataFrame,
    bank: str = "blz",
    account: str = "konto",
    rules: Optional[str] = None,
    prefix: str = "",
    directory: Optional[Directory] = None,
) -> pd.DataFrame:
    """A copy of `frame` with the columns result, code and message (each name
    after `prefix`) for the bank codes in column `bank` and the accounts in
    column `account`, by `rules` against `directory` as tavrel.account.check
    takes them. KeyError for a column the frame lacks; ValueError when
    the frame has a column of a new name already, which would be lost."""
    for column in (bank, account):
        if column not in frame.columns:
            raise KeyError(f"no column {column!r} in the frame: it has {list(frame.columns)}")
    results = check_many(frame[bank], frame[account], rules=rules, directory=directory)
    columns = outcome_columns(results, prefix)
    taken = [name for name in columns if name in frame.columns]
    if taken:
        raise ValueError(f"the frame has the columns {taken} already: choose a prefix")
    # Series on the frame's own index join it without alignment; DataFrame.assign
    # would give the same frame several times slower.
    added = [pd.Series(column, index=frame.index, name=name, copy=False)
             for name, column in columns.items()]
    return pd.concat([frame, *added], axis=1, copy=True)
