#!/usr/bin/env python3
"""The ADIF logs of the corpus as the measuring scripts need them.

    python3 scripts/adif.py adx LOG        the log as ADX, ADIF's XML form
    python3 scripts/adif.py contacts LOG   its contacts, one a line
    python3 scripts/adif.py export KIND CONTACTS TRUTH
        the contacts as the export KIND writes them (scripts/text-logs
        names the kinds), and in TRUTH each as call|date|HHMM|mode

A log is read as bytes (each byte one character, as awk reads it in the C
locale) and written back the same way, so a log that is not UTF-8 keeps
its bytes; a tag's length counts bytes.
"""
import csv
import io
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


def csv_field(value, separator, always=False):
    """A CSV field as a spreadsheet writes it: quoted when it holds a quote
    or the separator, or always."""
    if value == "" and not always:
        return ""
    out = io.StringIO()
    quoting = csv.QUOTE_ALL if always else csv.QUOTE_MINIMAL
    csv.writer(out, delimiter=separator, lineterminator="", quoting=quoting).writerow([value])
    return out.getvalue()


def dashed(d):
    return d[:4] + "-" + d[4:6] + "-" + d[6:8] if len(d) == 8 and d.isdigit() else d


def dotted(d):
    return d[6:8] + "." + d[4:6] + "." + d[:4] if len(d) == 8 and d.isdigit() else d


def colon(t, seconds):
    if len(t) < 4:
        return t
    return t[:2] + ":" + t[2:4] + ((":" + (t[4:6] if len(t) >= 6 else "00")) if seconds else "")


def blank(v):
    return "-" if v == "" else v


def slashed(d, order):
    if len(d) != 8 or not d.isdigit():
        return d
    if order == "dmy":
        return d[6:8] + "/" + d[4:6] + "/" + d[:4]
    if order == "mdy":
        return str(int(d[4:6])) + "/" + str(int(d[6:8])) + "/" + d[:4]
    return d[:4] + "/" + d[4:6] + "/" + d[6:8]


def twelve(t):
    if len(t) < 4:
        return t
    h = int(t[:2]) if t[:2].isdigit() else awk_number(t[:2])
    return str(12 if h % 12 == 0 else h % 12) + ":" + t[2:4] + (" AM" if h < 12 else " PM")


def awk_number(text):
    """The number awk reads at the start of `text` (0 when none)."""
    found = re.match(r"\s*[-+]?[0-9]+", text)
    return int(found.group(0)) if found else 0


def day_after(d):
    y, m, n = awk_number(d[:4]), awk_number(d[4:6]), awk_number(d[6:8]) + 1
    leap = y % 4 == 0 and (y % 100 != 0 or y % 400 == 0)
    last = (29 if leap else 28) if m == 2 else (30 if m in (4, 6, 9, 11) else 31)
    if n > last:
        n, m = 1, m + 1
    if m > 12:
        m, y = 1, y + 1
    return "%04d%02d%02d" % (y, m, n)


def east(d, t):
    """The local date and time, two hours east of UTC, as ISO 8601 writes them."""
    h = awk_number(t[:2]) + 2
    if h >= 24:
        h, d = h - 24, day_after(d)
    return dashed(d) + "T" + "%02d" % h + ":" + t[2:4] + ":" + (t[4:6] if len(t) >= 6 else "00") + "+02:00"


def tag(name, v):
    return "" if v == "" else "<%s:%d>%s " % (name, len(v.encode("latin-1")), v)


