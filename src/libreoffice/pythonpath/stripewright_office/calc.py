"""The Calc functions' work, apart from UNO: reading the optional checksum argument and encoding
one cell's item, so that a bad item never comes back as a string that prints as a bar code."""
from . import library

CHECKSUM_MESSAGE = "Error- the checksum argument must be TRUE, FALSE, a number or left out"


class BadItem(ValueError):
    """The cell's item gives no bar code; the text says why."""


def checksum_flag(value):
    """The optional checksum argument as Calc passes it: left out or an empty cell (None or an
    empty text) is FALSE; TRUE and FALSE arrive as numbers. Anything else is refused rather than
    guessed at."""
    if value is None or value == "":
        return False
    if isinstance(value, bool):
        return value
    if isinstance(value, (int, float)):
        return value != 0
    raise BadItem(CHECKSUM_MESSAGE)


def font_string(type_name, data, checksum=None):
    """The font string of one item; BadItem with the message when there is none."""
    flag = checksum_flag(checksum)
    try:
        return library.encode(type_name, data, flag)
    except library.EncodeError as e:
        raise BadItem(str(e)) from None


def problem(type_name, data, checksum=None):
    """Why the item gives no bar code; the empty text when it gives one."""
    try:
        font_string(type_name, data, checksum)
    except BadItem as e:
        return str(e)
    return ""
