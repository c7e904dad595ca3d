"""German banks by their bank code (Bankleitzahl): short names, BICs, and the
search the control's bank-code field offers.

A Bankleitzahl has eight digits and names a bank, or a branch of one, in the
Deutsche Bundesbank's bank directory; the first digit names the clearing
region, the next two the place. The directory gives each bank code its short
name, its BIC and the method by which its accounts' check digits are tested.
Every function reads the compiled-in directory of 2009 unless `directory=`
names "current" (the compiled-in one of 2026-03-09) or a Bundesbank file. `name`
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
>>> name("10020000"), name("10020000", directory="current")
('Berliner Bank', None)
"""

from __future__ import annotations

from typing import List, NamedTuple, Optional

from ._directory import Directory, handle_of
from ._native import lib, take_string
from ._text import Text, c_text, compact

__all__ = ["Bank", "bic", "name", "search"]


class Bank(NamedTuple):
    bank_code: str
    name: str


def name(bank_code: Text, directory: Optional[Directory] = None) -> Optional[str]:
    """The bank's short name, or None when the directory has no such bank code.
    Blanks around the bank code are ignored, as the check ignores them."""
    text = c_text(compact(bank_code, "bank_code"), "bank_code")
    handle = handle_of(directory)
    if handle is None:
        return take_string(lib.tavrel_bank_name(text))
    return take_string(lib.tavrel_bank_name_in(handle, text))


def bic(bank_code: Text, directory: Optional[Directory] = None) -> Optional[str]:
    """The BIC of the bank's main record, or None when the directory has no such
    bank code or no BIC for it. Blanks around the bank code are ignored."""
    text = c_text(bank_code, "bank_code")
    handle = handle_of(directory)
    if handle is None:
        return take_string(lib.tavrel_bic(text))
    return take_string(lib.tavrel_bic_in(handle, text))


def search(text: Text, directory: Optional[Directory] = None) -> List[Bank]:
    """The banks found, in ascending order of bank code; [] when none."""
    query = c_text(text, "text")
    handle = handle_of(directory)
    lines = take_string(
        lib.tavrel_search(query) if handle is None else lib.tavrel_search_in(handle, query)
    )
    if lines is None:
        raise MemoryError("tavrel_search ran out of memory")
    hits = []
    for line in lines.splitlines():
        bank_code, _, short_name = line.partition(" | ")
        hits.append(Bank(bank_code, short_name))
    return hits
