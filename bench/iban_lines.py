#!/usr/bin/env python3
"""Turns benchmark lines BANKCODE<TAB>ACCOUNT (as make_lines.py writes them) on standard
input into German IBANs by the standard conversion, one a line, for timing `tavrel iban -`:

    make_lines.py 1000000 | bench/iban_lines.py > ibans.txt
    time tavrel iban - --threads 2 < ibans.txt > /dev/null

Every IBAN is valid; the accounts are random, so many fail their bank's check."""
import sys


def german_iban(bank_code, account):
    bban = bank_code + account.rjust(10, "0")
    # DE is 13 14; the check digits are 98 minus the remainder with 00 in their place.
    return "DE%02d%s" % (98 - int(bban + "131400") % 97, bban)


def main():
    out = sys.stdout
    buf = []
    for line in sys.stdin:
        bank_code, account = line.rstrip("\n").split("\t")
        buf.append(german_iban(bank_code, account) + "\n")
        if len(buf) == 100000:
            out.write("".join(buf))
            buf = []
    out.write("".join(buf))


if __name__ == "__main__":
    main()
