"""The C library as another language sees it: loaded with ctypes, UTF-8 strings.

Usage: test_capi.py PATH_TO_LIBTAVREL [unittest arguments]
"""
import ctypes
import os
import json
import sys
import tempfile
import unittest

LIB = None

METHOD, GET, PUT = 1, 2, 4
EMPTY, BOOL, INT16, INT32, STRING, COLOUR, FONT = range(7)
S_OK = 0
DISP_E_UNKNOWNNAME = -0x7FFDFFFA  # 0x80020006
DISP_E_TYPEMISMATCH = -0x7FFDFFFB  # 0x80020005
DISP_E_BADPARAMCOUNT = -0x7FFDFFF2  # 0x8002000E
CTL_E_SETNOTSUPPORTED = -0x7FF5FE81  # 0x800A017F
E_POINTER = -0x7FFFBFFD  # 0x80004003


class Value(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int32),
        ("number", ctypes.c_int32),
        ("colour", ctypes.c_uint32),
        ("string", ctypes.c_char_p),
        ("font_size", ctypes.c_double),
        ("font_bold", ctypes.c_int32),
        ("font_italic", ctypes.c_int32),
    ]


def load(path):
    lib = ctypes.CDLL(path)
    owned = ctypes.POINTER(ctypes.c_char)  # returned strings: freed by tavrel_free
    signatures = {
        "tavrel_version": (ctypes.c_char_p, []),
        "tavrel_free": (None, [ctypes.c_void_p]),
        "tavrel_check": (ctypes.c_int, [ctypes.c_char_p, ctypes.c_char_p]),
        "tavrel_check_rules": (ctypes.c_int, [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p]),
        "tavrel_check_many": (ctypes.c_int, [ctypes.c_size_t, ctypes.POINTER(ctypes.c_char_p),
                                             ctypes.POINTER(ctypes.c_char_p), ctypes.c_char_p]),
        "tavrel_check_many_rules": (ctypes.c_int, [ctypes.c_size_t, ctypes.POINTER(ctypes.c_char_p),
                                                   ctypes.POINTER(ctypes.c_char_p), ctypes.c_char_p,
                                                   ctypes.c_char_p]),
        "tavrel_rules_name": (ctypes.c_char_p, [ctypes.c_int]),
        "tavrel_result_field": (ctypes.c_char_p, [ctypes.c_int]),
        "tavrel_message": (owned, [ctypes.c_int]),
        "tavrel_result_code": (ctypes.c_char_p, [ctypes.c_int]),
        "tavrel_bank_name": (owned, [ctypes.c_char_p]),
        "tavrel_search": (owned, [ctypes.c_char_p]),
        "tavrel_explain_json": (owned, [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p]),
        "tavrel_suggest_json": (owned, [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p,
                                        ctypes.c_int]),
        "tavrel_generate_json": (owned, [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p,
                                         ctypes.c_int, ctypes.c_uint64, ctypes.c_int, ctypes.c_int]),
        "tavrel_value_clear": (None, [ctypes.POINTER(Value)]),
        "tavrel_create": (ctypes.c_void_p, [ctypes.c_char_p]),
        "tavrel_invoke": (ctypes.c_int32, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int,
                                           ctypes.POINTER(Value), ctypes.c_int, ctypes.POINTER(Value)]),
        "tavrel_release": (None, [ctypes.c_void_p]),
        "tavrel_open_directory": (ctypes.c_void_p, [ctypes.c_char_p, ctypes.POINTER(owned)]),
        "tavrel_check_in": (ctypes.c_int, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p]),
        "tavrel_close_directory": (None, [ctypes.c_void_p]),
        "tavrel_can_unload": (ctypes.c_int, []),
        "tavrel_iban_check": (ctypes.c_int, [ctypes.c_char_p, ctypes.POINTER(ctypes.c_int)]),
        "tavrel_iban_check_in": (ctypes.c_int, [ctypes.c_void_p, ctypes.c_char_p,
                                                ctypes.POINTER(ctypes.c_int)]),
        "tavrel_iban_from_account": (owned, [ctypes.c_char_p, ctypes.c_char_p]),
        "tavrel_iban_from_account_in": (owned, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p]),
        "tavrel_bic": (owned, [ctypes.c_char_p]),
        "tavrel_iban_format": (owned, [ctypes.c_char_p, ctypes.c_int]),
        "tavrel_bic_in": (owned, [ctypes.c_void_p, ctypes.c_char_p]),
        "tavrel_check_many_in": (ctypes.c_int, [ctypes.c_void_p, ctypes.c_size_t,
                                                ctypes.POINTER(ctypes.c_char_p),
                                                ctypes.POINTER(ctypes.c_char_p), ctypes.c_char_p,
                                                ctypes.c_char_p]),
        "tavrel_bank_name_in": (owned, [ctypes.c_void_p, ctypes.c_char_p]),
        "tavrel_search_in": (owned, [ctypes.c_void_p, ctypes.c_char_p]),
        "tavrel_explain_json_in": (owned, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p,
                                           ctypes.c_char_p]),
        "tavrel_suggest_json_in": (owned, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p,
                                           ctypes.c_char_p, ctypes.c_int]),
        "tavrel_generate_json_in": (owned, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p,
                                            ctypes.c_char_p, ctypes.c_int, ctypes.c_uint64,
                                            ctypes.c_int, ctypes.c_int]),
    }
    for name, (restype, argtypes) in signatures.items():
        function = getattr(lib, name)
        function.restype = restype
        function.argtypes = argtypes
    return lib


