"""The C library libtavrel: where it is looked for, and the C signatures of the
functions the package calls (automation/c_api/tavrel.h). This is the one module
that knows the C interface; the others call `lib`."""

from __future__ import annotations

import ctypes
import os
from pathlib import Path
from typing import List, Optional

_OWNED = ctypes.POINTER(ctypes.c_char)  # a string the caller frees with tavrel_free

# Name: (result type, argument types). Addresses of NumPy buffers go as c_void_p.
_SIGNATURES = {
    "tavrel_version": (ctypes.c_char_p, []),
    "tavrel_free": (None, [ctypes.c_void_p]),
    "tavrel_check_rules": (ctypes.c_int, [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p]),
    "tavrel_check_many_rules": (
        ctypes.c_int,
        [ctypes.c_size_t, ctypes.c_void_p, ctypes.c_void_p, ctypes.c_void_p, ctypes.c_char_p],
    ),
    "tavrel_rules_name": (ctypes.c_char_p, [ctypes.c_int]),
    "tavrel_result_code": (ctypes.c_char_p, [ctypes.c_int]),
    "tavrel_result_field": (ctypes.c_char_p, [ctypes.c_int]),
    "tavrel_message": (_OWNED, [ctypes.c_int]),
    "tavrel_bank_name": (_OWNED, [ctypes.c_char_p]),
    "tavrel_search": (_OWNED, [ctypes.c_char_p]),
    "tavrel_iban_check": (ctypes.c_int, [ctypes.c_char_p, ctypes.POINTER(ctypes.c_int)]),
    "tavrel_iban_format": (_OWNED, [ctypes.c_char_p, ctypes.c_int]),
    "tavrel_iban_from_account": (_OWNED, [ctypes.c_char_p, ctypes.c_char_p]),
    "tavrel_bic": (_OWNED, [ctypes.c_char_p]),
    "tavrel_open_directory": (ctypes.c_void_p, [ctypes.c_char_p, ctypes.POINTER(_OWNED)]),
    "tavrel_close_directory": (None, [ctypes.c_void_p]),
    "tavrel_check_in": (ctypes.c_int, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p]),
    "tavrel_check_many_in": (
        ctypes.c_int,
        [ctypes.c_void_p, ctypes.c_size_t, ctypes.c_void_p, ctypes.c_void_p, ctypes.c_void_p,
         ctypes.c_char_p],
    ),
    "tavrel_bank_name_in": (_OWNED, [ctypes.c_void_p, ctypes.c_char_p]),
    "tavrel_search_in": (_OWNED, [ctypes.c_void_p, ctypes.c_char_p]),
    "tavrel_bic_in": (_OWNED, [ctypes.c_void_p, ctypes.c_char_p]),
    "tavrel_iban_check_in": (
        ctypes.c_int, [ctypes.c_void_p, ctypes.c_char_p, ctypes.POINTER(ctypes.c_int)]
    ),
    "tavrel_iban_from_account_in": (_OWNED, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p]),
    "tavrel_explain_json": (_OWNED, [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p]),
    "tavrel_explain_json_in": (
        _OWNED, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p]
    ),
    "tavrel_suggest_json": (
        _OWNED, [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p, ctypes.c_int]
    ),
    "tavrel_suggest_json_in": (
        _OWNED,
        [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p, ctypes.c_int],
    ),
    "tavrel_generate_json": (
        _OWNED,
        [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p, ctypes.c_int, ctypes.c_uint64,
         ctypes.c_int, ctypes.c_int],
    ),
    "tavrel_generate_json_in": (
        _OWNED,
        [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p, ctypes.c_int,
         ctypes.c_uint64, ctypes.c_int, ctypes.c_int],
    ),
}

# The library's major version, the one of its file name on the library path.
_SONAME = "libtavrel.so.1"


def _candidates() -> List[str]:
    explicit = os.environ.get("TAVREL_LIBRARY")
    if explicit:
        return [explicit]
    candidates = []
    try:
        # Written by `cmake --install`: the installed library, relative to this folder.
        from ._installed import LIBRARY

        candidates.append(str(Path(__file__).parent / LIBRARY))
    except ImportError:
        pass
    candidates.append(_SONAME)
    return candidates


def _declare(library: ctypes.CDLL) -> None:
    for name, (result, arguments) in _SIGNATURES.items():
        function = getattr(library, name)
        function.restype = result
        function.argtypes = arguments


def _load() -> ctypes.CDLL:
    failures = []
    for candidate in _candidates():
        try:
            library = ctypes.CDLL(candidate)
            _declare(library)
            return library
        except (OSError, AttributeError) as error:
            failures.append(f"{candidate}: {error}")
    raise ImportError(
        "tavrel needs the C library libtavrel and could not load it:\n  "
        + "\n  ".join(failures)
        + "\nInstall the library (cmake --install), put it on the library path,"
        " or set TAVREL_LIBRARY to its file."
    )


lib = _load()


def take_string(pointer) -> Optional[str]:
    """Copies a string the library allocated into Python and frees it."""
    if not pointer:
        return None
    try:
        return ctypes.cast(pointer, ctypes.c_char_p).value.decode("utf-8")
    finally:
        lib.tavrel_free(pointer)


def static_string(text: Optional[bytes]) -> Optional[str]:
    """A static string of the library (a code, a name), or None."""
    return None if text is None else text.decode("ascii")
