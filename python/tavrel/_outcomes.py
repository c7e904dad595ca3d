"""The outcome table as the C library gives it: for each result value its
stable code, German message and field, and the exception it raises. Nothing
here lists results; only the kind of fault a code names picks the exception."""

from __future__ import annotations

from dataclasses import dataclass
from typing import Dict, Optional, Type

import numpy as np

from ._native import lib, static_string, take_string
from .exceptions import (
    InvalidChecksum,
    InvalidComponent,
    InvalidFormat,
    InvalidLength,
    ValidationError,
)

# A code's ending names the kind of fault ("bank_code_length", "iban_length").
_KIND_ENDINGS = (
    ("_length", InvalidLength),
    ("_not_digits", InvalidFormat),
    ("_format", InvalidFormat),
    ("_check_digit", InvalidChecksum),
    ("_checksum", InvalidChecksum),
    ("_unknown", InvalidComponent),
    ("_not_found", InvalidComponent),
)


@dataclass(frozen=True)
class Outcome:
    value: int
    code: str
    message: str
    field: Optional[str]  # "bank_code", "account", "iban" or None

    @property
    def valid(self) -> bool:
        # tavrel.h: 0 is valid, 1 valid without check, every fault negative.
        return self.value >= 0

    @property
    def error(self) -> Type[ValidationError]:
        for ending, error in _KIND_ENDINGS:
            if self.code.endswith(ending):
                return error
        return ValidationError


def _read_outcomes() -> Dict[int, Outcome]:
    # Results are signed chars in the batch entry: every value there is.
    outcomes = {}
    for value in range(-128, 128):
        code = static_string(lib.tavrel_result_code(value))
        if code is None:
            continue
        message = take_string(lib.tavrel_message(value))
        if message is None:
            raise MemoryError("tavrel_message ran out of memory")
        field = static_string(lib.tavrel_result_field(value)) or None
        outcomes[value] = Outcome(value, code, message, field)
    return outcomes


OUTCOMES = _read_outcomes()


def outcome_of(value: int) -> Outcome:
    """The outcome of a check's result; MemoryError for the library's -99."""
    found = OUTCOMES.get(value)
    if found is None:
        raise MemoryError(f"tavrel: the check ran out of memory (result {value})")
    return found


def raise_for(value: int) -> None:
    """Raises the outcome's exception when the result is not valid."""
    outcome = outcome_of(value)
    if not outcome.valid:
        raise outcome.error(outcome.value, outcome.code, outcome.message, outcome.field)


def _lookup_table(attribute: str) -> np.ndarray:
    # Indexed by a result's byte (its int8 viewed as uint8); None where no outcome.
    table = np.full(256, None, dtype=object)
    for value, outcome in OUTCOMES.items():
        table[value & 0xFF] = getattr(outcome, attribute)
    return table


CODES = _lookup_table("code")
MESSAGES = _lookup_table("message")


def codes_of(results: np.ndarray) -> np.ndarray:
    """The code of each int8 result, by one table lookup for the whole array."""
    return CODES[results.view(np.uint8)]


def messages_of(results: np.ndarray) -> np.ndarray:
    return MESSAGES[results.view(np.uint8)]
