"""The exceptions a validation raises, one class for each kind of fault, and
the one a Bundesbank file that cannot be used as a directory raises.

Every one is a ValidationError, itself a ValueError, and carries the outcome of
the check: its value (as tavrel_check gives it), its stable English code, the
German message and the input field it concerns.

>>> from tavrel import account
>>> try:
...     account.validate("12030000", "92907O1")
... except account.InvalidFormat as error:
...     print(error.value, error.code, error.field)
-8 account_not_digits account
"""

from __future__ import annotations

from typing import Optional


class ValidationError(ValueError):
    """A check that did not pass: the base of every fault below."""

    def __init__(self, value: int, code: str, message: str, field: Optional[str]) -> None:
        super().__init__(f"{message} ({code})")
        self.value = value
        self.code = code
        self.message = message
        self.field = field


class InvalidFormat(ValidationError):
    """A character that does not belong: a bank code or account with a non-digit."""


class InvalidLength(ValidationError):
    """A bank code not of eight characters, an account empty or over ten digits."""


class InvalidChecksum(ValidationError):
    """The check digit is wrong (or the account is zeros only)."""


class InvalidComponent(ValidationError):
    """A part that is not known: a bank code not in the directory, or a method
    the rules do not hold."""


class DirectoryFileError(ValueError):
    """A Bundesbank bank-code file that the library cannot use as a directory:
    `filename` is its path, and the message names the line and field at fault."""

    def __init__(self, filename: str, message: str) -> None:
        super().__init__(message if message.startswith(filename) else f"{filename}: {message}")
        self.filename = filename
