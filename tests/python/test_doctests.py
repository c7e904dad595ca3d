"""The examples of the package's docstrings, run as tests."""

import doctest
import importlib
import unittest

MODULES = ["tavrel", "tavrel.account", "tavrel.bank", "tavrel.iban", "tavrel.check_digit", "tavrel.exceptions", "tavrel._batch",
           "tavrel.pandas", "tavrel.dask"]


def load_tests(loader, tests, pattern):
    for name in MODULES:
        try:
            module = importlib.import_module(name)
        except ImportError as missing:
            if name != "tavrel.dask":
                raise
            print(f"skipped the examples of {name}: {missing}")
            continue
        tests.addTests(doctest.DocTestSuite(module))
    return tests


if __name__ == "__main__":
    unittest.main()
