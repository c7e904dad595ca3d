"""The package's single checks: results and exceptions, and input of every kind."""

import os
import subprocess
import sys
import unittest

import tavrel
from tavrel import account, bank, iban
from tavrel._outcomes import OUTCOMES

# bank code, account, rules, expected value. 25950130 uses method B1: 1501824
# fails it by the 2009 rules and passes by the current ones.
CASES = [
    ("12030000", "9290701", "2009", 0),
    ("10000000", "1234567890", "2009", 1),
    ("12030000", "9290702", "2009", -3),
    ("12030000", "0000000000", "2009", -3),
    ("25950130", "1501824", "2009", -3),
    ("25950130", "1501824", "current", 0),
    ("1203000", "9290701", "2009", -5),
    ("1203000ü", "9290701", "current", -6),
    ("12030000", "", "2009", -7),
    ("12030000", "92907ä1", "2009", -8),
    ("99999999", "9290701", "2009", -9),
]

KIND = {0: None, 1: None, -3: account.InvalidChecksum, -5: account.InvalidLength,
        -6: account.InvalidFormat, -7: account.InvalidLength, -8: account.InvalidFormat,
        -9: account.InvalidComponent, -2: account.InvalidComponent}


class SingleCheckTest(unittest.TestCase):
    def test_validate_is_valid_and_check_agree(self):
        for bank_code, number, rules, value in CASES:
            with self.subTest(bank_code=bank_code, account=number, rules=rules):
                result = account.check(bank_code, number, rules=rules)
                self.assertEqual(result.value, value)
                self.assertEqual(result.valid, value >= 0)
                self.assertEqual(account.is_valid(bank_code, number, rules=rules), value >= 0)
                if KIND[value] is None:
                    self.assertEqual(account.validate(bank_code, number, rules=rules), number)
                    continue
                with self.assertRaises(KIND[value]) as raised:
                    account.validate(bank_code, number, rules=rules)
                self.assertEqual((raised.exception.value, raised.exception.code),
                                 (value, result.code))
                self.assertIsInstance(raised.exception, ValueError)

    def test_exception_carries_the_outcome(self):
        with self.assertRaises(tavrel.ValidationError) as raised:
            account.validate("99999999", "1")
        error = raised.exception
        self.assertEqual((error.value, error.code, error.message, error.field),
                         (-9, "bank_code_unknown", "BLZ ungültig!", "bank_code"))
        self.assertIn("BLZ ungültig!", str(error))

    def test_every_fault_has_its_kind(self):
        # A code whose ending names no kind would raise only the base class.
        for value, outcome in OUTCOMES.items():
            with self.subTest(code=outcome.code):
                if value < 0:
                    self.assertIsNot(outcome.error, tavrel.ValidationError)
                if value < 0 and outcome.field != "iban":  # tavrel_message has no IBAN texts
                    self.assertTrue(outcome.message)

    def test_check_names_the_trimmed_bank(self):
        self.assertEqual(account.check(" 12030000\t", "9290702").bank_name,
                         "Deutsche Kreditbank Berlin")
        self.assertIsNone(account.check("99999999", "1").bank_name)
        self.assertEqual(account.validate("12030000", "\t9290701 "), "9290701")


