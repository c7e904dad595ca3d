"""German banks by their bank code (Bankleitzahl) in the compiled-in 2009
directory: short names, and the search the control's bank-code field offers.

A bank code has eight digits; the first names the clearing region. `name`
gives the short name of one bank code, `search` finds bank codes by their
leading digits (two to seven) or banks by one or two words of their short
names, separated by a comma and compared ignoring the case of A-Z.

>>> name("12030000")
'Deutsche Kreditbank Berlin'
>>> name("99999999") is None
True
>>> bic("12030000")
'BYLADEM1001'
>>> [hit.bank_code for hit in search("100500")]
['10050000', '10050001', '10050005', '10050006']
>>> search("volksbank,chemnitz")
[Bank(bank_code='87096214', name='Volksbank Chemnitz')]
"""

from __future__ import annotations

from typing import List, NamedTuple, Optional

from ._native import lib, take_string
from ._text import Text, c_text, compact

__all__ = ["Bank", "bic", "name", "search"]


class Bank(NamedTuple):
    bank_code: str
    name: str


def name(bank_code: Text) -> Optional[str]:
    """The bank's short name, or None when the directory has no such bank code.
    Blanks around the bank code are ignored, as the check ignores them."""
    text = compact(bank_code, "bank_code")
    return take_string(lib.tavrel_bank_name(c_text(text, "bank_code")))


def bic(bank_code: Text) -> Optional[str]:
    """The BIC of the bank's main record, or None when the directory has no such
    bank code or no BIC for it. Blanks around the bank code are ignored."""
    return take_string(lib.tavrel_bic(c_text(bank_code, "bank_code")))


def search(text: Text) -> List[Bank]:
    """The banks found, in ascending order of bank code; [] when none."""
    lines = take_string(lib.tavrel_search(c_text(text, "text")))
    if lines is None:
        raise MemoryError("tavrel_search ran out of memory")
    hits = []
    for line in lines.splitlines():
        bank_code, _, short_name = line.partition(" | ")
        hits.append(Bank(bank_code, short_name))
    return hits
