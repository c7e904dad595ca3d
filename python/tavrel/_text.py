"""Single arguments on their way to the C library: what is accepted, and how it
becomes the library's NUL-terminated UTF-8."""

from __future__ import annotations

import numbers
from typing import Optional, Union

from ._native import lib, static_string

Text = Union[str, bytes, int]

# What the check ignores at both ends of a bank code or an account.
_BLANKS = " \t\n\v\f\r"


def c_text(value: object, name: str) -> bytes:
    """`value` as the library reads it: UTF-8 bytes without a NUL.

    A str is encoded, a character that UTF-8 cannot hold (a lone surrogate)
    becoming "?" as the library turns any character without a Windows-1252 form
    into "?"; bytes go as they are, the library's converter answering bytes
    that are not UTF-8; an integer gives its decimal digits. A C string ends at
    its first NUL, so a NUL goes as U+0001: the check treats both alike, as a
    character it does not trim and that is no digit.
    """
    if isinstance(value, str):
        data = value.encode("utf-8", "replace")
    elif isinstance(value, (bytes, bytearray)):
        data = bytes(value)
    elif isinstance(value, numbers.Integral) and not isinstance(value, bool):
        data = str(int(value)).encode("ascii")
    else:
        raise TypeError(f"{name} must be str, bytes or int, not {type(value).__name__}")
    return data.replace(b"\0", b"\x01")


def compact(value: object, name: str) -> str:
    """The text the check reads: `value` without blanks at either end."""
    if isinstance(value, str):
        text = value
    elif isinstance(value, (bytes, bytearray)):
        text = bytes(value).decode("utf-8", "replace")
    else:
        text = c_text(value, name).decode("ascii")  # an integer's digits, or the TypeError
    return text.strip(_BLANKS)


def rule_generations() -> tuple:
    """The names of the rule generations the library holds, oldest first."""
    names = []
    while True:
        name = static_string(lib.tavrel_rules_name(len(names)))
        if name is None:
            return tuple(names)
        names.append(name)


_RULES = rule_generations()


def rules_argument(rules: object) -> bytes:
    """A rule generation's name as the library takes it; ValueError for a name
    the library does not know, which it would answer with -2 on every check."""
    if not isinstance(rules, str):
        raise TypeError(f"rules must be str, not {type(rules).__name__}")
    if rules not in _RULES:
        raise ValueError(f"unknown rules {rules!r}: the library knows {', '.join(_RULES)}")
    return rules.encode("ascii")


def optional_rules(rules: object) -> Optional[bytes]:
    """rules_argument, or None for None: the directory's own rules (the 2009
    ones when no directory is named)."""
    return None if rules is None else rules_argument(rules)