def take_string(pointer):
    """Copies a library-owned string into Python and frees it; None stays None."""
    if not pointer:
        return None
    text = ctypes.cast(pointer, ctypes.c_char_p).value.decode("utf-8")
    LIB.tavrel_free(pointer)
    return text


def utf8(text):
    return None if text is None else text.encode("utf-8")


def string_value(text):
    return Value(type=STRING, string=utf8(text))


def int_value(number):
    return Value(type=INT32, number=number)


class Object:
    """One automation object, released when the block ends."""

    def __init__(self, prog_id):
        self.handle = LIB.tavrel_create(utf8(prog_id))

    def __enter__(self):
        return self

    def __exit__(self, *_):
        LIB.tavrel_release(self.handle)

    def invoke(self, member, flags, *args):
        """Returns (code, python value) and frees the result."""
        array = (Value * max(len(args), 1))(*args)
        result = Value()
        code = LIB.tavrel_invoke(self.handle, utf8(member), flags, array, len(args), ctypes.byref(result))
        if result.type in (STRING, FONT):
            value = None if result.string is None else result.string.decode("utf-8")
        elif result.type == COLOUR:
            value = result.colour
        elif result.type == EMPTY:
            value = None
        else:
            value = result.number
        LIB.tavrel_value_clear(ctypes.byref(result))
        return code, value


CHECK_CASES = [
    ("10000000", "1234567890", 1),
    ("12030000", "9290701", 0),
    ("12030000", "9290702", -3),
    (" 12030000 ", " 9290701 ", 0),
    ("1203000", "9290701", -5),
    ("1203000ü", "9290701", -6),
    ("12030000", "", -7),
    ("12030000", "92907ä1", -8),
    ("12030000", "0000000000", -3),
    ("99999999", "9290701", -9),
    (None, "1", -5),
    ("12030000", None, -7),
    (None, None, -5),
]

# 25950130 uses method B1: 1501824 fails methods 05 and 01 (the 2009 rules)
# and passes method 00, which the current rules try third.
RULES_CASES = [
    ("25950130", "1501824", None, -3),
    ("25950130", "1501824", "2009", -3),
    ("25950130", "1501824", "current", 0),
    (" 25950130 ", " 1501824 ", "current", 0),
    ("1203000", "9290701", "current", -5),
    ("12030000", "92907ä1", "current", -8),
    ("12030000", "9290701", "Current", -2),
    ("1203000", "9290701", "2018", -2),
    (None, None, "", -2),
]


