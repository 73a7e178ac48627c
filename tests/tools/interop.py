#!/usr/bin/python3
"""Reads and writes tables with Debian's python3-dbfread and python3-dbf, in kxdbf's CSV forms.

  interop.py dbfread TABLE        rows of TABLE read by dbfread, as CSV on standard output
  interop.py dbf TABLE            rows of TABLE read by python3-dbf, as CSV on standard output
  interop.py write KIND TABLE     writes a sample table with python3-dbf (KIND: db3 with a DBT
                                  memo, fp with an FPT memo) and prints the rows it wrote as CSV
  interop.py append TABLE NOME    appends a row with python3-dbf, field NOME set, others blank

The CSV forms are kxdbf's: text with trailing blanks removed, numbers with the field's decimals,
dates dd/mm/yyyy, logicals T/F, blanks as empty cells.
"""
import csv
import datetime
import decimal
import sys


def cell(value, decimals):
    if value is None:
        return ""
    if isinstance(value, bool):
        return "T" if value else "F"
    if isinstance(value, (int, float, decimal.Decimal)):
        return f"{decimal.Decimal(str(value)):.{decimals}f}"
    if isinstance(value, datetime.date):
        return value.strftime("%d/%m/%Y")
    return str(value).rstrip(" ")


def emit(names, rows):
    out = csv.writer(sys.stdout, lineterminator="\n")
    out.writerow(names)
    out.writerows(rows)


def read_dbfread(path):
    import dbfread
    table = dbfread.DBF(path, encoding="cp850", char_decode_errors="strict")
    decimals = [f.decimal_count if f.type == "N" else 0 for f in table.fields]
    emit(table.field_names,
         ([cell(v, d) for v, d in zip(record.values(), decimals)] for record in table))


def read_dbf(path):
    import dbf
    table = dbf.Table(path)
    table.open(dbf.READ_ONLY)
    try:
        names = table.field_names
        decimals = [table.field_info(n)[2] for n in names]
        emit([n.upper() for n in names],
             ([cell(record[n], d) for n, d in zip(names, decimals)] for record in table))
    finally:
        table.close()


SAMPLE_FIELDS = "NOME C(30); VALOR N(12,2); QTD N(5,0); DATA D; ATIVO L; OBS M"
SAMPLE_ROWS = [
    ("José da Conceição", decimal.Decimal("-1234.50"), 7, datetime.date(2014, 2, 28), True,
     "Observação com ç, á e \"aspas\",\nem duas linhas"),
    ("ÁÉÍÓÚ âêô ÇÑ", decimal.Decimal("0.05"), 0, datetime.date(2000, 1, 1), False, ""),
    ("plain", decimal.Decimal("999999999.99"), -9999, None, None, "x" * 700),
]


def write(kind, path):
    import dbf
    table = dbf.Table(path, SAMPLE_FIELDS, dbf_type=kind, codepage="cp850")
    table.open(dbf.READ_WRITE)
    try:
        for row in SAMPLE_ROWS:
            table.append(tuple(float(v) if isinstance(v, decimal.Decimal) else v for v in row))
    finally:
        table.close()
    emit(["NOME", "VALOR", "QTD", "DATA", "ATIVO", "OBS"],
         ([cell(v, d) for v, d in zip(row, (0, 2, 0, 0, 0, 0))] for row in SAMPLE_ROWS))


def append(path, nome):
    import dbf
    table = dbf.Table(path)
    table.open(dbf.READ_WRITE)
    try:
        table.append({"nome": nome})
    finally:
        table.close()


def main(argv):
    sys.stdout.reconfigure(encoding="utf-8", newline="\n")
    if len(argv) == 3 and argv[1] == "dbfread":
        read_dbfread(argv[2])
    elif len(argv) == 3 and argv[1] == "dbf":
        read_dbf(argv[2])
    elif len(argv) == 4 and argv[1] == "write" and argv[2] in ("db3", "fp"):
        write(argv[2], argv[3])
    elif len(argv) == 4 and argv[1] == "append":
        append(argv[2], argv[3])
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