class InputKindsTest(unittest.TestCase):
    def test_accepted_kinds(self):
        megabyte = "1" * 1_000_000
        cases = [
            (12030000, 9290701, 0),
            (b"12030000", b"9290701", 0),
            (bytearray(b"12030000"), "9290701", 0),
            ("12030000", " " * 500_000 + "9290701" + " " * 500_000, 0),
            ("12030000", megabyte, -7),
            (megabyte, "9290701", -5),
            ("12030000", "9290701\0", -8),  # a C string would end before the NUL
            ("1203000\0", "9290701", -6),
            ("12030000", "929070\udcff", -8),  # a lone surrogate, not UTF-8
            (b"12030000", b"929070\xff", -8),
            (b"1203000\xc3", b"9290701", -6),  # a UTF-8 sequence cut short
            ("12030000", -9290701, -8),
        ]
        for bank_code, number, value in cases:
            with self.subTest(bank_code=repr(bank_code)[:20], account=repr(number)[:20]):
                self.assertEqual(account.check(bank_code, number).value, value)

    def test_refused_kinds(self):
        for bad in (None, float("nan"), 9290701.0, True, ["9290701"]):
            with self.subTest(value=bad):
                with self.assertRaises(TypeError):
                    account.validate("12030000", bad)
                with self.assertRaises(TypeError):
                    account.is_valid(bad, "9290701")
                with self.assertRaises(TypeError):
                    bank.name(bad)

    def test_every_public_function_refuses_or_answers_any_input(self):
        # Each call takes its text arguments from the value; check_many, which
        # counts None and NaN in a column as missing, has its own tests.
        calls = {
            "account.check": lambda v: account.check(v, v),
            "bank.name": bank.name,
            "bank.bic": bank.bic,
            "bank.search": bank.search,
            "iban.validate": iban.validate,
            "iban.is_valid": iban.is_valid,
            "iban.compact": iban.compact,
            "iban.format": iban.format,
            "iban.from_account": lambda v: iban.from_account(v, v),
            "iban.to_bic": iban.to_bic,
            "explain": lambda v: tavrel.explain(v, v),
            "suggest": lambda v: tavrel.suggest(v, v),
            "generate": lambda v: tavrel.generate(method=v, count=1) if v is not None else
            tavrel.generate(None, method=None),
        }
        refused = (None, float("nan"), 9290701.0, True, ["9290701"])
        answered = ("1" * 1_000_000, "\udcff" * 1000, b"\xff\xfe" * 1000, "\0" * 10,
                    "12030000" + "\U0001F600", -1, 2**80, "")
        calls["check_many"] = lambda v: tavrel.check_many([v], [v])
        for name, call in calls.items():
            for bad in refused if name != "check_many" else ():
                with self.subTest(name, value=bad):
                    expected = ValueError if bad is None and name == "generate" else TypeError
                    with self.assertRaises(expected):
                        call(bad)
            for odd in answered:
                with self.subTest(name, value=repr(odd)[:20]):
                    try:
                        call(odd)
                    except ValueError:  # a ValidationError among them
                        pass

    def test_rules_must_be_known(self):
        for rules, error in (("Current", ValueError), ("", ValueError), (2009, TypeError)):
            with self.subTest(rules=rules), self.assertRaises(error):
                account.check("12030000", "9290701", rules=rules)


class BankTest(unittest.TestCase):
    def test_names_and_search(self):
        self.assertEqual(bank.name(" 13051042 "), "Kreissparkasse Rügen")
        self.assertIsNone(bank.name("1305104"))
        self.assertEqual(bank.search("1"), [])
        self.assertEqual(bank.search("x" * 1_000_000), [])
        hits = bank.search("Kreissparkasse,rügen")
        self.assertEqual(hits, [bank.Bank("13051042", "Kreissparkasse Rügen")])

    def test_versions_agree(self):
        self.assertEqual(tavrel.__version__, tavrel.library_version())


class LoadingTest(unittest.TestCase):
    def test_a_library_not_found_is_named(self):
        missing = os.path.join(os.path.dirname(__file__), "no-such-libtavrel.so")
        package_dir = os.path.dirname(os.path.dirname(tavrel.__file__))
        run = subprocess.run([sys.executable, "-c", "import tavrel"], capture_output=True,
                             text=True, env=dict(os.environ, TAVREL_LIBRARY=missing,
                                                 PYTHONPATH=package_dir))
        self.assertNotEqual(run.returncode, 0)
        self.assertIn("ImportError", run.stderr)
        self.assertIn(missing, run.stderr)
        self.assertIn("TAVREL_LIBRARY", run.stderr)


if __name__ == "__main__":
    unittest.main()
