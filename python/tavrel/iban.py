"""IBAN (International Bank Account Number, ISO 13616).

An IBAN is a two-letter country code, two check digits and the country's own
account identifier, at most 34 letters and digits, valid when the number read
from it (moved four places, letters as 10 to 35) leaves 1 modulo 97. A German
IBAN has 22 characters: DE, the check digits, the eight-digit bank code and the
account padded with zeros to ten digits. Blanks anywhere, any letter case and
a leading "IBAN" are accepted. The account of a German IBAN is checked by its
bank's check-digit method in the 2009 directory and rules, unless
`check_account=False`: a bank that builds IBANs by a rule of its own may hold
a changed account in them. `directory=` names another directory for the
account's check, the conversion and the BIC: "current" or a Bundesbank file,
each by its own rules, as in tavrel.account.

>>> validate("DE89 3704 0044 0532 0130 00")
'DE89370400440532013000'
>>> validate("DE88370400440532013000")
Traceback (most recent call last):
    ...
tavrel.exceptions.InvalidChecksum: IBAN-Prüfsumme ungültig! (iban_checksum)
>>> validate("DE18120300000012345678")
Traceback (most recent call last):
    ...
tavrel.exceptions.InvalidChecksum: Prüfziffer ungültig! (invalid_check_digit)
>>> validate("DE18120300000012345678", check_account=False)
'DE18120300000012345678'
>>> is_valid("GB82 WEST 1234 5698 7654 32"), is_valid("DE8937040044053201300")
(True, False)
>>> format("de59120300000009290701")
'DE59 1203 0000 0009 2907 01'
>>> compact("IBAN DE59 1203 0000 0009 2907 01")
'DE59120300000009290701'
>>> from_account("12030000", "9290701")
'DE59120300000009290701'
>>> to_bic("DE59 1203 0000 0009 2907 01")
'BYLADEM1001'

`from_account` builds the IBAN by the standard conversion only (bank code and
account): the banks' own IBAN rules are not at hand, so let the bank confirm it.
"""

from __future__ import annotations

import ctypes
from typing import Optional

from . import bank
from ._directory import Directory, handle_of
from ._native import lib, take_string
from ._outcomes import raise_for
from ._text import Text, c_text
from .exceptions import (  # noqa: F401 (each number module offers the exceptions)
    InvalidChecksum,
    InvalidComponent,
    InvalidFormat,
    InvalidLength,
    ValidationError,
)

__all__ = [
    "compact",
    "format",
    "from_account",
    "is_valid",
    "to_bic",
    "validate",
    "InvalidChecksum",
    "InvalidComponent",
    "InvalidFormat",
    "InvalidLength",
    "ValidationError",
]

# tavrel.h's TAVREL_NO_ACCOUNT_CHECK: no account was checked.
_NO_ACCOUNT_CHECK = -1


def _check(number: Text, directory: Optional[Directory] = None) -> tuple:
    text = c_text(number, "number")
    handle = handle_of(directory)
    account = ctypes.c_int(_NO_ACCOUNT_CHECK)
    if handle is None:
        result = lib.tavrel_iban_check(text, ctypes.byref(account))
    else:
        result = lib.tavrel_iban_check_in(handle, text, ctypes.byref(account))
    return result, account.value


def _format(number: Text, print_form: bool) -> str:
    text = take_string(lib.tavrel_iban_format(c_text(number, "number"), int(print_form)))
    if text is None:
        # Only the characters and the length refuse a text, which validate says.
        raise_for(_check(number)[0])
        raise MemoryError("tavrel_iban_format ran out of memory")
    return text


def compact(number: Text) -> str:
    """The electronic form: no blanks, upper case, without a leading "IBAN";
    InvalidFormat or InvalidLength when no IBAN can be written so."""
    return _format(number, False)


def format(number: Text) -> str:  # noqa: A001 (the name every number module uses)
    """The print form: groups of four separated by blanks."""
    return _format(number, True)


def validate(number: Text, check_account: bool = True,
             directory: Optional[Directory] = None) -> str:
    """Returns the electronic form when the IBAN is valid and, for a German one
    with `check_account`, its account passes its bank's check; raises the
    ValidationError of the first fault otherwise."""
    result, account = _check(number, directory)
    raise_for(result)
    if check_account and account != _NO_ACCOUNT_CHECK:
        raise_for(account)
    return compact(number)


def is_valid(number: Text, check_account: bool = True,
             directory: Optional[Directory] = None) -> bool:
    """Whether validate accepts the IBAN."""
    try:
        validate(number, check_account, directory)
    except ValidationError:
        return False
    return True


def from_account(bank_code: Text, account: Text, directory: Optional[Directory] = None) -> str:
    """The German IBAN of a valid account by the standard conversion; raises the
    account's ValidationError when it is not valid."""
    bank_code_text = c_text(bank_code, "bank_code")
    account_text = c_text(account, "account")
    handle = handle_of(directory)
    if handle is None:
        built = take_string(lib.tavrel_iban_from_account(bank_code_text, account_text))
    else:
        built = take_string(lib.tavrel_iban_from_account_in(handle, bank_code_text, account_text))
    if built is None:
        from . import account as _account

        _account.validate(bank_code, account, directory=directory)
        raise MemoryError("tavrel_iban_from_account ran out of memory")
    return built


def to_bic(number: Text, directory: Optional[Directory] = None) -> Optional[str]:
    """The BIC of a German IBAN's bank, None for another country or a bank code
    without one; raises for an invalid IBAN (its account is not checked)."""
    electronic = validate(number, check_account=False, directory=directory)
    if not electronic.startswith("DE"):
        return None
    return bank.bic(electronic[4:12], directory=directory)
