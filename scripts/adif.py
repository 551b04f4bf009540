#!/usr/bin/env python3
"""The ADIF logs of the corpus as the measuring scripts need them.

    python3 scripts/adif.py adx LOG        the log as ADX, ADIF's XML form
    python3 scripts/adif.py contacts LOG   its contacts, one a line

A log is read as bytes (each byte one character, as awk reads it in the C
locale) and written back the same way, so a log that is not UTF-8 keeps
its bytes; a tag's length counts bytes.
"""
import re
import sys
from xml.sax.saxutils import escape

END_OF_RECORD = re.compile(r"<eor>", re.IGNORECASE)
TAG = re.compile(r"<[A-Za-z_][A-Za-z0-9_]*:[0-9]+(:[A-Za-z])?>")
ASCII_UPPER = str.maketrans("abcdefghijklmnopqrstuvwxyz", "ABCDEFGHIJKLMNOPQRSTUVWXYZ")


def upper(text):
    """Upper case for ASCII letters alone, as in the C locale."""
    return text.translate(ASCII_UPPER)


def pieces(log):
    """The text between "<EOR>"s, each after its "<EOH>" where it has one;
    the last piece is what follows the last "<EOR>"."""
    with open(log, "rb") as file:
        text = file.read().decode("latin-1")
    for piece in END_OF_RECORD.split(text):
        header_end = upper(piece).find("<EOH>")
        yield piece if header_end < 0 else piece[header_end + 5:]


def as_adx(log):
    """Every tag of a record becomes an element holding its value, as long
    as the tag declares, on the line the tag stood on; a record the log
    does not end with "<EOR>" is left out, as readers drop it."""
    out = ['<?xml version="1.0" encoding="UTF-8"?>\n<ADX>\n<HEADER></HEADER>\n<RECORDS>\n']
    records = list(pieces(log))[:-1]
    for record in records:
        elements, at = "", 0
        while (tag := TAG.search(record, at)) is not None:
            elements += "\n" * record.count("\n", at, tag.start())
            name, length = tag.group(0)[1:-1].split(":")[:2]
            value = record[tag.end():tag.end() + int(length)]
            elements += "<%s>%s</%s>" % (name, escape(value, {"\r": "&#13;"}), name)
            at = tag.end() + int(length)
        if elements:
            out.append("<RECORD>%s</RECORD>\n" % elements)
    out.append("</RECORDS>\n</ADX>\n")
    return "".join(out)


def value(record, name):
    """The value of the first tag `name` in the record (tabs and line ends
    made blanks); "" when it has none."""
    at = upper(record).find("<%s:" % name)
    if at < 0:
        return ""
    rest = record[at + len(name) + 2:]
    digits = re.match(r"[0-9]*", rest).group(0)
    close = rest.find(">", len(digits))
    start = len(rest) + 1 if close < 0 else close + 1
    return re.sub(r"[\t\r\n]", " ", rest[start:start + int(digits or 0)])


def contacts(log):
    """A line a contact whose callsign starts with a letter or digit, as
    the lists take them: call, date, time, band, frequency, mode, comment,
    submode, parted by tabs."""
    lines = []
    for record in pieces(log):
        call = upper(value(record, "CALL")).replace(" ", "")
        if not re.match(r"[A-Z0-9]", call):
            continue
        fields = [call, value(record, "QSO_DATE"), value(record, "TIME_ON"), value(record, "BAND"),
                  value(record, "FREQ"), upper(value(record, "MODE")), value(record, "COMMENT"),
                  upper(value(record, "SUBMODE"))]
        lines.append("\t".join(fields) + "\n")
    return "".join(lines)


if __name__ == "__main__":
    what = {"adx": as_adx, "contacts": contacts}[sys.argv[1]]
    sys.stdout.buffer.write(what(sys.argv[2]).encode("latin-1"))