class CheckTest(unittest.TestCase):
    def test_results(self):
        for bank_code, account, expected in CHECK_CASES:
            with self.subTest(bank_code=bank_code, account=account):
                self.assertEqual(LIB.tavrel_check(utf8(bank_code), utf8(account)), expected)

    def test_results_by_rule_generation(self):
        for bank_code, account, rules, expected in RULES_CASES:
            with self.subTest(bank_code=bank_code, account=account, rules=rules):
                self.assertEqual(
                    LIB.tavrel_check_rules(utf8(bank_code), utf8(account), utf8(rules)), expected)

    def test_batch_answers_each_item_as_the_single_check(self):
        items = [(b, a) for b, a, _ in CHECK_CASES] + [(b, a) for b, a, _, _ in RULES_CASES]
        banks = (ctypes.c_char_p * len(items))(*[utf8(b) for b, _ in items])
        accounts = (ctypes.c_char_p * len(items))(*[utf8(a) for _, a in items])
        for rules in (None, b"2009", b"current", b"Current"):
            with self.subTest(rules=rules):
                results = ctypes.create_string_buffer(len(items))
                if rules is None:
                    self.assertEqual(LIB.tavrel_check_many(len(items), banks, accounts, results), 0)
                else:
                    self.assertEqual(
                        LIB.tavrel_check_many_rules(len(items), banks, accounts, results, rules), 0)
                expected = [LIB.tavrel_check_rules(utf8(b), utf8(a), rules) for b, a in items]
                self.assertEqual(list(ctypes.cast(results, ctypes.POINTER(ctypes.c_byte))[:len(items)]),
                                 expected)

    def test_batch_refuses_missing_arrays(self):
        one = (ctypes.c_char_p * 1)(b"12030000")
        results = ctypes.create_string_buffer(b"\x7f", 1)
        for banks, accounts, out in ((None, one, results), (one, None, results), (one, one, None)):
            self.assertEqual(LIB.tavrel_check_many(1, banks, accounts, out), -1)
            self.assertEqual(LIB.tavrel_check_many_rules(1, banks, accounts, out, b"current"), -1)
        self.assertEqual(results.raw, b"\x7f")
        self.assertEqual(LIB.tavrel_check_many(0, None, None, None), 0)

    def test_result_fields_and_rule_names(self):
        fields = {-5: b"bank_code", -9: b"bank_code", -3: b"account", -8: b"account", 0: b"",
                  -13: b"iban", -4: None}
        for value, field in fields.items():
            with self.subTest(value=value):
                self.assertEqual(LIB.tavrel_result_field(value), field)
        self.assertEqual([LIB.tavrel_rules_name(i) for i in (-1, 0, 1, 2)],
                         [None, b"2009", b"current", None])

    def test_messages_are_utf8_german(self):
        cases = {
            -2: "Prüfverfahren nicht gefunden!",
            -3: "Prüfziffer ungültig!",
            -6: "BLZ enthält ungültige Zeichen!",
            -7: "Konto hat falsche Länge!",
            -9: "BLZ ungültig!",
            0: "",
            1: "",
            -4: "",
        }
        for value, text in cases.items():
            with self.subTest(value=value):
                self.assertEqual(take_string(LIB.tavrel_message(value)), text)

    def test_result_codes(self):
        cases = {0: b"valid", 1: b"valid_without_check", -3: b"invalid_check_digit",
                 -9: b"bank_code_unknown", -13: b"iban_checksum", -4: None, -99: None}
        for value, code in cases.items():
            with self.subTest(value=value):
                self.assertEqual(LIB.tavrel_result_code(value), code)

    def test_bank_names(self):
        self.assertEqual(take_string(LIB.tavrel_bank_name(b"10000000")), "BBk Berlin")
        self.assertEqual(take_string(LIB.tavrel_bank_name(b"13051042")), "Kreissparkasse Rügen")
        for missing in (b" 10000000", b"99999999", b"", None):
            with self.subTest(bank_code=missing):
                self.assertIsNone(take_string(LIB.tavrel_bank_name(missing)))

    def test_search(self):
        lines = take_string(LIB.tavrel_search(b"100500")).splitlines()
        self.assertEqual([line[:8] for line in lines], ["10050000", "10050001", "10050005", "10050006"])
        self.assertEqual(take_string(LIB.tavrel_search(utf8("volksbank,chemnitz"))),
                         "87096214 | Volksbank Chemnitz\n")
        for nothing in (b"1", b"10000000", b"", None):
            with self.subTest(text=nothing):
                self.assertEqual(take_string(LIB.tavrel_search(nothing)), "")

    def test_version(self):
        self.assertRegex(LIB.tavrel_version().decode("ascii"), r"^\d+\.\d+\.\d+$")