HEADERS = {
    "slash-dmy": "Call,Date,Time,Band,Mode\n",
    "slash-mdy-12h": "Call\tDate\tTime\tBand\tMode\n",
    "slash-ymd": "Call;Date;Time;Band;Mode\n",
    "space-12h": "%-12s %-9s %-14s %-10s %-10s\n" % ("DATE", "TIME", "CALL", "BAND", "MODE"),
    "mac-csv": "CALL,QSO_DATE,TIME_ON,BAND,FREQ,MODE,COMMENT\r",
    "pipe-table": "| Call | Date | Time | Band | Mode |\n|---|---|---|---|---|\n",
    "adif-submode": "ADIF with submodes\n<EOH>\n",
    "csv-adif": "CALL,QSO_DATE,TIME_ON,BAND,FREQ,MODE,COMMENT\n",
    "csv-quoted": '"Callsign","Date","Time","Band","Mode","Comment"\r\n',
    "tsv": "Date\tTime\tCall\tFreq\tMode\tComment\n",
    "semicolon": "Datum;Zeit;Rufzeichen;Frequenz;Betriebsart;Bemerkung\n",
    "space-table": "%-12s %-9s %-14s %-10s %-10s\n" % ("QSO_DATE", "TIME_ON", "CALL", "BAND", "MODE"),
    "iso-datetime": "call,start,band,mode\n",
    "blank-datetime": "Call,QSO Start,Band,Mode\n",
    "us-datetime": "Date,Call,Band,Mode\n",
    "offset-datetime": "Call,Start,Band,Mode\n",
    "dotted-time": "Datum;Uhrzeit;Rufzeichen;Band;Betriebsart\n",
    "names-table": "%-10s %-5s %-10s %-8s %-12s %-12s %s\n" % ("DATE", "UTC", "FREQ", "MODE", "CALL", "NAME", "QTH"),
    "blank-date": "%-10s %-5s %-10s %-8s %-12s\n" % ("DATE", "UTC", "FREQ", "MODE", "CALL"),
    "adif-title-csv": "QSO list exported from ADIF file mylog.adi\nCall,Date,Time,Band,Mode\n",
    "keyvalue-csv": "Station;G4ZZZ\nLocator;IO91WM\nCall;Date;Time;Band;Mode\n",
    "stray-quote": "Call,Date,Time,Band,Mode,Comment\n",
    "bom-table": "\xef\xbb\xbf",
    "bom-csv": "\xef\xbb\xbf",
}
NAMES = "Callum Callaghan Pagelsdorf John Ann Bob".split()
PLACES = "Callander|Page AZ|Callao|homepage|London|Calling Lake".split("|")
REPORTS = "579 599 589".split()


