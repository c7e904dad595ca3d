"""German bank account numbers (Kontonummer) with their bank code (Bankleitzahl).

A German account number has one to ten digits. Its bank, named by an
eight-digit bank code, tells which of the Deutsche Bundesbank's check-digit
methods it follows; the method says whether the account's check digit is right.
Blanks around either number are ignored.

Every function checks against the bank directory of 2009 by the 2009 rules
unless told otherwise: `rules="current"` names the Bundesbank's rules as
changed since (the directory stays the 2009 one), `directory="current"` the
compiled-in directory of 2026-03-09 by its own rules, and
`directory="blz_20260309.txt"` any Bundesbank bank-code file, by the rules in
force on the date in its name; `rules=` then overrides the directory's own.
A file is read once, on first use, and kept until the interpreter exits.

>>> validate("12030000", "9290701")
'9290701'
>>> validate(" 12030000", "9290701 ")
'9290701'
>>> validate("12030000", "9290702")
Traceback (most recent call last):
    ...
tavrel.exceptions.InvalidChecksum: Prüfziffer ungültig! (invalid_check_digit)
>>> validate("1203000", "9290701")
Traceback (most recent call last):
    ...
tavrel.exceptions.InvalidLength: BLZ nicht achtstellig! (bank_code_length)
>>> is_valid("99999999", "9290701")
False
>>> is_valid("25950130", "1501824"), is_valid("25950130", "1501824", rules="current")
(False, True)
>>> check("12030000", "9290701")
CheckResult(value=0, code='valid', message='', bank_name='Deutsche Kreditbank Berlin')
>>> check("12030000", "929070x").message
'Konto enthält ungültige Zeichen!'

Bank codes withdrawn since 2009 are unknown to the current directory:

>>> check("10020000", "1234567890").code, check("10020000", "1234567890", directory="current").code
('invalid_check_digit', 'bank_code_unknown')
"""

from __future__ import annotations

import ctypes
from dataclasses import dataclass, field
from typing import Optional

from . import bank
from ._directory import Directory, handle_of
from ._native import lib
from ._outcomes import outcome_of, raise_for
from ._text import Text, c_text, optional_rules
from ._text import compact as _compact
from .exceptions import (  # noqa: F401 (each number module offers the exceptions)
    InvalidChecksum,
    InvalidComponent,
    InvalidFormat,
    InvalidLength,
    ValidationError,
)

__all__ = [
    "CheckResult",
    "check",
    "compact",
    "is_valid",
    "validate",
    "InvalidChecksum",
    "InvalidComponent",
    "InvalidFormat",
    "InvalidLength",
    "ValidationError",
]


@dataclass(frozen=True)
class CheckResult:
    """What one check found: the result value as tavrel_check gives it, its
    stable code, the German message ("" for a valid account), the short name
    of the bank and its BIC (None when the bank code is not in the directory or
    has no BIC; left out of the repr, which stays as it was before the BIC)."""

    value: int
    code: str
    message: str
    bank_name: Optional[str]
    bic: Optional[str] = field(repr=False)

    @property
    def valid(self) -> bool:
        return self.value >= 0


def _result(bank_code: Text, account: Text, rules: Optional[str],
            directory: Optional[Directory]) -> int:
    bank_code_text = c_text(bank_code, "bank_code")
    account_text = c_text(account, "account")
    rules_name = optional_rules(rules)
    handle = handle_of(directory)
    if handle is None:
        return lib.tavrel_check_rules(bank_code_text, account_text, rules_name)
    if rules_name is None:
        return lib.tavrel_check_in(handle, bank_code_text, account_text)
    # A directory by rules not its own: the batch entry takes both, here for one row.
    result = ctypes.c_byte()
    status = lib.tavrel_check_many_in(
        handle, 1, ctypes.byref(ctypes.c_char_p(bank_code_text)),
        ctypes.byref(ctypes.c_char_p(account_text)), ctypes.byref(result), rules_name)
    if status != 0:
        raise RuntimeError(f"tavrel_check_many_in failed ({status})")
    return result.value


def compact(account: Text) -> str:
    """The account as the check reads it, without blanks at either end.

    >>> compact(" 9290701\\t")
    '9290701'
    """
    return _compact(account, "account")


def validate(bank_code: Text, account: Text, rules: Optional[str] = None,
             directory: Optional[Directory] = None) -> str:
    """Returns the compact account when it is valid for the bank; raises the
    ValidationError of the fault otherwise, TypeError for an argument that is
    neither str, bytes nor int, ValueError for unknown rules, OSError or
    DirectoryFileError for a directory file that cannot be used."""
    raise_for(_result(bank_code, account, rules, directory))
    return compact(account)


def is_valid(bank_code: Text, account: Text, rules: Optional[str] = None,
             directory: Optional[Directory] = None) -> bool:
    """Whether the account is valid for the bank."""
    try:
        validate(bank_code, account, rules, directory)
    except ValidationError:
        return False
    return True


def check(bank_code: Text, account: Text, rules: Optional[str] = None,
          directory: Optional[Directory] = None) -> CheckResult:
    """Checks without raising for a fault of the input; the bank's name and BIC
    come from the same directory."""
    outcome = outcome_of(_result(bank_code, account, rules, directory))
    return CheckResult(
        outcome.value,
        outcome.code,
        outcome.message,
        bank.name(bank_code, directory=directory),
        bank.bic(bank_code, directory=directory),
    )
