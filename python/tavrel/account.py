"""German bank account numbers (Kontonummer) with their bank code (Bankleitzahl).

A German account number has one to ten digits. Its bank, named by an
eight-digit bank code, tells which of the Deutsche Bundesbank's check-digit
methods it follows; the method says whether the account's check digit is right.
Blanks around either number are ignored. The check follows the 2009 rules
unless `rules="current"` names the Bundesbank's rules as changed since; the
bank directory is the 2009 one either way.

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
"""

from __future__ import annotations

from dataclasses import dataclass, field
from typing import Optional

from . import bank
from ._native import lib
from ._outcomes import outcome_of, raise_for
from ._text import Text, c_text, rules_argument
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


def _result(bank_code: Text, account: Text, rules: str) -> int:
    return lib.tavrel_check_rules(
        c_text(bank_code, "bank_code"), c_text(account, "account"), rules_argument(rules)
    )


def compact(account: Text) -> str:
    """The account as the check reads it, without blanks at either end.

    >>> compact(" 9290701\\t")
    '9290701'
    """
    return _compact(account, "account")


def validate(bank_code: Text, account: Text, rules: str = "2009") -> str:
    """Returns the compact account when it is valid for the bank; raises the
    ValidationError of the fault otherwise, TypeError for an argument that is
    neither str, bytes nor int, ValueError for unknown rules."""
    raise_for(_result(bank_code, account, rules))
    return compact(account)


def is_valid(bank_code: Text, account: Text, rules: str = "2009") -> bool:
    """Whether the account is valid for the bank."""
    try:
        validate(bank_code, account, rules)
    except ValidationError:
        return False
    return True


def check(bank_code: Text, account: Text, rules: str = "2009") -> CheckResult:
    """Checks without raising for a fault of the input."""
    outcome = outcome_of(_result(bank_code, account, rules))
    return CheckResult(
        outcome.value, outcome.code, outcome.message, bank.name(bank_code), bank.bic(bank_code)
    )