def open_directory(path_or_name):
    """Returns (handle or None, error message or None)."""
    error = ctypes.POINTER(ctypes.c_char)()
    handle = LIB.tavrel_open_directory(utf8(path_or_name), ctypes.byref(error))
    return handle, take_string(error)


class DirectoryTest(unittest.TestCase):
    # 10011001 N26 Bank Berlin (method 09) is a bank of today only; 25950130 uses
    # B1, whose 1501824 passes only by the current rules.
    CASES = [("10011001", "1234567890"), ("25950130", "1501824"), ("1001100", "1")]

    def checks(self, handle):
        return [LIB.tavrel_check_in(handle, utf8(bank), utf8(account)) for bank, account in self.CASES]

    def test_compiled_in_directories_check_by_their_own_rules(self):
        for name, expected in (("2009", [-9, -3, -5]), ("current", [1, 0, -5])):
            with self.subTest(name=name):
                handle, error = open_directory(name)
                self.assertTrue(handle)
                self.assertIsNone(error)
                self.assertEqual(self.checks(handle), expected)
                LIB.tavrel_close_directory(handle)

    def test_a_bundesbank_file(self):
        handle, error = open_directory(os.path.join(os.environ["TAVREL_SHARED_DATA"], "blz_20260309.txt"))
        self.assertIsNone(error)
        self.assertEqual(self.checks(handle), [1, 0, -5])
        LIB.tavrel_close_directory(handle)

    def test_failures_say_why(self):
        with tempfile.NamedTemporaryFile("w", suffix=".txt") as broken:
            broken.write("1" * 168 + "\n" + "1" * 160 + "\n")
            broken.flush()
            cases = [(broken.name, broken.name + ": line 1: "), ("Current", "cannot read Current"),
                     ("", "no directory named"), (None, "no directory named")]
            for path, message in cases:
                with self.subTest(path=path):
                    handle, error = open_directory(path)
                    self.assertIsNone(handle)
                    self.assertTrue(error.startswith(message), error)
        self.assertIsNone(LIB.tavrel_open_directory(b"no-such-file", None))

    def test_the_in_variants_read_the_handle_and_take_rules(self):
        handle, _ = open_directory("current")
        banks = (ctypes.c_char_p * 3)(*[utf8(bank) for bank, _ in self.CASES])
        accounts = (ctypes.c_char_p * 3)(*[utf8(account) for _, account in self.CASES])
        for rules, expected in ((None, [1, 0, -5]), (b"2009", [1, -3, -5]), (b"2018", [-2] * 3)):
            with self.subTest(rules=rules):
                results = ctypes.create_string_buffer(3)
                self.assertEqual(LIB.tavrel_check_many_in(handle, 3, banks, accounts, results, rules), 0)
                self.assertEqual(list(ctypes.cast(results, ctypes.POINTER(ctypes.c_byte))[:3]),
                                 expected)
        self.assertEqual(take_string(LIB.tavrel_bank_name_in(handle, b" 10011001")), "N26 Bank Berlin")
        self.assertIn("10011001 | N26 Bank Berlin\n", take_string(LIB.tavrel_search_in(handle, b"N26")))
        explained = take_json(LIB.tavrel_explain_json_in(handle, b"25950130", b"1501824", None))
        self.assertEqual((explained["rules"], explained["result"]), ("current", 0))
        suggested = take_json(LIB.tavrel_suggest_json_in(handle, b"25950130", b"1501824", b"2009", 1))
        self.assertEqual((suggested["result"], len(suggested["accounts"])), (-3, 1))
        generated = take_json(LIB.tavrel_generate_json_in(handle, b"10011001", None, None, 2, 1, 0, 0))
        self.assertEqual(generated["bank"]["name"], "N26 Bank Berlin")
        LIB.tavrel_close_directory(handle)
        self.assertEqual(LIB.tavrel_check_many_in(None, 3, banks, accounts, results, None), -1)
        self.assertIsNone(take_string(LIB.tavrel_bank_name_in(None, b"10011001")))
        self.assertEqual(take_string(LIB.tavrel_search_in(None, b"N26")), "")
        for entry in (LIB.tavrel_explain_json_in(None, b"1", b"1", None),
                      LIB.tavrel_suggest_json_in(None, b"1", b"1", None, 1),
                      LIB.tavrel_generate_json_in(None, b"1", None, None, 1, 1, 0, 0)):
            self.assertEqual(take_json(entry)["error"], "invalid_argument")

    def test_null_handles(self):
        self.assertEqual(LIB.tavrel_check_in(None, b"10011001", b"1"), -9)
        LIB.tavrel_close_directory(None)
        handle, _ = open_directory("current")
        self.assertEqual(LIB.tavrel_check_in(handle, None, None), -5)
        LIB.tavrel_close_directory(handle)
