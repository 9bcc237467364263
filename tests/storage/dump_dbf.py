"""Prints a dBase table as an independent reader sees it, one line a field and
one line a record, so a test can compare it with what it wrote."""
import sys

import dbfread


def show(value):
    if isinstance(value, bytes):
        return "bytes:" + value.hex()
    return ascii(value)


def main():
    table = dbfread.DBF(sys.argv[1], encoding=None, char_decode_errors="strict")
    print("encoding", table.encoding)
    for field in table.fields:
        print("field", field.name, field.type, field.length, field.decimal_count)
    for record in table:
        print("|".join(f"{name}={show(value)}" for name, value in record.items()))
    print("deleted", len(table.deleted))


if __name__ == "__main__":
    main()
