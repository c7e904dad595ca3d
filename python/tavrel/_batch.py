"""Checks over columns: each column becomes one buffer of NUL-terminated UTF-8
strings with an array of their addresses, and one call of the C library's batch
entry checks every row. Nothing is done per row in Python on the usual input, a
column of str."""

from __future__ import annotations

import math
import sys
from typing import Any, Optional, Tuple

import numpy as np

from ._directory import Directory, handle_of
from ._native import lib
from ._text import c_text, optional_rules

__all__ = ["check_many"]

# A column as the batch entry reads it: the buffer of strings and their addresses.
Column = Tuple[np.ndarray, np.ndarray]


def _is_missing(value: object) -> bool:
    if value is None:
        return True
    if isinstance(value, float):
        return math.isnan(value)
    pandas = sys.modules.get("pandas")  # pd.NA and NaT come only from pandas
    return pandas is not None and pandas.isna(value) is True


def _item_bytes(value: object, name: str, index: int) -> bytes:
    """One item in the slow path: anything but a column of plain str or bytes."""
    if _is_missing(value):
        return b""
    try:
        return c_text(value, name)
    except TypeError:
        raise TypeError(
            f"{name}[{index}] is {type(value).__name__}: give str, bytes, int or a missing value"
        ) from None


def _items(values: Any, name: str) -> list:
    """The column's items as a list, which str.join reads fastest."""
    if isinstance(values, (str, bytes, bytearray)):
        raise TypeError(f"{name} must be a sequence of values, not one {type(values).__name__}")
    if hasattr(values, "to_numpy"):  # pandas Series and Index
        values = values.to_numpy()
    if not isinstance(values, np.ndarray):
        return values if isinstance(values, list) else list(values)
    if values.ndim != 1:
        raise ValueError(f"{name} must be one-dimensional, not of shape {values.shape}")
    kind = values.dtype.kind
    if kind in "OSU":
        return values.tolist()
    if kind in "iu":
        return values.astype(str).tolist()
    raise TypeError(
        f"{name} holds {values.dtype} values: give the numbers as text (str) or as integers"
    )


def _joined_at_c_speed(items: list) -> Optional[bytes]:
    """The usual column, all str or all bytes, joined by one call with a NUL
    after each item; None for any other."""
    for separator in ("\0", b"\0"):
        try:
            joined = separator.join(items)  # type: ignore[attr-defined]
        except TypeError:
            continue
        if isinstance(joined, str):
            joined = joined.encode("utf-8", "replace")
        return joined + b"\0"
    return None


def _nul_ends(joined: bytes) -> Tuple[np.ndarray, np.ndarray]:
    buffer = np.frombuffer(joined, dtype=np.uint8)
    return buffer, np.flatnonzero(buffer == 0)


def _terminated(items: list, name: str) -> Tuple[np.ndarray, np.ndarray]:
    """Every item followed by a NUL in one UTF-8 buffer, and the NULs' places."""
    joined = _joined_at_c_speed(items)
    if joined is not None:
        buffer, ends = _nul_ends(joined)
        if len(ends) == len(items):  # else an item holds a NUL itself
            return buffer, ends
    parts = [_item_bytes(value, name, i) for i, value in enumerate(items)]
    return _nul_ends(b"\0".join(parts) + b"\0")


def c_strings(values: Any, name: str) -> Column:
    """The column as the batch entry reads it: the buffer (kept alive by the
    caller) and the address of each item's string in it."""
    items = _items(values, name)
    if not items:
        return np.zeros(1, dtype=np.uint8), np.zeros(0, dtype=np.uintp)
    buffer, ends = _terminated(items, name)
    addresses = np.empty(len(ends), dtype=np.uintp)
    addresses[0] = 0
    addresses[1:] = ends[:-1] + 1
    addresses += buffer.ctypes.data
    return buffer, addresses


def check_columns(bank_codes: Column, accounts: Column, rules: Optional[bytes],
                  directory: Optional[int] = None) -> np.ndarray:
    """One call of the batch entry over two columns from c_strings, against the
    directory handle (None: the 2009 directory)."""
    count = len(bank_codes[1])
    results = np.empty(count, dtype=np.int8)
    arrays = (bank_codes[1].ctypes.data, accounts[1].ctypes.data, results.ctypes.data)
    if directory is None:
        status = lib.tavrel_check_many_rules(count, *arrays, rules)
    else:
        status = lib.tavrel_check_many_in(directory, count, *arrays, rules)
    if status != 0:
        raise RuntimeError(f"the batch check failed ({status})")
    return results


def check_many(bank_codes: Any, accounts: Any, rules: Optional[str] = None,
               directory: Optional[Directory] = None) -> np.ndarray:
    """Checks row i of `bank_codes` with row i of `accounts`: sequences, NumPy
    arrays or pandas Series of str, bytes or int; a missing value (None, NaN,
    pd.NA) counts as empty. Returns each row's result value as a NumPy int8
    array, without raising for faults of the input. `rules` and `directory`
    are those of tavrel.account.check.

    >>> import tavrel
    >>> tavrel.check_many(["12030000", "12030000", "1203"], ["9290701", "9290702", "1"])
    array([ 0, -3, -5], dtype=int8)
    """
    rules_name = optional_rules(rules)
    handle = handle_of(directory)
    banks = c_strings(bank_codes, "bank_codes")
    accounts_column = c_strings(accounts, "accounts")
    if len(banks[1]) != len(accounts_column[1]):
        raise ValueError(
            f"{len(banks[1])} bank codes but {len(accounts_column[1])} accounts: give one of each a row"
        )
    return check_columns(banks, accounts_column, rules_name, handle)