class IbanTest(unittest.TestCase):
    # 12030000 uses method 00, which 9290701 passes and 12345678 fails; 10011001
    # (method 09, BIC NTSBDEB1XXX) is a bank of today only.
    NO_ACCOUNT_CHECK = -1

    def check(self, iban, handle=False):
        account = ctypes.c_int(99)
        if handle is False:
            result = LIB.tavrel_iban_check(utf8(iban), ctypes.byref(account))
        else:
            result = LIB.tavrel_iban_check_in(handle, utf8(iban), ctypes.byref(account))
        return result, account.value

    def test_check(self):
        cases = [("DE59 1203 0000 0009 2907 01", (0, 0)), ("DE18120300000012345678", (0, -3)),
                 ("DE88370400440532013000", (-13, self.NO_ACCOUNT_CHECK)),
                 ("GB82WEST12345698765432", (0, self.NO_ACCOUNT_CHECK)),
                 ("DE89370400440532\u00d613000", (-10, self.NO_ACCOUNT_CHECK)),
                 (None, (-12, self.NO_ACCOUNT_CHECK))]
        for iban, expected in cases:
            with self.subTest(iban=iban):
                self.assertEqual(self.check(iban), expected)
        self.assertEqual(LIB.tavrel_iban_check(b"DE59120300000009290701", None), 0)

    def test_directories(self):
        handle, _ = open_directory("current")
        self.assertEqual(self.check("DE65100110011234567890", handle), (0, 1))
        self.assertEqual(self.check("DE65100110011234567890"), (0, -9))
        self.assertEqual(self.check("DE65100110011234567890", None), (0, -9))
        self.assertEqual(take_string(LIB.tavrel_iban_from_account_in(handle, b"10011001", b"1234567890")),
                         "DE65100110011234567890")
        self.assertEqual(take_string(LIB.tavrel_bic_in(handle, b" 10011001 ")), "NTSBDEB1XXX")
        self.assertIsNone(take_string(LIB.tavrel_bic(b"10011001")))
        self.assertIsNone(take_string(LIB.tavrel_iban_from_account_in(None, b"12030000", b"9290701")))
        self.assertIsNone(take_string(LIB.tavrel_bic_in(None, b"12030000")))
        LIB.tavrel_close_directory(handle)

    def test_from_account_only_for_valid_accounts(self):
        cases = [(("12030000", " 9290701 "), "DE59120300000009290701"), (("12030000", "12345678"), None),
                 (("1203000", "1"), None), ((None, None), None)]
        for (bank, account), expected in cases:
            with self.subTest(bank=bank, account=account):
                self.assertEqual(take_string(LIB.tavrel_iban_from_account(utf8(bank), utf8(account))),
                                 expected)

    def test_format(self):
        cases = [("iban de89 3704 0044 0532 0130 00", "DE89370400440532013000",
                  "DE89 3704 0044 0532 0130 00"), ("GB82WEST1234", "GB82WEST1234", "GB82 WEST 1234"),
                 ("DE89-3704", None, None), ("D" * 35, None, None)]
        for text, electronic, printed in cases:
            with self.subTest(text=text):
                self.assertEqual(take_string(LIB.tavrel_iban_format(utf8(text), 0)), electronic)
                self.assertEqual(take_string(LIB.tavrel_iban_format(utf8(text), 1)), printed)

    def test_messages(self):
        self.assertEqual(take_string(LIB.tavrel_message(-13)), "IBAN-Prüfsumme ungültig!")
        self.assertEqual(take_string(LIB.tavrel_message(-11)), "IBAN-Länderkennzeichen unbekannt!")

    def test_bic(self):
        self.assertEqual(take_string(LIB.tavrel_bic(b"12030000")), "BYLADEM1001")
        for unknown in (b"00000000", b"", None):
            self.assertIsNone(take_string(LIB.tavrel_bic(unknown)))


