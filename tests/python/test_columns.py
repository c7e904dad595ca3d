"""Column checks: check_many and check_frame answer each row as the single check
does, whatever the kind of column, and in several threads at once."""

import random
import threading
import unittest

import numpy as np
import pandas as pd

import tavrel
from tavrel import account, bank
from tavrel._outcomes import OUTCOMES
from tavrel.pandas import check_frame


def corpus(size, seed):
    """Bank codes of the directory with accounts of one to ten digits, and the
    faults a data-cleaning job meets: blanks, letters, umlauts, NULs, empty
    fields, unknown and malformed bank codes, an overlong field."""
    rnd = random.Random(seed)
    codes = [hit.bank_code for prefix in ("10", "12", "25", "37", "50", "70", "86")
             for hit in bank.search(prefix)]
    odd_banks = ["", " 12030000 ", "1203000", "1203000x", "99999999", "1203000ü", "12030000\0"]
    odd_accounts = ["", " 9290701", "92907O1", "92907ä1", "12345678901", "0000000000", "9\0"]
    banks, accounts = [], []
    for _ in range(size):
        banks.append(rnd.choice(codes) if rnd.random() < 0.9 else rnd.choice(odd_banks))
        digits = rnd.randint(1, 10)
        accounts.append(str(rnd.randint(10 ** (digits - 1), 10 ** digits - 1))
                        if rnd.random() < 0.9 else rnd.choice(odd_accounts))
    accounts[size // 2] = "1" * 1_000_000
    return banks, accounts


def single_checks(banks, accounts, rules="2009"):
    return np.array([account.check(b, a, rules=rules).value for b, a in zip(banks, accounts)],
                    dtype=np.int8)


class CheckManyTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.banks, cls.accounts = corpus(20_000, seed=2009)

    def test_rows_as_single_checks(self):
        for rules in tavrel.rule_generations():
            with self.subTest(rules=rules):
                results = tavrel.check_many(self.banks, self.accounts, rules=rules)
                self.assertEqual(results.dtype, np.int8)
                np.testing.assert_array_equal(results,
                                              single_checks(self.banks, self.accounts, rules))
        self.assertGreater(len(set(results.tolist())), 6)

    def test_kinds_of_column(self):
        banks = ["12030000", "12030000", "99999999", "1203000"]
        accounts = ["9290701", "9290702", "1", "1"]
        expected = single_checks(banks, accounts)
        columns = [
            (banks, accounts),
            (tuple(banks), iter(accounts)),
            (np.array(banks, dtype=object), np.array(accounts)),
            (np.array(banks, dtype="S"), pd.Series(accounts, dtype="string")),
            (pd.Series(banks, dtype="category"), pd.Index(accounts)),
            (np.array([int(b) for b in banks]), [int(a) for a in accounts]),
            ([b.encode() for b in banks], np.array(accounts, dtype="U20")),
        ]
        for bank_codes, account_numbers in columns:
            with self.subTest(kinds=(type(bank_codes).__name__, type(account_numbers).__name__)):
                np.testing.assert_array_equal(tavrel.check_many(bank_codes, account_numbers),
                                              expected)

    def test_missing_values_count_as_empty(self):
        missing = [None, float("nan"), pd.NA, np.nan]
        results = tavrel.check_many(["12030000"] * 4, missing)
        np.testing.assert_array_equal(results, [-7] * 4)
        results = tavrel.check_many(pd.Series(missing, dtype=object), ["9290701"] * 4)
        np.testing.assert_array_equal(results, [-5] * 4)

    def test_refused_columns(self):
        cases = [
            (["12030000"], ["1", "2"], ValueError),
            (np.array([12030000.0]), ["1"], TypeError),
            (np.array([[12030000]]), ["1"], ValueError),
            ("12030000", "9290701", TypeError),
            (["12030000", {"blz": 1}], ["1", "2"], TypeError),
            (["12030000"], [True], TypeError),
        ]
        for banks, accounts, error in cases:
            with self.subTest(banks=banks, accounts=accounts), self.assertRaises(error):
                tavrel.check_many(banks, accounts)
        with self.assertRaises(ValueError):
            tavrel.check_many(["12030000"], ["1"], rules="2018")

    def test_empty_columns(self):
        results = tavrel.check_many([], pd.Series([], dtype=object))
        self.assertEqual((results.shape, results.dtype), ((0,), np.int8))

    def test_threads_side_by_side(self):
        expected = tavrel.check_many(self.banks, self.accounts)
        answers = [None] * 4

        def run(slot):
            answers[slot] = tavrel.check_many(self.banks, self.accounts)

        threads = [threading.Thread(target=run, args=(slot,)) for slot in range(4)]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        for answer in answers:
            np.testing.assert_array_equal(answer, expected)


class CheckFrameTest(unittest.TestCase):
    def test_columns_added(self):
        banks, accounts = corpus(2_000, seed=7)
        frame = pd.DataFrame({"blz": banks, "konto": accounts, "id": range(len(banks))},
                             index=[i // 2 for i in range(len(banks))])  # labels twice
        checked = check_frame(frame, rules="current")
        self.assertEqual(list(frame.columns), ["blz", "konto", "id"])
        self.assertTrue(checked.index.equals(frame.index))
        self.assertEqual(list(checked.columns), ["blz", "konto", "id", "result", "code", "message"])
        self.assertEqual(checked["result"].dtype, np.int8)
        np.testing.assert_array_equal(checked["result"], single_checks(banks, accounts, "current"))
        for row in checked.itertuples():
            self.assertEqual((row.code, row.message),
                             (OUTCOMES[row.result].code, OUTCOMES[row.result].message))

    def test_names_and_refusals(self):
        frame = pd.DataFrame({"bank_code": ["12030000"], "account": ["9290702"], "code": ["x"]})
        checked = check_frame(frame, bank="bank_code", account="account", prefix="check_")
        self.assertEqual(checked["check_code"].tolist(), ["invalid_check_digit"])
        with self.assertRaises(ValueError):
            check_frame(frame, bank="bank_code", account="account")
        with self.assertRaises(KeyError):
            check_frame(frame)


if __name__ == "__main__":
    unittest.main()
