"""directory= on every function that reads the bank directory: the compiled-in
ones by name, a Bundesbank file by its path (opened once, from any thread),
and the errors of a file that cannot be used."""

import os
import pathlib
import tempfile
import threading
import unittest

import tavrel
from tavrel import _directory, account, bank, iban


def record(bank_code, method, short_name, bic="", merkmal="1"):
    """One 168-column record of a Bundesbank bank-code file."""
    line = (bank_code + merkmal + short_name.ljust(58) + "10115" + "Berlin".ljust(35)
            + short_name.ljust(27) + "     " + bic.ljust(11) + method + "000001" + "U0"
            + "00000000")
    assert len(line) == 168, len(line)
    return line


def iban_or_fault(bank_code, number, directory):
    try:
        return iban.from_account(bank_code, number, directory=directory)
    except tavrel.ValidationError as fault:
        return fault.code


# 12030000 uses method 00 in 2009, where 9290702 fails; the file gives it 09,
# which has no check digit. 25950130 uses B1: 1501824 fails it by the 2009 rules
# and passes by the current ones, which a file without a date in its name uses.
FILE_LINES = [
    record("12030000", "09", "Prüfbank", "TESTDEFFXXX"),
    record("25950130", "B1", "Zweite Bank"),
]


class DirectoryTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory()
        cls.path = os.path.join(cls.scratch.name, "banks.txt")
        with open(cls.path, "w", encoding="latin-1", newline="\r\n") as out:
            out.write("\n".join(FILE_LINES) + "\n")

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def test_every_function_reads_the_named_directory(self):
        # name, call, in the 2009 directory, in the file
        cases = [
            ("check", lambda d: account.check("12030000", "9290702", directory=d).value, -3, 1),
            ("rules", lambda d: account.check("25950130", "1501824", directory=d).value, -3, 0),
            ("rules named", lambda d: account.check("25950130", "1501824", "2009", d).value, -3,
             -3),
            ("unknown", lambda d: account.check("13051042", "1", directory=d).code,
             "invalid_check_digit", "bank_code_unknown"),
            ("many", lambda d: tavrel.check_many(["12030000", "25950130"], ["9290702", "1501824"],
                                                 directory=d).tolist(), [-3, -3], [1, 0]),
            ("many by rules", lambda d: tavrel.check_many(["25950130"], ["1501824"], "2009",
                                                          d).tolist(), [-3], [-3]),
            ("name", lambda d: bank.name("12030000", directory=d), "Deutsche Kreditbank Berlin",
             "Prüfbank"),
            ("bic", lambda d: bank.bic(" 12030000", directory=d), "BYLADEM1001", "TESTDEFFXXX"),
            ("search", lambda d: bank.search("prüfbank", directory=d), [],
             [bank.Bank("12030000", "Prüfbank")]),
            ("iban", lambda d: iban.is_valid("DE32120300000009290702", directory=d), False, True),
            ("to_bic", lambda d: iban.to_bic("DE32120300000009290702", directory=d),
             "BYLADEM1001", "TESTDEFFXXX"),
            ("from_account", lambda d: iban_or_fault("12030000", "9290702", d),
             "invalid_check_digit", "DE32120300000009290702"),
            ("explain", lambda d: tavrel.explain("12030000", "9290702", directory=d)["result"],
             -3, 1),
            ("suggest", lambda d: tavrel.suggest("12030000", "9290702", directory=d)["status"],
             "suggested", "no_check_digit"),
            ("generate", lambda d: tavrel.generate("12030000", count=1, directory=d)["method"],
             "00", "09"),
        ]
        for name, call, in_2009, in_file in cases:
            with self.subTest(name):
                self.assertEqual(call(None), in_2009)
                self.assertEqual(call("2009"), in_2009)
                self.assertEqual(call(self.path), in_file)
                self.assertEqual(call(pathlib.Path(self.path)), in_file)

    def test_the_current_directory_by_name(self):
        # 25950130 keeps method B1 in the current directory, by the current rules.
        self.assertTrue(account.is_valid("25950130", "1501824", directory="current"))
        self.assertFalse(account.is_valid("25950130", "1501824", "2009", "current"))

    def test_a_file_is_opened_once_from_any_thread(self):
        copy = os.path.join(self.scratch.name, "copy.txt")
        with open(self.path, "rb") as source, open(copy, "wb") as target:
            target.write(source.read())
        handles, results = [], []

        def check():
            handles.append(_directory.handle_of(copy))
            results.append(tavrel.check_many(["12030000"] * 1000, ["9290702"] * 1000,
                                             directory=copy).tolist())

        threads = [threading.Thread(target=check) for _ in range(8)]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        self.assertEqual(len(set(handles)), 1)
        self.assertEqual(results, [[1] * 1000] * 8)
        os.remove(copy)  # the open directory needs the file no more
        self.assertTrue(account.is_valid("12030000", "9290702", directory=copy))

    def test_files_that_cannot_be_used(self):
        missing = os.path.join(self.scratch.name, "missing.txt")
        with self.assertRaises(FileNotFoundError) as raised:
            account.check("12030000", "9290701", directory=missing)
        self.assertEqual(raised.exception.filename, missing)
        with self.assertRaises(IsADirectoryError):
            bank.name("12030000", directory=self.scratch.name)
        malformed = os.path.join(self.scratch.name, "malformed.txt")
        with open(malformed, "w", encoding="latin-1") as out:
            out.write(FILE_LINES[0] + "\n" + FILE_LINES[1][:100] + "\n")
        with self.assertRaises(tavrel.DirectoryFileError) as raised:
            tavrel.check_many(["12030000"], ["1"], directory=malformed)
        self.assertIsInstance(raised.exception, ValueError)
        self.assertEqual(raised.exception.filename, malformed)
        self.assertIn(malformed, str(raised.exception))
        self.assertIn("line 2", str(raised.exception))

    def test_names_that_are_no_directory(self):
        for directory, error in ((2009, TypeError), (b"current", TypeError), ("", ValueError),
                                 ("cur\0rent", ValueError), (float("nan"), TypeError)):
            with self.subTest(directory=directory), self.assertRaises(error):
                account.check("12030000", "9290701", directory=directory)


if __name__ == "__main__":
    unittest.main()
