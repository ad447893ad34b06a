#!/usr/bin/env python3
"""Writes the data files of Kovara 1 into a folder, as a user who used the
old version has them: three prayer items with their texts, and a Bible in a
Year plan with three days read. The end-to-end tests use them to check what
the one-time import brings over.

Layout (little-endian, as the importer reads it):
  prayeritems.udt    537-byte records: 0 creation date-time (double), 40
                     active flag (byte), 44 title length (byte) and title,
                     497 text offset and 501 text length (int32) into
                     prayerdetails.udt
  prayerdetails.udt  the texts, back to back
  plan.udt           487 bytes: 0 start date (double), byte 7 + d the read
                     flag of day d (1 to 364)

Usage: make_version1_files.py <folder>
Prints the titles, one a line, then "read days: d1 d2 d3".
"""
import os
import struct
import sys

RECORD_SIZE = 537
PLAN_SIZE = 487
# Days since 30 December 1899.
CREATED = 38510.5  # 6 June 2005, noon
PLAN_START = 45292.0  # 1 January 2024

ITEMS = [
    ("Health of my mother", 1, "For strength after the operation.\r\nAnd for the doctors."),
    ("Work", 0, "Wisdom in the new job."),
    ("Neighbours", 1, "That we get to know each other."),
]
READ_DAYS = [1, 2, 5]


def record(created, active, title, offset, length):
    r = bytearray(RECORD_SIZE)
    struct.pack_into("<d", r, 0, created)
    r[40] = active
    encoded = title.encode("latin-1")
    r[44] = len(encoded)
    r[45:45 + len(encoded)] = encoded
    struct.pack_into("<ii", r, 497, offset, length)
    return bytes(r)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    items, details = b"", b""
    for n, (title, active, text) in enumerate(ITEMS):
        encoded = text.encode("latin-1")
        items += record(CREATED + n, active, title, len(details), len(encoded))
        details += encoded
    with open(os.path.join(folder, "prayeritems.udt"), "wb") as f:
        f.write(items)
    with open(os.path.join(folder, "prayerdetails.udt"), "wb") as f:
        f.write(details)

    plan = bytearray(PLAN_SIZE)
    struct.pack_into("<d", plan, 0, PLAN_START)
    for day in READ_DAYS:
        plan[7 + day] = 1
    with open(os.path.join(folder, "plan.udt"), "wb") as f:
        f.write(plan)

    for title, _, _ in ITEMS:
        print(title)
    print("read days:", *READ_DAYS)


if __name__ == "__main__":
    main()
