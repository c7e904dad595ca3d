"""The bank directories a call may name: "2009" and "current", compiled into
the library, or the path of a Bundesbank bank-code file. Each is opened once,
on first use, and its handle kept until the interpreter exits; a handle is
immutable, so any number of threads check with it at once. The handles are
closed at exit, after the threads that are not daemons have ended: a daemon
thread still checking then must not use a named directory."""

from __future__ import annotations

import atexit
import ctypes
import os
import threading
from typing import Dict, Optional, Union

from ._native import lib, take_string
from .exceptions import DirectoryFileError

Directory = Union[str, "os.PathLike[str]"]

_handles: Dict[str, int] = {}
_lock = threading.Lock()

# What the library opens without reading a file.
_COMPILED = ("2009", "current")


def _key(directory: object) -> str:
    if isinstance(directory, str):
        key = directory
    elif isinstance(directory, os.PathLike):
        key = os.fspath(directory)
        if not isinstance(key, str):
            raise TypeError("directory must be a str path, not a bytes one")
    else:
        raise TypeError(
            f"directory must be '2009', 'current' or a file's path, not {type(directory).__name__}"
        )
    if not key or "\0" in key:
        raise ValueError(f"directory must be '2009', 'current' or a file's path, not {key!r}")
    return key


def _open(key: str) -> int:
    if key not in _COMPILED:
        # The library says only that the file cannot be read; Python says why.
        with open(key, "rb"):
            pass
    error = ctypes.POINTER(ctypes.c_char)()
    handle = lib.tavrel_open_directory(os.fsencode(key), ctypes.byref(error))
    message = take_string(error)
    if not handle:
        if message is None:
            raise MemoryError(f"tavrel: memory ran out opening the directory {key}")
        raise DirectoryFileError(key, message)
    return handle


def handle_of(directory: Optional[Directory]) -> Optional[int]:
    """The library's handle of the named directory, opened on first use; None
    for None, the compiled-in 2009 directory that the plain calls use. OSError
    for a file that cannot be read, DirectoryFileError for one the library
    refuses (its message names the line at fault)."""
    if directory is None:
        return None
    key = _key(directory)
    if key not in _COMPILED:
        key = os.path.abspath(key)  # the same file after a change of the working folder
    handle = _handles.get(key)
    if handle is not None:
        return handle
    with _lock:
        handle = _handles.get(key)
        if handle is None:
            handle = _open(key)
            _handles[key] = handle
    return handle


@atexit.register
def _close_all() -> None:
    with _lock:
        for handle in _handles.values():
            lib.tavrel_close_directory(handle)
        _handles.clear()
