"""An independent reader of the grid interchange format: prints the column count and every
cell value in order as JSON (null for null and unassigned cells)."""
import json
import struct
import sys


def read(data):
    if data[:7] != b"GRIDBIF":
        raise ValueError("signature")
    (columns,) = struct.unpack_from("<i", data, 8)
    pos = 12
    for _ in range(columns):
        pos += 1
        pos = data.index(b"\0", pos) + 1
    cells = []
    while True:
        tag = data[pos]
        pos += 1
        if tag == 0:
            break
        if tag in (1, 2):
            cells.append(None)
        elif tag == 3:
            cells.append(struct.unpack_from("<i", data, pos)[0])
            pos += 4
        elif tag == 4:
            cells.append(struct.unpack_from("<d", data, pos)[0])
            pos += 8
        elif tag in (5, 6, 7):
            (count,) = struct.unpack_from("<i", data, pos)
            pos += 4
            raw = data[pos:pos + count]
            pos += count
            cells.append(raw.decode("utf-16-le") if tag == 7 else raw.decode("gbk"))
        else:
            raise ValueError("tag %d" % tag)
    return {"columns": columns, "cells": cells}


if __name__ == "__main__":
    with open(sys.argv[1], "rb") as f:
        print(json.dumps(read(f.read()), ensure_ascii=False))
