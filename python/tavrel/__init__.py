"""tavrel: German bank account numbers checked by the Bundesbank's check-digit
methods, over the C library libtavrel.

One module a number kind:

- `tavrel.account`: an account number with its bank code, by the functions every
  number module offers: `validate` (the compact number, or a ValidationError),
  `is_valid`, `check` (the outcome without raising) and `compact`;
- `tavrel.bank`: bank short names, BICs and the bank search;
- `tavrel.iban`: IBANs of every registry country, German ones with their account
  checked, and German IBANs built by the standard conversion;
- `tavrel.check_digit`: why a check gives its verdict (`tavrel.explain`), the
  accounts a slip away that pass (`tavrel.suggest`) and accounts a method
  accepts (`tavrel.generate`), as plain dicts and lists.

Each function checks against the compiled-in bank directory of 2009 by the 2009
rules unless `rules=` ("2009", "current") or `directory=` ("2009", "current" or
the path of a Bundesbank bank-code file) says otherwise; a directory file is
read once, on first use, and kept until the interpreter exits. A file that
cannot be read raises OSError, one that is malformed DirectoryFileError (a
ValueError naming the file and the line at fault).

Columns are checked by one call of the C library: `tavrel.check_many` over
sequences, NumPy arrays or pandas Series, `tavrel.pandas.check_frame` over a
DataFrame and `tavrel.dask.check_dataframe` over the partitions of a Dask
DataFrame.

>>> import tavrel
>>> tavrel.account.is_valid("12030000", "9290701")
True
>>> tavrel.rule_generations()
('2009', 'current')
>>> tavrel.explain("12030000", "9290702")["message"]
'Prüfziffer ungültig!'

Every function may be called from several threads at once: the C library keeps
no mutable state for these calls, a directory once opened is immutable and its
first opening is guarded by a lock, and ctypes releases the interpreter lock
while a call runs, so batch checks in threads run side by side.

The library is the file named by the environment variable TAVREL_LIBRARY, else
the one `cmake --install` put beside this package, else libtavrel.so.1 on the
system's library path.
"""

from __future__ import annotations

from . import account, bank, check_digit, iban
from ._batch import check_many
from .check_digit import explain, generate, suggest
from ._native import lib as _lib
from ._native import static_string as _static_string
from ._text import rule_generations
from .exceptions import (
    DirectoryFileError,
    InvalidChecksum,
    InvalidComponent,
    InvalidFormat,
    InvalidLength,
    ValidationError,
)

__version__ = "1.0.0"

__all__ = [
    "account",
    "bank",
    "check_digit",
    "check_many",
    "explain",
    "generate",
    "iban",
    "library_version",
    "rule_generations",
    "suggest",
    "DirectoryFileError",
    "InvalidChecksum",
    "InvalidComponent",
    "InvalidFormat",
    "InvalidLength",
    "ValidationError",
]


def library_version() -> str:
    """The version of the C library in use, e.g. "1.0.0"."""
    return _static_string(_lib.tavrel_version()) or ""