def export_row(kind, number, fields, end, state):
    """The text the export `kind` writes for the contact `fields`, the
    `number`th, with its line end; and the contact's date as shown, its
    HHMM and mode as the truth has them."""
    call, date, time, band, freq, mode, comment, submode = fields
    hhmm, shown = time[:4], date
    if kind in ("csv-adif", "mac-csv"):
        return ",".join([csv_field(call, ","), date, time] + [csv_field(v, ",") for v in (band, freq, mode, comment)]) + end, shown, hhmm, mode
    if kind == "csv-quoted":
        shown = dashed(date)
        values = (call, shown, colon(time, False), band, mode, comment)
        return ",".join(csv_field(v, ",", True) for v in values) + "\r\n", shown, hhmm, mode
    if kind == "tsv":
        shown = dashed(date)
        return "\t".join([shown, colon(time, True), call, freq, mode, csv_field(comment, "\t")]) + end, shown, hhmm, mode
    if kind == "semicolon":
        shown = dotted(date)
        values = [shown, colon(time, False), csv_field(call, ";"), freq.replace(".", ",", 1), csv_field(mode, ";"),
                  csv_field(comment, ";")]
        return ";".join(values) + end, shown, hhmm, mode
    if kind in ("slash-dmy", "slash-ymd"):
        sep = "," if kind == "slash-dmy" else ";"
        shown = slashed(date, kind[6:])
        values = [csv_field(call, sep), shown, colon(time, False), csv_field(band, sep), csv_field(mode, sep)]
        return sep.join(values) + end, shown, hhmm, mode
    if kind == "slash-mdy-12h":
        shown = slashed(date, "mdy")
        return "\t".join([call, shown, twelve(time), band, mode]) + end, shown, hhmm, mode
    if kind == "pipe-table":
        shown = dashed(date)
        cells = [call.replace("|", "/"), shown, colon(time, False), band.replace("|", "/"), mode.replace("|", "/")]
        return "| " + " | ".join(cells) + " |" + end, shown, hhmm, mode
    if kind in ("iso-datetime", "blank-datetime", "offset-datetime"):
        shown = dashed(date)
        if date == "" or len(time) < 4:
            stamp = shown if date != "" else colon(time, True) if time != "" else ""
        elif kind == "offset-datetime":
            stamp = east(date, time)
        else:
            stamp = shown + ("T" + colon(time, True) + "Z" if kind == "iso-datetime" else " " + colon(time, True))
        return ",".join([csv_field(call, ","), stamp, csv_field(band, ","), csv_field(mode, ",")]) + end, shown, hhmm, mode
    if kind == "us-datetime":
        shown = slashed(date, "mdy")
        stamp = shown if time == "" else shown + " " + colon(time, False)
        return ",".join([stamp, csv_field(call, ","), csv_field(band, ","), csv_field(mode, ",")]) + end, shown, hhmm, mode
    if kind == "dotted-time":
        shown = dotted(date)
        clock = time[:2] + "." + time[2:4] if len(time) >= 4 else time
        values = [shown, clock, csv_field(call, ";"), csv_field(band, ";"), csv_field(mode, ";")]
        return ";".join(values) + end, shown, hhmm, mode
    if kind in ("names-table", "blank-date"):
        # A paper log writes the date once a day; a contact without one has
        # the one above.
        if date != "":
            state["last_date"] = date
        shown = dashed(state["last_date"]) if kind == "blank-date" else blank(dashed(date))
        hhmm, mode = hhmm or "-", mode or "-"
        f = blank(freq if freq != "" else band)
        written = "" if kind == "blank-date" and shown == state["last_shown"] else shown
        state["last_shown"] = shown
        if kind == "names-table":
            text = "%-10s %-5s %-10s %-8s %-12s %-12s %s\n" % (shown, hhmm, f, mode, call, NAMES[number % 6],
                                                             PLACES[number % 6])
        else:
            text = "%-10s %-5s %-10s %-8s %-12s\n" % (written, hhmm, f, mode, call)
        return text, shown, hhmm, mode
    if kind == "sota-csv":
        shown = date[6:8] + "/" + date[4:6] + "/" + date[2:4] if len(date) == 8 else date
        text = "V2,G4ZZZ/P,G/LD-001," + shown + "," + hhmm + ",14MHz," + csv_field(mode, ",") + "," + csv_field(call, ",") + ",,"
        return text + end, shown, hhmm, mode
    if kind in ("adif-title-csv", "keyvalue-csv", "stray-quote"):
        shown = dashed(date)
        sep = ";" if kind == "keyvalue-csv" else ","
        values = [csv_field(call, sep), shown, colon(time, False), csv_field(band, sep), csv_field(mode, sep)]
        if kind == "stray-quote":
            values.append('"unbalanced' if number == 100 else "ok")
        return sep.join(values) + end, shown, hhmm, mode
    if kind in ("rst-serial", "bom-table"):
        shown = blank(dashed(date))
        hhmm, mode = hhmm or "-", mode or "-"
        f = blank(freq if freq != "" else band)
        words = [shown, hhmm, f, mode, call]
        if kind == "rst-serial":
            words = [str(number + 19), shown, hhmm, REPORTS[(number + 2) % 3], f, mode, call]
        return " ".join(words) + end, shown, hhmm, mode
    if kind == "bom-csv":
        shown = dashed(date)
        values = [shown, colon(time, True), csv_field(call, ","), csv_field(freq if freq != "" else band, ","),
                  csv_field(mode, ",")]
        return ",".join(values) + end, shown, hhmm, mode
    if kind in ("space-zulu", "space-dotted"):
        zulu = kind == "space-zulu"
        shown = blank(dashed(date) if zulu else date[:4] + "." + date[4:6] + "." + date[6:8] if len(date) == 8 else date)
        clock = "-" if len(time) < 4 else hhmm + "Z" if zulu else time[:2] + "." + time[2:4]
        hhmm, mode = hhmm or "-", mode or "-"
        return " ".join([shown, clock, blank(freq if freq != "" else band), mode, call]) + end, shown, hhmm, mode
    if kind == "adif-submode":
        # A record without QSO_DATE takes the last one before it.
        if date != "":
            state["last_date"] = date
        shown = state["last_date"]
        text = (tag("CALL", call) + tag("QSO_DATE", date) + tag("TIME_ON", time) + tag("BAND", band) +
                tag("MODE", mode) + tag("SUBMODE", submode) + "<EOR>")
        if mode == "MFSK" and submode != "":
            mode = submode
        return text + end, shown, hhmm, mode
    twelve_hours = kind == "space-12h"
    shown = blank(slashed(date, "mdy") if twelve_hours else dashed(date))
    hhmm, mode = hhmm or "-", mode or "-"
    clock = blank(twelve(time) if twelve_hours else colon(time, False))
    return "%-12s %-9s %-14s %-10s %-10s\n" % (shown, clock, call, blank(band), mode), shown, hhmm, mode


def export(kind, contacts_path, truth_path):
    """The contacts as the export `kind` writes them; each contact's truth,
    call|date|HHMM|mode, goes to `truth_path`."""
    out, truth = [HEADERS.get(kind, "")], []
    end = "\r" if kind == "mac-csv" else "\n"
    state = {"last_date": "", "last_shown": ""}
    with open(contacts_path, "rb") as file:
        rows = file.read().decode("latin-1").split("\n")[:-1]
    for number, row in enumerate(rows, 1):
        fields = (row.split("\t") + [""] * 8)[:8]
        text, shown, hhmm, mode = export_row(kind, number, fields, end, state)
        out.append(text)
        truth.append("%s|%s|%s|%s\n" % (fields[0], upper(shown), hhmm, "PSK" if mode == "PSK31" else mode))
    with open(truth_path, "wb") as file:
        file.write("".join(truth).encode("latin-1"))
    return "".join(out)


if __name__ == "__main__":
    if sys.argv[1] == "export":
        text = export(sys.argv[2], sys.argv[3], sys.argv[4])
    else:
        text = {"adx": as_adx, "contacts": contacts}[sys.argv[1]](sys.argv[2])
    sys.stdout.buffer.write(text.encode("latin-1"))