def take_json(pointer):
    return json.loads(take_string(pointer))


class JsonTest(unittest.TestCase):
    def test_explain(self):
        explained = take_json(LIB.tavrel_explain_json(b"12030000", b"9290701", None))
        self.assertEqual((explained["result"], explained["method"]), (0, "00"))
        computation = explained["steps"][0]["computations"][0]
        self.assertEqual((computation["sum"], computation["remainder"]), (29, 9))
        self.assertEqual(computation["accepted_check_digits"], [1])
        fault = take_json(LIB.tavrel_explain_json(utf8("1203000ü"), b"9290701", b"current"))
        self.assertEqual(fault["result"], -6)
        self.assertFalse(fault["tests"][-1]["passed"])
        self.assertIn("'ü'", fault["tests"][-1]["text"])
        self.assertEqual(take_json(LIB.tavrel_explain_json(None, None, b"2018"))["error"],
                         "unknown_rules")

    def test_suggest(self):
        suggested = take_json(LIB.tavrel_suggest_json(b"12030000", b"2990701", None, 1))
        self.assertEqual(suggested["accounts"],
                         [{"account": "9290701", "slip": "transposition", "position": 1,
                           "result": 0, "code": "valid", "message": "gültig"}])
        self.assertGreater(suggested["account_count"], 1)
        bank = take_json(LIB.tavrel_suggest_json(b"12030001", b"9290701", b"2009", 0))
        self.assertEqual((bank["status"], bank["bank_codes"][0]["bank_code"]),
                         ("input_fault", "12030000"))

    def test_generate(self):
        first = take_json(LIB.tavrel_generate_json(b"12030000", None, None, 6, 42, 8, 0))
        again = take_json(LIB.tavrel_generate_json(b"12030000", None, None, 6, 42, 8, 0))
        self.assertEqual(first, again)
        accounts = [item["account"] for item in first["accounts"]]
        self.assertEqual(len(set(accounts)), 6)
        for account in accounts:
            self.assertEqual(len(account), 8)
            self.assertEqual(LIB.tavrel_check(b"12030000", account.encode()), 0)
        invalid = take_json(LIB.tavrel_generate_json(None, b"00", b"current", 3, 1, 0, 1))
        for item in invalid["accounts"]:
            self.assertEqual(LIB.tavrel_check(b"12030000", item["account"].encode()), -3)
            self.assertEqual(LIB.tavrel_check(b"12030000", item["valid_form"].encode()), 0)
        for bank_code, method, count in ((None, None, 1), (b"12030000", b"00", 1), (None, b"00", 0)):
            with self.subTest(bank_code=bank_code, method=method, count=count):
                self.assertEqual(take_json(LIB.tavrel_generate_json(
                    bank_code, method, None, count, 1, 0, 0))["error"], "invalid_argument")
        self.assertEqual(take_json(LIB.tavrel_generate_json(None, b"E4", None, 1, 1, 0, 0))["status"],
                         "method_not_found")


