"""Account check digits: why a check gives its verdict, the accounts a slip
away that pass, and accounts a method accepts.

Most German account numbers carry a check digit, computed from the other
digits by the method the Deutsche Bundesbank assigns to the account's bank
(a two-character method code such as 00 or B1 in the bank directory): the
digits are weighted, summed or cross-summed, and the remainder modulo 10 or 11
gives the digit the account must hold at the method's check position. A typo
in one digit, or two neighbouring digits swapped, almost always breaks it.
Some methods have no check digit at all; such an account is "valid without
check" (result 1).

`explain` says step by step how the check reached its verdict, `suggest`
lists the accounts one slip away that pass, and `generate` makes accounts
that a bank's method (or a method code) accepts, or that fail by their check
digit alone. Each returns the plain data of the JSON the command line's
--json gives: dicts, lists, str, int, bool and None.

>>> explained = explain("12030000", "9290701")
>>> explained["result"], explained["code"], explained["method"], explained["steps"][0]["key"]
(0, 'valid', '00', '00')
>>> [hit["account"] for hit in suggest("12030000", "9290710")["accounts"]][:1]
['9290701']
>>> from tavrel import account
>>> made = generate(method="00", count=3, length=3)
>>> [account.is_valid("12030000", hit["account"]) for hit in made["accounts"]]
[True, True, True]
>>> bad = generate("12030000", count=2, invalid=True)["accounts"]
>>> [account.check("12030000", hit["account"]).code for hit in bad]
['invalid_check_digit', 'invalid_check_digit']

`rules=` and `directory=` are those of tavrel.account: by default the 2009
directory by the 2009 rules. An argument out of range raises ValueError.
"""

from __future__ import annotations

import json
from typing import Any, Dict, Optional

from ._directory import Directory, handle_of
from ._native import lib, take_string
from ._text import Text, c_text, optional_rules

__all__ = ["explain", "generate", "suggest"]

Json = Dict[str, Any]

_UINT64 = 2**64


def _integer(value: object, name: str, low: int, high: int) -> int:
    if isinstance(value, bool) or not isinstance(value, int):
        raise TypeError(f"{name} must be int, not {type(value).__name__}")
    if not low <= value <= high:
        raise ValueError(f"{name} is {low} to {high}, not {value}")
    return value


def _answer(pointer: Any, entry: str) -> Json:
    text = take_string(pointer)
    if text is None:
        raise MemoryError(f"{entry} ran out of memory")
    answer = json.loads(text)
    if "error" in answer:
        raise ValueError(f"{answer['message']} ({answer['error']})")
    return answer


def explain(bank_code: Text, account: Text, rules: Optional[str] = None,
            directory: Optional[Directory] = None) -> Json:
    """Why the check of `account` at `bank_code` gives its verdict: "tests"
    (the tests of the input, the failed one last for an input fault), "steps"
    (each method or variant that ran or was left out, with its "reason",
    "computations" and the "steps" it ran), "result", "code" and "message"."""
    arguments = (c_text(bank_code, "bank_code"), c_text(account, "account"),
                 optional_rules(rules))
    handle = handle_of(directory)
    if handle is None:
        return _answer(lib.tavrel_explain_json(*arguments), "tavrel_explain_json")
    return _answer(lib.tavrel_explain_json_in(handle, *arguments), "tavrel_explain_json_in")


def suggest(bank_code: Text, account: Text, rules: Optional[str] = None,
            directory: Optional[Directory] = None, limit: int = 5) -> Json:
    """For an account that fails its check digit test: "accounts" one slip
    away that pass it (at most `limit`, 1 to 1000), transpositions first, each
    with its "slip" and "position"; "bank_codes" one slip away whose method
    accepts the account; "status" says why there are none ("already_valid",
    "no_check_digit", "input_fault", ...)."""
    arguments = (c_text(bank_code, "bank_code"), c_text(account, "account"),
                 optional_rules(rules), _integer(limit, "limit", 1, 1000))
    handle = handle_of(directory)
    if handle is None:
        return _answer(lib.tavrel_suggest_json(*arguments), "tavrel_suggest_json")
    return _answer(lib.tavrel_suggest_json_in(handle, *arguments), "tavrel_suggest_json_in")


def generate(bank_code: Optional[Text] = None, *, method: Optional[Text] = None,
             count: int = 10, seed: int = 1, length: int = 0, invalid: bool = False,
             rules: Optional[str] = None, directory: Optional[Directory] = None) -> Json:
    """`count` (1 to 100000) distinct accounts that the method of `bank_code`,
    or the method code or variant key `method`, accepts: give exactly one of
    the two. The same `seed` gives the same accounts; `length` is the number
    of digits (1 to 10, 0 for a mix of six to ten); with `invalid` they fail
    by their check digit alone. "accounts" lists them with the "variant" that
    accepts each; "status" is "generated", or says why there are fewer than
    asked ("too_few", "none", "no_check_digit", "method_not_found",
    "bank_code_fault")."""
    if (bank_code is None) == (method is None):
        raise ValueError("give one of bank_code and method")
    if not isinstance(invalid, bool):
        raise TypeError(f"invalid must be bool, not {type(invalid).__name__}")
    arguments = (
        None if bank_code is None else c_text(bank_code, "bank_code"),
        None if method is None else c_text(method, "method"),
        optional_rules(rules),
        _integer(count, "count", 1, 100000),
        _integer(seed, "seed", 0, _UINT64 - 1),
        _integer(length, "length", 0, 10),
        int(invalid),
    )
    handle = handle_of(directory)
    if handle is None:
        return _answer(lib.tavrel_generate_json(*arguments), "tavrel_generate_json")
    return _answer(lib.tavrel_generate_json_in(handle, *arguments), "tavrel_generate_json_in")
