"""tavrel.iban: the faults each IBAN raises, and the BIC beside a check."""

import unittest

from tavrel import account, iban

# 12030000 uses method 00: 9290701 passes it, 12345678 fails it.
CASES = [
    ("DE59 1203 0000 0009 2907 01", None, "valid"),
    ("DE18120300000012345678", iban.InvalidChecksum, "invalid_check_digit"),
    ("DE88370400440532013000", iban.InvalidChecksum, "iban_checksum"),
    ("DE8937040044053201300", iban.InvalidLength, "iban_length"),
    ("DE89370400440532O13000", iban.InvalidFormat, "iban_format"),
    ("XX89370400440532013000", iban.InvalidComponent, "iban_country_unknown"),
    ("DE44000000010000000001", iban.InvalidComponent, "bank_code_unknown"),
    ("DE89-3704", iban.InvalidFormat, "iban_format"),
]


class IbanTest(unittest.TestCase):
    def test_faults(self):
        for number, error, code in CASES:
            with self.subTest(number=number):
                self.assertEqual(iban.is_valid(number), error is None)
                if error is None:
                    continue
                with self.assertRaises(error) as raised:
                    iban.validate(number)
                self.assertEqual(raised.exception.code, code)

    def test_account_faults_only_when_asked(self):
        self.assertEqual(iban.validate(b"DE18120300000012345678", check_account=False),
                         "DE18120300000012345678")
        self.assertEqual(iban.validate("DE44000000010000000001", check_account=False),
                         "DE44000000010000000001")

    def test_from_account_raises_the_account_fault(self):
        for bank_code, number, error in (("12030000", "12345678", iban.InvalidChecksum),
                                         ("1203000", "1", iban.InvalidLength),
                                         ("99999999", "1", iban.InvalidComponent)):
            with self.subTest(bank_code=bank_code, account=number):
                with self.assertRaises(error):
                    iban.from_account(bank_code, number)
        self.assertEqual(iban.from_account(12030000, 9290701), "DE59120300000009290701")

    def test_bic(self):
        self.assertIsNone(iban.to_bic("GB82WEST12345698765432"))
        with self.assertRaises(iban.InvalidChecksum):
            iban.to_bic("DE88370400440532013000")
        self.assertEqual(account.check("12030000", "1").bic, "BYLADEM1001")
        self.assertIsNone(account.check("99999999", "1").bic)


if __name__ == "__main__":
    unittest.main()