class ObjectTest(unittest.TestCase):
    def test_compute_round_trip(self):
        with Object("tavrel.QXcompute") as compute:
            self.assertTrue(compute.handle)
            self.assertEqual(compute.invoke("Nummprobe", METHOD, string_value("9290701"),
                                            string_value("12030000")), (S_OK, 0))
            self.assertEqual(compute.invoke("nummprobe", METHOD, string_value("1"), string_value(None)),
                             (S_OK, -5))
            self.assertEqual(compute.invoke("GetErrorMessage", METHOD, int_value(-8)),
                             (S_OK, "Konto enthält ungültige Zeichen!"))
            self.assertEqual(compute.invoke("LookupName", METHOD, string_value("10020500")),
                             (S_OK, "Bank für Sozialwirtschaft"))
            self.assertEqual(compute.invoke("LookupName", METHOD, int_value(1))[0], DISP_E_TYPEMISMATCH)
            self.assertEqual(compute.invoke("LookupName", METHOD)[0], DISP_E_BADPARAMCOUNT)
            self.assertEqual(compute.invoke("Missing", METHOD)[0], DISP_E_UNKNOWNNAME)
            self.assertEqual(compute.invoke(None, METHOD)[0], DISP_E_UNKNOWNNAME)
            self.assertEqual(LIB.tavrel_can_unload(), 0)
        self.assertEqual(LIB.tavrel_can_unload(), 1)

    def test_control_properties(self):
        with Object("TAVREL.tavrelCtrl.1") as control:
            self.assertEqual(control.invoke("blz", PUT, string_value("10000000")), (S_OK, None))
            self.assertEqual(control.invoke("BLZ", GET), (S_OK, "10000000"))
            self.assertEqual(control.invoke("BlzNumAcht", METHOD), (S_OK, -1))
            self.assertEqual(control.invoke("checkResult", PUT, int_value(1))[0], CTL_E_SETNOTSUPPORTED)
            self.assertEqual(control.invoke("bankname", PUT, string_value("Grüße")), (S_OK, None))
            self.assertEqual(control.invoke("bankname", GET), (S_OK, "Grüße"))

    def test_bad_handles_and_names(self):
        self.assertIsNone(LIB.tavrel_create(b"tavrel.Unknown.1"))
        self.assertIsNone(LIB.tavrel_create(None))
        self.assertEqual(LIB.tavrel_invoke(None, b"blz", GET, None, 0, None), E_POINTER)
        LIB.tavrel_release(None)
        LIB.tavrel_free(None)
        LIB.tavrel_value_clear(None)


if __name__ == "__main__":
    LIB = load(sys.argv[1])
    unittest.main(argv=[sys.argv[0]] + sys.argv[2:])
